// Face objects and the paper site: a face drawn only inside its shape with
// a white hole, hits inside the shape, geometry that follows the bounds,
// and the paper site's faces with exclusive and multiple selection.

#include "document/document_classes.h"
#include "document/lo_face.h"
#include "document/paper_site.h"

#include "drawing/action_list.h"
#include "drawing/universal_ghost.h"
#include "graphics/bitmap.h"
#include "graphics/rect_utils.h"
#include "label_test_objects.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvella {
namespace {

constexpr TColor kBackground = 0x808080;

// A disc of 80 pixels with a hole of 20 at (0, 0), on an 80 x 80 bitmap in
// pixel mapping.
class FacePixels : public ::testing::Test {
protected:
    FacePixels() : bitmap_(80, 80)
    {
        TFaceInfo info;
        info.FaceRect = {0, 0, 80, 80};
        info.FaceShape = fsDoughnut;
        info.SetCutCenterSize(20);
        face_.SetFaceInfo(info);
        face_.SetBoundsRect(info.GetOuterRect());
        bitmap_.Canvas().Brush() = TBrush{kBackground, TBrushStyle::bsSolid};
        bitmap_.Canvas().FillRect({0, 0, 80, 80});
    }

    void paint() { face_.PaintTo(bitmap_.Canvas()); }

    TBitmap bitmap_;
    TLOFace face_;
};

TEST_F(FacePixels, SelectedFaceIsFilledAroundAWhiteHole)
{
    face_.SetFaceColor(0x00C0FF);
    face_.SetFaceSelected(true);
    paint();
    EXPECT_EQ(bitmap_.GetPixelColor(40, 40), clWhite) << "the hole";
    EXPECT_EQ(bitmap_.GetPixelColor(40, 15), 0x00C0FFu) << "the ring";
    EXPECT_EQ(bitmap_.GetPixelColor(3, 3), kBackground) << "outside the disc";
    EXPECT_EQ(bitmap_.GetPixelColor(76, 76), kBackground);
}

TEST_F(FacePixels, UnselectedFaceIsWhite)
{
    paint();
    EXPECT_EQ(bitmap_.GetPixelColor(40, 40), clWhite);
    EXPECT_EQ(bitmap_.GetPixelColor(40, 15), clWhite);
    EXPECT_EQ(bitmap_.GetPixelColor(3, 3), kBackground);
}

TEST_F(FacePixels, FillStaysInsideTheShapeWhileTheNumberShowsInTheCorner)
{
    face_.SetShowInfo(true);
    face_.SetFaceColor(0x00C0FF);
    face_.SetFaceSelected(true);
    paint();
    // A disc leaves the corners of its square empty: the number drawn at
    // the top-left corner must show there, and nothing else may.
    const QRegion shape = face_.FaceInfo().CreateFaceRegion(nullptr, false);
    int blueOutside = 0;
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            if (shape.contains(QPoint(x, y)))
                continue;
            const TColor pixel = bitmap_.GetPixelColor(x, y);
            // The text is smoothed into the background; the fill and the
            // white of an unclipped face never appear out here.
            blueOutside += (pixel >> 16) > (pixel & 0xFF);
            EXPECT_NE(pixel, 0x00C0FFu) << x << ',' << y;
            EXPECT_NE(pixel, clWhite) << x << ',' << y;
        }
    EXPECT_GT(blueOutside, 0) << "the number and caption were drawn";
}

TEST(FaceHits, OnlyTheShapeCountsWithTheHoleIncluded)
{
    TLOFace face;
    TFaceInfo info;
    info.FaceRect = {100, 100, 400, 400};
    info.FaceShape = fsDoughnut;
    info.SetCutCenterSize(100);
    face.SetFaceInfo(info);
    face.SetBoundsRect(info.GetOuterRect());
    EXPECT_TRUE(face.HitTest({250, 120}));
    EXPECT_TRUE(face.HitTest({250, 250})) << "the hole belongs to the face";
    EXPECT_FALSE(face.HitTest({105, 105})) << "a corner of the rectangle is off the disc";
    EXPECT_FALSE(face.HitTest({400, 250}));
}

// --- paper site ------------------------------------------------------------

class PaperSiteFaces : public ::testing::Test {
protected:
    void SetUp() override
    {
        site_.ShowPaper(paper_.get());
        site_.OnFaceClick = [this](TPaperSite&) { ++clicks_; };
    }

    // A left click on the ring of face index.
    void click(int index)
    {
        const TRect r = site_.Face(index)->Rect();
        const TPoint device = site_.LogicalToDevice({r.Left + 20, (r.Top + r.Bottom) / 2});
        site_.MouseDown({TMouseButton::mbLeft, ssLeft, device});
        site_.MouseUp({TMouseButton::mbLeft, 0, device});
    }

    std::vector<int> selected() const
    {
        std::vector<int> faces;
        for (int i = 0; i < site_.FaceCount(); ++i)
            if (site_.FaceSelected(i))
                faces.push_back(i);
        return faces;
    }

    std::unique_ptr<TMatrixPaperInfo> paper_ = test::DiscPaper();
    TPaperSite site_;
    int clicks_ = 0;
};

TEST_F(PaperSiteFaces, OneFacePerFaceOfThePaperInItsOrder)
{
    EXPECT_EQ(site_.LogWidth(), 1000);
    EXPECT_EQ(site_.LogHeight(), 600);
    EXPECT_EQ(site_.Scaler().UnitDPI(), 254);
    ASSERT_EQ(site_.FaceCount(), 6);
    EXPECT_EQ(site_.Face(0)->Rect(), (TRect{20, 20, 320, 320}));
    EXPECT_EQ(site_.Face(4)->Rect(), (TRect{330, 330, 630, 630}));
    EXPECT_TRUE(site_.Face(0)->Editable());
    EXPECT_TRUE(site_.Face(0)->Exclusive());
    EXPECT_EQ(site_.Face(0)->FaceColor(), kDefaultFaceColor);
    EXPECT_EQ(site_.SelectedFaceIndex(), -1);
    EXPECT_FALSE(site_.Modified());
    EXPECT_EQ(site_.Face(6), nullptr);
    EXPECT_EQ(site_.Face(-1), nullptr);

    site_.ShowPaper(paper_.get());
    EXPECT_EQ(site_.FaceCount(), 6) << "showing a paper again replaces the faces";
    site_.ShowPaper(nullptr);
    EXPECT_EQ(site_.FaceCount(), 0);
}

TEST_F(PaperSiteFaces, ExclusiveSelectionKeepsTheLastClickedFace)
{
    click(2);
    click(3);
    EXPECT_EQ(selected(), std::vector<int>{3});
    EXPECT_EQ(clicks_, 2);
    click(3);
    EXPECT_EQ(clicks_, 2) << "clicking the selected face changes nothing";
    EXPECT_EQ(site_.SelectedFaceIndex(), 3);
}

TEST_F(PaperSiteFaces, MultipleSelectionTogglesEachClickedFace)
{
    site_.SetMultiSelect(true);
    click(2);
    click(3);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3}));
    click(2);
    EXPECT_EQ(selected(), std::vector<int>{3});
    EXPECT_EQ(clicks_, 3);
}

TEST_F(PaperSiteFaces, APressOffTheDiscSelectsNothing)
{
    const TRect r = site_.Face(1)->Rect();
    const TPoint corner = site_.LogicalToDevice({r.Left + 5, r.Top + 5});
    site_.MouseDown({TMouseButton::mbLeft, ssLeft, corner});
    site_.MouseUp({TMouseButton::mbLeft, 0, corner});
    EXPECT_EQ(site_.SelectedFaceIndex(), -1);
    EXPECT_EQ(clicks_, 0);
}

TEST_F(PaperSiteFaces, SelectFaceFollowsTheSameRuleWithoutCallbacks)
{
    site_.SelectFace(1);
    site_.SelectFace(4);
    EXPECT_EQ(selected(), std::vector<int>{4});
    site_.SelectFace(17);
    EXPECT_EQ(selected(), std::vector<int>{4});
    EXPECT_EQ(clicks_, 0);
}

TEST_F(PaperSiteFaces, FaceBoundsMoveTheFaceOnlyWhileEditable)
{
    TLOFace& face = *site_.Face(0);
    face.SetBoundsRect({0, 0, 300, 300});
    EXPECT_EQ(face.FaceInfo().FaceRect, (TRect{0, 0, 300, 300}));
    face.SetEditable(false);
    face.SetBoundsRect({50, 50, 350, 350});
    EXPECT_EQ(face.Rect(), (TRect{0, 0, 300, 300}));
    EXPECT_EQ(face.FaceInfo().FaceRect, (TRect{0, 0, 300, 300}));
}

TEST_F(PaperSiteFaces, ADraggedFaceMovesPlainlyAndIsNeverCopied)
{
    RegisterDocumentClasses();
    ActionList().Clear();
    // Neither the circular mode nor Ctrl applies to a face.
    const TMoveSettings saved = MoveSettings();
    MoveSettings().CircumMove = true;
    const TRect before = site_.Face(0)->Rect();
    const TPoint from = site_.LogicalToDevice({before.Left + 20, (before.Top + before.Bottom) / 2});
    const TPoint to{from.x + 30, from.y + 12};
    site_.MouseDown({TMouseButton::mbLeft, ssLeft | ssCtrl, from});
    site_.MouseMove({TMouseButton::mbLeft, ssLeft | ssCtrl, to});
    site_.MouseUp({TMouseButton::mbLeft, ssCtrl, to});
    MoveSettings() = saved;
    const TPoint a = site_.DeviceToLogical(from);
    const TPoint b = site_.DeviceToLogical(to);
    EXPECT_EQ(site_.Face(0)->Rect(), OffsetRect(before, b.x - a.x, b.y - a.y));
    EXPECT_EQ(site_.ObjectCount(), 6u);
    EXPECT_EQ(ActionList().UndoCaption(), "移動");
    ActionList().Clear();
}

TEST(FaceBounds, AMarginIsKeptOutsideTheFaceRectangle)
{
    TLOFace face;
    TFaceInfo info;
    info.FaceMargin = 15;
    face.SetFaceInfo(info);
    face.SetBoundsRect({100, 100, 400, 250});
    EXPECT_EQ(face.FaceInfo().FaceRect, (TRect{115, 115, 385, 235}));
    face.SetExtent(200, 100);
    EXPECT_EQ(face.Rect(), (TRect{100, 100, 300, 200}));
}

TEST(PaperSiteFit, TheSheetIsFittedAndCentredInTheClientArea)
{
    auto paper = test::DiscPaper();
    TPaperSite site;
    site.ShowPaper(paper.get(), {0, 0, 800, 400});
    EXPECT_LE(site.Width(), 800);
    EXPECT_LE(site.Height(), 400);
    EXPECT_GT(site.Height(), 380) << "the height limits a 1000 x 600 sheet in 800 x 400";
    EXPECT_EQ(site.Origin(), (TPoint{(800 - site.Width()) / 2, (400 - site.Height()) / 2}));
}

TEST(PaperSiteClasses, FacesAreMadeOfTheChosenClass)
{
    auto paper = test::DiscPaper();
    TPaperSite site;
    site.SetDrawInfo(true);
    site.SetFaceColor(0x00FF00);
    site.SetFaceClass(test::TLOTestFace::StaticClassInfo());
    site.ShowPaper(paper.get());
    ASSERT_EQ(site.FaceCount(), 6);
    EXPECT_NE(dynamic_cast<test::TLOTestFace*>(site.Face(5)), nullptr);
    EXPECT_TRUE(site.Face(5)->ShowInfo());
    EXPECT_EQ(site.Face(5)->FaceColor(), 0x00FF00u);
    EXPECT_THROW(site.SetFaceClass(test::TLOTestRect::StaticClassInfo()), std::invalid_argument);
}

}  // namespace
}  // namespace orvella
