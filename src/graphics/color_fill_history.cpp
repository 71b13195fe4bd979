#include "graphics/color_fill_history.h"

#include "formats/component_stream.h"
#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "formats/property_table.h"
#include "graphics/bitmap.h"
#include "graphics/color_fill.h"
#include "graphics/encoded_images.h"
#include "graphics/picture_ex.h"
#include "graphics/png_codec.h"

#include <filesystem>

namespace orvella {

namespace {

constexpr const char* kNameList = "ColorSpec\\NameList";
constexpr const char* kResourceName = "TColorSpecWrapper";

// The fill as the history stores it: without its picture.
std::string storedForm(const TColorSpec& colorFill)
{
    TColorSpecWrapper wrapper;
    wrapper.ColorSpec().Assign(colorFill);
    wrapper.ColorSpec().ImageData().Clear();
    return WriteComponentRes(kResourceName, wrapper);
}

std::string previewPath(const std::string& key) { return "Preview\\" + key; }

std::unique_ptr<TFileStorage> openForWriting(const std::string& fileName)
{
    if (std::filesystem::exists(fileName))
        return std::make_unique<TFileStorage>(fileName, dmReadWrite | dmShareExclusive);
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder);
    return std::make_unique<TFileStorage>(fileName, dmCreate);
}

void writeStream(TRootStorage& root, const std::string& path, const std::string& bytes)
{
    TDocStream stream(root, dmCreate, path);
    stream.WriteAll(bytes);
}

}  // namespace

const TClassInfo& TColorSpecHistory::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TColorSpecHistory, TComponent>("TColorSpecHistory", {
        IntegerProperty("Limit", &TColorSpecHistory::limit_).Default(10),
        StringProperty("Filename", &TColorSpecHistory::filename_),
    });
    return info;
}

void TColorSpecHistory::SetFilename(const std::string& filename) { filename_ = filename; }

void TColorSpecHistory::MakePreview(const TColorSpec& colorFill, TPictureEx& preview)
{
    TBitmap bitmap(kPreviewSize, kPreviewSize, TPixelFormat::pf24bit);
    TColorSpec drawn;
    drawn.Assign(colorFill);
    drawn.DrawPreview(bitmap.Canvas(), {0, 0, kPreviewSize, kPreviewSize});
    auto png = std::make_unique<TPNGImage>();
    png->LoadFromBytes(EncodePng(bitmap));
    preview.SetGraphic(std::move(png));
}

std::string TColorSpecHistory::HistoryKey(const TColorSpec& colorFill, const TPictureEx& preview)
{
    std::string bytes = storedForm(colorFill);
    preview.WritePictureData(bytes);
    bytes.append(4, '\0');
    uint64_t hash = 0;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        const uint32_t word = uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
                              uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
        hash = (hash * 2) ^ uint64_t(int64_t(int32_t(word)));
    }
    return std::to_string(int64_t(hash));
}

void TColorSpecHistory::Add(const TColorSpec& colorFill)
{
    TPictureEx preview;
    MakePreview(colorFill, preview);
    const std::string key = HistoryKey(colorFill, preview);

    auto storage = openForWriting(filename_);
    {
        TDocNameList names(*storage, kNameList);
        int found = -1;
        for (int i = 0; i < names.Count(); ++i)
            if (names.Name(i) == key)
                found = i;
        if (found >= 0) {
            names.MoveEntry(found, 0);
        } else {
            const int added = names.AddNew();
            names.RenameEntry(added, key);
            names.MoveEntry(added, 0);
            writeStream(*storage, names.ElementPath(0), storedForm(colorFill));
            std::string pictureBytes;
            preview.WritePictureData(pictureBytes);
            writeStream(*storage, previewPath(key), pictureBytes);
        }
        while (names.Count() > std::max(limit_, 0)) {
            const int last = names.Count() - 1;
            storage->DestroyElement(previewPath(names.Name(last)));
            names.DeleteEntry(last);
        }
    }
    storage->Commit();
}

int TColorSpecHistory::Count()
{
    try {
        if (!std::filesystem::exists(filename_))
            return 0;
        TFileStorage storage(filename_, dmRead | dmShareDenyWrite);
        if (!storage.StreamExists(kNameList))
            return 0;
        TDocNameList names(storage, kNameList);
        return names.Count();
    } catch (const std::exception&) {
        return 0;
    }
}

void TColorSpecHistory::Load(int index, TColorSpec& colorFill)
{
    TFileStorage storage(filename_, dmRead | dmShareDenyWrite);
    TDocNameList names(storage, kNameList);
    const std::string bytes = names.OpenStream(index, dmRead)->ReadAll();
    TColorSpecWrapper wrapper;
    ReadComponentRes(bytes, wrapper);
    colorFill.Assign(wrapper.ColorSpec());
}

void TColorSpecHistory::GetPreview(int index, TPictureEx& picture)
{
    picture.Clear();
    try {
        TFileStorage storage(filename_, dmRead | dmShareDenyWrite);
        TDocNameList names(storage, kNameList);
        TDocStream stream(storage, dmRead, previewPath(names.Name(index)));
        picture.ReadPictureData(stream.ReadAll());
    } catch (const std::exception&) {
        picture.Clear();
    }
}

void TColorSpecHistory::Delete(int index)
{
    auto storage = std::make_unique<TFileStorage>(filename_, dmReadWrite | dmShareExclusive);
    {
        TDocNameList names(*storage, kNameList);
        storage->DestroyElement(previewPath(names.Name(index)));
        names.DeleteEntry(index);
    }
    storage->Commit();
}

void TColorSpecHistory::Clear()
{
    std::error_code ignored;
    std::filesystem::remove(filename_, ignored);
}

}  // namespace orvella
