// The face side of the label document: the object streams of the faces and
// their previews.

#include "document/label_data.h"

#include "formats/doc_name_list.h"
#include "formats/doc_stream.h"
#include "document/label_data_layout.h"
#include "document/ld_objects.h"
#include "drawing/do_list.h"
#include "drawing/draw_object.h"
#include "drawing/object_utils.h"
#include "graphics/bitmap.h"
#include "graphics/encoded_images.h"
#include "graphics/picture_ex.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"

#include <QPainterPath>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace orvella {

using namespace label_layout;

namespace {

bool IsBitmapFile(std::string_view bytes) { return bytes.size() >= 2 && bytes.substr(0, 2) == "BM"; }

// The face in face coordinates: its bounds from (0, 0), and its outline
// when it is not a plain rectangle.
TFaceImageSource FaceSource(const TFaceInfo& face)
{
    const TRect outer = face.GetOuterRect();
    TFaceImageSource source;
    source.Bounds = {0, 0, outer.Right - outer.Left, outer.Bottom - outer.Top};
    if (face.FaceShape != fsRect) {
        QPainterPath shape;
        shape.addRegion(face.CreateFaceRegion(nullptr, true).translated(-outer.Left, -outer.Top));
        source.Shape = shape;
    }
    return source;
}

std::string EncodePreview(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
    TBitmap bitmap(rgb.width(), rgb.height(), TPixelFormat::pf24bit);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(bitmap.Row(y), rgb.constScanLine(y), std::size_t(rgb.width()) * 3);
    auto png = std::make_unique<TPNGImage>();
    png->LoadFromBytes(EncodePng(bitmap));
    TPictureEx picture;
    picture.SetGraphic(std::move(png));
    std::string data;
    picture.WritePictureData(data);
    return data;
}

void ReadPreviewBytes(std::string_view bytes, TPictureEx& picture)
{
    if (IsBitmapFile(bytes)) {
        auto bitmap = std::make_unique<TSafetyBitmap>();
        bitmap->LoadFromBytes(bytes);
        picture.SetGraphic(std::move(bitmap));
    } else {
        picture.ReadPictureData(bytes);
    }
}

}  // namespace

int TLabelData::faceIndex(int face) const
{
    const int index = SeparatelyDesign() ? face : 0;
    const int faces = Paper() ? Paper()->GetFaceCount() : kMaxFaceCount;
    return index < 0 || index >= std::max(faces, 1) ? kNoFace : index;
}

std::unique_ptr<TDocNameList> TLabelData::faceList(const char* listName, bool create) const
{
    const std::string path = sheetPath() + "\\" + listName;
    if (!create && !Storage().StreamExists(path))
        return nullptr;
    return std::make_unique<TDocNameList>(Storage(), path);
}

std::string TLabelData::readFaceStream(const char* listName, int face) const
{
    const std::unique_ptr<TDocNameList> list = faceList(listName, false);
    if (!list || face >= list->Count() || !list->ElementExists(face))
        return {};
    return list->OpenStream(face, dmRead)->ReadAll();
}

void TLabelData::writeFaceStream(const char* listName, int face, std::string_view bytes)
{
    const std::unique_ptr<TDocNameList> list = faceList(listName, true);
    while (list->Count() <= face)
        list->AddNew();
    // A damaged file may hold a storage under the entry's name.
    Storage().DestroyElement(list->ElementPath(face));
    list->OpenStream(face, dmCreate)->WriteAll(bytes);
}

void TLabelData::destroyFaceStream(const char* listName, int face)
{
    const std::unique_ptr<TDocNameList> list = faceList(listName, false);
    if (list && face < list->Count())
        Storage().DestroyElement(list->ElementPath(face));
}

std::vector<std::unique_ptr<TDrawObject>> TLabelData::LoadFaceObjects(int face)
{
    const int index = faceIndex(face);
    if (index == kNoFace)
        return {};
    std::vector<std::unique_ptr<TDrawObject>> objects = ReadFaceObjects(readFaceStream(kObjectList, index));
    if (objects.empty())
        return objects;

    const TDocumentTimes times{Opened(), LastPrint(), LastSave()};
    std::optional<TFaceInfo> faceInfo;
    if (Paper() && index < Paper()->GetFaceCount()) {
        faceInfo.emplace();
        faceInfo->LoadFromPaper(*Paper(), index);
    }
    for (std::unique_ptr<TDrawObject>& object : objects) {
        object->SetName({});
        for (const TFaceObjectHooks& hooks : FaceObjectHooks()) {
            if (hooks.ApplyDocumentTimes)
                hooks.ApplyDocumentTimes(*object, times);
            if (hooks.Upgrade)
                if (std::unique_ptr<TDrawObject> replacement = hooks.Upgrade(*object))
                    object = std::move(replacement);
            if (hooks.FitToFace && faceInfo)
                hooks.FitToFace(*object, *faceInfo);
        }
    }
    if (faceInfo) {
        TDOList list;
        for (const std::unique_ptr<TDrawObject>& object : objects)
            list.Add(*object);
        KeepCentresInside(list, FaceSource(*faceInfo).Bounds);
    }
    return objects;
}

void TLabelData::SaveFaceObjects(int face, const TDOList& list)
{
    const int index = faceIndex(face);
    // Objects stored where the paper has no face would be dropped unseen with
    // the next paper change: refused, so the caller still holds them.
    if (index == kNoFace)
        throw std::out_of_range("面番号が範囲外です (" + std::to_string(face) + ")");
    bool emptyBackgroundOnly = false;
    for (const TFaceObjectHooks& hooks : FaceObjectHooks())
        if (hooks.IsEmptyBackgroundOnly && hooks.IsEmptyBackgroundOnly(list))
            emptyBackgroundOnly = true;
    writeFaceStream(kObjectList, index, list.Empty() || emptyBackgroundOnly ? std::string() : WriteFaceObjects(list));
    markModified();
    destroyFaceStream(kPreviewList, index);
}

void TLabelData::ClearFaceObjects(int face)
{
    const int index = faceIndex(face);
    if (index == kNoFace)
        return;
    destroyFaceStream(kObjectList, index);
    destroyFaceStream(kPreviewList, index);
    markModified();
}

bool TLabelData::HasFaceObjects(int face)
{
    const int index = faceIndex(face);
    return index != kNoFace && !readFaceStream(kObjectList, index).empty();
}

bool TLabelData::HasPreview(int face)
{
    const int index = faceIndex(face);
    return index != kNoFace && !readFaceStream(kPreviewList, index).empty();
}

void TLabelData::DeletePreview(int face)
{
    if (const int index = faceIndex(face); index != kNoFace)
        destroyFaceStream(kPreviewList, index);
}

void TLabelData::EnsurePreview(int face)
{
    const int index = faceIndex(face);
    if (index == kNoFace || !Paper() || index >= Paper()->GetFaceCount() || !HasFaceObjects(index) ||
        HasPreview(index))
        return;
    std::vector<std::unique_ptr<TDrawObject>> objects = LoadFaceObjects(index);
    TDOList list;
    for (const std::unique_ptr<TDrawObject>& object : objects)
        list.Add(*object);
    TFaceInfo faceInfo;
    faceInfo.LoadFromPaper(*Paper(), index);
    const QImage image = RenderFaceImage(FaceSource(faceInfo), list, TSize{kPreviewSize, kPreviewSize});
    writeFaceStream(kPreviewList, index, EncodePreview(image));
}

bool TLabelData::GetPreview(int face, TPictureEx& picture)
{
    const int index = faceIndex(face);
    if (index == kNoFace)
        return false;
    if (HasFaceObjects(index))
        EnsurePreview(index);
    const std::string bytes = readFaceStream(kPreviewList, index);
    if (bytes.empty())
        return false;
    ReadPreviewBytes(bytes, picture);
    return !picture.Empty();
}

bool TLabelData::ReadPreviewFromFile(const std::string& fileName, int sheet, int face, TPictureEx& picture)
{
    TFileStorage file(fileName, dmRead | dmShareDenyWrite);
    if (!file.StreamExists(kSheetList))
        return false;
    TDocNameList sheets(file, kSheetList);
    if (sheet < 0 || sheet >= sheets.Count())
        return false;
    const std::string previewPath = sheets.ElementPath(sheet) + "\\" + kPreviewList;
    if (!file.StreamExists(previewPath))
        return false;
    TDocNameList previews(file, previewPath);
    if (face < 0 || face >= previews.Count() || !previews.ElementExists(face))
        return false;
    const std::string bytes = previews.OpenStream(face, dmRead)->ReadAll();
    if (bytes.empty())
        return false;
    ReadPreviewBytes(bytes, picture);
    return !picture.Empty();
}

}  // namespace orvella
