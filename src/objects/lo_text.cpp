#include "objects/lo_text.h"

#include "drawing/draw_site.h"
#include "formats/property_table.h"
#include "formats/string_list.h"
#include "graphics/canvas.h"
#include "graphics/rect_utils.h"
#include "platform/win_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace orvella {

namespace {

constexpr std::array<const char*, 3> kFieldTypeNames{"ftProduct", "ftCreatorJapanese", "ftCreatorEnglish"};

int32_t normalisedAngle(int32_t degrees) { return ((degrees % 360) + 360) % 360; }

// The four corners of r turned by the rotator.
std::array<TPoint, 4> turnedCorners(const TRect& r, const TRotator& rotator)
{
    std::array<TPoint, 4> corners{TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Right, r.Bottom},
                                  TPoint{r.Left, r.Bottom}};
    for (TPoint& p : corners)
        rotator.TransformPoint(p);
    return corners;
}

}  // namespace

// The shadow colour as the optional colour the tool bars edit; it is
// disabled while the text has no shadow.
class TLOText::TShadowColorAccess : public IDOOptionalColorSpec {
public:
    explicit TShadowColorAccess(TLOText& owner) : owner_(owner) {}
    void* QueryInterface(const TGuid& iid) override { return owner_.QueryInterface(iid); }
    int AddRef() override { return owner_.AddRef(); }
    int Release() override { return owner_.Release(); }
    const TColorSpec& GetColorSpec() const override { return owner_.ShadowColor(); }
    void SetColorSpec(const TColorSpec& fill) override { owner_.ShadowColor().Assign(fill); }
    bool GetDisabled() const override { return owner_.Shadow() == 0; }
    void SetDisabled(bool) override {}

private:
    TLOText& owner_;
};

const std::array<TPoint, 9>& TLOText::ShadowPresets()
{
    static const std::array<TPoint, 9> presets{TPoint{0, 0}, TPoint{-7, -7}, TPoint{0, -7}, TPoint{7, -7},
                                               TPoint{-7, 0}, TPoint{7, 0},  TPoint{-7, 7}, TPoint{0, 7},
                                               TPoint{7, 7}};
    return presets;
}

const TClassInfo& TLOText::StaticClassInfo()
{
    using C = TLOText;
    static const TClassInfo info = DeclareClass<C, TLORectBase>("TLOText", {
        IntegerProperty("Version", &C::Version, &C::SetVersion),
        ObjectProperty("Text", &C::linesProperty),
        ObjectProperty("Font", &C::fontProperty),
        IntegerProperty("Align", &C::Align, &C::SetAlign).Default(0),
        BooleanProperty("Vertical", &C::Vertical, &C::SetVertical).Default(0),
        IntegerProperty("CharSpacing", &C::CharSpacing, &C::SetCharSpacing).Default(0),
        IntegerProperty("LineSpacing", &C::LineSpacing, &C::SetLineSpacing).Default(0),
        IntegerProperty("Angle", &C::Angle, &C::SetAngle),
        ObjectProperty("CoonsDistortion", &C::distortion_),
        IntegerProperty("DistortionRatio", &C::DistortionRatio, &C::SetDistortionRatio),
        ObjectProperty("TextColor", &C::textColor_),
        BooleanProperty("Outline", &C::Outline, &C::SetOutline).Default(0),
        ObjectProperty("OutlineColor", &C::outlineColor_),
        IntegerProperty("OutLineWidth", &C::OutLineWidth, &C::SetOutLineWidth).Default(0),
        IntegerProperty("Shadow", &C::Shadow, &C::SetShadow).Stored(&C::shadowIsPreset),
        IntegerProperty("ShadowOffsetX", &C::ShadowOffsetX, &C::SetShadowOffsetX).Stored(&C::shadowIsCustom),
        IntegerProperty("ShadowOffsetY", &C::ShadowOffsetY, &C::SetShadowOffsetY).Stored(&C::shadowIsCustom),
        ObjectProperty("ShadowColor", &C::shadowColor_),
        BooleanProperty("AutoSize", &C::AutoSize, &C::SetAutoSize),
        IntegerProperty("Bulge", &C::Bulge, &C::SetBulge),
        IntegerProperty("FieldNo", &C::FieldNo, &C::SetFieldNo),
        EnumProperty("FieldType", kFieldTypeNames, &C::FieldType, &C::SetFieldType),
        BooleanProperty("HanToZen", &C::HanToZen, &C::SetHanToZen).Default(0),
        BooleanProperty("NumToKnj", &C::NumToKnj, &C::SetNumToKnj).Default(0),
        BooleanProperty("MinusExc", &C::MinusExc, &C::SetMinusExc).Default(0),
        IntegerProperty("FeedAngle", &C::FeedAngle, &C::SetFeedAngle).Default(0),
        IntegerProperty("DiagonalAlign", &C::DiagonalAlign, &C::SetDiagonalAlign).NotStored(),
    });
    return info;
}

TLOText::TLOText()
    : distortion_(std::make_unique<TCoonsDistortion>()), textColor_(std::make_unique<TColorSpec>()),
      outlineColor_(std::make_unique<TColorSpec>()), shadowColor_(std::make_unique<TColorSpec>()),
      shadowAccess_(std::make_unique<TShadowColorAccess>(*this))
{
    engine_.OnChange = [this] { engineChanged(); };
    const auto colourChanged = [this] {
        dropOutlines();
        Changed();
        Invalidate();
    };
    textColor_->OnChange = colourChanged;
    outlineColor_->OnChange = colourChanged;
    shadowColor_->OnChange = colourChanged;
}

TLOText::~TLOText()
{
    engine_.OnChange = nullptr;
}

TStringList& TLOText::linesStore() const
{
    if (!linesStore_)
        linesStore_ = std::make_unique<TStringList>();
    return *linesStore_;
}

TStringList* TLOText::linesProperty() const
{
    TStringList& store = linesStore();
    // While reading, the stream fills the store; Loaded hands it on.
    if (!IsLoading())
        store.Lines = Text();
    return &store;
}

bool TLOText::shadowIsPreset() const { return Shadow() != kCustomShadow; }

bool TLOText::shadowIsCustom() const { return Shadow() == kCustomShadow; }

void TLOText::engineChanged()
{
    dropOutlines();
    if (!IsLoading())
        ApplyAutoSize();
    Changed();
    Invalidate();
    UpdateBounds();
}

void TLOText::dropOutlines()
{
    glyphOutline_.reset();
    distortedOutline_.reset();
}

void TLOText::SetVersion(int32_t version)
{
    version_ = version;
    if (IsLoading())
        versionRead_ = true;
}

void TLOText::SetVertical(bool vertical)
{
    if (vertical == Vertical())
        return;
    if (!IsLoading() && !assigning_) {
        // Writing turns a quarter: width and height change places about the centre.
        const TRect& r = Rect();
        const TPoint c = rotator_.Centre();
        const int32_t w = RectWidth(r), h = RectHeight(r);
        TLORectBase::SetBoundsRect({c.x - h / 2, c.y - w / 2, c.x - h / 2 + h, c.y - w / 2 + w});
        rotator_.SetCentre(RectCenter(Rect()));
    }
    engine_.SetVertical(vertical);
}

void TLOText::SetAngle(int32_t degrees)
{
    const int32_t angle = normalisedAngle(degrees);
    rotator_.SetAngle(angle);
    engine_.SetAngle(angle);
}

void TLOText::SetDistortionRatio(int32_t ratio)
{
    if (ratio == distortionRatio_)
        return;
    distortionRatio_ = ratio;
    engineChanged();
}

void TLOText::SetOutline(bool outline)
{
    if (outline == outline_)
        return;
    outline_ = outline;
    engineChanged();
}

void TLOText::SetOutLineWidth(int32_t width)
{
    if (width == outLineWidth_)
        return;
    outLineWidth_ = width;
    engineChanged();
}

int32_t TLOText::Shadow() const
{
    const auto& presets = ShadowPresets();
    for (std::size_t i = 0; i < presets.size(); ++i)
        if (presets[i] == TPoint{shadowOffsetX_, shadowOffsetY_})
            return int32_t(i);
    return kCustomShadow;
}

void TLOText::SetShadow(int32_t preset)
{
    if (preset < 0 || preset >= int32_t(ShadowPresets().size()))
        return;
    const TPoint offsets = ShadowPresets()[std::size_t(preset)];
    if (offsets == TPoint{shadowOffsetX_, shadowOffsetY_})
        return;
    shadowOffsetX_ = offsets.x;
    shadowOffsetY_ = offsets.y;
    engineChanged();
}

void TLOText::SetShadowOffsetX(int32_t percent)
{
    if (percent == shadowOffsetX_)
        return;
    shadowOffsetX_ = percent;
    engineChanged();
}

void TLOText::SetShadowOffsetY(int32_t percent)
{
    if (percent == shadowOffsetY_)
        return;
    shadowOffsetY_ = percent;
    engineChanged();
}

void TLOText::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    engineChanged();
}

void TLOText::SetDiagonalAlign(int32_t value)
{
    if (value == 1 || value == 4)
        SetFeedAngle(45);
    else if (value == 2 || value == 3)
        SetFeedAngle(-45);
}

TPoint TLOText::PlainShadowOffset() const
{
    const int32_t h = LineHeight();
    return {MulDiv(h, shadowOffsetX_, 100), MulDiv(h, shadowOffsetY_, 100)};
}

TPoint TLOText::ShadowOffset() const { return PlainShadowOffset(); }

void TLOText::SetBoundsRect(const TRect& rect)
{
    TLORectBase::SetBoundsRect(rect);
    rotator_.SetCentre(RectCenter(Rect()));
    dropOutlines();
}

void TLOText::ApplyAutoSize()
{
    if (!autoSize_ || IsBulged() || !dynamic_cast<TDrawSite*>(Parent()))
        return;
    const TRect rect = Rect();
    const int32_t align = Align();
    const bool vertical = Vertical();
    TRect b = engine_.TextBounds(rect, true);
    if (RectWidth(b) < kMinimumSide) {
        if (vertical || align == 2)
            b.Left = b.Right - kMinimumSide;
        else if (align == 1)
            b.Left = (b.Left + b.Right) / 2 - kMinimumSide / 2;
        b.Right = b.Left + kMinimumSide;
    }
    if (RectHeight(b) < kMinimumSide) {
        if (vertical && align == 2)
            b.Top = b.Bottom - kMinimumSide;
        else if (vertical && align == 1)
            b.Top = (b.Top + b.Bottom) / 2 - kMinimumSide / 2;
        b.Bottom = b.Top + kMinimumSide;
    }
    const bool noExtent = RectWidth(rect) == 0 || RectHeight(rect) == 0;
    if (Angle() == 0 || (align == 3 && noExtent)) {
        SetBoundsRect(b);
        return;
    }
    // A turned text keeps its anchor where it is on the page.
    const auto anchor = [&](const TRect& r) -> TPoint {
        if (!vertical) {
            if (align == 1)
                return {(r.Left + r.Right) / 2, r.Top};
            if (align == 2)
                return {r.Right, r.Top};
            return {r.Left, r.Top};
        }
        if (align == 1)
            return {r.Right, (r.Top + r.Bottom) / 2};
        if (align == 2)
            return {r.Right, r.Bottom};
        return {r.Right, r.Top};
    };
    const TPoint oldCentre = rect.IsEmpty() ? rotator_.Centre() : RectCenter(rect);
    const TPoint oldAnchor = TRotator(Angle(), oldCentre).Transformed(anchor(rect));
    const TPoint newAnchor = TRotator(Angle(), RectCenter(b)).Transformed(anchor(b));
    SetBoundsRect(OffsetRect(b, oldAnchor.x - newAnchor.x, oldAnchor.y - newAnchor.y));
}

void TLOText::SetExtent(int32_t width, int32_t height)
{
    const TRect& r = Rect();
    if (IsBulged() || Angle() != 0) {
        const TRect bounds = GetLogicalBounds();
        const int32_t bw = std::max(1, RectWidth(bounds)), bh = std::max(1, RectHeight(bounds));
        SetBoundsRect({r.Left, r.Top, r.Left + MulDiv(RectWidth(r), width, bw),
                       r.Top + MulDiv(RectHeight(r), height, bh)});
        return;
    }
    const TRect bounds = GetLogicalBounds();
    SetBoundsRect({r.Left, r.Top, r.Right + width - RectWidth(bounds), r.Bottom + height - RectHeight(bounds)});
}

TRect TLOText::turnedBounds(const TRect& rect) const
{
    const auto corners = turnedCorners(rect, rotator_);
    TRect b{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const TPoint& p : corners) {
        b.Left = std::min(b.Left, p.x);
        b.Top = std::min(b.Top, p.y);
        b.Right = std::max(b.Right, p.x);
        b.Bottom = std::max(b.Bottom, p.y);
    }
    return b;
}

TRect TLOText::arcBand() const
{
    const TSimpleText::TArc arc = engine_.ArcOfChord(Rect());
    if (!arc.Valid)
        return {Rect().Left, Rect().Top, Rect().Left, Rect().Top};
    const int32_t h = LineHeight();
    const int32_t n = int32_t(engine_.DisplayLines().size());
    const double cross = double(n) * (h + LineSpacing()) - LineSpacing();
    const double outer = arc.OuterRadius;
    const double inner = std::max(0.0, outer - cross);
    const double sign = Bulge() > 0 ? 1 : -1;
    double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i) {
        const double a = arc.Start + sign * arc.Sweep * i / kSteps;
        for (double radius : {outer, inner}) {
            const double x = arc.CentreX + std::cos(a) * radius, y = arc.CentreY + std::sin(a) * radius;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    return {int32_t(std::floor(left)), int32_t(std::floor(top)), int32_t(std::ceil(right)),
            int32_t(std::ceil(bottom))};
}

TRect TLOText::GetLogicalBounds() const
{
    const TPoint shadow = ShadowOffset();
    if (IsBulged()) {
        const TRect band = arcBand();
        const int32_t h = LineHeight();
        TRect b = InflateRect(band, outLineWidth_, outLineWidth_);
        b = UnionRect(b, OffsetRect(b, shadow.x, shadow.y));
        return InflateRect(b, h / 2, h / 2);
    }
    const TRect r = Rect();
    const TRect grown = UnionRect(InflateRect(r, outLineWidth_, outLineWidth_), OffsetRect(r, shadow.x, shadow.y));
    return turnedBounds(grown);
}

bool TLOText::HitTest(TPoint logical)
{
    if (!IsBulged()) {
        const TPoint p = TRotator(-Angle(), rotator_.Centre()).Transformed(logical);
        return PtInRect(Rect(), p);
    }
    const TSimpleText::TArc arc = engine_.ArcOfChord(Rect());
    if (!arc.Valid)
        return false;
    const int32_t h = LineHeight();
    const int32_t n = int32_t(engine_.DisplayLines().size());
    const double cross = std::max(3.0, double(n) * (h + LineSpacing()) - LineSpacing());
    const double dx = logical.x - arc.CentreX, dy = logical.y - arc.CentreY;
    const double distance = std::hypot(dx, dy);
    if (distance > arc.OuterRadius || distance < arc.OuterRadius - cross)
        return false;
    // Within the sweep, measured from the start in the direction of writing.
    double a = std::atan2(dy, dx) - arc.Start;
    if (Bulge() < 0)
        a = -a;
    a = std::fmod(a + 4 * std::numbers::pi, 2 * std::numbers::pi);
    return a <= arc.Sweep;
}

void TLOText::DrawOutline(TCanvas& canvas)
{
    if (IsBulged()) {
        const TRect band = arcBand();
        canvas.Polygon({{band.Left, band.Top}, {band.Right, band.Top}, {band.Right, band.Bottom},
                        {band.Left, band.Bottom}});
        return;
    }
    if (IsDistorted()) {
        const TRect b = DistortedOutline().Bounds();
        canvas.Polygon({{b.Left, b.Top}, {b.Right, b.Top}, {b.Right, b.Bottom}, {b.Left, b.Bottom}});
        return;
    }
    const auto text = turnedCorners(engine_.TextBounds(Rect()), rotator_);
    canvas.Polygon(std::vector<TPoint>(text.begin(), text.end()));
    const auto frame = turnedCorners(Rect(), rotator_);
    canvas.Polygon(std::vector<TPoint>(frame.begin(), frame.end()));
}

TFont TLOText::GetFont() const { return Font().ToFont(kMeasuringPixelsPerInch); }

void TLOText::SetFont(const TFont& font) { Font().AssignFont(font); }

// --- the chord and bulge of the arc layout ---

TPoint TLOText::GetStartPoint() const
{
    const TRect& r = Rect();
    const TPoint c = RectCenter(r);
    return rotator_.Transformed(Vertical() ? TPoint{c.x, r.Top} : TPoint{r.Left, c.y});
}

TPoint TLOText::GetEndPoint() const
{
    const TRect& r = Rect();
    const TPoint c = RectCenter(r);
    return rotator_.Transformed(Vertical() ? TPoint{c.x, r.Bottom} : TPoint{r.Right, c.y});
}

void TLOText::SetStartPoint(int32_t x, int32_t y) { setChord({x, y}, GetEndPoint()); }

void TLOText::SetEndPoint(int32_t x, int32_t y) { setChord(GetStartPoint(), {x, y}); }

void TLOText::setChord(TPoint start, TPoint end)
{
    const double dx = double(end.x) - start.x, dy = double(end.y) - start.y;
    const int32_t length = RoundHalfAway(std::hypot(dx, dy));
    int32_t angle = RoundHalfAway(std::atan2(dy, dx) * 180 / std::numbers::pi);
    if (Vertical())
        angle -= 90;
    const TPoint middle{RoundHalfAway((double(start.x) + end.x) / 2), RoundHalfAway((double(start.y) + end.y) / 2)};
    const TRect& r = Rect();
    BeginUpdate();
    engine_.BeginUpdate();
    if (Vertical()) {
        const int32_t w = RectWidth(r);
        SetBoundsRect({middle.x - w / 2, middle.y - length / 2, middle.x - w / 2 + w, middle.y - length / 2 + length});
    } else {
        const int32_t h = RectHeight(r);
        SetBoundsRect({middle.x - length / 2, middle.y - h / 2, middle.x - length / 2 + length, middle.y - h / 2 + h});
    }
    SetAngle(angle);
    engine_.EndUpdate();
    EndUpdate();
}

TPoint TLOText::GetMiddlePoint() const
{
    const TPoint a = GetStartPoint(), b = GetEndPoint();
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double d = std::hypot(dx, dy);
    const double mx = (double(a.x) + b.x) / 2, my = (double(a.y) + b.y) / 2;
    if (d == 0)
        return {RoundHalfAway(mx), RoundHalfAway(my)};
    // The arc rises on the left of the chord seen from its start (upwards
    // for a left-to-right chord) for a positive bulge.
    return {RoundHalfAway(mx + dy / d * Bulge()), RoundHalfAway(my - dx / d * Bulge())};
}

void TLOText::SetMiddlePoint(TPoint point)
{
    const TPoint a = GetStartPoint(), b = GetEndPoint();
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double d = std::hypot(dx, dy);
    if (d == 0)
        return;
    const double mx = (double(a.x) + b.x) / 2, my = (double(a.y) + b.y) / 2;
    SetBulge(RoundHalfAway(((point.x - mx) * dy - (point.y - my) * dx) / d));
}

void TLOText::BeginEdit()
{
    const TPoint a = GetStartPoint(), b = GetEndPoint();
    editMiddle_ = {(a.x + b.x) / 2, (a.y + b.y) / 2};
    snapRequested_ = false;
}

void TLOText::EndEdit()
{
    if (!snapRequested_)
        return;
    snapRequested_ = false;
    if (Bulge() > -50 && Bulge() < 50 && Bulge() != 0) {
        BeginUpdate();
        SetBulge(0);
        SetBoundsRect(CenterRectAt(Rect(), editMiddle_));
        EndUpdate();
    }
}

// --- copying and loading ---

void TLOText::Assign(const TDrawObject& source)
{
    const auto* other = dynamic_cast<const TLOText*>(&source);
    if (!other || other == this) {
        TLORectBase::Assign(source);
        return;
    }
    assigning_ = true;
    BeginUpdate();
    engine_.BeginUpdate();
    try {
        TLORectBase::Assign(source);
        version_ = other->version_;
        engine_.Assign(other->engine_);
        rotator_.SetAngle(other->Angle());
        rotator_.SetCentre(RectCenter(Rect()));
        distortion_->Assign(*other->distortion_);
        distortionRatio_ = other->distortionRatio_;
        textColor_->Assign(*other->textColor_);
        outline_ = other->outline_;
        outlineColor_->Assign(*other->outlineColor_);
        outLineWidth_ = other->outLineWidth_;
        shadowOffsetX_ = other->shadowOffsetX_;
        shadowOffsetY_ = other->shadowOffsetY_;
        shadowColor_->Assign(*other->shadowColor_);
        autoSize_ = other->autoSize_;
        fieldNo_ = other->fieldNo_;
        fieldType_ = other->fieldType_;
    } catch (...) {
        engine_.EndUpdate();
        EndUpdate();
        assigning_ = false;
        throw;
    }
    engine_.EndUpdate();
    EndUpdate();
    assigning_ = false;
    engineChanged();
}

void TLOText::Loaded()
{
    TLORectBase::Loaded();
    if (linesStore_)
        engine_.SetText(linesStore_->Lines);
    // Older documents: an outline always has a width.
    if (outline_ && outLineWidth_ == 0)
        outLineWidth_ = 1;
    const int32_t h = LineHeight();
    if (Align() == 4 || Align() == 5) {
        // The earlier circle layouts become an arc in a square.
        const TRect r = Rect();
        const int32_t side = std::min(RectWidth(r), RectHeight(r));
        SetBulge(Align() == 4 ? (side - h) / 2 : (h - side) / 2);
        const TPoint c = RectCenter(r);
        TRect square{c.x - side / 2, c.y - side / 2, c.x - side / 2 + side, c.y - side / 2 + side};
        SetBoundsRect(InflateRect(square, -(h / 2), -(h / 2)));
        SetAlign(1);
    }
    // A stream without the version predates the current arc layout.
    const bool currentLayout = versionRead_ && version_ == kLayoutVersion;
    versionRead_ = false;
    if (!currentLayout && Bulge() != 0) {
        SetAlign(1);
        SetCharSpacing(0);
        if (Text().size() > 1)
            SetText({Text().front()});
        if (Vertical()) {
            const TRect r = Rect();
            const int32_t w = RectWidth(r);
            SetBoundsRect(CenterRectAt({0, 0, w, w}, RectCenter(r)));
            SetAngle(Angle() - 90);
        }
    }
    version_ = kLayoutVersion;
    rotator_.SetCentre(RectCenter(Rect()));
    dropOutlines();
    UpdateBounds();
}

void* TLOText::QueryInterface(const TGuid& iid)
{
    if (iid == IDOFeedAngle::IID)
        return Offer<IDOFeedAngle>(this);
    if (iid == IDOOptionalColorSpec::IID) {
        AddRef();
        return static_cast<IDOOptionalColorSpec*>(shadowAccess_.get());
    }
    if (iid == IDOColorSpec::IID)
        return Offer<IDOColorSpec>(this);
    if (iid == IDOCurve::IID && (IsBulged() || distortion_->IsEmpty()))
        return Offer<IDOCurve>(this);
    if (iid == IDOAlign::IID)
        return Offer<IDOAlign>(this);
    if (iid == IDOFont::IID)
        return Offer<IDOFont>(this);
    if (iid == IDOVertical::IID)
        return Offer<IDOVertical>(this);
    if (iid == IDOAutoSize::IID)
        return Offer<IDOAutoSize>(this);
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    return TLORectBase::QueryInterface(iid);
}

}  // namespace orvella
