#include "graphics/safety_bitmap.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/stream_format.h"
#include "graphics/bitmap_copy.h"
#include "graphics/bmp_codec.h"
#include "graphics/picture_error.h"
#include "platform/zlib_container.h"

#include <cstring>

namespace orvella {

TSafetyBitmap::TSafetyBitmap(std::string storedName) : storedName_(std::move(storedName)) {}

std::unique_ptr<TGraphic> TSafetyBitmap::Clone() const
{
    auto copy = std::make_unique<TSafetyBitmap>(storedName_);
    copy->Assign(*this);
    return copy;
}

void TSafetyBitmap::LoadFromBytes(std::string_view bytes)
{
    TBitmap loaded;
    // A compressed bitmap keeps the BMP file it holds: that is what stored
    // bitmap data and BMP files are made of.
    std::string file;
    if (IsZlibContainer(bytes)) {
        try {
            file = DecompressContainer(bytes);
        } catch (const EZlibContainer& error) {
            throw EInvalidGraphic(std::string("不正な圧縮ビットマップです: ") + error.what());
        }
    } else {
        file.assign(bytes);
    }
    ReadBmp(file, loaded);
    CopyBitmap(loaded, bitmap_);
    original_ = std::move(file);
    masked_.Invalidate();
    Changed();
}

std::string TSafetyBitmap::SaveToBytes() const
{
    if (!original_.empty())
        return original_;
    return WriteBmp(bitmap_);
}

void TSafetyBitmap::ReadData(std::string_view data)
{
    // The size in front is skipped; the loader takes the rest.
    if (data.size() < 4)
        throw EInvalidGraphic("不正なビットマップです: データが足りません");
    LoadFromBytes(data.substr(4));
}

void TSafetyBitmap::WriteData(std::string& out) const
{
    const std::string file = original_.empty() ? WriteBmp(bitmap_) : original_;
    TByteWriter writer(out);
    writer.WriteU32(uint32_t(file.size()));
    writer.WriteBytes(file);
}

void TSafetyBitmap::LoadFromDib(std::string_view dib)
{
    TBitmap loaded;
    ReadDib(dib, loaded);
    CopyBitmap(loaded, bitmap_);
    original_.clear();
    masked_.Invalidate();
    Changed();
}

void TSafetyBitmap::RenderTo24(TBitmap& target) const
{
    ConvertTo24(bitmap_, target);
}

void TSafetyBitmap::RenderMask(TBitmap& mask) const
{
    CopyBitmap(masked_.Mask(bitmap_, transparentColor_), mask);
}

void TSafetyBitmap::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (!transparent_) {
        TGraphic::Draw(canvas, rect);
        return;
    }
    TBitmap& mask = masked_.Mask(bitmap_, transparentColor_);
    TBitmap& image = masked_.Image(bitmap_, transparentColor_);
    DrawMasked(canvas, rect, image, mask);
}

TBitmap& TSafetyBitmap::MutableBitmap()
{
    original_.clear();
    masked_.Invalidate();
    return bitmap_;
}

void TSafetyBitmap::Modified()
{
    original_.clear();
    masked_.Invalidate();
    Changed();
}

void TSafetyBitmap::Assign(const TBitmap& image)
{
    CopyBitmap(image, bitmap_);
    Modified();
}

void TSafetyBitmap::Assign(const TSafetyBitmap& other)
{
    if (&other == this)
        return;
    CopyBitmap(other.bitmap_, bitmap_);
    original_ = other.original_;
    transparent_ = other.transparent_;
    transparentColor_ = other.transparentColor_;
    masked_.CopyFrom(other.masked_);
    Changed();
}

void TSafetyBitmap::SetTransparent(bool transparent, TColor color)
{
    if (transparent == transparent_ && color == transparentColor_)
        return;
    transparent_ = transparent;
    transparentColor_ = color;
    masked_.Invalidate();
    Changed();
}

void TSafetyBitmap::InstallMask(const TBitmap& mask)
{
    masked_.InstallMask(mask);
}

}  // namespace orvella
