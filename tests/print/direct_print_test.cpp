// Printing straight onto discs: which papers are discs, the catalog's
// description of the disc-tray printers, and where a printer's tray prints,
// asked through fake Canon and Epson extensions.

#include "driver_fakes.h"

#include "paper/copy_papers.h"
#include "paper/paper_info.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"
#include "print/direct_print.h"
#include "print/paper_print_setting.h"
#include "print/printer_selection.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace orvella::test {
namespace {

const char* const kDescription = R"(<?xml version="1.0" encoding="Shift_JIS"?>
<Printers>
<DirectPrinterInfo>
<PrinterData PrinterName="TrayA" TrayWidth="1500" TrayHeight="2350" CenterX="750" CenterY="830"
  MaxOuterWidth="1180" MaxOuterHeight="1180" MinInnerWidth="430" MinInnerHeight="430">
<FaceShape ShapeName="fsDoughnut"/>
<Purpose PurposeName="CD"/>
</PrinterData>
<PrinterData PrinterName="Disc Driver &quot;X&quot;" TrayWidth="1400" TrayHeight="2400" CenterX="700" CenterY="1200"
  MaxOuterWidth="1200" MinInnerWidth="200">
<FaceShape ShapeName="fsDoughnut"/>
<Purpose PurposeName="CD"/>
</PrinterData>
<PrinterData PrinterName="カード専用" TrayWidth="1">
<FaceShape ShapeName="fsRectCD"/>
<Purpose PurposeName="CD"/>
</PrinterData>
</DirectPrinterInfo>
</Printers>)";

// A disc of the given group: a 1180 face round a 410 hole on a 1200 sheet.
std::unique_ptr<TFreePaperInfo> Disc(const std::string& group, bool readOnly = true)
{
    auto paper = std::make_unique<TFreePaperInfo>();
    paper->PaperName = "Disc of " + group;
    paper->GroupName = group;
    paper->ReadOnly = readOnly;
    paper->PortraitWidth = paper->PortraitHeight = 1200;
    TFaceItem& face = paper->Faces.Add();
    face.SetRect({10, 10, 1190, 1190});
    face.Face.FaceShape = fsDoughnut;
    face.Face.FacePurpose = "CD";
    face.Face.CutCenterWidth = face.Face.CutCenterHeight = 410;
    return paper;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class DirectPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto catalog = std::make_unique<TPapersV2>(dir_.File("system.ppr"), true, false, true);
        catalog->WriteGlobalInfo("GenreInfo", {"TrayA=ダイレクトプリント\\Tray A", "Labels=ラベル",
                                               "Lookalike=CD ダイレクトプリント",
                                               "Disc Driver \"X\"=ダイレクトプリント"});
        catalog->WriteGlobalInfo("DirectPrinter", Lines(kDescription));
        catalog->SetUpdateInfo(1, 0);
        SetProgramPapers(std::move(catalog));
        SetDriverBackend(UnavailableDriverBackend());
    }
    void TearDown() override
    {
        SetProgramPapers(nullptr);
        SetDriverBackend(UnavailableDriverBackend());
        ApplicationPrinterObject() = TApplicationPrinter{};
    }

    // A printer of the given driver whose forms include the Canon tray form 5.
    TPrinterConfiguration Printer(const std::string& driver)
    {
        return TPrinterConfiguration(
            "tray", std::make_shared<FakePrinterQuery>(
                        "tray", driver,
                        std::vector<TPrinterMedia>{{"a4", 2100, 2970}, {"b", 1, 1}, {"c", 1, 1}, {"d", 1, 1},
                                                   {"disc tray", 1600, 2800}}));
    }
    void UseCanon() { SetDriverBackend({.CanonEntry = [this](TPrinterConfiguration&) { return canon_.Entry(); }}); }
    void UsePic() { SetDriverBackend({.PicLibrary = [this] { return pic_.Library(); }}); }

    TempDir dir_;
    FakeCanon canon_;
    FakePic pic_;
};

TEST_F(DirectPrint, GenreDecidesAndOnlySystemPapersAreDiscs)
{
    struct Case {
        const char* group;
        bool readOnly;
        bool direct;
    };
    for (const Case& c : {Case{"TrayA", true, true}, Case{"TrayA", false, false}, Case{"Labels", true, false},
                         Case{"Lookalike", true, false}, Case{"Unknown", true, false}}) {
        SCOPED_TRACE(c.group);
        EXPECT_EQ(IsDirectPrintPaper(*Disc(c.group, c.readOnly)), c.direct);
    }
    std::vector<std::string> groups{"TrayA", "Labels", "Disc Driver \"X\"", "Lookalike", "TrayA"};
    RemoveDirectPrintGroups(groups);
    EXPECT_EQ(groups, (std::vector<std::string>{"Labels", "Lookalike"}));

    SetProgramPapers(nullptr);
    EXPECT_FALSE(IsDirectPrintGroup("TrayA"));
}

TEST_F(DirectPrint, GenresAreReadAgainOnlyAfterANewRelease)
{
    EXPECT_TRUE(IsDirectPrintGroup("TrayA"));
    ProgramPapers().WriteGlobalInfo("GenreInfo", {"TrayA=ラベル"});
    EXPECT_TRUE(IsDirectPrintGroup("TrayA")) << "the same release keeps the list read before";
    ProgramPapers().SetUpdateInfo(2, 0);
    EXPECT_FALSE(IsDirectPrintGroup("TrayA"));
}

TEST_F(DirectPrint, DescriptionSelectsByExactNameAndReportsItsPrinter)
{
    TDirectPrinterInfo info;
    std::vector<std::string> names{"before"};
    info.GetPrinterNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"before", "TrayA", "Disc Driver \"X\"", "カード専用"}));

    TSize outer{-1, -1}, inner{-1, -1};
    info.GetSizeLimits(outer, inner);
    EXPECT_EQ(outer.cx, -1) << "nothing selected leaves the limits alone";
    EXPECT_EQ(info.GetTrayArea(), TDirectPrintArea{});

    // A quote in the name is compared, not read as part of a path.
    info.SelectPrinter("Disc Driver \"X\"");
    EXPECT_EQ(info.GetTrayArea(), (TDirectPrintArea{700, 1200, 1400, 2400}));
    info.GetSizeLimits(outer, inner);
    EXPECT_EQ(outer.cx, 1200);
    EXPECT_EQ(outer.cy, 0) << "a missing attribute reads as 0";
    EXPECT_EQ(inner.cx, 200);

    info.SelectPrinter("tray");
    EXPECT_FALSE(info.Selected()) << "names are case-sensitive";
    EXPECT_FALSE(info.SupportsPaper(*Disc("TrayA")));

    info.SelectPrinter("TrayA");
    EXPECT_TRUE(info.SupportsPaper(*Disc("TrayA")));
    EXPECT_FALSE(info.SupportsPaper(*Disc("TrayA", false)));
    info.SelectPrinter("カード専用");
    EXPECT_FALSE(info.SupportsPaper(*Disc("TrayA"))) << "the printer lists no doughnut";
}

TEST_F(DirectPrint, DamagedOrMissingDescriptionDescribesNoPrinter)
{
    for (const char* text : {"", "<broken", "<a><b/></a>"}) {
        SCOPED_TRACE(text);
        auto info = TDirectPrinterInfo::FromText(text);
        std::vector<std::string> names;
        info->GetPrinterNames(names);
        EXPECT_TRUE(names.empty());
        info->SelectPrinter("TrayA");
        EXPECT_FALSE(info->Selected());
        EXPECT_EQ(info->CreateDirectPaper(*Disc("TrayA")), nullptr);
    }
}

TEST_F(DirectPrint, DirectPaperLiesOnTheTrayWithinThePrintersLimits)
{
    TDirectPrinterInfo info;
    EXPECT_EQ(info.CreateDirectPaper(*Disc("TrayA")), nullptr) << "nothing selected";
    info.SelectPrinter("TrayA");
    EXPECT_EQ(info.CreateDirectPaper(*Disc("Labels")), nullptr) << "not a disc";

    auto wide = Disc("TrayA");
    wide->Faces.Items(0).SetRect({0, 0, 1200, 1200});
    const auto paper = info.CreateDirectPaper(*wide);
    ASSERT_TRUE(paper);
    EXPECT_EQ(paper->GroupName, "TrayA");
    EXPECT_EQ(paper->Width(), 1500);
    EXPECT_EQ(paper->Height(), 2350);
    // Cut to 1180 and centred on (750, 830); the 410 hole grows to 430.
    EXPECT_EQ(paper->GetFaceRect(0), (TRect{160, 240, 1340, 1420}));
    EXPECT_EQ(paper->GetCutCenterSize(0), (TSize{430, 430}));

    // No outer height limit: the face keeps its height.
    info.SelectPrinter("Disc Driver \"X\"");
    const auto keeps = info.CreateDirectPaper(*wide);
    EXPECT_EQ(keeps->GetFaceRect(0), (TRect{100, 600, 1300, 1800}));
    EXPECT_EQ(keeps->GetCutCenterSize(0), (TSize{410, 410}));
}

TEST_F(DirectPrint, TrayAreaComesFromTheFirstSourceThatAnswers)
{
    struct Case {
        const char* what;
        bool canon;
        int32_t formId;
        uint32_t discX, discY;
        bool pic;
        const char* driver;
        const char* group;
        TDirectPrintArea want;
    };
    const Case cases[] = {
        {"Canon centre with its listed tray form", true, 5, 7505, 12006, false, "none", "TrayA", {750, 1200, 1600, 2800}},
        {"Canon centre with an unlisted form keeps the default tray", true, 9, 7505, 12006, false, "none", "TrayA",
         {750, 1200, 1357, 2557}},
        {"Canon form 0 falls back to the description by group", true, 0, 7505, 12006, false, "none", "TrayA",
         {750, 830, 1500, 2350}},
        {"Epson centre with the described tray of the driver", false, 0, 0, 0, true, "TrayA", "TrayA",
         {635, 1270, 1500, 2350}},
        {"Epson answer whole when the driver is not described", false, 0, 0, 0, true, "other", "TrayA",
         {635, 1270, 1400, 2800}},
        {"the driver's description before the group's", false, 0, 0, 0, false, "Disc Driver \"X\"", "TrayA",
         {700, 1200, 1400, 2400}},
        {"nothing known", false, 0, 0, 0, false, "other", "Labels", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        canon_ = FakeCanon{};
        canon_.FormId = c.formId;
        canon_.DiscX = c.discX;
        canon_.DiscY = c.discY;
        pic_ = FakePic{};
        pic_.TrayWidthDots = 1984;  // 140 mm at 360 dpi
        pic_.TrayHeightDots = 3969;
        pic_.CenterXDots = 900;
        pic_.CenterYDots = 1800;
        TDriverBackend backend;
        if (c.canon)
            backend.CanonEntry = [this](TPrinterConfiguration&) { return canon_.Entry(); };
        if (c.pic)
            backend.PicLibrary = [this] { return pic_.Library(); };
        SetDriverBackend(backend);
        TPrinterConfiguration printer = Printer(c.driver);
        auto paper = Disc(c.group);
        TDirectPrintArea area{1, 2, 3, 4};
        GetDirectPrintArea(printer, *paper, area);
        EXPECT_EQ(area, c.want);
    }
}

TEST_F(DirectPrint, EpsonQueryAsksForTheDiscMediaWhenNoPresetFits)
{
    UsePic();
    pic_.CenterXDots = 1;
    pic_.Dpi = 254;
    TPrinterConfiguration printer = Printer("x");
    TDirectPrintArea area;
    ASSERT_TRUE(GetPicTrayArea(printer, area));
    EXPECT_EQ(pic_.DeviceName, "tray");
    EXPECT_EQ(pic_.DevMode, printer.GetDeviceMode().GetDevModeA());
    ASSERT_EQ(pic_.SetDataB.size(), 1072u);
    EXPECT_EQ(ReadInt32(pic_.SetDataB, 120), 9);
    EXPECT_EQ(ReadInt32(pic_.SetDataB, 124), -1);
    EXPECT_EQ(ReadInt32(pic_.SetDataB, 280), 283);
    EXPECT_EQ(ReadInt32(pic_.SetDataB, 284), -1);
    EXPECT_EQ(pic_.Log, (std::vector<std::string>{"Create_CPicPreset(100)", "PrinterSpecifies", "SetDevMode",
                                                  "SelectPreset", "GetData", "SetData", "GetPrintingInfo",
                                                  "Destroy_CPicPreset"}));

    pic_ = FakePic{};
    pic_.PresetFound = true;
    pic_.CenterXDots = 1;
    ASSERT_TRUE(GetPicTrayArea(printer, area));
    EXPECT_EQ(pic_.PresetIndex, (std::pair<int32_t, int32_t>{0, 1}));
    EXPECT_TRUE(pic_.SetDataB.empty());
}

TEST_F(DirectPrint, EpsonQueryFailsQuietlyAndLeavesItsDefaultArea)
{
    TPrinterConfiguration printer = Printer("x");
    TDirectPrintArea area;
    EXPECT_FALSE(GetPicTrayArea(printer, area)) << "no library";
    EXPECT_EQ(area, (TDirectPrintArea{655, 1510, 2100, 2970}));

    UsePic();
    struct Case {
        const char* what;
        int32_t status1, failWith, centerX;
    };
    for (const Case& c : {Case{"printer not supported", 99, 0, 100}, Case{"library error", 0, 5, 100},
                         Case{"no disc centre", 0, 0, 0}}) {
        SCOPED_TRACE(c.what);
        pic_ = FakePic{};
        pic_.Status1 = c.status1;
        pic_.FailWith = c.failWith;
        pic_.CenterXDots = c.centerX;
        EXPECT_FALSE(GetPicTrayArea(printer, area));
        EXPECT_EQ(pic_.Log.back(), "Destroy_CPicPreset") << "the object is freed on every path";
    }
    EXPECT_STREQ(EPICError(5).what(), "PICERROR : 5");

    // A library missing one entry point makes no object.
    auto partial = std::make_shared<TPicLibrary>(*pic_.Library());
    partial->GetString = nullptr;
    EXPECT_FALSE(partial->Complete());
    EXPECT_THROW(TPicPreset{partial}, EPICError);
}

TEST_F(DirectPrint, PrinterSuitsWhenDescribedOrAnExtensionTellsTheDisc)
{
    auto disc = Disc("TrayA");
    TPrinterConfiguration described = Printer("TrayA");
    EXPECT_TRUE(IsDirectPrinterFor(described, *disc));
    TPrinterConfiguration plain = Printer("plain");
    EXPECT_FALSE(IsDirectPrinterFor(plain, *disc));

    canon_.FormId = 5;
    canon_.DiscX = canon_.DiscY = 100;
    UseCanon();
    EXPECT_TRUE(IsDirectPrinterFor(plain, *disc));
    canon_.FormId = 0;
    EXPECT_FALSE(IsDirectPrinterFor(plain, *disc));
}

TEST_F(DirectPrint, CheckAsksUntilThePrinterSuitsOrTheUserDecides)
{
    const auto disc = Disc("TrayA");
    std::string driver = "plain";
    std::vector<TConfirmPrinterAnswer> answers;
    int asked = 0;
    int changed = 0;
    TDirectPrinterCheck check;
    check.CurrentPrinter = [&] { return std::make_unique<TPrinterConfiguration>(Printer(driver)); };
    check.Confirm = [&] { return answers.at(std::size_t(asked++)); };
    check.ChangePrinter = [&] {
        ++changed;
        driver = "TrayA";
    };

    answers = {TConfirmPrinterAnswer::ChangePrinter};
    EXPECT_TRUE(CheckDirectPrinter(*disc, check));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(changed, 1);

    for (const auto& [answer, passes] : {std::pair{TConfirmPrinterAnswer::Print, true},
                                        std::pair{TConfirmPrinterAnswer::Cancel, false}}) {
        driver = "plain";
        asked = 0;
        answers = {answer};
        EXPECT_EQ(CheckDirectPrinter(*disc, check), passes);
        EXPECT_EQ(asked, 1);
    }

    asked = 0;
    EXPECT_TRUE(CheckDirectPrinter(*Disc("Labels"), check)) << "other papers pass at once";
    EXPECT_EQ(asked, 0);
}

// The centre and width of what ImageMagick finds is not the corner colour,
// in the whole picture or a crop of it placed at (x, y).
struct TExtent {
    int CenterX = 0, CenterY = 0, Width = 0, Height = 0;
};
TExtent Extent(const std::string& picture, int x = 0, int y = 0, int size = 0)
{
    std::vector<std::string> args{picture};
    if (size > 0)
        args.insert(args.end(), {"-crop", std::to_string(size) + "x" + std::to_string(size) + "+" + std::to_string(x) +
                                              "+" + std::to_string(y),
                                 "+repage", "-negate"});
    args.insert(args.end(), {"-fuzz", "50%", "-format", "%@", "info:"});
    int w = 0, h = 0, left = 0, top = 0;
    std::sscanf(RunProgram("/usr/bin/convert", args).out.c_str(), "%dx%d+%d+%d", &w, &h, &left, &top);
    return {x + left + w / 2, y + top + h / 2, w, h};
}

// A disc of the system catalog printed through the PDF printer: the page is
// the tray of its printer model and the ring, widened by the stored size
// adjustment, is centred on the tray's disc centre (750, 830).
TEST(DiscTrayPage, PdfPageIsTheTrayWithTheAdjustedDiscOnItsCentre)
{
    ORVELLA_REQUIRE_TOOL(HaveProgram("/usr/bin/pdftoppm") && HaveProgram("/usr/bin/pdfinfo"), "poppler-utils");
    ORVELLA_REQUIRE_TOOL(HaveImageMagick(), "ImageMagick");
    TempDir dir;
    const std::string group = "ディスクトレイ搭載インクジェット(トレイA)";
    const std::string paper = "Verbatim DVD-R ワイドプリンタブル 120mm";
    const std::string doc = dir.File("disc.ovd");
    ASSERT_EQ(RunTool({"doc", "new", group, paper, doc}).status, 0);
    // A black square larger than the disc: printing clips it to the ring.
    WriteFile(dir.File("objects.txt"), "object TLORect\n  Left = -50\n  Top = -50\n  Width = 1300\n  Height = 1300\n"
                                       "  FillInside = True\n  FillColor.Color = 0\nend\n");
    ASSERT_EQ(RunTool({"doc", "put", doc, dir.File("objects.txt")}).status, 0);
    // Ring 1.0 mm and hole 3.0 mm wider than the paper's 118 and 22 mm.
    std::filesystem::create_directories(dir.File("config/Orvella"));
    WriteFile(dir.File("config/Orvella/settings.ini"),
              "[Software\\Tessmark\\Orvella\\1.0\\Settings\\SizeAdjust\\." + paper + "]\n\"" + group +
                  ".Inner\"=dword:0000001e\n\"" + group + ".Outer\"=dword:0000000a\n");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    const ToolRun printed = RunTool({"print", doc, "--pdf", dir.File("disc.pdf")});
    old ? setenv("XDG_CONFIG_HOME", kept.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(printed.status, 0) << printed.err;

    EXPECT_NE(RunProgram("/usr/bin/pdfinfo", {dir.File("disc.pdf")}).out.find("425 x 666 pts"), std::string::npos)
        << "the 150 x 235 mm tray";
    // At 254 dpi a pixel is 0.1 mm.
    ASSERT_EQ(RunProgram("/usr/bin/pdftoppm", {"-r", "254", "-gray", "-singlefile", dir.File("disc.pdf"),
                                               dir.File("disc")})
                  .status,
              0);
    const std::string picture = dir.File("disc.pgm");
    const TExtent ring = Extent(picture);
    EXPECT_NEAR(ring.CenterX, 750, 2);
    EXPECT_NEAR(ring.CenterY, 830, 2);
    EXPECT_NEAR(ring.Width, 1190, 2);
    EXPECT_NEAR(ring.Height, 1190, 2);
    const TExtent hole = Extent(picture, 500, 580, 500);
    EXPECT_NEAR(hole.CenterX, 750, 2);
    EXPECT_NEAR(hole.CenterY, 830, 2);
    EXPECT_NEAR(hole.Width, 250, 2);
}

// The system catalog's disc data agree with each other: every disc paper's
// group is described with a tray the paper fits, the Gutenprint queues of
// the named models are described with their CD page, and the setting table
// gives each vendor's disc media for them.
TEST(SystemCatalogDiscs, EveryDiscGroupIsDescribedAndItsPrintersSetUp)
{
    SetProgramPapers(OpenProgramCatalog(BinaryDir() + "/share/orvella/orvella.ppr", {}));
    const TPapersV2& catalog = ProgramPapers();
    std::set<std::string> groups;
    for (int i = 0; i < catalog.Count(); ++i) {
        const TPaperInfo& paper = catalog.Papers(i);
        if (!IsDirectPrintPaper(paper))
            continue;
        SCOPED_TRACE(paper.PaperName);
        groups.insert(paper.GroupName);
        TDirectPrinterInfo info;
        info.SelectPrinter(paper.GroupName);
        ASSERT_TRUE(info.Selected());
        EXPECT_TRUE(info.SupportsPaper(paper));
        const auto onTray = info.CreateDirectPaper(paper);
        ASSERT_TRUE(onTray);
        const TRect face = onTray->GetFaceRect(0);
        EXPECT_GE(face.Left, 0);
        EXPECT_LE(face.Right, onTray->Width());
        EXPECT_GE(onTray->GetCutCenterSize(0).cx, 210) << "no hole below the makers' 21 mm";
    }
    EXPECT_GE(groups.size(), 5u);

    std::vector<std::string> lines;
    catalog.ReadGlobalInfo("PrinterSetting", lines);
    TPaperPrintSetting setting{TPrinterSettingTable(lines)};
    TPrintSettingData disc;
    disc.PaperName = "any disc";
    disc.Media = "CDR";
    disc.DiscTray = true;
    struct Model {
        const char* driver;
        const char* vendor;
        int32_t media;
    };
    for (const Model& model : {Model{"Epson Stylus Photo R300", "Epson", 283}, Model{"Epson Stylus Photo R220", "Epson", 283},
                               Model{"Canon PIXMA iP4500", "Canon", 31}, Model{"Canon PIXMA iP4600", "Canon", 31}}) {
        const std::string driver = std::string(model.driver) + " - CUPS+Gutenprint v5.3.4";
        SCOPED_TRACE(driver);
        EXPECT_TRUE(groups.count(model.driver));
        TDirectPrinterInfo info;
        info.SelectPrinter(driver);
        EXPECT_EQ(info.GetTrayArea(), (TDirectPrintArea{600, 600, 1199, 1199}));
        EXPECT_EQ(setting.FindMedia(model.vendor, driver, disc, {0, 1, 31, 32, 283}), model.media);
    }
    SetProgramPapers(nullptr);
}

}  // namespace
}  // namespace orvella::test
