#include "print/device_mode.h"
#include "print/printer_configuration.h"
#include "print/printer_form.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

std::vector<uint8_t> AnsiRecord(uint16_t driverExtra)
{
    std::vector<uint8_t> record(kDevModeSizeA + driverExtra, 0);
    const std::string device = "Label Printer";
    const std::string formName = "A4";
    std::copy(device.begin(), device.end(), record.begin());
    std::copy(formName.begin(), formName.end(), record.begin() + devmode::kFormName);
    record[devmode::kSize] = kDevModeSizeA;
    record[devmode::kDriverExtra] = uint8_t(driverExtra & 0xFF);
    record[devmode::kDriverExtra + 1] = uint8_t(driverExtra >> 8);
    record[devmode::kOrientation] = 2;        // landscape
    record[devmode::kPaperSize] = 9;          // A4
    record[devmode::kLogPixels] = 0x58;       // the first byte after the form name
    for (uint16_t i = 0; i < driverExtra; ++i)
        record[kDevModeSizeA + i] = uint8_t(i * 7 + 1);
    return record;
}

TEST(DeviceMode, ConvertsBetweenLayoutsKeepingNamesSettingsAndDriverBytes)
{
    const std::vector<uint8_t> original = AnsiRecord(200);
    TmDeviceMode mode;
    mode.LoadFromDevMode(original);
    const std::vector<uint8_t> wide = mode.GetDevModeW();
    ASSERT_EQ(wide.size(), 420u);
    EXPECT_TRUE(mode.IsWide());
    EXPECT_EQ(mode.Size(), kDevModeSizeW);
    EXPECT_EQ(mode.DeviceName(), "Label Printer");
    EXPECT_EQ(mode.FormName(), "A4");
    EXPECT_EQ(mode.Orientation(), 2);
    EXPECT_EQ(wide[0], 'L');
    EXPECT_EQ(wide[1], 0);
    EXPECT_EQ(wide[kDevModeSizeW - 54], 0x58);
    EXPECT_TRUE(std::equal(original.begin() + kDevModeSizeA, original.end(), wide.begin() + kDevModeSizeW));

    const std::vector<uint8_t> back = mode.GetDevModeA();
    EXPECT_EQ(back.size(), 356u);
    EXPECT_EQ(back, original);
}

TEST(DeviceMode, RepairsEmptyAndShortRecords)
{
    TmDeviceMode mode;
    EXPECT_EQ(mode.DevMode().size(), kDevModeSizeA);
    EXPECT_EQ(mode.Size(), kDevModeSizeA);

    std::vector<uint8_t> zeroSize(kDevModeSizeA, 0);
    mode.LoadFromHandle(zeroSize);
    EXPECT_EQ(mode.Size(), kDevModeSizeA);

    // Claims of more driver bytes than there are convert without reading past the end.
    std::vector<uint8_t> lying = AnsiRecord(4);
    lying[devmode::kDriverExtra] = 0xFF;
    lying[devmode::kDriverExtra + 1] = 0xFF;
    mode.LoadFromHandle(lying);
    EXPECT_EQ(mode.GetDevModeW().size(), size_t(kDevModeSizeW + 4));
    EXPECT_EQ(mode.GetDevModeA().size(), size_t(kDevModeSizeA + 4));

    const std::vector<uint8_t> tiny{1, 2, 3};
    mode.LoadFromHandle(tiny);
    EXPECT_EQ(mode.GetDevModeW().size(), kDevModeSizeW);
}

TEST(PrinterForms, FindsByNameSizeNearSizeAndNumber)
{
    TPrinterForm forms;
    forms.Add(TFormInfo("Letter", 1, 2159, 2794));
    forms.Add(TFormInfo("A4", 9, 2100, 2970));
    forms.Add(TFormInfo("Disc", 300, 1200, 1200));
    EXPECT_EQ(forms.FindByName("a4"), 1);
    EXPECT_EQ(forms.FindByName("A5"), -1);
    EXPECT_EQ(forms.FindBySize(2100, 2970), 1);
    EXPECT_EQ(forms.FindBySize(2105, 2968), -1);
    EXPECT_EQ(forms.FindNearSize(2105, 2968), 1);
    EXPECT_EQ(forms.FindNearSize(2121, 2970), -1);
    EXPECT_EQ(forms.FindById(300), 2);
    EXPECT_EQ(forms.GetNames(), "Letter\r\nA4\r\nDisc\r\n");
}

struct Named : IArrayItem {
    explicit Named(int key) : Key(key) {}
    int Key;
};

int byKey(const IArrayItem& a, const IArrayItem& b)
{
    return static_cast<const Named&>(a).Key - static_cast<const Named&>(b).Key;
}

std::string message(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EListError& error) {
        return error.what();
    }
    return "";
}

TEST(InterfaceArray, SortedArraysKeepOrderAndRefuseWhatWouldBreakIt)
{
    TInterfaceArray array;
    array.SetComparer(byKey);
    for (int key : {5, 1, 3})
        array.Add(std::make_shared<Named>(key));
    array.SetSorted(true);
    EXPECT_EQ(static_cast<const Named&>(*array.GetItem(0)).Key, 1);
    EXPECT_EQ(array.Add(std::make_shared<Named>(4)), 2);
    EXPECT_EQ(message([&] { array.Add(std::make_shared<Named>(3)); }), "文字列リストは重複を許しません");
    EXPECT_EQ(message([&] { array.Insert(0, std::make_shared<Named>(0)); }),
              "ソートされる文字列リストに対しては許されない動作です");
    EXPECT_EQ(message([&] { array.SetCount(1); }), "ソートされる文字列リストに対しては許されない動作です");
    EXPECT_EQ(message([&] { array.GetItem(4); }), "リストのインデックスが範囲を超えています (4)");
    EXPECT_EQ(message([&] { array.Delete(-1); }), "リストのインデックスが範囲を超えています (-1)");
    EXPECT_EQ(array.IndexOf(std::make_shared<Named>(5)), 3);
    EXPECT_EQ(array.BinarySearch([](const IArrayItem& item) { return static_cast<const Named&>(item).Key >= 3 ? 0 : -1; }), 1);

    array.SetSorted(false);
    const auto mine = std::make_shared<Named>(9);
    TInterfaceArray plain;
    plain.Add(mine);
    EXPECT_EQ(plain.IndexOf(mine), 0);
    EXPECT_EQ(plain.IndexOf(std::make_shared<Named>(9)), -1) << "without a comparer, identity counts";
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

struct MediaCase {
    const char* name;
    std::optional<TPrinterMedia> current;
    const char* want;
};

class MediaText : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaText, NamesThePaperToLoad)
{
    EXPECT_EQ(MediaSizeText(GetParam().current, 2100, 2970), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, MediaText, ::testing::Values(
    MediaCase{"printer_holds_the_paper", TPrinterMedia{"iso_a4_210x297mm", 2100, 2970}, "iso_a4_210x297mm"},
    MediaCase{"within_tolerance", TPrinterMedia{"A4", 2110, 2955}, "A4"},
    MediaCase{"custom_size", TPrinterMedia{"custom_120x120mm", 1200, 1200, 0, 0, true}, "120 x 120mm"},
    MediaCase{"other_paper", TPrinterMedia{"na_letter", 2159, 2794}, "210 x 297mm"},
    MediaCase{"printer_silent", std::nullopt, "210 x 297mm"}),
    [](const auto& info) { return std::string(info.param.name); });

class FakeQuery : public IPrinterQuery {
public:
    bool Exists(const std::string& printer) override { return printer == "disc"; }
    std::string MakeAndModel(const std::string&) override { return "Gutenprint disc printer"; }
    std::vector<TPrinterMedia> Media(const std::string&) override
    {
        return {{"na_letter", 2159, 2794}, {"iso_a4_210x297mm", 2100, 2970}};
    }
    std::optional<TPrinterMedia> DefaultMedia(const std::string&) override { return Media("").back(); }
};

TEST(PrinterConfiguration, FormsComeFromThePrintersMediaAndUnknownPrintersRefuse)
{
    TPrinterConfiguration disc("disc", std::make_shared<FakeQuery>());
    EXPECT_EQ(disc.GetDriverName(), "Gutenprint disc printer");
    EXPECT_EQ(disc.GetForms().FindNearSize(2105, 2968), 1);
    EXPECT_EQ(disc.GetDeviceMode().DeviceName(), "disc");
    EXPECT_EQ(disc.CurrentMedia()->Name, "iso_a4_210x297mm");
    EXPECT_THROW(TPrinterConfiguration("gone", std::make_shared<FakeQuery>()), std::runtime_error);
    TPrinterConfiguration pdf("PDF file", std::make_shared<FakeQuery>());
    EXPECT_EQ(pdf.GetForms().Count(), 0);
    EXPECT_FALSE(pdf.CurrentMedia());
}

}  // namespace
}  // namespace orvella::test
