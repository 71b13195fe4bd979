#include "graphics/graphic.h"

#include "graphics/bmp_codec.h"
#include "graphics/canvas.h"
#include "graphics/canvas_tools.h"
#include "graphics/encoded_images.h"
#include "graphics/gif_codec.h"
#include "graphics/jpeg_codec.h"
#include "graphics/picture_error.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "platform/zlib_container.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <mutex>
#include <shared_mutex>

namespace orvella {

void TGraphic::RenderMask(TBitmap& mask) const
{
    mask.SetSize(Width(), Height(), TPixelFormat::pf24bit);
}

void TGraphic::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (Empty())
        return;
    TBitmap image;
    RenderTo24(image);
    canvas.StretchBlt(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top, image.Canvas(), 0, 0,
                      image.Width(), image.Height(), SRCCOPY);
}

void DrawMasked(TCanvas& canvas, const TRect& rect, TBitmap& image, TBitmap& mask)
{
    const int32_t width = rect.Right - rect.Left, height = rect.Bottom - rect.Top;
    const int oldMode = canvas.StretchBltMode();
    canvas.SetStretchBltMode(HALFTONE);
    // Where the mask is white, not-source leaves the canvas; elsewhere it turns white...
    canvas.StretchBlt(rect.Left, rect.Top, width, height, mask.Canvas(), 0, 0, mask.Width(), mask.Height(), MERGEPAINT);
    // ...and the image, white where transparent, is ANDed on top.
    canvas.StretchBlt(rect.Left, rect.Top, width, height, image.Canvas(), 0, 0, image.Width(), image.Height(), SRCAND);
    canvas.SetStretchBltMode(oldMode);
}

namespace {

struct ClassEntry {
    std::string name;
    TGraphicFactory create;
};

struct Registries {
    std::shared_mutex lock;
    std::vector<ClassEntry> classes;
    std::vector<TPictureFormat> formats;

    Registries()
    {
        auto bitmapNamed = [](const char* name) {
            return [name] { return std::unique_ptr<TGraphic>(std::make_unique<TSafetyBitmap>(name)); };
        };
        for (const char* name : {"TBitmap", "TSafetyBitmap", "TMp3Image", "TM4aImage", "TPCDBitmap"})
            classes.push_back({name, bitmapNamed(name)});
        for (const char* name : {"TJPEGImage", "TSafetyJPEGImage"})
            classes.push_back({name, [name] { return std::unique_ptr<TGraphic>(std::make_unique<TSafetyJPEGImage>(name)); }});
        classes.push_back({"TPNGImage", [] { return std::unique_ptr<TGraphic>(std::make_unique<TPNGImage>()); }});
        classes.push_back({"TGIFImage", [] { return std::unique_ptr<TGraphic>(std::make_unique<TGIFImage>()); }});
        classes.push_back({"TMetafile", [] { return std::unique_ptr<TGraphic>(std::make_unique<TMetafile>()); }});
        classes.push_back({"TIcon", [] { return std::unique_ptr<TGraphic>(std::make_unique<TIcon>()); }});

        auto bitmap = [] { return std::unique_ptr<TGraphic>(std::make_unique<TSafetyBitmap>()); };
        auto jpeg = [] { return std::unique_ptr<TGraphic>(std::make_unique<TSafetyJPEGImage>()); };
        formats = {
            {"BMP", "Bitmaps", bitmap},
            {"CBM", "Compressed Bitmaps", bitmap},
            {"JPG", "JPEG Image", jpeg},
            {"JPEG", "JPEG Image", jpeg},
            {"PNG", "Portable Network Graphics", [] { return std::unique_ptr<TGraphic>(std::make_unique<TPNGImage>()); }},
            {"GIF", "CompuServe GIF Image", [] { return std::unique_ptr<TGraphic>(std::make_unique<TGIFImage>()); }},
            {"ICO", "Icons", [] { return std::unique_ptr<TGraphic>(std::make_unique<TIcon>()); }},
            {"EMF", "Enhanced Metafiles", [] { return std::unique_ptr<TGraphic>(std::make_unique<TMetafile>()); }},
            {"WMF", "Metafiles", [] { return std::unique_ptr<TGraphic>(std::make_unique<TMetafile>()); }},
        };
    }
};

Registries& TheRegistries()
{
    static Registries registries;
    return registries;
}

// The graphic whose file signature the bytes carry, or nullptr.
std::unique_ptr<TGraphic> GraphicBySignature(std::string_view bytes)
{
    if (bytes.substr(0, 2) == "BM" || IsZlibContainer(bytes))
        return std::make_unique<TSafetyBitmap>();
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8)
        return std::make_unique<TSafetyJPEGImage>();
    if (IsPng(bytes))
        return std::make_unique<TPNGImage>();
    if (IsGif(bytes))
        return std::make_unique<TGIFImage>();
    if (bytes.size() >= 4 && bytes.substr(0, 4) == std::string_view("\0\0\1\0", 4))
        return std::make_unique<TIcon>();
    if (bytes.size() >= 4 && (bytes.substr(0, 4) == std::string_view("\1\0\0\0", 4) ||
                              bytes.substr(0, 4) == std::string_view("\xD7\xCD\xC6\x9A", 4)))
        return std::make_unique<TMetafile>();
    return nullptr;
}

std::string ReadWholeFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw EInvalidGraphic("ファイルを開けません: " + fileName);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void RegisterGraphicClass(const std::string& className, TGraphicFactory factory)
{
    auto& r = TheRegistries();
    std::unique_lock guard(r.lock);
    r.classes.push_back({className, std::move(factory)});
}

std::unique_ptr<TGraphic> CreateGraphicByClassName(std::string_view className)
{
    auto& r = TheRegistries();
    std::shared_lock guard(r.lock);
    for (auto it = r.classes.rbegin(); it != r.classes.rend(); ++it)
        if (it->name == className)
            return it->create();
    return nullptr;
}

std::vector<TPictureFormat> PictureFormats()
{
    auto& r = TheRegistries();
    std::shared_lock guard(r.lock);
    return r.formats;
}

void RegisterPictureFormat(TPictureFormat format)
{
    auto& r = TheRegistries();
    std::unique_lock guard(r.lock);
    r.formats.push_back(std::move(format));
}

std::string ExtensionOf(std::string_view fileName)
{
    const auto slash = fileName.find_last_of("/\\");
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return extension;
}

std::unique_ptr<TGraphic> ReadGraphic(std::string_view bytes, std::string_view extension)
{
    std::unique_ptr<TGraphic> graphic;
    if (!extension.empty()) {
        std::string upper(extension);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        auto& r = TheRegistries();
        std::shared_lock guard(r.lock);
        for (auto it = r.formats.rbegin(); it != r.formats.rend() && !graphic; ++it)
            if (it->Extension == upper)
                graphic = it->Create();
    }
    if (!graphic)
        graphic = GraphicBySignature(bytes);
    if (!graphic)
        throw EInvalidGraphic("未対応の画像形式です");
    graphic->LoadFromBytes(bytes);
    return graphic;
}

std::unique_ptr<TGraphic> ReadGraphicFile(const std::string& fileName)
{
    return ReadGraphic(ReadWholeFile(fileName), ExtensionOf(fileName));
}

std::string WriteGraphicAs(const TGraphic& graphic, std::string_view extension)
{
    std::string upper(extension);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    if (graphic.Empty())
        throw EInvalidGraphic("画像が空です");
    const auto* bitmap = dynamic_cast<const TSafetyBitmap*>(&graphic);
    const auto* encoded = dynamic_cast<const TEncodedImage*>(&graphic);
    if (upper == "BMP" || upper == "CBM") {
        std::string bmp;
        if (bitmap) {
            bmp = bitmap->SaveToBytes();
        } else {
            TBitmap pixels;
            graphic.RenderTo24(pixels);
            bmp = WriteBmp(pixels);
        }
        return upper == "BMP" ? bmp : CompressToContainer(bmp);
    }
    if (upper == "PNG") {
        if (dynamic_cast<const TPNGImage*>(&graphic))
            return graphic.SaveToBytes();
        if (encoded && encoded->HasTransparentParts())
            return EncodePng(encoded->Pixels(), true);
        if (bitmap)
            return EncodePng(bitmap->Bitmap());
        TBitmap pixels;
        graphic.RenderTo24(pixels);
        return EncodePng(pixels);
    }
    if (upper == "JPG" || upper == "JPEG") {
        if (dynamic_cast<const TSafetyJPEGImage*>(&graphic))
            return graphic.SaveToBytes();
        TBitmap pixels;
        graphic.RenderTo24(pixels);
        return EncodeJpeg(pixels);
    }
    throw EInvalidGraphic("この形式では保存できません: " + upper);
}

void WriteGraphicFile(const TGraphic& graphic, const std::string& fileName)
{
    const std::string bytes = WriteGraphicAs(graphic, ExtensionOf(fileName));
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush())
        throw EInvalidGraphic("ファイルに書き込めません: " + fileName);
}

}  // namespace orvella
