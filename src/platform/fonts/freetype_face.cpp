#include "platform/fonts/freetype_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ft.h>
#include <hb.h>

#include <stdexcept>

namespace orvella {

namespace {

FT_Library freetype()
{
    static FT_Library library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0)
            throw std::runtime_error("FreeType cannot be initialised");
        return created;
    }();
    return library;
}

struct DecomposeState {
    TGlyphOutline* outline;
};

TOutlinePoint point(const FT_Vector* v) { return {double(v->x), double(v->y)}; }

int moveTo(const FT_Vector* to, void* user)
{
    auto* state = static_cast<DecomposeState*>(user);
    state->outline->Contours.push_back(TContour{point(to), {}});
    return 0;
}

int lineTo(const FT_Vector* to, void* user)
{
    auto* state = static_cast<DecomposeState*>(user);
    if (state->outline->Contours.empty())
        return 1;
    TOutlineSegment segment;
    segment.Kind = TSegmentKind::Line;
    segment.Points[0] = point(to);
    state->outline->Contours.back().Segments.push_back(segment);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* state = static_cast<DecomposeState*>(user);
    if (state->outline->Contours.empty())
        return 1;
    TOutlineSegment segment;
    segment.Kind = TSegmentKind::Quadratic;
    segment.Points[0] = point(control);
    segment.Points[1] = point(to);
    state->outline->Contours.back().Segments.push_back(segment);
    return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    auto* state = static_cast<DecomposeState*>(user);
    if (state->outline->Contours.empty())
        return 1;
    TOutlineSegment segment;
    segment.Kind = TSegmentKind::Cubic;
    segment.Points[0] = point(control1);
    segment.Points[1] = point(control2);
    segment.Points[2] = point(to);
    state->outline->Contours.back().Segments.push_back(segment);
    return 0;
}

const FT_Outline_Funcs kDecompose = {moveTo, lineTo, conicTo, cubicTo, 0, 0};

// Kerning and ligatures stay off, as the program lays out character by
// character from their widths.
const std::vector<hb_feature_t>& shapingFeatures()
{
    static const std::vector<hb_feature_t> features = [] {
        std::vector<hb_feature_t> list;
        for (const char* text : {"-kern", "-liga", "-clig", "-calt", "-palt", "-vkrn", "-vpal"}) {
            hb_feature_t feature;
            if (hb_feature_from_string(text, -1, &feature))
                list.push_back(feature);
        }
        return list;
    }();
    return features;
}

}  // namespace

struct TFreeTypeFace::Handles {
    FT_Face face = nullptr;
    hb_font_t* font = nullptr;
    hb_buffer_t* buffer = nullptr;
    ~Handles()
    {
        if (buffer)
            hb_buffer_destroy(buffer);
        if (font)
            hb_font_destroy(font);
        if (face)
            FT_Done_Face(face);
    }
};

TFreeTypeFace::TFreeTypeFace(const std::string& file, int index, bool syntheticBold, bool syntheticItalic)
    : handles_(std::make_unique<Handles>()), syntheticBold_(syntheticBold), syntheticItalic_(syntheticItalic)
{
    if (FT_New_Face(freetype(), file.c_str(), index, &handles_->face) != 0)
        throw std::runtime_error("cannot open the font file " + file);
    FT_Face face = handles_->face;
    tables_.unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    tables_.hheaAscender = face->ascender;
    tables_.hheaDescender = face->descender;
    tables_.maxAdvance = face->max_advance_width;
    tables_.underlinePosition = face->underline_position;
    tables_.underlineThickness = face->underline_thickness;
    if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA)))
        tables_.lineGap = hhea->Line_Gap;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        tables_.winAscent = os2->usWinAscent;
        tables_.winDescent = os2->usWinDescent;
        tables_.averageWidth = os2->xAvgCharWidth;
        tables_.strikeoutPosition = os2->yStrikeoutPosition;
        tables_.strikeoutSize = os2->yStrikeoutSize;
    } else {
        tables_.winAscent = face->ascender;
        tables_.winDescent = -face->descender;
        tables_.averageWidth = face->max_advance_width / 2.0L;
        tables_.strikeoutPosition = tables_.unitsPerEm * 0.3L;
        tables_.strikeoutSize = face->underline_thickness;
    }
    boldStrength_ = syntheticBold ? double(tables_.unitsPerEm) / 32 : 0;

    hb_face_t* hbFace = hb_ft_face_create_referenced(face);
    handles_->font = hb_font_create(hbFace);
    hb_face_destroy(hbFace);
    hb_font_set_scale(handles_->font, int(tables_.unitsPerEm), int(tables_.unitsPerEm));
    handles_->buffer = hb_buffer_create();
}

TFreeTypeFace::~TFreeTypeFace() = default;

const TGlyphOutline& TFreeTypeFace::Outline(uint32_t glyphId)
{
    if (auto found = outlines_.find(glyphId); found != outlines_.end())
        return found->second;
    TGlyphOutline& outline = outlines_[glyphId];
    FT_Face face = handles_->face;
    if (FT_Load_Glyph(face, glyphId, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return outline;  // a glyph without an outline draws nothing
    FT_Outline* ftOutline = &face->glyph->outline;
    if (syntheticBold_)
        FT_Outline_EmboldenXY(ftOutline, FT_Pos(boldStrength_), 0);
    if (syntheticItalic_) {
        FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000};  // slant by about 12 degrees
        FT_Outline_Transform(ftOutline, &shear);
    }
    DecomposeState state{&outline};
    if (FT_Outline_Decompose(ftOutline, &kDecompose, &state) != 0)
        outline.Contours.clear();
    return outline;
}

std::vector<TShapedGlyph> TFreeTypeFace::Shape(std::u32string_view text, bool vertical)
{
    hb_buffer_t* buffer = handles_->buffer;
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t*>(text.data()), int(text.size()), 0, int(text.size()));
    hb_buffer_set_cluster_level(buffer, HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, vertical ? HB_DIRECTION_TTB : HB_DIRECTION_LTR);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    const auto& features = shapingFeatures();
    hb_shape(handles_->font, buffer, features.data(), unsigned(features.size()));

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    std::vector<TShapedGlyph> glyphs(count);
    for (unsigned i = 0; i < count; ++i) {
        TShapedGlyph& glyph = glyphs[i];
        glyph.glyphId = infos[i].codepoint;
        glyph.cluster = infos[i].cluster;
        glyph.xAdvance = positions[i].x_advance + (vertical ? 0 : boldStrength_);
        glyph.yAdvance = positions[i].y_advance;
        glyph.xOffset = positions[i].x_offset;
        glyph.yOffset = positions[i].y_offset;
    }
    return glyphs;
}

}  // namespace orvella
