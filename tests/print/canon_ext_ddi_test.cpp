// The Canon extension wrapper against a fake extension speaking its byte
// protocol: the records it sends and how it reads the answers.

#include "driver_fakes.h"

#include "print/canon_ext_ddi.h"
#include "print/direct_print.h"
#include "print/pic.h"

#include <gtest/gtest.h>

#include <array>

namespace orvella::test {
namespace {

class CanonExtension : public ::testing::Test {
protected:
    void SetUp() override
    {
        canon_.Choices[canon::kMediaType] = {0, 31, 32};
        canon_.Names[canon::kMediaType] = {u"普通紙", u"CD-R", std::u16string(200, u'長')};
        canon_.Choices[canon::kQuality] = {1, 10, 2, 20, 7, 70};  // (choice, value) pairs
        canon_.Values[canon::kMediaType] = 31;
        canon_.Values[canon::kQuality] = 2;
        SetDriverBackend({.CanonEntry = [this](TPrinterConfiguration&) { return canon_.Entry(); }});
    }
    void TearDown() override { SetDriverBackend(UnavailableDriverBackend()); }

    FakeCanon canon_;
    TPrinterConfiguration printer_{"bj", std::make_shared<FakePrinterQuery>("bj", "Canon BJ")};
};

TEST_F(CanonExtension, OnlyInterfaceVersionOneIsUsedAndOtherwiseAnswersAreNeutral)
{
    canon_.Version = 0x20003;
    canon_.FormId = 5;
    canon_.DiscX = canon_.DiscY = 1000;
    auto ext = CreateCanonExtDDI(printer_);
    EXPECT_FALSE(ext->IsAvailable());
    const std::size_t asked = canon_.Log.size();
    int32_t error = 0;
    std::array<uint8_t, 4> buffer{};
    EXPECT_EQ(ext->CallExtension(canon::kGetValue, canon::kMediaType, buffer, error), 1);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(ext->GetItemValue(canon::kMediaType), 0);
    EXPECT_TRUE(ext->GetItemValues(canon::kMediaType).empty());
    EXPECT_EQ(ext->GetDiscInfo().FormId, 0u);
    EXPECT_FALSE(ext->SetItemValue(canon::kMediaType, 31, false));
    EXPECT_EQ(ext->IndexOfItemValue(canon::kMediaType), -1);
    EXPECT_EQ(canon_.Log.size(), asked) << "nothing reaches a driver of another version";
    EXPECT_FALSE(IsDiscMediaSelected(printer_));

    canon_.Version = 0x1FFFF;
    EXPECT_TRUE(CreateCanonExtDDI(printer_)->IsAvailable());
}

TEST_F(CanonExtension, ValidatedValuesMustBeAmongTheChoices)
{
    auto ext = CreateCanonExtDDI(printer_);
    ASSERT_TRUE(ext->IsAvailable());
    EXPECT_FALSE(ext->SetItemValue(canon::kMediaType, 99, true));
    EXPECT_TRUE(canon_.CallsOf(canon::kSetValue).empty()) << "a refused value sends no command 3";

    EXPECT_TRUE(ext->SetItemValue(canon::kMediaType, 32, true));
    const auto sets = canon_.CallsOf(canon::kSetValue);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].Item, canon::kMediaType);
    EXPECT_EQ(sets[0].Buffer, (std::vector<uint8_t>{32, 0, 0, 0}));

    // Quality is checked against the first values of its pairs.
    EXPECT_FALSE(ext->SetItemValue(canon::kQuality, 10, true));
    EXPECT_TRUE(ext->SetItemValue(canon::kQuality, 7, true));
    EXPECT_FALSE(ext->SetItemValueByIndex(canon::kMediaType, 3));
    EXPECT_TRUE(ext->SetItemValueByIndex(canon::kMediaType, 0));
    EXPECT_EQ(ext->IndexOfItemValue(canon::kMediaType), 0);
    EXPECT_TRUE(ext->SetItemValue(canon::kMediaType, 99, false)) << "unvalidated values go through";
}

TEST_F(CanonExtension, ChoicesNamesAndRecordsAreReadAsTheDriverLaysThemOut)
{
    auto ext = CreateCanonExtDDI(printer_);
    EXPECT_EQ(ext->GetItemValues(canon::kMediaType), (std::vector<int32_t>{0, 31, 32}));
    // Names are 128 UTF-16 units each; a longer one is cut by its slot.
    std::string cut;
    for (int i = 0; i < 127; ++i)
        cut += "長";
    EXPECT_EQ(ext->GetItemNames(canon::kMediaType), "普通紙\r\nCD-R\r\n" + cut + "\r\n");
    EXPECT_EQ(ext->GetQualityValues(), (std::vector<int32_t>{1, 2, 7}));
    EXPECT_EQ(ext->GetQualityNames(), "きれい\r\n標準\r\nカスタム\r\n");
    EXPECT_EQ(ext->GetQualityPairValue(), 20);
    canon_.Values[canon::kQuality] = 3;
    EXPECT_EQ(ext->GetQualityPairValue(), 0) << "no pair for the current quality";

    canon_.PrintableRect = {10, 20, 300, 400};
    const TCanonRect rect = ext->GetPrintableRect();
    EXPECT_EQ((std::array{rect.Left, rect.Top, rect.Right, rect.Bottom}), (std::array{10, 20, 310, 420}));

    canon_.FormId = 260;
    canon_.DiscX = 5800;
    canon_.DiscY = 9100;
    const TCanonDiscInfo disc = ext->GetDiscInfo();
    EXPECT_EQ(disc.FormId, 260u) << "the tray form replaces the record's first value";
    EXPECT_EQ(disc.CenterX, 5800u);
    EXPECT_EQ(disc.CenterY, 9100u);
    EXPECT_EQ(canon_.CallsOf(canon::kGetValue).back().Buffer.size(), 20u);

    EXPECT_EQ(ext->GetItemType(canon::kMediaType), canon::kTypeIntegerList);
    EXPECT_EQ(ext->GetItemCount(canon::kQuality), 3);
}

TEST_F(CanonExtension, DiscMediaAndTheDeviceModeHandedToTheDriver)
{
    for (const auto& [media, disc] : {std::pair{31, true}, std::pair{32, true}, std::pair{4, false}}) {
        canon_.Values[canon::kMediaType] = media;
        EXPECT_EQ(IsDiscMediaSelected(printer_), disc) << media;
    }
    auto ext = CreateCanonExtDDI(printer_);
    ext->ApplyDeviceMode();
    const auto blocks = canon_.CallsOf(canon::kExchangeBlock);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].Item, canon::kDeviceMode);
    // The wide record: its size field says 220 and the device name is UTF-16.
    ASSERT_GE(blocks[0].Buffer.size(), 220u);
    EXPECT_EQ(blocks[0].Buffer[36 + 32] | blocks[0].Buffer[37 + 32] << 8, 220);
    EXPECT_EQ(blocks[0].Buffer[0], 'b');
    EXPECT_EQ(blocks[0].Buffer[1], 0);
    EXPECT_EQ(blocks[0].Buffer[2], 'j');
}

}  // namespace
}  // namespace orvella::test
