// The execution conditions: every failure path shows its message and stops
// the start, in the fixed order; printers come from CUPS plus "PDF file".

#include "frame/printer_list.h"
#include "frame_fixture.h"

#include <map>

namespace orvella::test {
namespace {

class FakePrinters : public IPrinterList {
public:
    std::vector<std::string> Installed;
    std::string Default;
    std::vector<std::string> Broken;  // installed but cannot be opened
    bool Throws = false;

    std::vector<std::string> Names() const override
    {
        if (Throws)
            throw std::runtime_error("spooler down");
        return Installed;
    }
    std::string DefaultName() const override { return Default; }
    bool CanOpen(const std::string& name) const override
    {
        return std::find(Broken.begin(), Broken.end(), name) == Broken.end();
    }
};

struct ConditionCase {
    const char* name;
    int depth;
    int colourAnswer;   // the user's answer to the colour question
    bool printer;
    bool exclusive;
    bool wantStart;
    bool wantLockAsked;  // later checks never run after a failure
    std::vector<const char*> wantMessages;
};

class ExecuteCondition : public FrameTest, public ::testing::WithParamInterface<ConditionCase> {};

TEST_P(ExecuteCondition, StopsAtTheFirstFailureWithItsMessage)
{
    const ConditionCase& c = GetParam();
    std::vector<std::string> shown;
    frame_->OnMessageBox = [&](const std::string& text, std::span<const TButtonKind>, int, int) {
        shown.push_back(text);
        return text.starts_with("「Orvella」は") ? c.colourAnswer : int(mrOk);
    };
    FakePrinters printers;
    if (c.printer)
        printers.Installed = {"Office"};
    int lockAsked = 0;
    TExecuteProbes probes;
    probes.ScreenDepth = [&] { return c.depth; };
    probes.Printers = &printers;
    probes.AcquireExclusive = [&] {
        ++lockAsked;
        return c.exclusive;
    };
    frame_->ExecuteCondition = ecNeedHighColor | ecNeedPrinter | ecExclusive;

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(frame_->CheckExecuteCondition(probes), c.wantStart);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(shown.size(), c.wantMessages.size()) << err;
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i].substr(0, std::string(c.wantMessages[i]).size()), c.wantMessages[i]);
    EXPECT_EQ(lockAsked > 0, c.wantLockAsked);
}

constexpr const char* kColour = "「Orvella」は、32,000色以上の";
constexpr const char* kPrinter = "通常使うプリンタがセットされていません";
constexpr const char* kRunning = "Orvellaは、すでに実行中です";

INSTANTIATE_TEST_SUITE_P(Paths, ExecuteCondition, ::testing::Values(
    ConditionCase{"AllPass", 32, mrYes, true, true, true, true, {}},
    ConditionCase{"LowColourAnsweredYes", 8, mrYes, true, true, true, true, {kColour}},
    ConditionCase{"LowColourAnsweredNo", 8, mrNo, true, true, false, false, {kColour}},
    ConditionCase{"SixteenBitIsEnough", 16, mrNo, true, true, true, true, {}},
    ConditionCase{"NoPrinter", 24, mrYes, false, true, false, false, {kPrinter}},
    ConditionCase{"AlreadyRunning", 24, mrYes, true, false, false, true, {kRunning}},
    ConditionCase{"NoPrinterBeforeTheLock", 24, mrYes, false, false, false, false, {kPrinter}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrinterSelection, DefaultWhenItOpensElseTheFirstThatOpens)
{
    FakePrinters printers;
    printers.Installed = {"A", "B", "C"};
    printers.Default = "B";
    EXPECT_EQ(SelectUsablePrinter(printers), "B");
    printers.Broken = {"A", "B"};
    EXPECT_EQ(SelectUsablePrinter(printers), "C");
    printers.Default = "Gone";  // a default that is no longer installed
    printers.Broken = {};
    EXPECT_EQ(SelectUsablePrinter(printers), "A");
    printers.Broken = {"A", "B", "C"};
    EXPECT_EQ(SelectUsablePrinter(printers), std::nullopt);
    printers.Throws = true;
    EXPECT_EQ(SelectUsablePrinter(printers), std::nullopt);
}

}  // namespace
}  // namespace orvella::test
