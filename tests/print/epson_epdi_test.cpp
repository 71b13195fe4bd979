// The Epson driver settings wrapper against a fake library speaking its
// data items, and the Epson path of the paper-driven printer settings.

#include "driver_fakes.h"

#include "platform/cp932.h"
#include "print/epson_epdi.h"
#include "print/paper_print_setting.h"
#include "print/pic.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace orvella::test {
namespace {

class EpsonSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDriverBackend({.EpsonSettings = [this](TPrinterConfiguration&) { return epdm_.Library(); }});
    }
    void TearDown() override { SetDriverBackend(UnavailableDriverBackend()); }

    TPrinterConfiguration Printer(const std::string& driver)
    {
        return TPrinterConfiguration("ep", std::make_shared<FakePrinterQuery>("ep", driver));
    }

    FakeEpdm epdm_;
};

TEST_F(EpsonSettings, OtherDriversAndMissingLibrariesGetNeutralAnswers)
{
    TPrinterConfiguration other = Printer("Canon BJ");
    TEPDI none(other);
    EXPECT_FALSE(none.IsOpen());
    EXPECT_TRUE(epdm_.OpenModes.empty()) << "only a driver named EPSON loads the library";
    EXPECT_EQ(none.GetCommandLevel(epson::kQuality), -1);
    EXPECT_EQ(none.GetPaperSource(), 7);
    EXPECT_TRUE(none.GetMediaRange().empty());
    EXPECT_EQ(none.GetDriverType(), 4);
    EXPECT_EQ(none.GetQualityLevelCount(), 0);

    TPrinterConfiguration epson = Printer("Epson Stylus Photo R300");
    SetDriverBackend({.EpsonSettings = [this](TPrinterConfiguration&) {
        auto partial = std::make_shared<TEpdmLibrary>(*epdm_.Library());
        partial->EPDM_UpdateDevMode = nullptr;
        return std::shared_ptr<const TEpdmLibrary>(partial);
    }});
    EXPECT_FALSE(TEPDI(epson).IsOpen()) << "a library missing an entry point is dropped";
}

TEST_F(EpsonSettings, OpeningRetriesOnceWhenThePortIsRefused)
{
    TPrinterConfiguration printer = Printer("EPSON PM-G800");
    epdm_.OpenResults = {-2, 0};
    EXPECT_TRUE(TEPDI(printer).IsOpen());
    EXPECT_EQ(epdm_.OpenModes, (std::vector<int32_t>{2, 2}));
    epdm_.OpenResults = {-2, -2};
    EXPECT_FALSE(TEPDI(printer).IsOpen());
    epdm_.OpenResults = {-1};
    epdm_.OpenModes.clear();
    EXPECT_FALSE(TEPDI(printer).IsOpen());
    EXPECT_EQ(epdm_.OpenModes.size(), 1u);
}

TEST_F(EpsonSettings, DriverTypeAndMediaNames)
{
    TPrinterConfiguration printer = Printer("EPSON PM-G800");
    for (const auto& [info, type] : {std::pair{16, 3}, std::pair{32, 1}, std::pair{40, 2}, std::pair{48, 0},
                                     std::pair{99, 4}}) {
        epdm_.DriverInfo = {uint16_t(info), 7};
        EXPECT_EQ(TEPDI(printer).GetDriverType(), type) << info;
    }
    TEPDI epson(printer);
    EXPECT_EQ(epson.GetMediaName(283), "CD-R ﾚｰﾍﾞﾙ") << "the driver named none";
    EXPECT_EQ(ReadInt32(epdm_.MediaRequest, 0), 1);
    EXPECT_EQ(ReadInt32(epdm_.MediaRequest, 4), 24);
    EXPECT_EQ(ReadInt32(epdm_.MediaRequest, 12), 3);
    EXPECT_EQ(ReadInt32(epdm_.MediaRequest, 16), 283);
    EXPECT_EQ(epson.GetMediaName(999), "不明な用紙種類(999)");
    epdm_.MediaText = EncodeCp932("写真用紙");
    EXPECT_EQ(epson.GetMediaName(283), "写真用紙");
}

TEST_F(EpsonSettings, RecordsAreWrittenInTheDriversLayout)
{
    TPrinterConfiguration printer = Printer("EPSON PM-G800");
    TEPDI epson(printer);
    EXPECT_EQ(epson.GetPaperSource(), 7) << "unreadable";
    ASSERT_TRUE(epson.SetQualitySetting({1, 2, 283, 2}));
    EXPECT_EQ(epdm_.Data[epson::kQuality], (std::vector<uint8_t>{1, 0, 2, 0, 0x1B, 1, 2, 0}));
    EXPECT_EQ(epson.GetQualitySetting(), (TEpsonQuality{1, 2, 283, 2}));
    ASSERT_TRUE(epson.SetUserPaperSize(1200, 1800));
    EXPECT_EQ(epdm_.Data[epson::kUserPaperSize], (std::vector<uint8_t>{0xB0, 4, 0x08, 7, 0, 1, 0, 0}));
    ASSERT_TRUE(epson.SetItem205(-5));
    EXPECT_EQ(epdm_.Data[epson::kItem205], (std::vector<uint8_t>{1, 0, 0, 0, 12, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(epson.GetItem205(), -5);
    EXPECT_EQ(epson.GetItem230(), (std::array<uint8_t, 48>{})) << "data 230 unsupported";
    epdm_.Ranges[epson::kMediaTypes] = {1, 260, 283};
    EXPECT_EQ(epson.GetMediaRange(), (std::vector<int32_t>{1, 260, 283}));
}

TEST_F(EpsonSettings, QualityLevelsAreCountedDownToWhatTheDriverKeeps)
{
    TPrinterConfiguration printer = Printer("EPSON PM-G800");
    TEPDI epson(printer);
    epdm_.Ranges[epson::kQuality] = {1, 2, 3, 4, 5};
    epdm_.MaxLevel = 3;
    epdm_.DriverSource = 9;
    const std::vector<uint8_t> before = printer.GetDeviceMode().GetDevModeA();
    epdm_.OpenModes.clear();
    EXPECT_EQ(epson.GetQualityLevelCount(), 3);
    EXPECT_EQ(epdm_.OpenModes, (std::vector<int32_t>{2})) << "reopened afterwards";
    EXPECT_EQ(printer.GetDeviceMode().DefaultSource(), 9) << "the driver's device mode as it was before the tries";
    EXPECT_NE(printer.GetDeviceMode().GetDevModeA(), before);
}

TEST_F(EpsonSettings, PaperSettingsPutADiscInTheTrayWithTheDiscMedia)
{
    TPrinterConfiguration printer = Printer("EPSON PM-G800");
    epdm_.Ranges[epson::kMediaTypes] = {1, 283};
    TPaperPrintSetting setting{TPrinterSettingTable(
        {"[Epson.Paper.ID]", "CD-R ﾚｰﾍﾞﾙ=283", "普通紙=1", "[Epson.Paper.0]", "@@CDRdefault=CD-R ﾚｰﾍﾞﾙ"})};
    TPrintSettingData data;
    data.PaperName = "Printable disc";
    data.Media = "CDR";
    data.DiscTray = true;
    setting.Apply(printer, data);
    EXPECT_EQ(printer.GetDeviceMode().DefaultSource(), 4);
    EXPECT_EQ(epdm_.Data[epson::kQuality], (std::vector<uint8_t>{1, 0, 1, 0, 0x1B, 1, 2, 0}));

    // A sheet goes to the automatic feeder when the driver has one.
    epdm_.Ranges[epson::kPaperSource] = {4, 7};
    TPrinterConfiguration sheets = Printer("EPSON PM-G800");
    data.DiscTray = false;
    data.Media.clear();
    setting.Apply(sheets, data);
    EXPECT_EQ(sheets.GetDeviceMode().DefaultSource(), 7);
    EXPECT_EQ(epdm_.Data[epson::kQuality][4], 1) << "no table entry: the first media of the range";
}

TEST_F(EpsonSettings, AlternateSourcesSwitchWithinTheirPair)
{
    TPrinterConfiguration printer = Printer("EPSON PM-G800");
    TEPDI epson(printer);
    EXPECT_FALSE(epson.HasAlternateSource()) << "CUPS tells no bins";
    struct Case {
        int16_t from;
        bool on;
        int16_t want;
        int32_t media;
    };
    for (const Case& c : {Case{7, true, 259, 0}, Case{259, false, 7, 0}, Case{4, true, 270, 0},
                          Case{267, true, 268, 337}, Case{15, true, 15, 0}}) {
        SCOPED_TRACE(c.from);
        printer.GetDeviceMode().SetDefaultSource(c.from);
        printer.GetDeviceMode().SetMediaType(0);
        epson.SelectAlternateSource(c.on);
        EXPECT_EQ(printer.GetDeviceMode().DefaultSource(), c.want);
        EXPECT_EQ(printer.GetDeviceMode().MediaType(), c.media);
        EXPECT_EQ(epson.IsAlternateSourceSelected(), c.want == 259 || c.want == 270 || c.want == 268);
    }
}

}  // namespace
}  // namespace orvella::test
