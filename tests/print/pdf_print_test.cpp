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

// --- the print command against the render command -------------------------

// Three text objects on a disc face, one of them Japanese, clear of the hole
// and of the face's edge.
const char* const kDiscTexts = "object TLOText\n"
                               "  Left = 300\n  Top = 170\n  Width = 570\n  Height = 160\n"
                               "  Text.Strings = (\n    'Orvella Sessions')\n"
                               "  Font.Name = 'IPAGothic'\n  Font.Size = 18\n  Angle = 0\n  Version = 1\n"
                               "end\n"
                               "object TLOText\n"
                               "  Left = 300\n  Top = 850\n  Width = 570\n  Height = 160\n"
                               "  Text.Strings = (\n    '夏の思い出　第二集')\n"
                               "  Font.Name = 'IPAGothic'\n  Font.Size = 18\n  Angle = 0\n  Version = 1\n"
                               "end\n"
                               "object TLOText\n"
                               "  Left = 120\n  Top = 480\n  Width = 200\n  Height = 200\n"
                               "  Text.Strings = (\n    'A1')\n"
                               "  Font.Name = 'IPAGothic'\n  Font.Size = 24\n  Angle = 0\n  Version = 1\n"
                               "end\n";

constexpr const char* kA4Discs = "エーワン CD/DVDラベル A4 2面 内径41mm";

// At 254 dpi one pixel is 0.1 mm, so the offset's units are pixels.
constexpr int kDpi = 254;

class PrintCommandAgainstRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HavePoppler() || !HaveImageMagick())
            GTEST_SKIP() << "needs pdftoppm, pdfinfo (poppler-utils) and ImageMagick";
    }

    // A new two-disc document with the texts on the given faces.
    std::string makeDocument(const std::string& name, std::initializer_list<int> faces)
    {
        const std::string doc = dir_.File(name + ".ovd");
        const ToolRun made = RunTool({"doc", "new", "CD・DVDラベル(2面)", kA4Discs, doc});
        EXPECT_EQ(made.status, 0) << made.err;
        WriteFile(dir_.File("texts.txt"), kDiscTexts);
        for (const int face : faces) {
            const ToolRun put = RunTool({"doc", "put", doc, dir_.File("texts.txt"), "--face", std::to_string(face)});
            EXPECT_EQ(put.status, 0) << put.err;
        }
        return doc;
    }

    std::string render(const std::string& doc, const std::string& name)
    {
        const std::string png = dir_.File(name + ".png");
        const ToolRun run = RunTool({"render", doc, png, "--dpi", std::to_string(kDpi)});
        EXPECT_EQ(run.status, 0) << run.err;
        return png;
    }

    // Prints doc with the extra arguments and rasterises the PDF at kDpi;
    // checks the page is A4.
    std::string print(const std::string& doc, const std::string& name, std::vector<std::string> extra = {})
    {
        const std::string pdf = dir_.File(name + ".pdf");
        std::vector<std::string> args{"print", doc, "--pdf", pdf, "--dpi", std::to_string(kDpi)};
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 0) << run.err;
        const auto [w, h] = PageSizePoints(pdf);
        EXPECT_NEAR(w, 210 / 25.4 * 72, 1.0);
        EXPECT_NEAR(h, 297 / 25.4 * 72, 1.0);
        const std::string stem = dir_.File(name);
        EXPECT_EQ(RunProgram("/usr/bin/pdftoppm", {"-r", std::to_string(kDpi), "-png", "-singlefile", pdf, stem}).status,
                  0);
        return stem + ".png";
    }

    // A picture moved right by pixels, white coming in on the left.
    std::string shifted(const std::string& png, int pixels)
    {
        const std::string out = dir_.File("shifted" + std::to_string(pixels) + ".png");
        RunProgram("/usr/bin/convert", {png, "-background", "white", "-splice", std::to_string(pixels) + "x0",
                                        "+repage", out});
        return out;
    }

    // The sheet picture draws the faces' grey outlines, the print does not:
    // the printed page darkened by the picture of the empty sheet is what the
    // sheet picture should be. The picture places each face at its rounded
    // device corner, the print maps the face's objects whole, so glyph edges
    // may lie a pixel apart: both are softened by a one-pixel blur first.
    long differingFromPicture(const std::string& printed, const std::string& outlines, const std::string& picture)
    {
        const std::string merged = dir_.File("merged.png");
        RunProgram("/usr/bin/convert", {printed, outlines, "-compose", "darken", "-composite", "-blur", "0x1", merged});
        const std::string soft = dir_.File("soft.png");
        RunProgram("/usr/bin/convert", {picture, "-blur", "0x1", soft});
        const ToolRun size = RunProgram("/usr/bin/identify", {"-format", "%w %h", soft});
        int w = 0, h = 0;
        std::sscanf(size.out.c_str(), "%d %d", &w, &h);
        const std::string crop = std::to_string(w) + "x" + std::to_string(h) + "+0+0";
        RunProgram("/usr/bin/convert", {merged, "-crop", crop, "+repage", merged});
        const ToolRun compare =
            RunProgram("/usr/bin/compare", {"-metric", "AE", "-fuzz", "25%", merged, soft, dir_.File("diff.png")});
        return std::atol(compare.err.c_str());
    }

    TempDir dir_;
};

// Softened, the PDF's page and the render differ in about 1,500 pixels of
// glyph edges at 254 dpi; a text moved by 10 mm differs in about 90,000.
constexpr long kAgreement = 3000;

TEST_F(PrintCommandAgainstRender, PdfAgreesWithTheRenderOfTheSheet)
{
    const std::string doc = makeDocument("both", {0, 1});
    const std::string outlines = render(makeDocument("empty", {}), "outlines");
    const std::string picture = render(doc, "picture");
    const std::string printed = print(doc, "printed");
    EXPECT_LT(differingFromPicture(printed, outlines, picture), kAgreement);
    // The texts are there to be compared.
    EXPECT_GT(DifferingPixels(printed, outlines, dir_.Path()), 5 * kAgreement);
}

TEST_F(PrintCommandAgainstRender, OffsetMovesEveryFaceToTheRight)
{
    const std::string doc = makeDocument("both", {0, 1});
    const std::string outlines = shifted(render(makeDocument("empty", {}), "outlines"), 100);
    const std::string picture = render(doc, "picture");
    const std::string printed = print(doc, "printed", {"--offset", "100,0"});
    EXPECT_LT(differingFromPicture(printed, outlines, shifted(picture, 100)), kAgreement);
    EXPECT_GT(differingFromPicture(printed, outlines, picture), 5 * kAgreement);
}

TEST_F(PrintCommandAgainstRender, SelectedFacePrintsOnlyThatFace)
{
    const std::string doc = makeDocument("both", {0, 1});
    const std::string outlines = render(makeDocument("empty", {}), "outlines");
    const std::string second = render(makeDocument("second", {1}), "second");
    const std::string printed = print(doc, "printed", {"--faces", "1"});
    EXPECT_LT(differingFromPicture(printed, outlines, second), kAgreement);
    EXPECT_GT(differingFromPicture(printed, outlines, render(doc, "picture")), 5 * kAgreement);
}

}  // namespace
}  // namespace orvella::test
