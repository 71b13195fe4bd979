// The CUPS driver back-end against PPDs made by Gutenprint's own generator
// for real printers, read through libcups: the Epson R300 prints on discs,
// the HP LaserJet 4 does not.

#include "driver_fakes.h"

#include "platform/atomic_file.h"
#include "print/direct_print.h"
#include "print/gutenprint_backend.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvella::test {
namespace {

const char* const kGutenprintDriver = "/usr/lib/cups/driver/gutenprint.5.3";

// The model's PPD in dir; empty when the generator is not installed.
std::string MakePpd(const TempDir& dir, const std::string& model)
{
    const ToolRun run = RunProgram(kGutenprintDriver, {"cat", "gutenprint.5.3://" + model + "/expert"});
    if (run.status != 0 || run.out.empty())
        return {};
    const std::string file = dir.File(model + ".ppd");
    std::ofstream(file, std::ios::binary) << run.out;
    return file;
}

// The PPD with one default changed, as lpadmin -o writes it into a queue's copy.
std::string WithDefault(const std::string& ppd, const std::string& from, const std::string& to)
{
    std::ifstream in(ppd, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    const std::string changed = ppd + ".changed.ppd";
    std::ofstream(changed, std::ios::binary) << text;
    return changed;
}

class Gutenprint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ORVELLA_REQUIRE_TOOL(HaveProgram(kGutenprintDriver), "Gutenprint's PPD generator (printer-driver-gutenprint)");
        r300_ = MakePpd(dir_, "escp2-r300");
        ASSERT_FALSE(r300_.empty());
    }
    void TearDown() override { SetDriverBackend(UnavailableDriverBackend()); }

    TempDir dir_;
    std::string r300_;
};

TEST_F(Gutenprint, DiscPrinterTellsItsCdPageAndDiameterRanges)
{
    const auto disc = ReadGutenprintDisc(r300_);
    ASSERT_TRUE(disc);
    EXPECT_EQ(disc->PageSize, "CDCustom");
    EXPECT_EQ(disc->PageWidthPt, 340);
    EXPECT_EQ(disc->PageHeightPt, 340);
    EXPECT_EQ(disc->TrayWidth(), 1199);  // 340 pt
    EXPECT_EQ(disc->DefaultInputSlot, "Standard");
    ASSERT_TRUE(disc->OuterDiameter && disc->InnerDiameter);
    EXPECT_EQ(disc->OuterDiameter->Minimum, 184);
    EXPECT_EQ(disc->OuterDiameter->Maximum, 340);
    EXPECT_EQ(disc->OuterDiameter->Default, 329);
    EXPECT_EQ(disc->InnerDiameter->Minimum, 45);
    EXPECT_EQ(disc->InnerDiameter->Maximum, 121);
    EXPECT_FALSE(disc->DiscSelected());

    const auto tray = ReadGutenprintDisc(WithDefault(r300_, "*DefaultInputSlot: Standard", "*DefaultInputSlot: CD"));
    ASSERT_TRUE(tray);
    EXPECT_TRUE(tray->DiscSelected());
}

TEST_F(Gutenprint, PrintersWithoutADiscTrayAndOtherFilesHaveNoDisc)
{
    const std::string laser = MakePpd(dir_, "pcl-4");
    ASSERT_FALSE(laser.empty());
    EXPECT_FALSE(ReadGutenprintDisc(laser));
    const std::string junk = dir_.File("junk.ppd");
    std::ofstream(junk) << "*PPD-Adobe: \"4.3\"\n*InputSlot CD/CD: \"\"\n";
    EXPECT_FALSE(ReadGutenprintDisc(junk)) << "a CD slot without a CD page";
    EXPECT_FALSE(ReadGutenprintDisc(dir_.File("missing.ppd")));
}

TEST_F(Gutenprint, JobOptionsCarryTheDiameterInPointsWithinTheDriversRange)
{
    const auto disc = ReadGutenprintDisc(r300_);
    ASSERT_TRUE(disc);
    struct Case {
        int32_t outer, inner;
        const char* wantOuter;
        const char* wantInner;
    };
    for (const Case& c : {Case{1180, 220, "StpCDOuterDiameter=334", "StpCDInnerDiameter=62"},
                         Case{1300, 100, "StpCDOuterDiameter=340", "StpCDInnerDiameter=45"},
                         Case{600, 430, "StpCDOuterDiameter=184", "StpCDInnerDiameter=121"}}) {
        SCOPED_TRACE(c.outer);
        EXPECT_EQ(DiscJobOptions(*disc, c.outer, c.inner),
                  (std::vector<std::string>{"InputSlot=CD", "PageSize=CDCustom", c.wantOuter, c.wantInner}));
    }
}

TEST_F(Gutenprint, BackendNamesTheCdPageAsTheTrayWithTheDiscInItsMiddle)
{
    const std::string ppd = r300_;
    SetDriverBackend(GutenprintDriverBackend([ppd](const std::string& printer) -> std::optional<TGutenprintDisc> {
        return printer == "r300" ? ReadGutenprintDisc(ppd) : std::nullopt;
    }));
    TPrinterConfiguration r300("r300", std::make_shared<FakePrinterQuery>("r300", "Epson Stylus Photo R300"));
    TDirectPrintArea area;
    ASSERT_TRUE(GetPicTrayArea(r300, area));
    EXPECT_EQ(area, (TDirectPrintArea{600, 600, 1199, 1199}));
    EXPECT_FALSE(IsDiscMediaSelected(r300));

    TPrinterConfiguration other("other", std::make_shared<FakePrinterQuery>("other", "HP LaserJet 4"));
    EXPECT_FALSE(GetPicTrayArea(other, area));
}

}  // namespace
}  // namespace orvella::test
