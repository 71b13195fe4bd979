// The catalog the build compiles from data/paper, read as the program and
// an independent reader see it, and the orvella-tool paper command.

#include "graphics/bitmap.h"
#include "paper/face_info.h"
#include "paper/papers.h"
#include "support/oracle.h"
#include "paper/purpose_list.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

namespace orvella {
namespace {

using test::BinaryDir;
using test::RunProgram;
using test::RunTool;
using test::SourceDir;
using test::TempDir;
using test::WriteFile;

std::string systemCatalog() { return BinaryDir() + "/share/orvella/orvella.ppr"; }

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(SystemCatalog, HoldsRealPapersThatFitTheirSheets)
{
    TPapersV2 catalog(systemCatalog(), true, true);
    catalog.AddStandardSections();
    EXPECT_GE(catalog.Count(), 40);
    EXPECT_GE(catalog.CompanyList().size(), 8u);

    TPurposeList defaultPurposes;
    SetDefaultPurposes(defaultPurposes);
    std::set<TFaceShape> shapes;
    std::set<std::string> purposes, makers;
    for (int i = 0; i < catalog.Count(); ++i) {
        const TPaperInfo& paper = catalog.Papers(i);
        SCOPED_TRACE(paper.PaperName);
        EXPECT_TRUE(paper.ReadOnly);
        EXPECT_EQ(FindFaceOutsidePaper(paper), -1);
        EXPECT_EQ(FindOverlappingFace(paper), -1);
        for (int32_t f = 0; f < paper.GetFaceCount(); ++f) {
            shapes.insert(paper.GetFaceShape(f));
            // The paper editor offers a purpose's shapes only: a copy of the
            // paper keeps its shape when the purpose, in the catalog's list
            // and in the list a catalog without one gets, includes it. (Faces
            // without a purpose have none to keep: the editor asks for one.)
            const TPurposeList* lists[] = {&catalog.PurposeList(), &defaultPurposes};
            for (const TPurposeList* list : lists) {
                if (paper.GetFacePurpose(f).empty())
                    continue;
                const int purpose = list->IndexOf(paper.GetFacePurpose(f));
                ASSERT_GE(purpose, 0) << paper.GetFacePurpose(f);
                EXPECT_TRUE(list->Items(std::size_t(purpose)).ShapeMask & FaceShapeBit(paper.GetFaceShape(f)))
                    << "face " << f << ", purpose " << paper.GetFacePurpose(f);
            }
            purposes.insert(paper.GetFacePurpose(f));
            const TSize hole = paper.GetCutCenterSize(f);
            if (paper.GetFaceShape(f) == fsDoughnut) {
                const int32_t outer = paper.GetFaceRect(f).Right - paper.GetFaceRect(f).Left;
                EXPECT_TRUE((outer >= 1160 && outer <= 1180) || outer == 780) << outer;
                EXPECT_TRUE(hole.cx >= 170 && hole.cx <= 450) << hole.cx;
            }
        }
        auto extra = catalog.GetExtraInfo("ExtraInfos", paper.PaperName);
        ASSERT_TRUE(extra) << "every system paper names its maker";
        makers.insert(dynamic_cast<TExPaperInfo&>(*extra).Company);
    }
    EXPECT_EQ(shapes.size(), 6u) << "every face shape is used";
    EXPECT_EQ(purposes, (std::set<std::string>{"", "CD", "CDCover", "CDCaseTray", "MOSquare"}));
    EXPECT_GE(makers.size(), 8u);

    std::vector<std::string> genres, printer, keys;
    catalog.ReadGlobalInfo("GenreInfo", genres);
    catalog.ReadGlobalInfo("DirectPrinter", printer);
    catalog.ReadGlobalInfo("SearchExtKeyInfo", keys);
    EXPECT_TRUE(std::any_of(genres.begin(), genres.end(), [](const std::string& line) {
        return line.find("=ダイレクトプリント") != std::string::npos;
    }));
    EXPECT_EQ(keys.size() % 2, 0u) << "search keys come in pairs";
    std::string xml;
    for (const std::string& line : printer)
        xml += line;
    EXPECT_NE(xml.find("<DirectPrinterInfo>"), std::string::npos);
    EXPECT_NE(xml.find("PrinterData PrinterName="), std::string::npos);
    EXPECT_GE(catalog.UpdateInfo().PPRNo, 1);
}

// The listed element with its type, from an olefile listing.
bool listed(const std::vector<std::string>& listing, const std::string& element)
{
    return std::any_of(listing.begin(), listing.end(),
                       [&](const std::string& line) { return line.rfind(element + " ", 0) == 0; });
}

TEST(SystemCatalog, ThePrinterDescriptionDeclaresTheEncodingItIsStoredIn)
{
    // The catalog keeps its texts in CP932; a reader that follows the XML
    // declaration must come to the same printer names as the program.
    const test::ToolRun stream = RunProgram("/usr/bin/gsf", {"cat", systemCatalog(), "GlobalInfo/DirectPrinter"});
    ASSERT_EQ(stream.status, 0) << stream.err;
    TempDir dir;
    WriteFile(dir.File("printers.xml"), stream.out);
    const test::ToolRun names = RunProgram(
        "/usr/bin/xmllint", {"--xpath", "string(//PrinterData[1]/@PrinterName)", dir.File("printers.xml")});
    ASSERT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(names.out, "ディスクトレイ搭載インクジェット(トレイA)\n");
}

TEST(SystemCatalog, OlefileListsItsStreams)
{
    ORVELLA_REQUIRE_TOOL(test::HaveOlefile(), "python3-olefile");
    const std::vector<std::string> listing = test::OlefileListing(systemCatalog());
    for (const char* element : {"Papers\\$00000001 stream", "PurposeList\\PurposeList stream",
                                "UpdateInfo\\UpdateInfo stream", "CompanyList\\CompanyList stream",
                                "GroupList\\GroupList stream", "GlobalInfo\\DirectPrinter stream",
                                "GlobalInfo\\GenreInfo stream", "ExtraInfos\\$00000001 stream", "PaperImages storage"})
        EXPECT_TRUE(listed(listing, element)) << element;

    const std::vector<std::string> database = test::OlefileListing(BinaryDir() + "/share/orvella/orvella.cdb");
    for (const char* element : {"Infos\\NameList stream", "Infos\\NameList0 stream", "Infos\\NameList4 stream"})
        EXPECT_TRUE(listed(database, element)) << element;
    EXPECT_FALSE(listed(database, "Infos\\NameList5 stream")) << "no product record yet";
}

TEST(PaperCompiler, RefusesALandscapeSheetInsteadOfDroppingIt)
{
    TempDir dir;
    const std::string group = dir.File("10-turned.paper");
    WriteFile(group, "group: G\n"
                     "paper: Turned\n"
                     "maker: M\n"
                     "sheet: 297 x 210\n"
                     "landscape: yes\n"
                     "grid: 1 x 1\n"
                     "face: 100 x 50\n"
                     "origin: 10, 10\n"
                     "gap: 0, 0\n");
    std::filesystem::create_directories(dir.File("out"));
    const test::ToolRun run = RunProgram(BinaryDir() + "/bin/orvella-paper-compiler",
                                         {dir.File("out"), SourceDir() + "/data/paper/catalog.txt", group});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("10-turned.paper:5"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("landscape"), std::string::npos) << run.err;
}

TEST(PaperCommand, ListsOnePaperPerLine)
{
    const test::ToolRun run = RunTool({"paper", "ls", systemCatalog()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    EXPECT_GE(lines.size(), 40u);
    EXPECT_EQ(lines[0],
              "CD・DVDラベル(2面)\tAvery L6015 CD/DVDラベル A4 2面\tmatrix\t2100x2970\t2\t"
              "fsDoughnut CD hole 410x410 465,214,1635,1384");
    for (const std::string& line : lines)
        EXPECT_GE(std::count(line.begin(), line.end(), '\t'), 5) << line;
}

TEST(PaperCommand, RendersBothDiscsOfAnA4SheetWithTheirHoles)
{
    TempDir dir;
    const std::string png = dir.File("sheet.png");
    const test::ToolRun run =
        RunTool({"paper", "render", systemCatalog(), "CD・DVDラベル(2面)", "Avery L6015 CD/DVDラベル A4 2面", png});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.width(), 794);   // 210 mm at 96 dpi
    ASSERT_EQ(image.height(), 1123); // 297 mm
    const QRgb white = qRgb(255, 255, 255);
    const QRgb face = qRgb(200, 225, 255);
    // Disc centres at (105.0, 79.9) and (105.0, 203.3) mm; the hole is 41 mm.
    for (const int centreY : {302, 768}) {
        EXPECT_EQ(image.pixel(397, centreY), white) << "hole at " << centreY;
        EXPECT_EQ(image.pixel(397 + 60, centreY), white) << "inside the 77 px hole radius";
        EXPECT_EQ(image.pixel(397 + 120, centreY), face) << "on the label ring";
        EXPECT_EQ(image.pixel(397, centreY - 190), face);
        EXPECT_EQ(image.pixel(397 + 160, centreY - 160), white) << "outside the disc, in its corner";
    }
    EXPECT_EQ(image.pixel(397, 535), white) << "between the discs";
}

TEST(PaperCommand, RefusesADamagedCatalogAndUnknownPapers)
{
    TempDir dir;
    WriteFile(dir.File("bad.ppr"), std::string(600, '\xD0'));
    const test::ToolRun damaged = RunTool({"paper", "ls", dir.File("bad.ppr")});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("用紙情報ファイル「bad.ppr」が開けませんでした"), std::string::npos) << damaged.err;

    const test::ToolRun missing = RunTool({"paper", "render", systemCatalog(), "no group", "no paper", dir.File("x.png")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no paper"), std::string::npos);
    EXPECT_EQ(RunTool({"paper", "ls"}).status, 2);
}

}  // namespace
}  // namespace orvella
