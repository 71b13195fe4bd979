// The built-in PDF printer, proved by pdftoppm and ImageMagick: the page is
// the paper and its raster agrees with the sheet painter's picture.

#include "document/sheet_painter.h"
#include "graphics/bitmap.h"
#include "graphics/png_codec.h"
#include "platform/atomic_file.h"
#include "print/pdf_print_device.h"
#include "print/print_site.h"
#include "print_fixture.h"
#include "support/oracle.h"

#include <filesystem>
#include <regex>

namespace orvella::test {
namespace {

bool HavePoppler() { return HaveProgram("/usr/bin/pdftoppm") && HaveProgram("/usr/bin/pdfinfo"); }

// pdfinfo's page size in points.
std::pair<double, double> PageSizePoints(const std::string& pdf)
{
    const ToolRun run = RunProgram("/usr/bin/pdfinfo", {pdf});
    std::smatch match;
    static const std::regex size(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)");
    if (run.status != 0 || !std::regex_search(run.out, match, size))
        return {0, 0};
    return {std::stod(match[1]), std::stod(match[2])};
}

// Pixels differing by more than a tenth, after cropping both to the smaller size.
long DifferingPixels(const std::string& a, const std::string& b, const std::string& scratch)
{
    const ToolRun size = RunProgram("/usr/bin/identify", {"-format", "%w %h", a});
    const ToolRun other = RunProgram("/usr/bin/identify", {"-format", "%w %h", b});
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    std::sscanf(size.out.c_str(), "%d %d", &w1, &h1);
    std::sscanf(other.out.c_str(), "%d %d", &w2, &h2);
    const std::string crop = std::to_string(std::min(w1, w2)) + "x" + std::to_string(std::min(h1, h2)) + "+0+0";
    RunProgram("/usr/bin/convert", {a, "-crop", crop, "+repage", scratch + "/a.png"});
    RunProgram("/usr/bin/convert", {b, "-crop", crop, "+repage", scratch + "/b.png"});
    const ToolRun compare = RunProgram("/usr/bin/compare", {"-metric", "AE", "-fuzz", "10%", scratch + "/a.png",
                                                            scratch + "/b.png", scratch + "/diff.png"});
    return std::atol(compare.err.c_str());
}

TEST_F(PrintDocument, PdfPageIsThePaperAndAgreesWithTheSheetPicture)
{
    ORVELLA_REQUIRE_TOOL(HavePoppler(), "pdftoppm and pdfinfo (poppler-utils)");
    ORVELLA_REQUIRE_TOOL(HaveImageMagick(), "ImageMagick");
    // Rectangles clear of the hole: the sheet picture does not cut holes.
    for (int face = 0; face < 6; ++face)
        PutRect(face, {30 + 10 * face, 130, 90 + 10 * face, 170});
    TempDir dir;
    for (const int32_t banding : {0, 1, 2}) {
        SCOPED_TRACE("Banding " + std::to_string(banding));
        const std::string pdf = dir.File("sheet" + std::to_string(banding) + ".pdf");
        auto printer = CreatePdfFilePrinter(pdf, 360);
        TPrintSite site(data_, *printer, TPrintSpec{});
        site.Banding = banding;
        site.Print();
        ASSERT_TRUE(std::filesystem::exists(pdf));

        // 100 x 60 mm; the PDF's page box is in whole points.
        const auto [w, h] = PageSizePoints(pdf);
        EXPECT_NEAR(w, 100 / 25.4 * 72, 1.0);
        EXPECT_NEAR(h, 60 / 25.4 * 72, 1.0);

        const std::string stem = dir.File("raster" + std::to_string(banding));
        ASSERT_EQ(RunProgram("/usr/bin/pdftoppm", {"-r", "360", "-png", "-singlefile", pdf, stem}).status, 0);
        TBitmap picture;
        RenderSheet(data_, ScaleForDpi(360), picture);
        WriteFileAtomically(dir.File("render.png"), EncodePng(picture));
        // The sheet picture adds the faces' grey outlines (about 2 x 3.14 x
        // 425 pixels a face at 360 dpi); a misplaced rectangle differs by
        // thousands more.
        EXPECT_LT(DifferingPixels(stem + ".png", dir.File("render.png"), dir.Path()), 6 * 3500);
        EXPECT_GT(DifferingPixels(stem + ".png", dir.File("render.png"), dir.Path()), -1);
    }
}

TEST(PrintCommand, PrintsANewDocumentToAPdfOfThePaper)
{
    ORVELLA_REQUIRE_TOOL(HavePoppler(), "pdftoppm and pdfinfo (poppler-utils)");
    TempDir dir;
    const std::string doc = dir.File("new.ovd");
    ASSERT_EQ(RunTool({"doc", "new", "CD・DVDラベル(2面)", "エーワン CD/DVDラベル A4 2面 内径41mm", doc}).status, 0);
    const ToolRun printed = RunTool({"print", doc, "--pdf", dir.File("out.pdf"), "--cut-line", "--copies", "2"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    const auto [w, h] = PageSizePoints(dir.File("out.pdf"));
    EXPECT_NEAR(w, 210 / 25.4 * 72, 1.0);
    EXPECT_NEAR(h, 297 / 25.4 * 72, 1.0);
    EXPECT_NE(RunProgram("/usr/bin/pdfinfo", {dir.File("out.pdf")}).out.find("Pages:           2"), std::string::npos);

    EXPECT_EQ(RunTool({"print", doc}).status, 2);
    EXPECT_EQ(RunTool({"print", doc, "--pdf", dir.File("x.pdf"), "--faces", "0,7"}).status, 1);
    EXPECT_EQ(RunTool({"print", doc, "--pdf", dir.File("x.pdf"), "--copies", "0"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.pdf")));
}

}  // namespace
}  // namespace orvella::test
