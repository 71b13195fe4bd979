#include "formats/property_table.h"

#include "graphics/picture_ex.h"

#include "formats/byte_reader.h"
#include "graphics/encoded_images.h"
#include "graphics/picture_error.h"
#include "graphics/safety_bitmap.h"

namespace orvella {

const TClassInfo& TPictureEx::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPictureEx, TPersistent>("TPictureEx", {
        StringProperty("ImageID", &TPictureEx::ImageID),
        StringProperty("StorageID", &TPictureEx::StorageID),
    });
    return info;
}

TPictureEx::TPictureEx() = default;
TPictureEx::~TPictureEx() = default;

void TPictureEx::adopt(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this] { Changed(); };
}

void TPictureEx::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    adopt(std::move(graphic));
    Changed();
}

TSafetyJPEGImage& TPictureEx::ForceJPEG()
{
    if (!dynamic_cast<TSafetyJPEGImage*>(graphic_.get()))
        adopt(std::make_unique<TSafetyJPEGImage>());
    return static_cast<TSafetyJPEGImage&>(*graphic_);
}

TSafetyBitmap& TPictureEx::ForceBitmap()
{
    if (!dynamic_cast<TSafetyBitmap*>(graphic_.get()))
        adopt(std::make_unique<TSafetyBitmap>());
    return static_cast<TSafetyBitmap&>(*graphic_);
}

void TPictureEx::Assign(const TPictureEx& source)
{
    if (&source == this)
        return;
    ImageID = source.ImageID;
    StorageID = source.StorageID;
    sourceTag_ = source.sourceTag_;
    fromResource_ = source.fromResource_;
    auto* ownBitmap = dynamic_cast<TSafetyBitmap*>(graphic_.get());
    const auto* otherBitmap = dynamic_cast<const TSafetyBitmap*>(source.graphic_.get());
    if (ownBitmap && otherBitmap) {
        // Same class: the bitmap takes the other's pixels and masked image in place.
        ownBitmap->Assign(*otherBitmap);
        return;
    }
    SetGraphic(source.graphic_ ? source.graphic_->Clone() : nullptr);
}

void TPictureEx::LoadFromFile(const std::string& fileName)
{
    SetGraphic(ReadGraphicFile(fileName));
}

void TPictureEx::SaveToFile(const std::string& fileName) const
{
    if (Empty())
        throw EInvalidGraphic("画像が空です");
    WriteGraphicFile(*graphic_, fileName);
}

void TPictureEx::WritePictureData(std::string& out) const
{
    if (Empty()) {
        out += '\0';
        return;
    }
    const std::string name = graphic_->StoredClassName();
    out += char(name.size());
    out += name;
    graphic_->WriteData(out);
}

void TPictureEx::ReadPictureData(std::string_view data)
{
    TByteReader in(data);
    if (in.AtEnd()) {
        Clear();
        return;
    }
    const std::size_t length = in.ReadU8();
    if (length > 63 || length > in.Remaining())
        throw EInvalidGraphic("不正な画像データです: クラス名が不正です");
    const std::string_view name = in.ReadBytes(length);
    std::unique_ptr<TGraphic> graphic = length == 0 ? nullptr : CreateGraphicByClassName(name);
    if (graphic)
        graphic->ReadData(in.Rest());
    SetGraphic(std::move(graphic));
}

void TPictureEx::DefineProperties(TFiler& filer)
{
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](TByteReader& in) { ReadPictureData(in.ReadBytes(in.Remaining())); },
        [this](std::string& out) { WritePictureData(out); }, !Empty() && !fromResource_);
}

void TPictureEx::Changed()
{
    if (changing_)
        return;
    changing_ = true;
    modified_ = true;
    try {
        if (OnChange)
            OnChange();
        notifier_.Changed();
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
}

}  // namespace orvella
