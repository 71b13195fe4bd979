#pragma once
// A canvas that writes down every drawing call with the tools and mapping in
// force, for tests of code that draws. With a surface it also draws.

#include "graphics/canvas.h"

#include <string>
#include <vector>

namespace orvella {

struct TRecordedCall {
    std::string Call;  // e.g. "Rectangle(1,1,6,5)", logical coordinates
    TPen Pen;
    TBrush Brush;
    TCoordMap Mapping;
};

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(TPixelSurface* surface = nullptr, int32_t resolution = 96,
                              TDeviceTechnology technology = TDeviceTechnology::Display);

    const std::vector<TRecordedCall>& Calls() const { return calls_; }
    // Just the call texts, in order.
    std::vector<std::string> CallTexts() const;
    void ClearCalls() { calls_.clear(); }

    int32_t DeviceResolution() const override { return resolution_; }
    TDeviceTechnology Technology() const override { return technology_; }

    void BeginPath() override;
    void EndPath() override;
    void CloseFigure() override;
    void FillPath() override;
    void StrokePath() override;
    void StrokeAndFillPath() override;
    void SelectClipPath(int mode) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(const std::vector<TPoint>& points) override;
    void PolylineTo(const std::vector<TPoint>& points) override;
    void PolyBezier(const std::vector<TPoint>& points) override;
    void PolyBezierTo(const std::vector<TPoint>& points) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                   int32_t cornerHeight) override;
    void FillRect(const TRect& r) override;
    void SetPixel(int32_t x, int32_t y, TColor color) override;
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    void PatBlt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop) override;
    void BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx, int32_t sy,
                uint32_t rop) override;
    void StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx, int32_t sy,
                    int32_t sourceWidth, int32_t sourceHeight, uint32_t rop) override;

private:
    void record(std::string call);
    int32_t resolution_;
    TDeviceTechnology technology_;
    std::vector<TRecordedCall> calls_;
};

}  // namespace orvella
