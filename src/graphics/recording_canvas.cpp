#include "graphics/recording_canvas.h"

#include <cstdio>
#include <initializer_list>

namespace orvella {

namespace {

std::string numbers(std::initializer_list<long long> values)
{
    std::string text;
    for (long long value : values) {
        if (!text.empty())
            text += ',';
        text += std::to_string(value);
    }
    return text;
}

std::string points(const std::vector<TPoint>& list)
{
    std::string text;
    for (const TPoint& p : list) {
        if (!text.empty())
            text += ' ';
        text += numbers({p.x, p.y});
    }
    return text;
}

std::string hex(uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08X", value);
    return buffer;
}

}  // namespace

TRecordingCanvas::TRecordingCanvas(TPixelSurface* surface, int32_t resolution, TDeviceTechnology technology)
    : TCanvas(surface), resolution_(resolution), technology_(technology)
{
}

std::vector<std::string> TRecordingCanvas::CallTexts() const
{
    std::vector<std::string> texts;
    for (const TRecordedCall& call : calls_)
        texts.push_back(call.Call);
    return texts;
}

void TRecordingCanvas::record(std::string call) { calls_.push_back({std::move(call), Pen(), Brush(), Mapping()}); }

void TRecordingCanvas::BeginPath() { record("BeginPath()"); TCanvas::BeginPath(); }
void TRecordingCanvas::EndPath() { record("EndPath()"); TCanvas::EndPath(); }
void TRecordingCanvas::CloseFigure() { record("CloseFigure()"); TCanvas::CloseFigure(); }
void TRecordingCanvas::FillPath() { record("FillPath()"); TCanvas::FillPath(); }
void TRecordingCanvas::StrokePath() { record("StrokePath()"); TCanvas::StrokePath(); }
void TRecordingCanvas::StrokeAndFillPath() { record("StrokeAndFillPath()"); TCanvas::StrokeAndFillPath(); }

void TRecordingCanvas::SelectClipPath(int mode)
{
    record("SelectClipPath(" + numbers({mode}) + ")");
    TCanvas::SelectClipPath(mode);
}

void TRecordingCanvas::MoveTo(int32_t x, int32_t y)
{
    record("MoveTo(" + numbers({x, y}) + ")");
    TCanvas::MoveTo(x, y);
}

void TRecordingCanvas::LineTo(int32_t x, int32_t y)
{
    record("LineTo(" + numbers({x, y}) + ")");
    TCanvas::LineTo(x, y);
}

void TRecordingCanvas::Polyline(const std::vector<TPoint>& list)
{
    record("Polyline(" + points(list) + ")");
    TCanvas::Polyline(list);
}

void TRecordingCanvas::PolylineTo(const std::vector<TPoint>& list)
{
    record("PolylineTo(" + points(list) + ")");
    TCanvas::PolylineTo(list);
}

void TRecordingCanvas::PolyBezier(const std::vector<TPoint>& list)
{
    record("PolyBezier(" + points(list) + ")");
    TCanvas::PolyBezier(list);
}

void TRecordingCanvas::PolyBezierTo(const std::vector<TPoint>& list)
{
    record("PolyBezierTo(" + points(list) + ")");
    TCanvas::PolyBezierTo(list);
}

void TRecordingCanvas::Polygon(const std::vector<TPoint>& list)
{
    record("Polygon(" + points(list) + ")");
    TCanvas::Polygon(list);
}

void TRecordingCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    record("Rectangle(" + numbers({left, top, right, bottom}) + ")");
    TCanvas::Rectangle(left, top, right, bottom);
}

void TRecordingCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    record("Ellipse(" + numbers({left, top, right, bottom}) + ")");
    TCanvas::Ellipse(left, top, right, bottom);
}

void TRecordingCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                                 int32_t cornerHeight)
{
    record("RoundRect(" + numbers({left, top, right, bottom, cornerWidth, cornerHeight}) + ")");
    TCanvas::RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
}

void TRecordingCanvas::FillRect(const TRect& r)
{
    record("FillRect(" + numbers({r.Left, r.Top, r.Right, r.Bottom}) + ")");
    TCanvas::FillRect(r);
}

void TRecordingCanvas::TextOut(int32_t x, int32_t y, std::string_view text)
{
    record("TextOut(" + numbers({x, y}) + ",\"" + std::string(text) + "\")");
    TCanvas::TextOut(x, y, text);
}

void TRecordingCanvas::SetPixel(int32_t x, int32_t y, TColor color)
{
    record("SetPixel(" + numbers({x, y}) + "," + hex(color) + ")");
    TCanvas::SetPixel(x, y, color);
}

void TRecordingCanvas::PatBlt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop)
{
    record("PatBlt(" + numbers({x, y, width, height}) + "," + hex(rop) + ")");
    TCanvas::PatBlt(x, y, width, height, rop);
}

void TRecordingCanvas::BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx,
                              int32_t sy, uint32_t rop)
{
    record("BitBlt(" + numbers({x, y, width, height, sx, sy}) + "," + hex(rop) + ")");
    TCanvas::BitBlt(x, y, width, height, source, sx, sy, rop);
}

void TRecordingCanvas::StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx,
                                  int32_t sy, int32_t sourceWidth, int32_t sourceHeight, uint32_t rop)
{
    record("StretchBlt(" + numbers({x, y, width, height, sx, sy, sourceWidth, sourceHeight}) + "," + hex(rop) + ")");
    TCanvas::StretchBlt(x, y, width, height, source, sx, sy, sourceWidth, sourceHeight, rop);
}

}  // namespace orvella
