// The required-file lookup over the program folder, the remembered content
// folder and mounted media, and when it asks for the disc.

#include "frame/required_file.h"
#include "frame_fixture.h"

namespace orvella::test {
namespace {

class RequiredFile : public FrameTest {
protected:
    RequiredFile()
    {
        media_ = dir_.File("media");
        std::filesystem::create_directories(media_);
        finder_.MountRoots = {media_};
    }

    // A content disc mounted at media/<user>/<label>, marked with ORVL.KEY.
    std::filesystem::path mountDisc(const std::string& label, bool marker = true)
    {
        const std::filesystem::path disc = media_ / "user" / label;
        std::filesystem::create_directories(disc / "DATA" / "Template");
        if (marker)
            WriteFile((disc / "orvl.key").string(), "");
        WriteFile((disc / "DATA" / "Template" / "TEMPLATE.DAT").string(), "templates");
        return disc;
    }

    std::filesystem::path media_;
    TRequiredFileFinder finder_;
};

TEST_F(RequiredFile, TheProgramFolderComesFirstAndNeedsNoMarker)
{
    std::filesystem::create_directories(places_.ExeDir + "Data/Template");
    WriteFile(places_.ExeDir + "Data/Template/Template.dat", "local");
    mountDisc("ORVELLA");
    EXPECT_EQ(finder_.Find("data\\template\\template.dat", ""), places_.ExeDir + "Data/Template/Template.dat");
    EXPECT_TRUE(finder_.Remembered().empty());
}

TEST_F(RequiredFile, AMarkedMediumIsFoundIgnoringCaseAndRemembered)
{
    mountDisc("unmarked", false);
    const std::filesystem::path disc = mountDisc("ORVELLA");
    EXPECT_EQ(finder_.Find("Data\\Template\\Template.dat", "テンプレート"), disc / "DATA" / "Template" / "TEMPLATE.DAT");
    EXPECT_EQ(finder_.Remembered(), disc);
    EXPECT_EQ(finder_.Find("Data\\Template\\*.DAT", ""), disc / "DATA" / "Template" / "TEMPLATE.DAT");
}

TEST_F(RequiredFile, TheCDPathSettingIsSearchedBeforeTheMedia)
{
    const std::filesystem::path disc = mountDisc("ORVELLA");
    const std::filesystem::path copy = dir_.File("copy");
    std::filesystem::copy(disc, copy, std::filesystem::copy_options::recursive);
    SetSettingString("CDPath", copy.string());
    EXPECT_EQ(finder_.Find("Data\\Template\\Template.dat", ""), copy / "DATA" / "Template" / "TEMPLATE.DAT");
}

TEST_F(RequiredFile, AMultiVolumeSetSendsTheSearchToItsSiblings)
{
    const std::filesystem::path set = dir_.File("set");
    for (const char* disk : {"Disk1", "disk2"}) {
        std::filesystem::create_directories(set / disk);
        WriteFile((set / disk / "ORVL.KEY").string(), "");
    }
    WriteFile((set / "disk2" / "Illust.dat").string(), "x");
    SetSettingString("CDPath", (set / "Disk1").string());
    EXPECT_EQ(finder_.Find("Illust.dat", ""), set / "disk2" / "Illust.dat");
}

TEST_F(RequiredFile, AnEmptyDisplayNameNeverAsks)
{
    int asked = 0;
    frame_->OnCDNotFound = [&](const std::string&, bool& retry) {
        ++asked;
        retry = false;
    };
    EXPECT_TRUE(finder_.Find("Data\\Font\\missing.dat", "").empty());
    EXPECT_EQ(asked, 0);
}

TEST_F(RequiredFile, AskingRepeatsTheSearchUntilTheDiscIsThere)
{
    std::vector<std::string> asked;
    frame_->OnCDNotFound = [&](const std::string& name, bool& retry) {
        asked.push_back(name);
        mountDisc("ORVELLA");  // the user inserts the disc
        retry = true;
    };
    EXPECT_FALSE(finder_.Find("Data\\Template\\Template.dat", "@").empty());
    EXPECT_EQ(asked, std::vector<std::string>{"必要なファイル"});
}

TEST_F(RequiredFile, TheDiscPromptIsTheMessageWindowAndCancelGivesUp)
{
    std::vector<std::string> shown;
    frame_->OnMessageBox = [&](const std::string& text, std::span<const TButtonKind> buttons, int, int) {
        shown.push_back(text);
        EXPECT_EQ(buttons.size(), 2u);
        return shown.size() < 2 ? int(mrYes) : int(mrCancel);
    };
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(finder_.Find("Data\\Template\\Template.dat", "テンプレート").empty());
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "テンプレートが見つかりません\r\nOrvellaのＣＤを正しくセットしてください。");
}

TEST_F(RequiredFile, WithNobodyToAskTheLookupGivesUpAtOnce)
{
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(finder_.Find("nowhere.dat", "素材").empty());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "orvella: 素材が見つかりません OrvellaのＣＤを正しくセットしてください。\n");
}

TEST_F(RequiredFile, ANameClimbingAboveItsFolderIsNotFound)
{
    mountDisc("ORVELLA");
    WriteFile(dir_.File("secret.dat"), "x");
    EXPECT_TRUE(finder_.Find("..\\..\\..\\secret.dat", "").empty());
}

}  // namespace
}  // namespace orvella::test
