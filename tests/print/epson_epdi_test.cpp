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

struct FakeEpdm {
    std::deque<int32_t> OpenResults;  // answers of EPDM_Open, 0 once they run out
    std::vector<int32_t> OpenModes;
    std::vector<uint16_t> DriverInfo{48};
    std::map<int32_t, int32_t> Levels{{epson::kPaperSource, 1}, {epson::kQuality, 1}, {epson::kMediaTypes, 1}};
    std::map<int32_t, std::vector<uint8_t>> Data;
    std::map<int32_t, std::vector<uint16_t>> Ranges;
    std::string MediaText;  // answer of data 213, CP932
    std::vector<uint8_t> MediaRequest;
    uint16_t MaxLevel = 0xFFFF;  // levels above it are refused back
    uint8_t DriverSource = 0;    // the paper source the driver's device mode holds; 0 keeps ours
    int Closes = 0;

    std::shared_ptr<const TEpdmLibrary> Library()
    {
        auto library = std::make_shared<TEpdmLibrary>();
        FakeEpdm* self = this;
        library->EPDM_Open = [self](const std::string&, const std::string&, int32_t mode, std::span<uint8_t>,
                                    TEpdmConnection& connection) {
            self->OpenModes.push_back(mode);
            int32_t result = 0;
            if (!self->OpenResults.empty()) {
                result = self->OpenResults.front();
                self->OpenResults.pop_front();
            }
            connection = result == 0 ? self : nullptr;
            return result;
        };
        library->EPDM_Close = [self](TEpdmConnection) { ++self->Closes; };
        library->EPDM_GetDriverInfo = [self](TEpdmConnection, std::span<uint16_t> info) -> int32_t {
            if (info.empty())
                return int32_t(self->DriverInfo.size());
            std::copy_n(self->DriverInfo.begin(), std::min(info.size(), self->DriverInfo.size()), info.begin());
            return 1;
        };
        library->EPDM_GetCommandLevel = [self](TEpdmConnection, int32_t data) {
            return self->Levels.count(data) ? self->Levels[data] : 0;
        };
        library->EPDM_GetRange = [self](TEpdmConnection, int32_t data, std::span<uint8_t> buffer) {
            if (!self->Ranges.count(data) || buffer.size() < 8)
                return 1;
            const auto& values = self->Ranges[data];
            buffer[0] = uint8_t(values.size());
            buffer[1] = 0;
            buffer[2] = 2;
            buffer[3] = 0;
            for (std::size_t i = 0; i < values.size() && 8 + 2 * i + 1 < buffer.size(); ++i) {
                buffer[8 + 2 * i] = uint8_t(values[i]);
                buffer[9 + 2 * i] = uint8_t(values[i] >> 8);
            }
            return 0;
        };
        library->EPDM_GetData = [self](TEpdmConnection, int32_t data, std::span<uint8_t> buffer) {
            if (data == epson::kMediaName) {
                self->MediaRequest.assign(buffer.begin(), buffer.begin() + 24);
                WriteInt32(buffer, 8, int32_t(self->MediaText.size()));
                std::copy(self->MediaText.begin(), self->MediaText.end(), buffer.begin() + 24);
                return 0;
            }
            if (!self->Data.count(data))
                return 1;
            const auto& stored = self->Data[data];
            std::copy_n(stored.begin(), std::min(stored.size(), buffer.size()), buffer.begin());
            return 0;
        };
        library->EPDM_SetData = [self](TEpdmConnection, int32_t data, std::span<uint8_t> buffer) {
            std::vector<uint8_t> stored(buffer.begin(), buffer.end());
            // The driver keeps its finest level as far as it goes.
            if (data == epson::kQuality && stored.size() >= 4 && (stored[2] | stored[3] << 8) > self->MaxLevel) {
                stored[2] = uint8_t(self->MaxLevel);
                stored[3] = uint8_t(self->MaxLevel >> 8);
            }
            self->Data[data] = stored;
            return 0;
        };
        library->EPDM_GetDevMode = [self](TEpdmConnection, std::span<uint8_t> devMode) {
            if (self->DriverSource != 0 && devMode.size() > 60) {
                devMode[56] = self->DriverSource;
                devMode[57] = 0;
            }
            return 0;
        };
        const auto unused = [] { return 0; };
        library->EPDM_CreateDC = unused;
        library->EPDM_ResetDC = unused;
        library->EPDM_DeleteDC = unused;
        library->EPDM_UpdateDevMode = unused;
        return library;
    }
};

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
