// orvella-tool site-test OUT.png
// Shows a draw site as the layout view paints it on screen, at 200 %:
// overlapping objects (one blended into those below; a text over a QR
// code), one selected with its handles, and one whose painting fails and shows the failure marker
// instead, so that one broken object never stops the others. Writes the
// picture as PNG and prints its size in pixels.

#include "commands.h"

#include "document/lo_rect_base.h"
#include "drawing/draw_site.h"
#include "formats/property_table.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/lo_qr_code.h"
#include "objects/lo_shade_text.h"

#include <cstring>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace orvella::tool {

namespace {

// A filled rectangle or ellipse with a dark edge.
class TSampleShape : public TLORectBase {
    ORVELLA_PERSISTENT(TSampleShape)

public:
    TColor Fill = clBlue;
    bool Ellipse = false;

    void SetExtent(int32_t width, int32_t height) override
    {
        SetBoundsRect({GetLeft(), GetTop(), GetLeft() + width, GetTop() + height});
    }
    void DrawOutline(TCanvas& canvas) override
    {
        if (Ellipse)
            canvas.Ellipse(Rect().Left, Rect().Top, Rect().Right, Rect().Bottom);
        else
            canvas.Rectangle(Rect().Left, Rect().Top, Rect().Right, Rect().Bottom);
    }
    void Paint(TCanvas& canvas) override
    {
        canvas.Brush() = TBrush{Fill, TBrushStyle::bsSolid};
        canvas.Pen() = TPen{0x303030, 5, TPenStyle::psSolid, R2_COPYPEN};
        DrawOutline(canvas);
    }
    // Blending covers only the figure, not its whole rectangle.
    void PaintMask(TBitmap& mask) override
    {
        for (int32_t y = 0; y < mask.Height(); ++y)
            std::memset(mask.Row(y), 0, std::size_t(mask.Width()));
        mask.Canvas().Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
        mask.Canvas().Pen() = TPen{clWhite, 5, TPenStyle::psSolid, R2_COPYPEN};
        DrawOutline(mask.Canvas());
    }
};

// Fails every time it is asked to paint.
class TFailingShape : public TSampleShape {
    ORVELLA_PERSISTENT(TFailingShape)

public:
    void Paint(TCanvas&) override { throw std::runtime_error("this object cannot be drawn"); }
};

const TClassInfo& TSampleShape::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TSampleShape, TLORectBase>("TSampleShape", {});
    return info;
}

const TClassInfo& TFailingShape::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFailingShape, TSampleShape>("TFailingShape", {});
    return info;
}

template <class Shape>
Shape& addShape(TDrawSite& site, const TRect& rect, TColor fill, bool ellipse = false)
{
    auto shape = std::make_unique<Shape>();
    shape->Fill = fill;
    shape->Ellipse = ellipse;
    shape->SetBoundsRect(rect);
    Shape& added = static_cast<Shape&>(site.InsertOwnedObject(std::move(shape)));
    site.AddObject(added);
    return added;
}

}  // namespace

int RunSiteTest(const Arguments& args)
{
    if (args.size() != 1)
        return UsageError("site-test");
    RegisterToolClasses();
    // The failure is shown on the object; the report would only repeat it.
    SetPaintFailureReporter([](std::exception_ptr) {});

    TDrawSite site;
    site.Scaler().SetUnitDPI(254);
    site.Scaler().SetScale(200);
    site.SetLogWidth(900);
    site.SetLogHeight(650);
    addShape<TSampleShape>(site, {40, 40, 450, 300}, 0xC07030);
    TSampleShape& blended = addShape<TSampleShape>(site, {260, 160, 620, 460}, 0x2080F0, true);
    blended.SetBlendRatio(60);
    TSampleShape& selected = addShape<TSampleShape>(site, {520, 90, 840, 270}, 0x40B040);
    addShape<TFailingShape>(site, {120, 380, 430, 600}, 0x808080);
    auto code = std::make_unique<TLOQRStd>();
    code->SetQRKind(TStdQRKind::sqkURL);
    code->SetQRType(TStdQRType::sqtVodafone);
    code->SetQRUrl("example.jp/orvella");
    code->SetBoundsRect({620, 320, 820, 520});
    site.AddObject(site.InsertOwnedObject(std::move(code)));
    auto text = std::make_unique<TLOCurrentText>();
    text->SetText({"Orvella", "ラベル"});
    text->SetBoundsRect({560, 470, 890, 640});
    site.AddObject(site.InsertOwnedObject(std::move(text)));
    selected.SetSelected(true);
    // The selection shows its handles, from the designers as in the editor.
    site.RefreshHandles();

    TBitmap picture(site.Width(), site.Height(), TPixelFormat::pf24bit);
    site.PaintWindow(picture.Canvas(), {0, 0, site.Width(), site.Height()});
    if (!picture.SaveToPng(args[0])) {
        std::cerr << "orvella-tool: cannot write " << args[0] << '\n';
        return 1;
    }
    std::cout << site.Width() << 'x' << site.Height() << '\n';
    return 0;
}

}  // namespace orvella::tool
