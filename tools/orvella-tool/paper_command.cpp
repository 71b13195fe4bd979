// orvella-tool paper ls CATALOG
// orvella-tool paper render CATALOG GROUP NAME OUT.png
// Lists the papers of a paper catalog file, one line each with tab-separated
// fields: group, name, kind (matrix/free), upright size in 0.1 mm
// (WIDTHxHEIGHT), face count, then one field per distinct face (shape,
// purpose or "-", hole size, face rectangle). Renders one paper at 96 dpi
// with its faces outlined and their holes cut.

#include "commands.h"

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "paper/face_info.h"
#include "paper/papers.h"
#include "platform/win_math.h"

#include <iostream>
#include <set>
#include <sstream>
#include <tuple>

namespace orvella::tool {

namespace {

constexpr int32_t kScreenDpi = 96;
constexpr int32_t kUnitsPerInch = 254;

std::string faceField(const TFaceInfo& face)
{
    std::ostringstream field;
    field << FaceShapeIdents()[face.FaceShape] << ' ' << (face.FacePurpose.empty() ? "-" : face.FacePurpose);
    if (face.HasCenterHole())
        field << " hole " << face.CutCenterWidth << 'x' << face.CutCenterHeight;
    field << ' ' << face.FaceRect.Left << ',' << face.FaceRect.Top << ',' << face.FaceRect.Right << ','
          << face.FaceRect.Bottom;
    return field.str();
}

int listPapers(const std::string& fileName)
{
    TPapersV2 catalog(fileName, true, true);
    for (int i = 0; i < catalog.Count(); ++i) {
        const TPaperInfo& paper = catalog.Papers(i);
        std::cout << paper.GroupName << '\t' << paper.PaperName << '\t'
                  << (dynamic_cast<const TMatrixPaperInfo*>(&paper) ? "matrix" : "free") << '\t'
                  << paper.PortraitWidth << 'x' << paper.PortraitHeight << '\t' << paper.GetFaceCount();
        // Faces that differ only in their place are listed once, at the first place.
        std::set<std::tuple<int, std::string, int32_t, int32_t, int32_t, int32_t>> seen;
        TFaceInfo face;
        for (int32_t f = 0; f < paper.GetFaceCount(); ++f) {
            face.LoadFromPaper(paper, f);
            const auto key = std::make_tuple(int(face.FaceShape), face.FacePurpose, face.FaceRect.Right - face.FaceRect.Left,
                                             face.FaceRect.Bottom - face.FaceRect.Top, face.CutCenterWidth,
                                             face.CutCenterHeight);
            if (seen.insert(key).second)
                std::cout << '\t' << faceField(face);
        }
        std::cout << '\n';
    }
    return 0;
}

int renderPaper(const std::string& fileName, const std::string& group, const std::string& name, const std::string& out)
{
    TPapersV2 catalog(fileName, true, true);
    const TPaperInfo* paper = nullptr;
    for (int i = 0; i < catalog.Count() && !paper; ++i)
        if (catalog.Papers(i).GroupName == group && catalog.Papers(i).PaperName == name)
            paper = &catalog.Papers(i);
    if (!paper) {
        std::cerr << "orvella-tool: no paper '" << name << "' in group '" << group << "'\n";
        return 1;
    }
    const int32_t width = MulDiv(paper->Width(), kScreenDpi, kUnitsPerInch);
    const int32_t height = MulDiv(paper->Height(), kScreenDpi, kUnitsPerInch);
    if (width <= 0 || height <= 0 || width > kMaxRenderPixels || height > kMaxRenderPixels) {
        std::cerr << "orvella-tool: the sheet's size " << paper->Width() << 'x' << paper->Height()
                  << " cannot be drawn\n";
        return 1;
    }
    TBitmap sheet(width, height, TPixelFormat::pf24bit);
    TCanvas& canvas = sheet.Canvas();
    canvas.Brush() = {clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, width, height});
    {
        auto saved = SaveCanvasState(canvas, true);
        canvas.SetMapMode(MM_ANISOTROPIC);
        canvas.SetWindowExt({kUnitsPerInch, kUnitsPerInch});
        canvas.SetViewportExt({kScreenDpi, kScreenDpi});
        TFaceInfo face;
        for (int32_t f = 0; f < paper->GetFaceCount(); ++f) {
            face.LoadFromPaper(*paper, f);
            canvas.Pen() = {clBlack, 0, TPenStyle::psSolid, R2_COPYPEN};
            canvas.Brush() = {RGB(200, 225, 255), TBrushStyle::bsSolid};
            face.DrawPrintArea(canvas, false, false);
            canvas.Brush() = {clWhite, TBrushStyle::bsSolid};
            face.DrawHole(canvas, false);
            canvas.Pen() = {RGB(255, 0, 0), 0, TPenStyle::psDot, R2_COPYPEN};
            canvas.Brush().Style = TBrushStyle::bsClear;
            face.DrawTrimLine(canvas, false);
        }
    }
    if (!sheet.SaveToPng(out)) {
        std::cerr << "orvella-tool: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int RunPaper(const Arguments& args)
{
    if (args.size() == 2 && args[0] == "ls")
        return listPapers(args[1]);
    if (args.size() == 5 && args[0] == "render")
        return renderPaper(args[1], args[2], args[3], args[4]);
    return UsageError("paper");
}

}  // namespace orvella::tool
