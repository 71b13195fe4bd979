// orvella-tool face-test OUT.png [GROUP NAME]
// Shows a paper of the compiled catalog (by default its first paper with a
// disc face) on a paper site at 100 %, face 0 selected and the face numbers
// on, draws a dotted grid of 50 and one vertical and one horizontal guide
// over it, and writes the result as PNG. Prints the paper's group, name and
// the picture's size in pixels.

#include "commands.h"

#include "frame/program_macros.h"
#include "document/grid.h"
#include "document/guide.h"
#include "document/paper_site.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "paper/face_info.h"
#include "paper/papers.h"

#include <iostream>

namespace orvella::tool {

namespace {

bool hasDiscFace(const TPaperInfo& paper)
{
    for (int32_t i = 0; i < paper.GetFaceCount(); ++i)
        if (ShapeHasCenterHole(paper.GetFaceShape(i)))
            return true;
    return false;
}

const TPaperInfo* findPaper(const TPapersV2& catalog, const Arguments& args)
{
    for (int i = 0; i < catalog.Count(); ++i) {
        const TPaperInfo& paper = catalog.Papers(i);
        const bool chosen = args.size() == 3 ? paper.GroupName == args[1] && paper.PaperName == args[2]
                                             : hasDiscFace(paper);
        if (chosen)
            return &paper;
    }
    return nullptr;
}

}  // namespace

int RunFaceTest(const Arguments& args)
{
    if (args.size() != 1 && args.size() != 3)
        return UsageError("face-test");
    const std::string catalogFile = ProgramPlaces().ExeDir + "orvella.ppr";
    TPapersV2 catalog(catalogFile, true, true);
    const TPaperInfo* paper = findPaper(catalog, args);
    if (!paper) {
        std::cerr << "orvella-tool: no such paper in " << catalogFile << '\n';
        return 1;
    }

    TPaperSite site;
    site.SetDrawInfo(true);
    site.ShowPaper(paper);
    site.SelectFace(0);
    if (site.Width() <= 0 || site.Height() <= 0 || site.Width() > kMaxRenderPixels ||
        site.Height() > kMaxRenderPixels) {
        std::cerr << "orvella-tool: the sheet's size " << paper->Width() << 'x' << paper->Height()
                  << " cannot be drawn\n";
        return 1;
    }

    TGrid grid;
    grid.SetVisible(true);
    grid.SetSize(50);
    TGuide guides;
    guides.SetVisible(true);
    guides.SetGuide(0, site.LogWidth() / 2, 0);
    guides.SetGuide(1, 0, site.LogHeight() / 3);
    site.OnPaintAfter = [&](TDrawSite& drawn, TCanvas& canvas) {
        const TRect sheet{0, 0, drawn.LogWidth(), drawn.LogHeight()};
        canvas.Pen() = TPen{0x808080, 0, TPenStyle::psSolid, R2_COPYPEN};
        grid.Draw(canvas, sheet);
        canvas.Pen() = TPen{0xC08000, 0, TPenStyle::psSolid, R2_COPYPEN};
        guides.Draw(canvas, sheet);
    };

    TBitmap picture(site.Width(), site.Height(), TPixelFormat::pf24bit);
    TCanvas& canvas = picture.Canvas();
    canvas.Brush() = TBrush{ResolveColor(site.Color()), TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, site.Width(), site.Height()});
    site.DrawTo(canvas, {0, 0}, site.Scaler().Scale());
    if (!picture.SaveToPng(args[0])) {
        std::cerr << "orvella-tool: cannot write " << args[0] << '\n';
        return 1;
    }
    std::cout << paper->GroupName << '\t' << paper->PaperName << '\t' << site.Width() << 'x' << site.Height()
              << '\n';
    return 0;
}

}  // namespace orvella::tool
