#include "paper/paper_info.h"

#include "graphics/graphics_types.h"

#include "formats/component_reader.h"
#include "formats/component_writer.h"
#include "platform/win_math.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace orvella {

namespace {

void checkFaceIndex(int32_t index, int32_t count)
{
    if (index < 0 || index >= count)
        throw std::out_of_range("face index " + std::to_string(index) + " is outside 0.." + std::to_string(count - 1));
}

}  // namespace

// ---- TPaperInfo


void TPaperInfo::Assign(const TPaperInfo& source)
{
    PortraitWidth = source.PortraitWidth;
    PortraitHeight = source.PortraitHeight;
    PaperName = source.PaperName;
    GroupName = source.GroupName;
    ReadOnly = source.ReadOnly;
    Landscape = source.Landscape;
    PurposeList.Assign(source.PurposeList);
}


TRect TPaperInfo::GetFaceBounds(int32_t index) const
{
    const TRect face = GetFaceRect(index);
    const int64_t margin = GetFaceMargin(index);
    const TRect grown{SaturateInt32(face.Left - margin), SaturateInt32(face.Top - margin), SaturateInt32(face.Right + margin),
                      SaturateInt32(face.Bottom + margin)};
    return Landscape ? RotateRect(grown) : grown;
}

TRect TPaperInfo::RotateRect(const TRect& r) const
{
    return {r.Top, SaturateInt32(int64_t(PortraitWidth) - r.Right), r.Bottom, SaturateInt32(int64_t(PortraitWidth) - r.Left)};
}

// ---- the shared face fields

void TFaceFields::SetFaceType(int32_t code)
{
    if (const auto legacy = LegacyFaceType(code)) {
        FaceShape = legacy->Shape;
        FacePurpose = legacy->Purpose;
    }
}

void TFaceFields::DefineProperties(TFiler& filer)
{
    filer.DefineProperty(
        "FaceType", [this](TReader& reader) { SetFaceType(reader.ReadInteger()); }, {}, false);
    const bool writeCutCenter = CutCenterWidth == CutCenterHeight && CutCenterWidth != kDefaultCutCenter;
    filer.DefineProperty(
        "CutCenter",
        [this](TReader& reader) {
            const int32_t size = reader.ReadInteger();
            CutCenterWidth = CutCenterHeight = size == 0 ? kDefaultCutCenter : size;
        },
        [this](TWriter& writer) { writer.WriteInteger(CutCenterWidth); }, writeCutCenter);
}

// ---- TMatrixPaperInfo


void TMatrixPaperInfo::Assign(const TPaperInfo& source)
{
    TPaperInfo::Assign(source);
    if (const auto* matrix = dynamic_cast<const TMatrixPaperInfo*>(&source)) {
        TopOffset = matrix->TopOffset;
        LeftOffset = matrix->LeftOffset;
        BottomMargin = matrix->BottomMargin;
        RightMargin = matrix->RightMargin;
        FaceWidth = matrix->FaceWidth;
        FaceHeight = matrix->FaceHeight;
        FaceCountX = matrix->FaceCountX;
        FaceCountY = matrix->FaceCountY;
        Face = matrix->Face;
    }
}

void TMatrixPaperInfo::DefineProperties(TFiler& filer)
{
    TPaperInfo::DefineProperties(filer);
    Face.DefineProperties(filer);
}

int32_t TMatrixPaperInfo::GetFaceCount() const
{
    if (FaceCountX <= 0 || FaceCountY <= 0)
        return 0;
    return int32_t(std::min<int64_t>(int64_t(FaceCountX) * FaceCountY, std::numeric_limits<int32_t>::max()));
}

TFaceShape TMatrixPaperInfo::GetFaceShape(int32_t) const { return Face.FaceShape; }
std::string TMatrixPaperInfo::GetFacePurpose(int32_t) const { return PurposeValidator().Normalize(Face.FacePurpose); }
int32_t TMatrixPaperInfo::GetFaceMargin(int32_t) const { return Face.FaceMargin; }
TSize TMatrixPaperInfo::GetCutCenterSize(int32_t) const { return {Face.CutCenterWidth, Face.CutCenterHeight}; }
int32_t TMatrixPaperInfo::GetRoundSize(int32_t) const { return Face.RoundSize; }
TCenterShape TMatrixPaperInfo::GetCenterShape(int32_t) const { return Face.CenterShape; }

TRect TMatrixPaperInfo::GetFaceRect(int32_t index) const
{
    checkFaceIndex(index, GetFaceCount());
    const int64_t column = index % FaceCountX;
    const int64_t row = index / FaceCountX;
    const int64_t left = LeftOffset + column * (int64_t(FaceWidth) + RightMargin);
    const int64_t top = TopOffset + row * (int64_t(FaceHeight) + BottomMargin);
    return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(left + FaceWidth), SaturateInt32(top + FaceHeight)};
}

// ---- TFaceItem and TFaces


TRect TFaceItem::Rect() const { return {left_, top_, right_, bottom_}; }

void TFaceItem::SetRect(const TRect& rect)
{
    left_ = rect.Left;
    top_ = rect.Top;
    right_ = rect.Right;
    bottom_ = rect.Bottom;
}

void TFaceItem::SetLeft(int32_t value)
{
    const int64_t width = int64_t(right_) - left_;
    left_ = value;
    right_ = SaturateInt32(value + width);
}

void TFaceItem::SetTop(int32_t value)
{
    const int64_t height = int64_t(bottom_) - top_;
    top_ = value;
    bottom_ = SaturateInt32(value + height);
}

void TFaceItem::Assign(const TFaceItem& source)
{
    SetRect(source.Rect());
    Face = source.Face;
}

void TFaceItem::DefineProperties(TFiler& filer)
{
    TCollectionItem::DefineProperties(filer);
    Face.DefineProperties(filer);
}


TFaces::TFaces() : TCollection(TFaceItem::StaticClassInfo()) {}

void TFaces::Assign(const TFaces& source)
{
    if (&source == this)
        return;
    Clear();
    for (std::size_t i = 0; i < source.Count(); ++i)
        Add().Assign(source.Items(i));
}

// ---- TFreePaperInfo


void TFreePaperInfo::Assign(const TPaperInfo& source)
{
    TPaperInfo::Assign(source);
    if (const auto* free = dynamic_cast<const TFreePaperInfo*>(&source))
        Faces.Assign(free->Faces);
}

const TFaceItem& TFreePaperInfo::item(int32_t index) const
{
    checkFaceIndex(index, GetFaceCount());
    return Faces.Items(std::size_t(index));
}

int32_t TFreePaperInfo::GetFaceCount() const
{
    return int32_t(std::min<std::size_t>(Faces.Count(), std::numeric_limits<int32_t>::max()));
}
TFaceShape TFreePaperInfo::GetFaceShape(int32_t index) const { return item(index).Face.FaceShape; }
std::string TFreePaperInfo::GetFacePurpose(int32_t index) const
{
    return PurposeValidator().Normalize(item(index).Face.FacePurpose);
}
TRect TFreePaperInfo::GetFaceRect(int32_t index) const { return item(index).Rect(); }
int32_t TFreePaperInfo::GetFaceMargin(int32_t index) const { return item(index).Face.FaceMargin; }
TSize TFreePaperInfo::GetCutCenterSize(int32_t index) const
{
    return {item(index).Face.CutCenterWidth, item(index).Face.CutCenterHeight};
}
int32_t TFreePaperInfo::GetRoundSize(int32_t index) const { return item(index).Face.RoundSize; }
TCenterShape TFreePaperInfo::GetCenterShape(int32_t index) const { return item(index).Face.CenterShape; }


}  // namespace orvella
