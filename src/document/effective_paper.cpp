#include "document/effective_paper.h"

#include "graphics/graphics_types.h"
#include "paper/paper_info.h"

namespace orvella {

namespace {

TDirectPrintSupport& Support()
{
    static TDirectPrintSupport support;
    return support;
}

// Face width w centred on c and grown by outer: its new left (or top) edge.
int32_t CentredStart(int32_t centre, int32_t size, int32_t outer) { return centre - size / 2 - outer / 2; }

}  // namespace

void SetDirectPrintSupport(TDirectPrintSupport support)
{
    if (!support.IsDirectPrintPaper)
        support.IsDirectPrintPaper = [](const TPaperInfo&) { return false; };
    if (!support.PrintableDiscArea)
        support.PrintableDiscArea = [](const TPaperInfo&) -> std::optional<TDiscArea> { return std::nullopt; };
    if (!support.GetPrinterDriverName)
        support.GetPrinterDriverName = [] { return std::string(); };
    Support() = std::move(support);
}

void ResetDirectPrintSupport() { SetDirectPrintSupport({}); }

const TDirectPrintSupport& DirectPrintSupport()
{
    if (!Support().IsDirectPrintPaper)
        ResetDirectPrintSupport();
    return Support();
}

std::unique_ptr<TPaperInfo> MakeDiscTrayPaper(const TPaperInfo& paper, const TDiscArea& area, TSizeAdjust adjust)
{
    std::unique_ptr<TPaperInfo> result = paper.Clone();
    result->SetWidth(area.Width);
    result->SetHeight(area.Height);
    if (auto* matrix = dynamic_cast<TMatrixPaperInfo*>(result.get())) {
        matrix->LeftOffset = CentredStart(area.CenterX, matrix->FaceWidth, adjust.Outer);
        matrix->TopOffset = CentredStart(area.CenterY, matrix->FaceHeight, adjust.Outer);
        matrix->FaceWidth += adjust.Outer;
        matrix->FaceHeight += adjust.Outer;
        matrix->Face.CutCenterWidth += adjust.Inner;
        matrix->Face.CutCenterHeight += adjust.Inner;
    } else if (auto* free = dynamic_cast<TFreePaperInfo*>(result.get())) {
        for (std::size_t i = 0; i < free->Faces.Count(); ++i) {
            TFaceItem& face = free->Faces.Items(i);
            const int32_t width = face.Width();
            const int32_t height = face.Height();
            face.SetLeft(CentredStart(area.CenterX, width, adjust.Outer));
            face.SetTop(CentredStart(area.CenterY, height, adjust.Outer));
            face.SetWidth(width + adjust.Outer);
            face.SetHeight(height + adjust.Outer);
            face.Face.CutCenterWidth += adjust.Inner;
            face.Face.CutCenterHeight += adjust.Inner;
        }
    }
    return result;
}

std::unique_ptr<TPaperInfo> MakeEffectivePaper(const TPaperInfo& paper)
{
    const TDirectPrintSupport& support = DirectPrintSupport();
    if (support.IsDirectPrintPaper(paper))
        if (const std::optional<TDiscArea> area = support.PrintableDiscArea(paper))
            return MakeDiscTrayPaper(paper, *area, ReadSizeAdjust(paper));
    return paper.Clone();
}

std::string EffectivePaperKey(const TPaperInfo& paper)
{
    return paper.GroupName + DirectPrintSupport().GetPrinterDriverName();
}

}  // namespace orvella
