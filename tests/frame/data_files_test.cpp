// The data files of the start-up: fixed order, and the failure messages for
// missing, read-only and unreadable files.

#include "frame/data_files.h"
#include "frame/file_error.h"
#include "frame_fixture.h"

#include <sys/stat.h>

namespace orvella::test {
namespace {

class DataFiles : public FrameTest {
protected:
    DataFiles()
    {
        WriteFile(places_.ExeNameNoExt + ".ppr", "papers");
        WriteFile(places_.ExeNameNoExt + ".cdb", "products");
    }

    // Registers the program's four files, recording each load.
    void registerAll(TDataFileRegistry& registry)
    {
        auto record = [this](const char* what) {
            return [this, what](const std::filesystem::path&) { loaded_.push_back(what); };
        };
        // Registered out of order: the stages decide.
        registry.Register({TDataFileStage::ProductDatabase, "$(ProductDB)", TDataFileRule::Required, record("db")});
        registry.Register({TDataFileStage::UserPaper, "$(UserPaperInfo)", TDataFileRule::Written, record("user")});
        registry.Register({TDataFileStage::ImageCache, "$(ImageCacheFile)", TDataFileRule::CreateFolder, record("cache")});
        registry.Register({TDataFileStage::SystemPaper, "$(SystemPaperInfo)", TDataFileRule::Required, record("system")});
    }

    std::string loadError(TDataFileRegistry& registry)
    {
        try {
            registry.LoadAll();
        } catch (const EFileError& error) {
            return error.what();
        }
        return {};
    }

    std::vector<std::string> loaded_;
};

TEST_F(DataFiles, LoadInStageOrderCreatingTheCacheFolderAndSkippingAMissingUserFile)
{
    TDataFileRegistry registry;
    registerAll(registry);
    EXPECT_EQ(loadError(registry), "");
    EXPECT_EQ(loaded_, (std::vector<std::string>{"cache", "system", "db"}));
    EXPECT_TRUE(std::filesystem::is_directory(places_.AppDataDir + "Orvella/1.0"));

    WriteFile(places_.AppDataDir + "Orvella/1.0/UserPaper.ppr", "mine");
    loaded_.clear();
    registry.LoadAll();
    EXPECT_EQ(loaded_, (std::vector<std::string>{"cache", "system", "user", "db"}));
}

TEST_F(DataFiles, AMissingFileIsNamedWithoutItsFolder)
{
    std::filesystem::remove(places_.ExeNameNoExt + ".cdb");
    TDataFileRegistry registry;
    registerAll(registry);
    EXPECT_EQ(loadError(registry), "アプリケーションに必要なファイル「orvella.cdb」が開けませんでした");
    EXPECT_EQ(loaded_, (std::vector<std::string>{"cache", "system"}));
}

// An installed program's own files are not writable by its user; only a
// file the program writes back must be.
TEST_F(DataFiles, ReadOnlyProgramFilesLoadWhileAReadOnlyUserFileStopsTheStart)
{
    for (const char* ext : {".ppr", ".cdb"})
        ::chmod((places_.ExeNameNoExt + ext).c_str(), 0444);
    ::chmod(places_.ExeDir.c_str(), 0555);
    TDataFileRegistry registry;
    registerAll(registry);
    EXPECT_EQ(loadError(registry), "");
    EXPECT_EQ(loaded_, (std::vector<std::string>{"cache", "system", "db"}));
    ::chmod(places_.ExeDir.c_str(), 0755);

    // The superuser may write anything, yet the cleared bits still count.
    const std::string user = places_.AppDataDir + "Orvella/1.0/UserPaper.ppr";
    WriteFile(user, "mine");
    ::chmod(user.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(user));
    loaded_.clear();
    EXPECT_EQ(loadError(registry), "実行に必要なファイル「UserPaper.ppr」が読み取り専用になっています");
    EXPECT_EQ(loaded_, (std::vector<std::string>{"cache", "system"}));
}

TEST_F(DataFiles, AnyOtherFailureNamesTheFileBeingProcessed)
{
    TDataFileRegistry registry;
    registry.Register({TDataFileStage::SystemPaper, "$(SystemPaperInfo)", TDataFileRule::Required,
                       [](const std::filesystem::path&) { throw std::runtime_error("bad catalog"); }});
    EXPECT_EQ(loadError(registry), "アプリケーションに必要なファイル「orvella.ppr」が開けませんでした");

    TDataFileRegistry undefined;
    undefined.Register({TDataFileStage::ProductDatabase, "$(NoSuchFile)", TDataFileRule::Required, {}});
    EXPECT_EQ(loadError(undefined), "アプリケーションに必要なファイル「$(NoSuchFile)」が開けませんでした");
}

TEST_F(DataFiles, ACacheFileWithoutAFolderCannotBeCreated)
{
    frame_->Macro.SetValue("ImageCacheFile", "ImageCache.ic");
    TDataFileRegistry registry;
    registry.Register({TDataFileStage::ImageCache, "$(ImageCacheFile)", TDataFileRule::CreateFolder, {}});
    EXPECT_EQ(loadError(registry), "ディレクトリを作成することができません");
}

TEST_F(DataFiles, EveryExitHookRunsEvenAfterOneFails)
{
    std::vector<int> ran;
    frame_->OnException = [&](std::exception_ptr) { ran.push_back(-1); };
    TDataFileRegistry registry;
    registry.RegisterAtExit([&] { ran.push_back(1); });
    registry.RegisterAtExit([&] { throw std::runtime_error("disk full"); });
    registry.RegisterAtExit([&] { ran.push_back(3); });
    registry.RunAtExit();
    EXPECT_EQ(ran, (std::vector<int>{1, -1, 3}));
}

}  // namespace
}  // namespace orvella::test
