#include "print/print_site.h"

#include "document/ld_objects.h"
#include "document/sheet_painter.h"
#include "paper/extra_info.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"
#include "print_fixture.h"

#include <algorithm>
#include <cstdlib>

namespace orvella::test {
namespace {

constexpr TColor kRed = 0x0000FF;

struct Recorded {
    std::vector<int32_t> rendered;
    std::vector<int32_t> outlined;
};

Recorded PrintWith(TLabelData& data, TRecordingPrinter& printer, const TPrintSpec& options, int32_t banding = 1)
{
    Recorded recorded;
    TPrintSite site(data, printer, options);
    site.Banding = banding;
    site.OnFaceRendered = [&](int32_t face) { recorded.rendered.push_back(face); };
    site.OnFaceOutlined = [&](int32_t face) { recorded.outlined.push_back(face); };
    site.Print();
    return recorded;
}

// The smallest rectangle holding every red pixel of a picture.
TRect RedBounds(TBitmap& picture)
{
    TRect bounds{picture.Width(), picture.Height(), 0, 0};
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            if (PixelAt(picture, x, y) == kRed)
                bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                          std::max(bounds.Bottom, y + 1)};
    return bounds;
}

// A scale in whole percents of the screen missed most resolutions (180 dpi
// came out as 179.52); the sheet picture at a dpi is now the printed page.
TEST_F(PrintDocument, SheetPictureAtAnyDpiIsThePrintedPage)
{
    PutRect(5, kBesideHole);  // the face farthest from the corner shows a scale error most
    for (const int32_t dpi : {180, 127, 300, 96}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        TRecordingPrinter printer(dpi, {0, 0});
        PrintWith(data_, printer, {}, 0);  // straight onto the page, no bands
        TBitmap picture;
        RenderSheetAtDpi(data_, dpi, picture);
        // The paper, 100 x 60 mm, covered to the last pixel it touches.
        EXPECT_EQ(picture.Width(), (1000 * dpi + 253) / 254);
        EXPECT_EQ(picture.Height(), (600 * dpi + 253) / 254);
        // The picture places a face at its rounded device corner, the printer
        // maps the face's objects whole: a pixel apart at most.
        const TRect drawn = RedBounds(picture);
        const TRect printed = RedBounds(printer.Page());
        EXPECT_LE(std::abs(drawn.Left - printed.Left), 1);
        EXPECT_LE(std::abs(drawn.Top - printed.Top), 1);
        EXPECT_LE(std::abs(drawn.Right - printed.Right), 1);
        EXPECT_LE(std::abs(drawn.Bottom - printed.Bottom), 1);
    }
    TBitmap picture;
    EXPECT_THROW(RenderSheetAtDpi(data_, 0, picture), std::out_of_range);
    EXPECT_THROW(RenderSheetAtDpi(data_, kMaxPaintPpi + 1, picture), std::out_of_range);
}

TEST_F(PrintDocument, SelectedFacesOnlyAreRenderedAndOutlinedOnEveryCopy)
{
    for (int face = 0; face < 6; ++face)
        PutRect(face, kBesideHole);
    TRecordingPrinter printer(254, {0, 0});
    TPrintSpec options;
    options.AllFaces = false;
    options.FaceSelection = {0, 1, 0, 1};  // entries 4 and 5 missing: not selected
    options.PrintFrame = true;
    options.Copies = 2;
    const Recorded recorded = PrintWith(data_, printer, options);
    EXPECT_EQ(recorded.rendered, (std::vector<int32_t>{1, 3, 1, 3}));
    EXPECT_EQ(recorded.outlined, (std::vector<int32_t>{1, 3, 1, 3}));
    EXPECT_EQ(printer.Events, (std::vector<std::string>{"portrait", "begin", "page", "end"}));
}

TEST_F(PrintDocument, EmptyFacesAreSkippedButStillOutlined)
{
    PutRect(0, kBesideHole);
    PutRect(4, kBesideHole);
    TRecordingPrinter printer(254, {0, 0});
    TPrintSpec options;
    options.PrintCutLine = true;
    const Recorded recorded = PrintWith(data_, printer, options);
    EXPECT_EQ(recorded.rendered, (std::vector<int32_t>{0, 4}));
    EXPECT_EQ(recorded.outlined, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
}

TEST_F(PrintDocument, LandscapePaperTurnsThePrinterBeforeTheJobBegins)
{
    auto paper = DiscPaper();
    paper->Landscape = true;
    data_.SetPaper(*paper);
    PutRect(0, kBesideHole);
    TRecordingPrinter printer(254, {0, 0});
    PrintWith(data_, printer, TPrintSpec{});
    ASSERT_GE(printer.Events.size(), 2u);
    EXPECT_EQ(printer.Events[0], "landscape");
    EXPECT_EQ(printer.Events[1], "begin");
    EXPECT_EQ(printer.Page().Width(), 600);
    EXPECT_EQ(printer.Page().Height(), 1000);
}

// Face 0 lies at (20, 20) on the sheet: its rectangle at (50, 150)-(110,
// 190); face 1 at (330, 20), its hole centred at (480, 170).
struct PlaceCase {
    const char* name;
    int32_t banding;
    TPoint physicalOffset;
    TPoint offset;
};

class PrintPlacement : public PrintDocument, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(PrintPlacement, FacesLandAtTheirPlaceClippedToTheOutlineWithTheHoleCut)
{
    const PlaceCase& c = GetParam();
    PutRect(0, kBesideHole);
    PutRect(1, kOverHole);
    TRecordingPrinter printer(254, c.physicalOffset);
    TPrintSpec options;
    options.Offset = c.offset;
    PrintWith(data_, printer, options, c.banding);
    TBitmap& page = printer.Page();
    const int32_t dx = c.offset.x - c.physicalOffset.x;
    const int32_t dy = c.offset.y - c.physicalOffset.y;
    EXPECT_EQ(PixelAt(page, 80 + dx, 170 + dy), kRed) << c.name << ": inside the rectangle";
    EXPECT_EQ(PixelAt(page, 52 + dx, 152 + dy), kRed) << c.name << ": its corner";
    EXPECT_EQ(PixelAt(page, 47 + dx, 170 + dy), clWhite) << c.name << ": left of it";
    EXPECT_EQ(PixelAt(page, 113 + dx, 170 + dy), clWhite) << c.name << ": right of it";
    EXPECT_EQ(PixelAt(page, 500 + dx, 170 + dy), clWhite) << c.name << ": the hole is cut";
    EXPECT_EQ(PixelAt(page, 435 + dx, 125 + dy), kRed) << c.name << ": beside the hole";
}

INSTANTIATE_TEST_SUITE_P(Table, PrintPlacement, ::testing::Values(
    PlaceCase{"Direct", 0, {0, 0}, {0, 0}},
    PlaceCase{"Bands254", 1, {0, 0}, {0, 0}},
    PlaceCase{"BandsAtPrinter", 2, {0, 0}, {0, 0}},
    PlaceCase{"Offset", 2, {0, 0}, {12, -8}},
    PlaceCase{"PhysicalOffset", 1, {5, 7}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintDocument, SoftEdgeFadesTheFaceEdgeToWhite)
{
    TLOTestRect object;
    object.SetBoundsRect({-10, -10, 310, 310});
    TDOList list;
    list.Add(object);
    data_.SaveFaceObjects(0, list);
    TRecordingPrinter printer(254, {0, 0});
    TPrintSpec options;
    options.SoftEdge = true;
    PrintWith(data_, printer, options);
    TBitmap& page = printer.Page();
    // Red in the middle of the ring, fading to white at the outline and
    // at the hole; white stays white outside.
    const auto whiteness = [&](int32_t x, int32_t y) { return (PixelAt(page, 20 + x, 20 + y) >> 8) & 0xFF; };
    EXPECT_LT(whiteness(150, 50), 0x40u);
    EXPECT_GT(whiteness(150, 2), 0x80u);
    EXPECT_GT(whiteness(150, 97), whiteness(150, 50));
    EXPECT_EQ(PixelAt(page, 5, 5), clWhite);
}

class AbortingProgress : public IPrintProgress {
public:
    explicit AbortingProgress(IPrintDevice& device) : device_(device) {}
    void SetMax(int32_t) override {}
    void Step() override { device_.Abort(); }
    void ProcessMessages() override {}

private:
    IPrintDevice& device_;
};

TEST_F(PrintDocument, ACancelledJobStopsAndIsNotEndedTwice)
{
    for (int face = 0; face < 6; ++face)
        PutRect(face, kBesideHole);
    TRecordingPrinter printer(254, {0, 0});
    AbortingProgress progress(printer);
    TPrintSpec options;
    options.Copies = 3;
    options.PrintFrame = true;
    std::vector<int32_t> rendered;
    TPrintSite site(data_, printer, options, &progress);
    site.OnFaceRendered = [&](int32_t face) { rendered.push_back(face); };
    site.Print();
    EXPECT_EQ(rendered, std::vector<int32_t>{0});
    EXPECT_EQ(printer.Events, (std::vector<std::string>{"portrait", "begin", "abort"}));
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

TEST_F(PrintDocument, PaperPatternTurnsWithALandscapePaperAndPrintsOnlyWhenAsked)
{
    auto paper = DiscPaper();
    paper->Landscape = true;
    data_.SetPaper(*paper);
    TLOTestRect pattern;
    pattern.SetBoundsRect(kBesideHole);  // centre (60, 150) on the upright face
    TDOList list;
    list.Add(pattern);
    TImagePaperInfo images;
    images.PaperName = paper->PaperName;
    images.SeparatelyDesign = false;
    images.LabelCount = 1;
    images.FaceObjects.push_back({WriteFaceObjects(list)});
    data_.SetImagePaperInfo(&images);

    TFaceInfo face;
    face.LoadFromPaper(*data_.EffectivePaper(), 0);
    const TRect outer = face.GetOuterRect();
    {
        TRecordingPrinter printer(254, {0, 0});
        EXPECT_TRUE(PrintWith(data_, printer, TPrintSpec{}).rendered.empty()) << "no pattern unless asked";
    }
    TRecordingPrinter printer(254, {0, 0});
    TPrintSpec options;
    options.PrintPaperImage = true;
    const Recorded recorded = PrintWith(data_, printer, options);
    EXPECT_EQ(recorded.rendered.size(), 6u);
    // A quarter turn counter-clockwise: the centre goes to (150, 300 - 60).
    EXPECT_EQ(PixelAt(printer.Page(), outer.Left + 150, outer.Top + 240), kRed);
    EXPECT_EQ(PixelAt(printer.Page(), outer.Left + 60, outer.Top + 150), clWhite);
}

}  // namespace
}  // namespace orvella::test
