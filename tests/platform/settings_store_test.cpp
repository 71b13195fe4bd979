// The registry stand-in: typed values in key paths, kept in one file that is
// replaced atomically and readable only by its owner.

#include "platform/atomic_file.h"
#include "platform/settings_store.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace orvella::test {
namespace {

constexpr char kKey[] = "Software\\Tessmark\\Orvella\\1.0\\Settings";

class SettingsStore : public ::testing::Test {
protected:
    TempDir dir_;
    std::string file_ = dir_.File("config/Orvella/settings.ini");
    TSettingsStore store_{file_};
};

TEST_F(SettingsStore, AMissingFileHasNoKeysAndIsNotCreatedByReading)
{
    EXPECT_FALSE(store_.KeyExists(kKey));
    EXPECT_FALSE(store_.ReadInteger(kKey, "CacheLimit"));
    EXPECT_FALSE(store_.ReadString(kKey, "CDPath"));
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(SettingsStore, ValuesPersistAcrossInstancesWithTheirTypes)
{
    store_.WriteInteger(kKey, "frmMainLeft", -12);
    store_.WriteBool(kKey, "CacheEnabl", false);
    store_.WriteString(kKey, "CDPath", "/media/ディスク \"1\"\\x\nnext");
    store_.WriteString(kKey, "", "default value");

    TSettingsStore again(file_);
    EXPECT_EQ(again.ReadInteger(kKey, "frmmainleft"), -12);
    EXPECT_EQ(again.ReadBool(kKey, "CACHEENABL"), false);
    EXPECT_EQ(again.ReadString(kKey, "CDPath"), "/media/ディスク \"1\"\\x\nnext");
    EXPECT_EQ(again.ReadString(kKey, ""), "default value");
    // A value of the other type is no value of the asked type.
    EXPECT_FALSE(again.ReadString(kKey, "frmMainLeft"));
    EXPECT_FALSE(again.ReadInteger(kKey, "CDPath"));
    // Key paths compare like registry keys.
    EXPECT_EQ(again.ReadInteger("software\\TESSMARK\\orvella\\1.0\\settings\\", "frmMainLeft"), -12);
}

TEST_F(SettingsStore, TheFileIsPrivateAndNoTemporaryFileRemains)
{
    store_.WriteInteger(kKey, "CacheLimit", 5);
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file_).parent_path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(SettingsStore, SubkeysAreListedAndDeletedWithTheirKey)
{
    const std::string history = std::string(kKey) + "\\OpenFileHistory";
    store_.WriteString(history, "Item0", "a.ovd");
    store_.WriteString(history + "\\Deeper", "x", "y");
    store_.WriteInteger(kKey, "CacheLimit", 1);

    EXPECT_EQ(store_.SubKeyNames(kKey), std::vector<std::string>{"OpenFileHistory"});
    EXPECT_TRUE(store_.KeyExists("Software\\Tessmark"));
    EXPECT_TRUE(store_.DeleteKey(history));
    EXPECT_FALSE(store_.KeyExists(history));
    EXPECT_FALSE(store_.KeyExists(history + "\\Deeper"));
    EXPECT_EQ(store_.ReadInteger(kKey, "CacheLimit"), 1);
    EXPECT_FALSE(store_.DeleteKey(history));
}

TEST_F(SettingsStore, AChangeByAnotherProcessIsSeenAtTheNextRead)
{
    store_.WriteInteger(kKey, "CacheLimit", 1);
    TSettingsStore other(file_);
    other.WriteInteger(kKey, "CacheLimit", 2);
    EXPECT_EQ(store_.ReadInteger(kKey, "CacheLimit"), 2);
}

TEST_F(SettingsStore, ALineThatDoesNotParseIsSkippedAndTheRestIsRead)
{
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path());
    WriteFile(file_,
              "garbage\r\n\"Orphan\"=dword:1\r\n[Software\\A]\r\n\"Good\"=dword:0000002a\r\n\"Bad\"=dword:zz\r\n"
              "\"Open=\"text\r\n\"Text\"=\"fine\"\r\n[]\r\n\"Lost\"=dword:1\r\n[Software\\A\r\n");
    EXPECT_EQ(store_.ReadInteger("Software\\A", "Good"), 42);
    EXPECT_EQ(store_.ReadString("Software\\A", "Text"), "fine");
    EXPECT_EQ(store_.ValueNames("Software\\A"), (std::vector<std::string>{"Good", "Text"}));
}

TEST(AtomicFile, AnUncommittedWriteLeavesTheOldFileAlone)
{
    TempDir dir;
    const std::string target = dir.File("UserPaper.ppr");
    WriteFile(target, "old papers");
    {
        TAtomicFile file(target);
        file.Write("half of the new");
    }
    EXPECT_EQ(ReadFile(target), "old papers");
    WriteFileAtomically(target, "new papers");
    EXPECT_EQ(ReadFile(target), "new papers");
    EXPECT_THROW(WriteFileAtomically(dir.File("missing/x"), "x"), EAtomicFile);
}

}  // namespace
}  // namespace orvella::test
