#include "platform/fonts/fake_font_engine.h"

#include "platform/utf8.h"

#include <cstdlib>

namespace orvella {

namespace {

class TFakeFont final : public IFont {
public:
    explicit TFakeFont(const TLogFont& logFont) : logFont_(logFont)
    {
        em_ = logFont.Height == 0 ? 16 : std::abs(logFont.Height);
    }

    const TLogFont& LogFont() const override { return logFont_; }
    std::string FamilyName() const override { return "Fake"; }

    TTextMetric TextMetric() const override
    {
        TTextMetric metric;
        metric.Ascent = em_ * 4 / 5;
        metric.Descent = em_ - metric.Ascent;
        metric.Height = em_;
        metric.AveCharWidth = em_ / 2;
        metric.MaxCharWidth = em_;
        metric.Weight = logFont_.Weight;
        metric.Italic = logFont_.Italic;
        metric.CharSet = logFont_.CharSet;
        return metric;
    }

    TOutlineMetrics OutlineMetrics() const override
    {
        return {em_, -em_ / 10, std::max(1, em_ / 20), em_ / 4, std::max(1, em_ / 20)};
    }

    TABC CharABC(char32_t character) const override
    {
        const int32_t advance = advanceOf(character);
        if (character == U' ')
            return {0, 0, advance};
        if (character == U'i')
            return {0, advance / 4, advance - advance / 4};
        if (character == U'W')
            return {-1, advance + 2, -1};
        const int32_t inset = em_ / 10;
        return {inset, advance - 2 * inset, inset};
    }

    TGlyphOutline CharOutline(char32_t character) const override { return boxOutline(character, 0); }

    std::shared_ptr<const TGlyphRun> Layout(std::string_view text) const override
    {
        auto run = std::make_shared<TGlyphRun>();
        int32_t pen = 0;
        uint32_t index = 0;
        for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos), ++index) {
            const char32_t character = Utf8Decode(text, pos);
            TPlacedGlyph glyph;
            glyph.GlyphId = uint32_t(character);
            glyph.CharIndex = index;
            glyph.X = pen;
            glyph.Advance = advanceOf(character);
            glyph.Upright = IsVertical() && StandsUprightInVerticalText(character);
            boxOutline(character, pen).AddTo(glyph.Path);
            run->Glyphs.push_back(glyph);
            pen += glyph.Advance;
        }
        run->Advance = pen;
        return run;
    }

private:
    int32_t advanceOf(char32_t character) const { return StandsUprightInVerticalText(character) ? em_ : em_ / 2; }

    TGlyphOutline boxOutline(char32_t character, int32_t pen) const
    {
        TGlyphOutline outline;
        const TABC abc = CharABC(character);
        if (abc.B <= 0)
            return outline;
        const double left = pen + abc.A;
        const double right = left + abc.B;
        const double top = -TextMetric().Ascent;
        const double bottom = 0;
        TContour box{{left, top}, {}};
        for (TOutlinePoint corner : {TOutlinePoint{right, top}, TOutlinePoint{right, bottom}, TOutlinePoint{left, bottom}}) {
            TOutlineSegment segment;
            segment.Points[0] = corner;
            box.Segments.push_back(segment);
        }
        outline.Contours.push_back(box);
        return outline;
    }

    TLogFont logFont_;
    int32_t em_;
};

}  // namespace

std::shared_ptr<const IFont> TFakeFontEngine::CreateFont(const TLogFont& logFont)
{
    return std::make_shared<TFakeFont>(logFont);
}

std::vector<TFontFamilyInfo> TFakeFontEngine::Families()
{
    return {{"Fake", SHIFTJIS_CHARSET}, {"@Fake", SHIFTJIS_CHARSET}};
}

bool TFakeFontEngine::IsInstalled(std::string_view faceName) { return faceName == "Fake" || faceName == "@Fake"; }

}  // namespace orvella
