#include "platform/fonts/freetype_font_engine.h"

#include "platform/fonts/font_substitution.h"
#include "platform/fonts/freetype_face.h"
#include "platform/text_case.h"
#include "platform/utf8.h"
#include "platform/win_math.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <unordered_map>

namespace orvella {

namespace {

struct FamilyMatch {
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
};

std::string fcString(FcPattern* pattern, const char* object, int n = 0)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) == FcResultMatch && value)
        return reinterpret_cast<const char*>(value);
    return {};
}

// The installed face of `family` closest to the weight and slant asked for;
// nothing when fontconfig would only offer some other family.
std::optional<FamilyMatch> matchFamily(const std::string& family, bool bold, bool italic)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return std::nullopt;

    std::optional<FamilyMatch> found;
    for (int n = 0;; ++n) {
        const std::string name = fcString(match, FC_FAMILY, n);
        if (name.empty())
            break;
        if (SameText(name, family)) {
            FamilyMatch m;
            m.file = fcString(match, FC_FILE);
            FcPatternGetInteger(match, FC_INDEX, 0, &m.index);
            m.family = fcString(match, FC_FAMILY, 0);
            int weight = FC_WEIGHT_REGULAR;
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &slant);
            m.bold = weight >= FC_WEIGHT_DEMIBOLD;
            m.italic = slant != FC_SLANT_ROMAN;
            found = m;
            break;
        }
    }
    FcPatternDestroy(match);
    return found;
}

// fontconfig's own choice for Japanese text: the last resort.
std::optional<FamilyMatch> matchAnyJapanese()
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return std::nullopt;
    FamilyMatch m;
    m.file = fcString(match, FC_FILE);
    FcPatternGetInteger(match, FC_INDEX, 0, &m.index);
    m.family = fcString(match, FC_FAMILY, 0);
    FcPatternDestroy(match);
    if (m.file.empty())
        return std::nullopt;
    return m;
}

class TFreeTypeFont final : public IFont {
public:
    TFreeTypeFont(const TLogFont& logFont, std::shared_ptr<TFreeTypeFace> face, std::string family)
        : logFont_(logFont), face_(std::move(face)), family_(std::move(family))
    {
        const TFaceTables& t = face_->Tables();
        const long double cell = t.winAscent + t.winDescent > 0 ? t.winAscent + t.winDescent : t.unitsPerEm;
        const int32_t cellHeight = logFont.Height == 0 ? 16 : logFont.Height;
        const long double em = cellHeight < 0 ? -(long double)cellHeight : cellHeight * t.unitsPerEm / cell;
        scale_ = double(em / t.unitsPerEm);

        metric_.Ascent = Round(t.winAscent * (long double)scale_);
        metric_.Descent = cellHeight > 0 ? cellHeight - metric_.Ascent : Round(t.winDescent * (long double)scale_);
        metric_.Height = metric_.Ascent + metric_.Descent;
        metric_.InternalLeading = metric_.Height - Round(em);
        const long double gap = t.lineGap - ((t.winAscent + t.winDescent) - (t.hheaAscender - t.hheaDescender));
        metric_.ExternalLeading = std::max(0, Round(gap * (long double)scale_));
        metric_.AveCharWidth = Round(t.averageWidth * (long double)scale_);
        metric_.MaxCharWidth = Round(t.maxAdvance * (long double)scale_);
        metric_.Weight = logFont.Weight;
        metric_.Italic = logFont.Italic;
        metric_.CharSet = logFont.CharSet;

        outline_.EmHeight = Round(em);
        outline_.UnderscorePosition = Round(t.underlinePosition * (long double)scale_);
        outline_.UnderscoreSize = std::max(1, Round(t.underlineThickness * (long double)scale_));
        outline_.StrikeoutPosition = Round(t.strikeoutPosition * (long double)scale_);
        outline_.StrikeoutSize = std::max(1, Round(t.strikeoutSize * (long double)scale_));
    }

    const TLogFont& LogFont() const override { return logFont_; }
    std::string FamilyName() const override { return family_; }
    TTextMetric TextMetric() const override { return metric_; }
    TOutlineMetrics OutlineMetrics() const override { return outline_; }

    TABC CharABC(char32_t character) const override
    {
        const auto run = layoutCodePoints(std::u32string(1, character));
        TABC abc;
        if (run->Glyphs.empty())
            return abc;
        const QRectF ink = run->InkBounds();
        const int32_t advance = run->Advance;
        if (ink.isEmpty()) {
            abc.C = advance;
            return abc;
        }
        abc.A = Round((long double)ink.left());
        abc.B = std::max(1, Round((long double)ink.width()));
        abc.C = advance - abc.A - abc.B;
        return abc;
    }

    TGlyphOutline CharOutline(char32_t character) const override
    {
        const auto run = layoutCodePoints(std::u32string(1, character));
        TGlyphOutline result;
        if (!run->Glyphs.empty())
            result = placedOutline(run->Glyphs.front());
        return result;
    }

    std::shared_ptr<const TGlyphRun> Layout(std::string_view text) const override
    {
        std::u32string codePoints;
        codePoints.reserve(text.size());
        for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos))
            codePoints += Utf8Decode(text, pos);
        return layoutCodePoints(codePoints);
    }

private:
    // Run coordinates of one glyph's outline: a horizontal glyph sits on the
    // baseline; an upright one is turned against the run so that it stands on
    // the page, centred in the cell.
    TGlyphOutline placedOutline(const TPlacedGlyph& glyph) const
    {
        TGlyphOutline placed = face_->Outline(glyph.GlyphId);
        const double s = scale_;
        const double originX = glyph.X + glyph.Dx;
        auto map = [&](TOutlinePoint& p) {
            const double fx = p.x;
            const double fy = p.y;
            if (glyph.Upright) {
                p.x = originX - s * fy;
                p.y = glyph.Dy - s * fx;
            } else {
                p.x = originX + s * fx;
                p.y = glyph.Dy - s * fy;
            }
        };
        for (TContour& contour : placed.Contours) {
            map(contour.Start);
            for (TOutlineSegment& segment : contour.Segments) {
                const int count = segment.Kind == TSegmentKind::Line ? 1 : segment.Kind == TSegmentKind::Quadratic ? 2 : 3;
                for (int i = 0; i < count; ++i)
                    map(segment.Points[i]);
            }
        }
        return placed;
    }

    std::shared_ptr<const TGlyphRun> layoutCodePoints(const std::u32string& text) const
    {
        std::string key;
        for (char32_t c : text)
            Utf8Append(key, c);
        if (auto cached = cache_.find(key); cached != cache_.end())
            return cached->second;

        auto run = std::make_shared<TGlyphRun>();
        const bool vertical = logFont_.FaceName.starts_with('@');
        const double acrossCentre = (metric_.Descent - metric_.Ascent) / 2.0;
        int32_t pen = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            const bool upright = vertical && StandsUprightInVerticalText(text[start]);
            std::size_t end = start + 1;
            while (end < text.size() && (vertical && StandsUprightInVerticalText(text[end])) == upright)
                ++end;
            for (const TShapedGlyph& shaped : face_->Shape(std::u32string_view(text).substr(start, end - start), upright)) {
                TPlacedGlyph glyph;
                glyph.GlyphId = shaped.glyphId;
                glyph.CharIndex = uint32_t(start + shaped.cluster);
                glyph.X = pen;
                glyph.Upright = upright;
                const double advance = upright ? -shaped.yAdvance : shaped.xAdvance;
                glyph.Advance = Round((long double)(advance * scale_));
                if (upright) {
                    glyph.Dx = -shaped.yOffset * scale_;
                    glyph.Dy = acrossCentre - shaped.xOffset * scale_;
                } else {
                    glyph.Dx = shaped.xOffset * scale_;
                    glyph.Dy = -shaped.yOffset * scale_;
                }
                pen += glyph.Advance;
                run->Glyphs.push_back(glyph);
            }
            start = end;
        }
        run->Advance = pen;

        for (TPlacedGlyph& glyph : run->Glyphs) {
            placedOutline(glyph).AddTo(glyph.Path);
            glyph.Path.setFillRule(Qt::WindingFill);
        }

        if (cache_.size() >= kCacheLimit)
            cache_.clear();
        cache_.emplace(std::move(key), run);
        return run;
    }

    static constexpr std::size_t kCacheLimit = 512;

    TLogFont logFont_;
    std::shared_ptr<TFreeTypeFace> face_;
    std::string family_;
    double scale_ = 1;
    TTextMetric metric_;
    TOutlineMetrics outline_;
    mutable std::unordered_map<std::string, std::shared_ptr<const TGlyphRun>> cache_;
};

class TFreeTypeFontEngine final : public IFontEngine {
public:
    std::shared_ptr<const IFont> CreateFont(const TLogFont& logFont) override
    {
        FontKey key{logFont};
        if (auto found = fonts_.find(key); found != fonts_.end())
            if (auto font = found->second.lock())
                return keep(std::move(font));

        const bool bold = logFont.Weight >= 600;
        const std::optional<FamilyMatch> match = resolveCached(logFont.FaceName, bold, logFont.Italic);
        if (!match)
            throw std::runtime_error("no usable font is installed");
        const bool syntheticBold = bold && !match->bold;
        const bool syntheticItalic = logFont.Italic && !match->italic;
        auto face = faceFor(match->file, match->index, syntheticBold, syntheticItalic);
        auto font = std::make_shared<TFreeTypeFont>(logFont, std::move(face), match->family);
        fonts_[key] = font;
        return keep(std::move(font));
    }

    std::vector<TFontFamilyInfo> Families() override
    {
        std::map<std::string, uint8_t, bool (*)(const std::string&, const std::string&)> families(
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_LANG, static_cast<char*>(nullptr));
        FcFontSet* set = FcFontList(nullptr, pattern, objects);
        for (int i = 0; set && i < set->nfont; ++i) {
            const std::string family = fcString(set->fonts[i], FC_FAMILY, 0);
            if (family.empty())
                continue;
            FcLangSet* languages = nullptr;
            const bool japanese = FcPatternGetLangSet(set->fonts[i], FC_LANG, 0, &languages) == FcResultMatch &&
                                  FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang;
            uint8_t& charset = families.emplace(family, ANSI_CHARSET).first->second;
            if (japanese)
                charset = SHIFTJIS_CHARSET;
        }
        if (set)
            FcFontSetDestroy(set);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);

        // The face names documents use are listed as long as one of their
        // substitutes is installed.
        for (const std::string& name : SubstitutedFaceNames())
            if (IsInstalled(name))
                families.emplace(name, SHIFTJIS_CHARSET);

        std::vector<TFontFamilyInfo> list;
        for (const auto& [name, charset] : families)
            list.push_back({name, charset});
        for (const auto& [name, charset] : families)
            if (charset == SHIFTJIS_CHARSET)
                list.push_back({"@" + name, charset});
        return list;
    }

    bool IsInstalled(std::string_view faceName) override
    {
        std::string_view name = faceName.starts_with('@') ? faceName.substr(1) : faceName;
        for (const std::string& family : SubstitutesFor(name))
            if (matchFamily(family, false, false))
                return true;
        return false;
    }

private:
    struct FontKey {
        TLogFont logFont;
        bool operator<(const FontKey& other) const
        {
            const TLogFont& a = logFont;
            const TLogFont& b = other.logFont;
            return std::tie(a.FaceName, a.Height, a.Escapement, a.Weight, a.Italic, a.Underline, a.StrikeOut, a.CharSet) <
                   std::tie(b.FaceName, b.Height, b.Escapement, b.Weight, b.Italic, b.Underline, b.StrikeOut, b.CharSet);
        }
    };

    // Text is drawn a character at a time, each asking for its font again:
    // the fonts used last stay alive, and face-name answers are kept, so
    // that fontconfig is asked once per face.
    std::shared_ptr<const IFont> keep(std::shared_ptr<const IFont> font)
    {
        recent_[recentNext_++ % recent_.size()] = font;
        return font;
    }

    std::optional<FamilyMatch> resolveCached(const std::string& faceName, bool bold, bool italic)
    {
        const std::string key = faceName + (bold ? "\nb" : "\n") + (italic ? "i" : "");
        if (auto found = matches_.find(key); found != matches_.end())
            return found->second;
        return matches_.emplace(key, resolve(faceName, bold, italic)).first->second;
    }

    std::optional<FamilyMatch> resolve(std::string_view faceName, bool bold, bool italic)
    {
        const std::string_view name = faceName.starts_with('@') ? faceName.substr(1) : faceName;
        for (const std::string& family : SubstitutesFor(name))
            if (auto match = matchFamily(family, bold, italic))
                return match;
        for (const std::string& family : FallbackFamilies())
            if (auto match = matchFamily(family, bold, italic))
                return match;
        return matchAnyJapanese();
    }

    std::shared_ptr<TFreeTypeFace> faceFor(const std::string& file, int index, bool bold, bool italic)
    {
        const std::string key = file + '\n' + std::to_string(index) + (bold ? "b" : "") + (italic ? "i" : "");
        auto& slot = faces_[key];
        if (!slot)
            slot = std::make_shared<TFreeTypeFace>(file, index, bold, italic);
        return slot;
    }

    std::map<FontKey, std::weak_ptr<const IFont>> fonts_;
    std::unordered_map<std::string, std::shared_ptr<TFreeTypeFace>> faces_;
    std::unordered_map<std::string, std::optional<FamilyMatch>> matches_;
    std::array<std::shared_ptr<const IFont>, 64> recent_;
    std::size_t recentNext_ = 0;
};

}  // namespace

std::shared_ptr<IFontEngine> CreateFreeTypeFontEngine() { return std::make_shared<TFreeTypeFontEngine>(); }

}  // namespace orvella
