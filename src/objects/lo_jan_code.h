#pragma once
// TLOJANCode: the JAN barcode label object. It keeps the code as stored,
// the font of the digits, whether digits and a frame are shown and its
// angle, and hands the drawing to TJANCode.

#include "document/lo_rect_base.h"
#include "graphics/color_fill.h"
#include "objects/point_based_font.h"
#include "objects/transformer.h"

#include <string>

namespace orvella {

class TLOJANCode : public TLORectBase, public IDOColorSpec, public IDOFont, public IDORotate {
    ORVELLA_PERSISTENT(TLOJANCode)

public:
    // The logical units of a label: the resolution its fonts are made for.
    static constexpr int32_t kLogicalPixelsPerInch = 254;

    TLOJANCode();
    ~TLOJANCode() override;

    // --- stored properties ---
    int32_t GetAngle() const override { return rotator_.Angle(); }
    void SetAngle(int32_t degrees) override;
    // 8 or 13 digits with the check digit; anything else draws nothing.
    const std::string& JANCode() const { return janCode_; }
    void SetJANCode(const std::string& code);
    // The digits' font; its colour is the digits' colour.
    TPointBasedFont& Font() { return font_; }
    const TPointBasedFont& Font() const { return font_; }
    void SetFontFrom(const TPointBasedFont& font) { font_.Assign(font); }
    bool ShowNumber() const { return showNumber_; }
    void SetShowNumber(bool show);
    bool ShowFrame() const { return showFrame_; }
    void SetShowFrame(bool show);

    // --- capabilities: the digit colour, the font and the angle ---
    const TColorSpec& GetColorSpec() const override { return textColor_; }
    void SetColorSpec(const TColorSpec& colorFill) override;
    TFont GetFont() const override { return font_.ToFont(kLogicalPixelsPerInch); }
    void SetFont(const TFont& font) override { font_.AssignFont(font); }

    // --- drawing object ---
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    void SetBoundsRect(const TRect& rect) override;
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    void Paint(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;

private:
    void fontChanged();

    std::string janCode_;
    TPointBasedFont font_;
    bool showNumber_ = true;
    bool showFrame_ = false;
    TRotator rotator_;
    TColorSpec textColor_;
};

}  // namespace orvella
