// The plug-in host: the loader with the project's test plug-in and with
// libraries that are no server, and the host interface's error containment.

#include "frame/app_frame_client.h"
#include "frame/plugin_list.h"
#include "frame_fixture.h"

#include <cstdlib>

namespace orvella::test {
namespace {

const std::filesystem::path kPlugins = ORVELLA_TEST_PLUGIN_DIR;

class Plugins : public FrameTest {
protected:
    Plugins() : host_(CreateAppFrameClient()) {}
    TComPtr<IAppFrameClient> host_;
};

TEST_F(Plugins, TheTestPluginListsItsComponentOfTheListsCategory)
{
    TPluginList images(CATID_ImageImport);
    images.LoadFromFolder(kPlugins / "good", host_.Get());
    ASSERT_EQ(images.Items().size(), 1u);
    // The name comes back through the host's macro expansion.
    EXPECT_EQ(images.Items()[0].Name, "Orvella image import");
    EXPECT_EQ(images.Items()[0].Library, kPlugins / "good" / "orvella_test_plugin.so");

    TPluginList music(CATID_MusicDisc);
    music.LoadFromFolder(kPlugins / "good", host_.Get());
    ASSERT_EQ(music.Items().size(), 1u);
    EXPECT_EQ(music.Items()[0].Name, "Test music disc");
    EXPECT_NE(music.Items()[0].ClassId, images.Items()[0].ClassId);
}

TEST_F(Plugins, LibrariesThatAreNoServerAreSkipped)
{
    // Beside the broken libraries: a file that is no library, and a folder.
    TempDir folder;
    for (const auto& entry : std::filesystem::directory_iterator(kPlugins / "broken"))
        std::filesystem::copy_file(entry.path(), folder.Path() / entry.path().filename());
    WriteFile(folder.File("not_a_library.so"), "\x7f" "ELF but not really");
    std::filesystem::create_directory(folder.File("folder.so"));
    std::filesystem::copy_file(kPlugins / "good" / "orvella_test_plugin.so", folder.File("zz_good.so"));

    TPluginList images(CATID_ImageImport);
    images.LoadFromFolder(folder.Path(), host_.Get());
    ASSERT_EQ(images.Items().size(), 1u);
    EXPECT_EQ(images.Items()[0].Library.filename(), "zz_good.so");

    TPluginList none(CATID_ImageImport);
    none.LoadFromFolder(folder.File("missing"), host_.Get());
    EXPECT_TRUE(none.Items().empty());
}

TEST_F(Plugins, TheHostAnswersThroughTheFrameAndContainsFailures)
{
    IAppFrameClient* host = host_.Get();
    char16_t* text = nullptr;
    ASSERT_EQ(host->Vtbl->GetRegistryKey(host, &text), S_OK_);
    EXPECT_EQ(PluginStringToUtf8(text), "Software\\Tessmark\\Orvella\\1.0\\Settings");
    std::free(text);

    ASSERT_EQ(host->Vtbl->ExpandText(host, u"$(AppName) 𝄞 ラベル", &text), S_OK_);
    EXPECT_EQ(std::u16string(text), u"Orvella 𝄞 ラベル");
    std::free(text);

    // An undefined macro throws inside the host: the plug-in sees a failure.
    text = nullptr;
    EXPECT_EQ(host->Vtbl->ExpandText(host, u"$(Undefined)", &text), E_FAIL_);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(host->Vtbl->ExpandText(host, nullptr, &text), E_POINTER_);
    EXPECT_EQ(host->Vtbl->GetAppName(host, nullptr), E_POINTER_);

    void* other = nullptr;
    EXPECT_EQ(host->Vtbl->QueryInterface(host, &IID_IPluginServer, &other), E_NOINTERFACE_);
    ASSERT_EQ(host->Vtbl->QueryInterface(host, &IID_IAppFrameClient, &other), S_OK_);
    EXPECT_EQ(host->Vtbl->Release(static_cast<IAppFrameClient*>(other)), 1u);
}

}  // namespace
}  // namespace orvella::test
