#pragma once
// The text label object: lines of text in one font with alignment,
// horizontal or vertical writing, spacing, rotation, a slanted line feed, an
// arc layout, a free-form distortion, and a fill, an outline and a shadow
// each with its own colour fill. Layout is done by its
// TSimpleText; this class adds the rectangle, the stored form, the shadow
// presets, automatic sizing, hit testing, bounds and painting.

#include "document/lo_rect_base.h"
#include "formats/string_list.h"
#include "graphics/color_fill.h"
#include "graphics/stroke.h"
#include "objects/coons_distortion.h"
#include "objects/simple_text.h"
#include "objects/transformer.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvella {

// Which information record a bound text reads.
enum class TFieldType : int32_t { ftProduct = 0, ftCreatorJapanese = 1, ftCreatorEnglish = 2 };

class TLOText : public TLORectBase,
                public IDOFeedAngle,
                public IDOColorSpec,
                public IDOCurve,
                public IDOAlign,
                public IDOFont,
                public IDOVertical,
                public IDOAutoSize,
                public IDORotate {
    ORVELLA_PERSISTENT(TLOText)

public:
    static constexpr int32_t kLayoutVersion = 1;
    // The smallest side automatic sizing leaves.
    static constexpr int32_t kMinimumSide = 20;
    // The preset shadow offsets, in percent of the line height; preset 0 is
    // no shadow. Any other offsets read back as preset 9.
    static constexpr int32_t kCustomShadow = 9;
    static const std::array<TPoint, 9>& ShadowPresets();

    TLOText();
    ~TLOText() override;

    // --- stored properties, in stream order ---
    int32_t Version() const { return version_; }
    void SetVersion(int32_t version);
    const std::vector<std::string>& Text() const { return engine_.Text(); }
    void SetText(std::vector<std::string> lines) { engine_.SetText(std::move(lines)); }
    TPointBasedFont& Font() { return engine_.Font(); }
    const TPointBasedFont& Font() const { return engine_.Font(); }
    int32_t Align() const { return engine_.Align(); }
    void SetAlign(int32_t align) override { engine_.SetAlign(align); }
    bool Vertical() const { return engine_.Vertical(); }
    void SetVertical(bool vertical) override;
    int32_t CharSpacing() const { return engine_.CharSpacing(); }
    void SetCharSpacing(int32_t spacing) { engine_.SetCharSpacing(spacing); }
    int32_t LineSpacing() const { return engine_.LineSpacing(); }
    void SetLineSpacing(int32_t spacing) { engine_.SetLineSpacing(spacing); }
    // Stored as (value + 360) mod 360.
    int32_t Angle() const { return engine_.Angle(); }
    void SetAngle(int32_t degrees) override;
    TCoonsDistortion& CoonsDistortion() { return *distortion_; }
    const TCoonsDistortion& CoonsDistortion() const { return *distortion_; }
    int32_t DistortionRatio() const { return distortionRatio_; }
    void SetDistortionRatio(int32_t ratio);
    TColorSpec& TextColor() { return *textColor_; }
    const TColorSpec& TextColor() const { return *textColor_; }
    bool Outline() const { return outline_; }
    void SetOutline(bool outline);
    TColorSpec& OutlineColor() { return *outlineColor_; }
    const TColorSpec& OutlineColor() const { return *outlineColor_; }
    int32_t OutLineWidth() const { return outLineWidth_; }
    void SetOutLineWidth(int32_t width);
    // The preset the offsets match, or kCustomShadow.
    int32_t Shadow() const;
    void SetShadow(int32_t preset);
    int32_t ShadowOffsetX() const { return shadowOffsetX_; }
    void SetShadowOffsetX(int32_t percent);
    int32_t ShadowOffsetY() const { return shadowOffsetY_; }
    void SetShadowOffsetY(int32_t percent);
    TColorSpec& ShadowColor() { return *shadowColor_; }
    const TColorSpec& ShadowColor() const { return *shadowColor_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize) override;
    int32_t Bulge() const { return engine_.Bulge(); }
    void SetBulge(int32_t bulge) { engine_.SetBulge(bulge); }
    int32_t FieldNo() const { return fieldNo_; }
    void SetFieldNo(int32_t field) { fieldNo_ = field; }
    TFieldType FieldType() const { return fieldType_; }
    void SetFieldType(TFieldType type) { fieldType_ = type; }
    bool HanToZen() const { return engine_.HanToZen(); }
    void SetHanToZen(bool value) { engine_.SetHanToZen(value); }
    bool NumToKnj() const { return engine_.NumToKnj(); }
    void SetNumToKnj(bool value) { engine_.SetNumToKnj(value); }
    bool MinusExc() const { return engine_.MinusExc(); }
    void SetMinusExc(bool value) { engine_.SetMinusExc(value); }
    int32_t FeedAngle() const { return engine_.FeedAngle(); }
    void SetFeedAngle(int32_t degrees) override { engine_.SetFeedAngle(degrees); }
    // An earlier form of the feed angle, read from older documents only.
    int32_t DiagonalAlign() const { return 0; }
    void SetDiagonalAlign(int32_t value);

    // --- text ---
    TSimpleText& Engine() { return engine_; }
    const TSimpleText& Engine() const { return engine_; }
    int32_t LineHeight() const { return engine_.LineHeight(); }
    bool IsBulged() const { return engine_.Bulge() != 0; }
    // Not bulged and a distortion pattern set.
    bool IsDistorted() const { return !IsBulged() && !distortion_->IsEmpty(); }
    // The shadow offset in logical units.
    virtual TPoint ShadowOffset() const;
    TPoint PlainShadowOffset() const;
    void ApplyAutoSize();
    // Glyph outlines of the text in place; kept until the next paint or change.
    const TStroke& GlyphOutline();
    // The outlines after distortion and rotation.
    const TStroke& DistortedOutline();
    void PaintText(TCanvas& canvas, TColorSpec& fill, TColorSpec* outline);
    // The distortion pattern was replaced or cleared in place.
    void PatternChanged() { engineChanged(); }

    // --- label object ---
    void SetBoundsRect(const TRect& rect) override;
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    bool NeedsBlend() override;
    void Paint(TCanvas& canvas) override;
    void PaintMask(TBitmap& mask) override;
    std::unique_ptr<TBitmap> RenderToBitmap(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;
    void Loaded() override;
    // A text that sizes itself does so once it is on a site.
    void ParentChanged() override { ApplyAutoSize(); }
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TLabelObject::AddRef(); }
    int Release() override { return TLabelObject::Release(); }

    // --- capabilities ---
    int32_t GetFeedAngle() const override { return FeedAngle(); }
    const TColorSpec& GetColorSpec() const override { return *textColor_; }
    void SetColorSpec(const TColorSpec& fill) override { textColor_->Assign(fill); }
    int32_t GetAlign() const override { return Align(); }
    TFont GetFont() const override;
    void SetFont(const TFont& font) override;
    bool GetVertical() const override { return Vertical(); }
    bool GetAutoSize() const override { return autoSize_; }
    int32_t GetAngle() const override { return Angle(); }
    // The chord of the arc, its bulge point and the edit bracket.
    TPoint GetStartPoint() const override;
    void SetStartPoint(int32_t x, int32_t y) override;
    TPoint GetEndPoint() const override;
    void SetEndPoint(int32_t x, int32_t y) override;
    void BeginEdit() override;
    void EndEdit() override;
    TPoint GetMiddlePoint() const override;
    void SetMiddlePoint(TPoint point) override;
    // An interactive bulge change asks for snapping to straight.
    void RequestBulgeSnap() { snapRequested_ = true; }

protected:
    // The colour layer, the shadow and the text; descendants add to it.
    void paintShadowAndText(TCanvas& canvas);
    // Draws where the glyphs cover in white on a black canvas prepared with
    // the mask's mapping: the text itself, or its outline path filled.
    void dropOutlines();
    // The soft shadow of shaded text: blurred, optionally thickened.
    virtual bool softShadow() const { return false; }
    virtual bool boldShadow() const { return false; }
    bool assigning_ = false;

private:
    class TShadowColorAccess;
    // The stored forms of the lines and the font.
    TStringList& linesStore() const;
    TStringList* linesProperty() const;
    TPointBasedFont* fontProperty() const { return const_cast<TPointBasedFont*>(&engine_.Font()); }
    bool shadowIsPreset() const;
    bool shadowIsCustom() const;
    void engineChanged();
    void setChord(TPoint start, TPoint end);
    // The arc band's bounding box for bulged text.
    TRect arcBand() const;
    TRect turnedBounds(const TRect& rect) const;
    // Where the glyphs cover, in white on the mask, at an offset.
    void maskGlyphs(TBitmap& mask, TPoint offset, bool direct);
    void maskOutline(TBitmap& mask);

    int32_t version_ = kLayoutVersion;
    // Whether the stream being read carried a layout version.
    bool versionRead_ = false;
    TSimpleText engine_;
    TRotator rotator_;
    std::unique_ptr<TCoonsDistortion> distortion_;
    int32_t distortionRatio_ = 100;
    std::unique_ptr<TColorSpec> textColor_;
    bool outline_ = false;
    std::unique_ptr<TColorSpec> outlineColor_;
    int32_t outLineWidth_ = 0;
    int32_t shadowOffsetX_ = 0;
    int32_t shadowOffsetY_ = 0;
    std::unique_ptr<TColorSpec> shadowColor_;
    bool autoSize_ = false;
    int32_t fieldNo_ = 0;
    TFieldType fieldType_ = TFieldType::ftProduct;
    std::unique_ptr<TShadowColorAccess> shadowAccess_;
    mutable std::unique_ptr<TStringList> linesStore_;

    std::optional<TStroke> glyphOutline_;
    std::optional<TStroke> distortedOutline_;
    // Bulge editing: the chord's midpoint when the edit began.
    TPoint editMiddle_{0, 0};
    bool snapRequested_ = false;
    bool renderingLayer_ = false;
};

// Whether distorted text is drawn with anti-aliased edges (the setting
// "AntiAliasDistortionText", read at start-up).
bool AntiAliasDistortionText();
void SetAntiAliasDistortionText(bool on);

}  // namespace orvella
