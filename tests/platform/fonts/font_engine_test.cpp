#include "platform/fonts/fake_font_engine.h"
#include "platform/fonts/font_engine.h"
#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdio>
#include <sstream>

namespace orvella {
namespace {

std::string fontFile(const char* family)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    std::string path;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

TLogFont logFont(const std::string& face, int32_t height)
{
    TLogFont font;
    font.FaceName = face;
    font.Height = height;
    font.CharSet = SHIFTJIS_CHARSET;
    return font;
}

// FreeType's own reading of the font file, independent of the engine.
class FreeTypeReference : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(FT_Init_FreeType(&library_), 0);
        ASSERT_EQ(FT_New_Face(library_, fontFile("IPAGothic").c_str(), 0, &face_), 0);
        os2_ = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        ASSERT_NE(os2_, nullptr);
    }
    void TearDown() override
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    long scaled(long fontUnits, double em) const { return std::lround(fontUnits * em / face_->units_per_EM); }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    TT_OS2* os2_ = nullptr;
};

TEST_F(FreeTypeReference, MetricsFollowTheWindowsAscentAndDescent)
{
    for (const int32_t height : {-100, -35, -254}) {
        const auto font = FontEngine().CreateFont(logFont("IPAGothic", height));
        const TTextMetric metric = font->TextMetric();
        const double em = -height;
        EXPECT_EQ(metric.Ascent, scaled(os2_->usWinAscent, em)) << height;
        EXPECT_EQ(metric.Descent, scaled(os2_->usWinDescent, em)) << height;
        EXPECT_EQ(metric.Height, metric.Ascent + metric.Descent);
        EXPECT_EQ(metric.InternalLeading, metric.Height + height);
        EXPECT_EQ(metric.AveCharWidth, scaled(os2_->xAvgCharWidth, em));
        EXPECT_EQ(metric.MaxCharWidth, scaled(face_->max_advance_width, em));
        EXPECT_EQ(font->OutlineMetrics().UnderscorePosition, scaled(face_->underline_position, em));
        EXPECT_EQ(font->OutlineMetrics().StrikeoutPosition, scaled(os2_->yStrikeoutPosition, em));
    }
    // A positive height is the cell height, met exactly.
    EXPECT_EQ(FontEngine().CreateFont(logFont("IPAGothic", 100))->TextMetric().Height, 100);
}

TEST_F(FreeTypeReference, AbcWidthsComeFromTheGlyphBox)
{
    const auto font = FontEngine().CreateFont(logFont("IPAGothic", -1000));
    for (const char32_t character : {U'A', U'g', U'あ', U'漢'}) {
        ASSERT_EQ(FT_Load_Char(face_, character, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING), 0);
        const FT_Glyph_Metrics& m = face_->glyph->metrics;
        const TABC abc = font->CharABC(character);
        EXPECT_NEAR(abc.A, scaled(m.horiBearingX, 1000), 1) << uint32_t(character);
        EXPECT_NEAR(abc.B, scaled(m.width, 1000), 1) << uint32_t(character);
        EXPECT_EQ(abc.Advance(), scaled(m.horiAdvance, 1000)) << uint32_t(character);
    }
    EXPECT_EQ(font->CharABC(U' ').B, 0);
}

// HarfBuzz's own command-line shaper, run on the same file.
std::vector<uint32_t> hbShapeVertical(const std::string& text)
{
    const std::string command = "hb-shape --direction=ttb --language=ja --features=-kern,-liga,-vkrn,-vpal "
                                "--no-glyph-names --no-positions --no-clusters '" +
                                fontFile("IPAGothic") + "' '" + text + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<uint32_t> ids;
    if (!pipe)
        return ids;
    char line[1024] = {};
    if (std::fgets(line, sizeof line, pipe)) {
        std::string output(line);
        for (char& c : output)
            if (c == '[' || c == ']' || c == '|')
                c = ' ';
        std::istringstream words(output);
        uint32_t id;
        while (words >> id)
            ids.push_back(id);
    }
    pclose(pipe);
    return ids;
}

TEST(VerticalFace, UprightCharactersUseTheVerticalForms)
{
    const std::string text = "ー（。ゃッ";
    const auto vertical = FontEngine().CreateFont(logFont("@IPAGothic", -100));
    const auto horizontal = FontEngine().CreateFont(logFont("IPAGothic", -100));
    const auto run = vertical->Layout(text);
    const auto flat = horizontal->Layout(text);
    std::vector<uint32_t> ids;
    for (const TPlacedGlyph& glyph : run->Glyphs) {
        EXPECT_TRUE(glyph.Upright);
        ids.push_back(glyph.GlyphId);
    }
    EXPECT_EQ(ids, hbShapeVertical(text));
    ASSERT_EQ(flat->Glyphs.size(), ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_NE(flat->Glyphs[i].GlyphId, ids[i]) << "character " << i << " has no vertical form";
}

TEST(VerticalFace, LatinLiesSidewaysAndKanjiStandsInTheCell)
{
    const auto font = FontEngine().CreateFont(logFont("@ＭＳ ゴシック", -100));
    const auto run = font->Layout("A漢");
    ASSERT_EQ(run->Glyphs.size(), 2u);
    EXPECT_FALSE(run->Glyphs[0].Upright);
    EXPECT_TRUE(run->Glyphs[1].Upright);
    EXPECT_EQ(run->Glyphs[1].X, run->Glyphs[0].Advance);
    // The upright glyph's ink lies across the run within the cell, around its middle.
    QPainterPath kanji;
    font->CharOutline(U'漢').AddTo(kanji);
    const QRectF ink = kanji.boundingRect();
    const TTextMetric metric = font->TextMetric();
    EXPECT_GE(ink.top(), -metric.Ascent);
    EXPECT_LE(ink.bottom(), metric.Descent);
    EXPECT_NEAR(ink.center().y(), (metric.Descent - metric.Ascent) / 2.0, 8);
    EXPECT_GE(ink.left(), 0);
    EXPECT_LE(ink.right(), 100);
}

TEST(EscapementTransform, PlacesEachGlyphAlongTheTurnedRun)
{
    const auto font = FontEngine().CreateFont(logFont("IPAGothic", -100));
    const auto run = font->Layout("ABC");
    struct Case {
        int32_t escapement;
        double dx, dy;  // page direction of the run
    };
    for (const Case& c : {Case{0, 1, 0}, Case{900, 0, -1}, Case{2700, 0, 1}, Case{1800, -1, 0},
                          Case{450, std::sqrt(0.5), -std::sqrt(0.5)}, Case{-900, 0, 1}}) {
        const QTransform transform = RunTransform(c.escapement, 500, 400);
        for (const TPlacedGlyph& glyph : run->Glyphs) {
            const QPointF at = transform.map(QPointF(glyph.X, 0));
            EXPECT_NEAR(at.x(), 500 + glyph.X * c.dx, 1e-9) << c.escapement;
            EXPECT_NEAR(at.y(), 400 + glyph.X * c.dy, 1e-9) << c.escapement;
        }
        // The ascent side of the run lies to the left of its direction.
        const QPointF up = transform.map(QPointF(0, -1)) - QPointF(500, 400);
        EXPECT_NEAR(up.x(), c.dy, 1e-9);
        EXPECT_NEAR(up.y(), -c.dx, 1e-9);
    }
}

struct SubstitutionCase {
    const char* face;
    const char* family;
};

class Substitution : public ::testing::TestWithParam<SubstitutionCase> {};

TEST_P(Substitution, NamesMapToInstalledFamilies)
{
    EXPECT_EQ(FontEngine().CreateFont(logFont(GetParam().face, -24))->FamilyName(), GetParam().family);
}

INSTANTIATE_TEST_SUITE_P(Table, Substitution, ::testing::Values(
    SubstitutionCase{"ＭＳ ゴシック", "IPAGothic"}, SubstitutionCase{"MS Gothic", "IPAGothic"},
    SubstitutionCase{"ＭＳ Ｐゴシック", "IPAPGothic"}, SubstitutionCase{"ms pgothic", "IPAPGothic"},
    SubstitutionCase{"ＭＳ 明朝", "IPAMincho"}, SubstitutionCase{"@ＭＳ Ｐ明朝", "IPAPMincho"},
    SubstitutionCase{"MS UI Gothic", "IPAPGothic"}, SubstitutionCase{"IPAexMincho", "IPAexMincho"},
    SubstitutionCase{"DejaVu Sans", "DejaVu Sans"},
    SubstitutionCase{"No Such Face", "IPAPGothic"},   // falls back to a Japanese font
    SubstitutionCase{"", "IPAPGothic"}));

TEST(FontList, ListsFamiliesWithTheirCharsetsAndVerticalFaces)
{
    const std::vector<TFontFamilyInfo> families = FontEngine().Families();
    auto charsetOf = [&](const std::string& name) -> int {
        for (const TFontFamilyInfo& family : families)
            if (family.Name == name)
                return family.CharSet;
        return -1;
    };
    EXPECT_EQ(charsetOf("IPAGothic"), SHIFTJIS_CHARSET);
    EXPECT_EQ(charsetOf("@IPAGothic"), SHIFTJIS_CHARSET);
    EXPECT_EQ(charsetOf("ＭＳ Ｐゴシック"), SHIFTJIS_CHARSET);
    EXPECT_EQ(charsetOf("@ＭＳ Ｐゴシック"), SHIFTJIS_CHARSET);
    EXPECT_EQ(charsetOf("DejaVu Sans"), ANSI_CHARSET);
    EXPECT_EQ(charsetOf("@DejaVu Sans"), -1);
    EXPECT_TRUE(FontEngine().IsInstalled("@ＭＳ 明朝"));
    EXPECT_FALSE(FontEngine().IsInstalled("No Such Face"));
}

TEST(FontEngineSwap, TestsCanInstallTheFixedMetricsEngine)
{
    SetFontEngine(std::make_shared<TFakeFontEngine>());
    const auto font = FontEngine().CreateFont(logFont("Anything", -20));
    EXPECT_EQ(font->TextMetric().Ascent, 16);
    EXPECT_EQ(font->TextWidth("aあ"), 30);
    EXPECT_EQ(font->CharABC(U'i'), (TABC{0, 2, 8}));
    SetFontEngine(nullptr);
    EXPECT_EQ(FontEngine().CreateFont(logFont("Anything", -20))->FamilyName(), "IPAPGothic");
}

}  // namespace
}  // namespace orvella
