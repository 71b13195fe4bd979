// The face side of the label document: the object streams of the faces and
// their previews.

#include "document/label_data.h"

#include "formats/doc_name_list.h"
#include "formats/doc_stream.h"
#include "document/data_info.h"
#include "document/label_data_layout.h"
#include "formats/component_stream.h"
#include "document/ld_objects.h"
#include "drawing/do_list.h"
#include "drawing/draw_object.h"
#include "drawing/object_utils.h"
#include "graphics/bitmap.h"
#include "graphics/encoded_images.h"
#include "graphics/parallel_bands.h"
#include "graphics/picture_ex.h"
#include "graphics/png_codec.h"
#include "graphics/rect_utils.h"
#include "graphics/safety_bitmap.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"
#include "platform/zlib_container.h"

#include <QPainterPath>

#include <algorithm>
#include <cstring>
#include <functional>
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

std::string EncodePreview(const QImage& image);

// A face drawn at 100 % as a stored preview: fitted, PNG, picture data.
std::string PackPreview(const TBitmap& drawing)
{
    return EncodePreview(FitFaceImage(drawing, TSize{kPreviewSize, kPreviewSize}));
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

// A sheet's list of face object streams or of previews; with create, a
// missing list is made, else nullptr stands for an empty one.
std::unique_ptr<TDocNameList> SheetFaceList(TRootStorage& root, const std::string& sheet, const char* listName,
                                            bool create)
{
    const std::string path = sheet + "\\" + listName;
    if (!create && !root.StreamExists(path))
        return nullptr;
    return std::make_unique<TDocNameList>(root, path);
}

void WriteSheetFaceStream(TRootStorage& root, const std::string& sheet, const char* listName, int face,
                          std::string_view bytes)
{
    const std::unique_ptr<TDocNameList> list = SheetFaceList(root, sheet, listName, true);
    while (list->Count() <= face)
        list->AddNew();
    // A damaged file may hold a storage under the entry's name.
    root.DestroyElement(list->ElementPath(face));
    list->OpenStream(face, dmCreate)->WriteAll(bytes);
}

// The stream as stored uncompressed; empty when it does not unpack.
std::string Unpacked(std::string bytes)
{
    if (!IsZlibContainer(bytes))
        return bytes;
    try {
        return DecompressContainer(bytes);
    } catch (const EZlibContainer&) {
        return {};
    }
}

// Whether the face looks the same on both papers: the preview of one stands
// for the other. Where a face lies on the sheet does not matter.
bool SameFaceLook(const TPaperInfo& a, const TPaperInfo& b, int face)
{
    TFaceInfo first, second;
    first.LoadFromPaper(a, face);
    second.LoadFromPaper(b, face);
    first.FaceRect = OffsetRect(first.FaceRect, -first.FaceRect.Left, -first.FaceRect.Top);
    second.FaceRect = OffsetRect(second.FaceRect, -second.FaceRect.Left, -second.FaceRect.Top);
    second.FacePurpose = first.FacePurpose;
    return first == second;
}

}  // namespace

// Drawings waiting to be packed are held up to this many bytes.
constexpr int64_t kPendingDrawingBytes = int64_t(64) << 20;

// Previews rendered and face streams read while saving, to be packed.
struct TLabelData::TSaveWork {
    struct TPreview {
        int face;
        std::unique_ptr<TBitmap> drawing;  // the face at 100 %, until packed
        std::string bytes;
    };
    struct TStream {
        std::string path;
        std::string bytes;
        bool packed = false;
    };
    struct TSheet {
        std::string path;
        std::vector<TPreview> previews;
        std::vector<TStream> streams;
    };
    std::vector<TSheet> sheets;
    // Bytes of drawings not yet packed: past a bound they are packed at once.
    int64_t pendingBytes = 0;
};

int TLabelData::faceIndex(int face) const
{
    const int index = SeparatelyDesign() ? face : 0;
    const int faces = Paper() ? Paper()->GetFaceCount() : kMaxFaceCount;
    return index < 0 || index >= std::max(faces, 1) ? kNoFace : index;
}

std::unique_ptr<TDocNameList> TLabelData::faceList(const char* listName, bool create) const
{
    return SheetFaceList(Storage(), sheetPath(), listName, create);
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
    WriteSheetFaceStream(Storage(), sheetPath(), listName, face, bytes);
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
    return LoadFaceObjectsFrom(face, readFaceStream(kObjectList, index));
}

std::vector<std::unique_ptr<TDrawObject>> TLabelData::LoadFaceObjectsFrom(int face, std::string_view stream)
{
    const int index = faceIndex(face);
    if (index == kNoFace)
        return {};
    std::vector<std::unique_ptr<TDrawObject>> objects = ReadFaceObjects(stream);
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
    const std::string bytes = list.Empty() || emptyBackgroundOnly ? std::string() : WriteFaceObjects(list);
    markModified();
    // The same objects again (the layout view writes its face back on every
    // save) keep their stream, compressed or not, and so their preview.
    const std::string stored = readFaceStream(kObjectList, index);
    if (!bytes.empty() && !stored.empty() && Unpacked(stored) == bytes)
        return;
    writeFaceStream(kObjectList, index, bytes);
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

bool TLabelData::needsPreview(int index)
{
    return index != kNoFace && Paper() && index < Paper()->GetFaceCount() && HasFaceObjects(index) && !HasPreview(index);
}

std::unique_ptr<TBitmap> TLabelData::renderPreview(int index)
{
    std::vector<std::unique_ptr<TDrawObject>> objects = LoadFaceObjects(index);
    TDOList list;
    for (const std::unique_ptr<TDrawObject>& object : objects)
        list.Add(*object);
    TFaceInfo faceInfo;
    faceInfo.LoadFromPaper(*Paper(), index);
    // At 100 %, then shrunk: thin lines and small text keep their weight.
    return RenderFaceBitmap(FaceSource(faceInfo), list, 100);
}

void TLabelData::EnsurePreview(int face)
{
    const int index = faceIndex(face);
    if (needsPreview(index))
        writeFaceStream(kPreviewList, index, PackPreview(*renderPreview(index)));
}

void TLabelData::dropChangedPreviews(const TPaperInfo& newPaper)
{
    if (!Paper() || CurrentSheet() < 0)
        return;
    const std::unique_ptr<TDocNameList> previews = faceList(kPreviewList, false);
    if (!previews)
        return;
    const int faces = std::min({previews->Count(), Paper()->GetFaceCount(), newPaper.GetFaceCount()});
    for (int face = 0; face < faces; ++face)
        if (!SameFaceLook(*Paper(), newPaper, face))
            Storage().DestroyElement(previews->ElementPath(face));
}

void TLabelData::prepareSheetsForSaving()
{
    // Rendering uses the program's shared drawing state (fonts, gradient
    // bitmaps) and stays on this thread; encoding and compressing, plain
    // byte work, run afterwards on every core.
    const int previous = CurrentSheet();
    TSaveWork work;
    for (int i = 0; i < SheetCount(); ++i) {
        SelectSheet(i);
        collectSaveWork(work);
    }
    SelectSheet(previous);
    finishSaveWork(work);
}

void TLabelData::collectSaveWork(TSaveWork& work)
{
    TSaveWork::TSheet& sheet = work.sheets.emplace_back();
    sheet.path = sheetPath();
    if (Paper()) {
        const int faces = SeparatelyDesign() ? Paper()->GetFaceCount() : std::min(1, Paper()->GetFaceCount());
        for (int face = 0; face < faces; ++face) {
            if (!needsPreview(face))
                continue;
            std::unique_ptr<TBitmap> drawing = renderPreview(face);
            work.pendingBytes += int64_t(drawing->ByteCount());
            sheet.previews.push_back({face, std::move(drawing), {}});
            if (work.pendingBytes > kPendingDrawingBytes)
                packSaveWork(work);
        }
    }
    const std::unique_ptr<TDocNameList> list = faceList(kObjectList, false);
    for (int i = 0; list && i < list->Count(); ++i) {
        if (!list->ElementExists(i))
            continue;
        std::string bytes = list->OpenStream(i, dmRead)->ReadAll();
        if (!bytes.empty() && !IsZlibContainer(bytes))
            sheet.streams.push_back({list->ElementPath(i), std::move(bytes)});
    }
}

void TLabelData::packSaveWork(TSaveWork& work)
{
    std::vector<std::function<void()>> jobs;
    int64_t bytes = 0;
    for (TSaveWork::TSheet& sheet : work.sheets) {
        for (TSaveWork::TPreview& preview : sheet.previews) {
            if (!preview.drawing)
                continue;
            bytes += int64_t(preview.drawing->ByteCount());
            jobs.push_back([&preview] {
                preview.bytes = PackPreview(*preview.drawing);
                preview.drawing.reset();
            });
        }
        for (TSaveWork::TStream& stream : sheet.streams) {
            if (stream.packed)
                continue;
            bytes += int64_t(stream.bytes.size());
            jobs.push_back([&stream] {
                stream.bytes = CompressToContainer(stream.bytes);
                stream.packed = true;
            });
        }
    }
    work.pendingBytes = 0;
    if (jobs.empty())
        return;
    // Resampling, PNG and deflating at the best level cost some hundred
    // operations a byte; each job is done whole by one thread.
    ForEachBand(int32_t(jobs.size()), 256 * bytes / int64_t(jobs.size()), [&](int32_t first, int32_t last) {
        for (int32_t i = first; i < last; ++i)
            jobs[std::size_t(i)]();
    });
}

void TLabelData::finishSaveWork(TSaveWork& work)
{
    packSaveWork(work);
    // Written in the order the sheets were visited, previews first, as one
    // sheet after another would write them.
    for (const TSaveWork::TSheet& sheet : work.sheets) {
        for (const TSaveWork::TPreview& preview : sheet.previews)
            WriteSheetFaceStream(Storage(), sheet.path, kPreviewList, preview.face, preview.bytes);
        for (const TSaveWork::TStream& stream : sheet.streams)
            TDocStream(Storage(), dmCreate, stream.path).WriteAll(stream.bytes);
    }
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

namespace {

bool readPreview(TFileStorage& file, const TDocNameList& sheets, int sheet, int face, TPictureEx& picture)
{
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

}  // namespace

bool TLabelData::ReadPreviewFromFile(const std::string& fileName, int sheet, int face, TPictureEx& picture)
{
    TFileStorage file(fileName, dmRead | dmShareDenyWrite);
    if (!file.StreamExists(kSheetList))
        return false;
    TDocNameList sheets(file, kSheetList);
    return readPreview(file, sheets, sheet, face, picture);
}

bool TLabelData::ReadCurrentPreviewFromFile(const std::string& fileName, TPictureEx& picture)
{
    TFileStorage file(fileName, dmRead | dmShareDenyWrite);
    if (!file.StreamExists(kSheetList) || !file.StreamExists(kDataInfoStream))
        return false;
    TDocNameList sheets(file, kSheetList);
    TDataInfo info;
    ReadComponentRes(TDocStream(file, dmRead, kDataInfoStream).ReadAll(), info);
    const int sheet = info.CurrentSheetNo;
    if (sheet < 0 || sheet >= sheets.Count())
        return false;
    const std::string infoPath = sheets.ElementPath(sheet) + "\\" + kInfoStream;
    int face = 0;
    if (file.StreamExists(infoPath)) {
        TLabelData settings{Bare{}};
        ReadComponentRes(TDocStream(file, dmRead, infoPath).ReadAll(), settings);
        // Face 0 holds the design of every face when they are not designed apart.
        if (settings.SeparatelyDesign())
            face = settings.CurrentLabelNo();
    }
    return readPreview(file, sheets, sheet, face, picture);
}

}  // namespace orvella
