// Printing a two-disc A4 sheet whose faces are covered by a photograph to
// the built-in PDF printer at 360 dpi, and composing one face's bands.

#include "document/document_classes.h"
#include "document/label_data.h"
#include "document/lo_rect_base.h"
#include "drawing/do_list.h"
#include "formats/class_registry.h"
#include "formats/property_table.h"
#include "graphics/coord_map.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "offscreen_app.h"
#include "paper/paper_info.h"
#include "print/pdf_print_device.h"
#include "print/print_site.h"

#include <benchmark/benchmark.h>

namespace orvella::bench {
namespace {

// A full-face picture: a photograph-sized bitmap stretched over the rectangle.
class TBenchPhoto : public TLORectBase {
    ORVELLA_PERSISTENT(TBenchPhoto)

public:
    void SetExtent(int32_t width, int32_t height) override
    {
        SetBoundsRect({GetLeft(), GetTop(), GetLeft() + width, GetTop() + height});
    }
    void DrawOutline(TCanvas& canvas) override { canvas.Rectangle(GetLeft(), GetTop(), Rect().Right, Rect().Bottom); }
    void Paint(TCanvas& canvas) override
    {
        static TBitmap& photo = *[] {
            auto* made = new TBitmap;
            TBitmap& bitmap = *made;
            bitmap.SetSize(2000, 2000, TPixelFormat::pf24bit);
            for (int32_t y = 0; y < bitmap.Height(); ++y) {
                uint8_t* row = bitmap.Row(y);
                for (int32_t x = 0; x < bitmap.Width(); ++x) {
                    row[3 * x] = uint8_t(x * 7 + y);
                    row[3 * x + 1] = uint8_t(y * 3 ^ x);
                    row[3 * x + 2] = uint8_t((x + y) / 9);
                }
            }
            return made;
        }();
        const TRect device = canvas.LPtoDP(Rect());
        const auto saved = canvas.SaveDC();
        TCoordMap::ResetMapping(canvas);
        canvas.StretchBlt(device.Left, device.Top, device.Right - device.Left, device.Bottom - device.Top,
                          photo.Canvas(), 0, 0, photo.Width(), photo.Height(), SRCCOPY);
        canvas.RestoreDC(saved);
    }
};

const TClassInfo& TBenchPhoto::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBenchPhoto, TLORectBase>("TBenchPhoto", {});
    return info;
}

std::unique_ptr<TLabelData> TwoDiscSheet()
{
    OffscreenApplication();
    RegisterDocumentClasses();
    RegisterClass(TBenchPhoto::StaticClassInfo());
    TMatrixPaperInfo paper;
    paper.PaperName = "A4 2";
    paper.PortraitWidth = 2100;
    paper.PortraitHeight = 2970;
    paper.LeftOffset = 465;
    paper.TopOffset = 215;
    paper.BottomMargin = 190;
    paper.FaceWidth = 1170;
    paper.FaceHeight = 1170;
    paper.FaceCountX = 1;
    paper.FaceCountY = 2;
    paper.Face.FaceShape = fsDoughnut;
    paper.Face.FacePurpose = "CD";
    paper.Face.FaceMargin = 20;
    auto data = std::make_unique<TLabelData>();
    data->SetPaper(paper);
    data->SetSeparatelyDesign(true);
    for (int face = 0; face < 2; ++face) {
        TBenchPhoto photo;
        photo.SetBoundsRect({0, 0, 1210, 1210});
        TDOList list;
        list.Add(photo);
        data->SaveFaceObjects(face, list);
    }
    return data;
}

void BM_PrintTwoDiscSheetToPdf(benchmark::State& state)
{
    auto data = TwoDiscSheet();
    std::size_t bytes = 0;
    for (auto _ : state) {
        TPdfPrintDevice printer(360, [&](const QByteArray& pdf, const std::string&) { bytes = std::size_t(pdf.size()); });
        TPrintSite site(*data, printer, TPrintSpec{});
        site.Banding = int32_t(state.range(0));
        site.Print();
    }
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_PrintTwoDiscSheetToPdf)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvella::bench
