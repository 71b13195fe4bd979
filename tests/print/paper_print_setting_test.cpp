// Paper-driven printer settings: the "PrinterSetting" table's lookup order,
// the paper size chosen among the printer's forms, and what the Canon path
// writes through a fake extension.

#include "driver_fakes.h"

#include "print/canon_ext_ddi.h"
#include "print/paper_print_setting.h"
#include "print/pic.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

const std::vector<std::string> kTable = {
    "[Canon.PrinterGroup]",
    "Canon BJ Driver=BJ Group",
    "[Canon.Paper.ID]",
    "Plain=0",
    "Disc A=31",
    "Disc B=32",
    "Photo=7",
    "[Canon.Canon BJ Driver.Paper.0]",
    "Driver Paper=Photo",
    "[Canon.BJ Group.Paper.0]",
    "Group Paper=Disc B",
    "[Canon.Paper.0]",
    "Common Paper=Unknown Media",
    "@@CDRdefault=Disc A",
    "@@default=Plain",
    "[Canon.Paper.1]",
    "Common Paper=Disc B",
    "Later Paper=Disc A",
};

struct MediaCase {
    const char* what;
    const char* paperName;
    const char* media;
    std::vector<int32_t> choices;
    std::optional<int32_t> want;
};

class MediaLookup : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaLookup, TriesDriverGroupCommonThenDefaults)
{
    const MediaCase& c = GetParam();
    TPaperPrintSetting setting{TPrinterSettingTable(kTable)};
    TPrintSettingData data;
    data.PaperName = c.paperName;
    data.Media = c.media;
    EXPECT_EQ(setting.FindMedia("Canon", "Canon BJ Driver", data, c.choices), c.want) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MediaLookup,
    ::testing::Values(
        MediaCase{"the driver's own section first", "Driver Paper", "", {0, 7, 31}, 7},
        MediaCase{"the printer group's section", "Group Paper", "", {0, 31, 32}, 32},
        MediaCase{"a number the printer lacks goes on to the next try", "Group Paper", "CDR", {0, 31}, 31},
        MediaCase{"common sections go on while they name the paper", "Common Paper", "", {0, 32}, 32},
        MediaCase{"a try ends at the first section without the name", "Later Paper", "", {7, 31}, std::nullopt},
        MediaCase{"the default of the media", "Anything", "CDR", {0, 31}, 31},
        MediaCase{"the last default", "Anything", "", {0, 31}, 0},
        MediaCase{"nothing among the choices", "Anything", "", {5}, std::nullopt}));

TEST(PaperPrintSetting, NewFormsAreNamedByStandardSizeOrMillimetres)
{
    EXPECT_EQ(NewFormName(1200, 1800), "120 x 180mm");
    EXPECT_EQ(NewFormName(2100, 2970), "A4(210 x 297mm)");
    EXPECT_EQ(NewFormName(1280, 1820), "B6(128 x 182mm)");
    EXPECT_EQ(NewFormName(1185, 1200), "118.5 x 120mm");
}

// Device-mode words in the ANSI record.
int16_t Word(TPrinterConfiguration& printer, std::size_t offset)
{
    const std::vector<uint8_t>& record = printer.GetDeviceMode().GetDevModeA();
    return int16_t(record[offset] | record[offset + 1] << 8);
}

TEST(PaperPrintSetting, PaperSizeTakesTheNearFormOrTurnsTheOrientation)
{
    const std::vector<TPrinterMedia> media{{"a4", 2100, 2970}, {"a5", 1480, 2100}};
    TPrinterConfiguration printer("p", std::make_shared<FakePrinterQuery>("p", "Driver", media));
    TPrintSettingData data;
    data.Width = 2105;
    data.Height = 2968;
    ASSERT_TRUE(ApplyPaperSize(printer, data));
    EXPECT_EQ(Word(printer, 46), 1) << "the A4 form, within 20 units";
    EXPECT_EQ(Word(printer, 44), 1);

    data = {2100, 1480, false};
    ASSERT_TRUE(ApplyPaperSize(printer, data));
    EXPECT_EQ(Word(printer, 46), 2);
    EXPECT_EQ(Word(printer, 44), 2) << "found turned: landscape";

    data = {1200, 1200, false};
    const std::vector<uint8_t> before = printer.GetDeviceMode().GetDevModeA();
    EXPECT_FALSE(ApplyPaperSize(printer, data)) << "no such form and no user size";
    EXPECT_EQ(printer.GetDeviceMode().GetDevModeA(), before);
}

TEST(PaperPrintSetting, CanonPathKeepsTheCartridgeAndSetsMediaAndQuality)
{
    FakeCanon canon;
    canon.Choices[canon::kCartridge] = {1, 2};
    canon.Values[canon::kCartridge] = 2;
    canon.Choices[canon::kMediaType] = {0, 31};
    canon.Choices[canon::kQuality] = {2, 0, 3, 0};  // no quality 1
    canon.Choices[canon::kTwoChoiceSetting] = {0, 1};
    SetDriverBackend({.CanonEntry = [&canon](TPrinterConfiguration&) { return canon.Entry(); }});
    TPrinterConfiguration printer("bj", std::make_shared<FakePrinterQuery>("bj", "Canon BJ Driver"));

    TPaperPrintSetting setting{TPrinterSettingTable(kTable)};
    TPrintSettingData data;
    data.PaperName = "Printable disc";
    data.Media = "CDR";
    data.DiscTray = true;
    setting.Apply(printer, data);
    SetDriverBackend(UnavailableDriverBackend());

    std::vector<std::pair<uint32_t, int32_t>> sets;
    for (const FakeCanon::Call& call : canon.CallsOf(canon::kSetValue))
        sets.emplace_back(call.Item, ReadInt32(call.Buffer, 0));
    EXPECT_EQ(sets, (std::vector<std::pair<uint32_t, int32_t>>{
                        {canon::kCartridge, 2}, {canon::kMediaType, 31}, {canon::kQuality, 2},
                        {canon::kTwoChoiceSetting, 0}}));
    // The device mode goes to the driver after the cartridge is read and
    // before it is set again.
    std::vector<uint32_t> order;
    for (const FakeCanon::Call& call : canon.Log)
        if ((call.Command == canon::kGetValue && call.Item == canon::kCartridge) ||
            call.Command == canon::kExchangeBlock ||
            (call.Command == canon::kSetValue && call.Item == canon::kCartridge))
            order.push_back(call.Command);
    EXPECT_EQ(order, (std::vector<uint32_t>{canon::kGetValue, canon::kExchangeBlock, canon::kSetValue}));
}

}  // namespace
}  // namespace orvella::test
