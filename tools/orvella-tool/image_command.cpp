// orvella-tool image convert IN OUT
// orvella-tool image filter IN OUT [--blur N] [--monotone C] [--brightness B]
//                                  [--contrast C] [--resize WxH] [--rotate DEG]
// Reads any picture the program opens (BMP, compressed bitmap, JPEG, PNG,
// GIF, icon, metafile) and writes PNG, BMP, JPEG or a compressed bitmap by
// OUT's extension. filter runs the picture through the filtered-image chain
// (blur or, for a negative N, sharpen; monotone tint colour as 0xBBGGRR or
// #RRGGBB; brightness and contrast in percent), then resizes (cubic) and
// rotates (whole degrees, white corners).

#include "commands.h"

#include "graphics/bitmap_resample.h"
#include "graphics/bitmap_rotate.h"
#include "graphics/image_data.h"
#include "graphics/picture_error.h"
#include "graphics/safety_bitmap.h"

#include <charconv>
#include <iostream>
#include <optional>

namespace orvella::tool {

namespace {

std::optional<int> parseInt(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "#RRGGBB" as people write colours, or a number in the stored 0x00BBGGRR form.
std::optional<TColor> parseColor(const std::string& text)
{
    if (text.size() == 7 && text[0] == '#') {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
        if (error != std::errc() || end != text.data() + 7)
            return std::nullopt;
        return RGB(uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value));
    }
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* begin = text.data() + (hex ? 2 : 0);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value, hex ? 16 : 10);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF)
        return std::nullopt;
    return TColor(value);
}

std::optional<TSize> parseSize(const std::string& text)
{
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = parseInt(text.substr(0, x)), height = parseInt(text.substr(x + 1));
    if (!width || !height || *width <= 0 || *height <= 0 || *width > kMaxPictureSide || *height > kMaxPictureSide ||
        int64_t(*width) * *height > kMaxPicturePixels)
        return std::nullopt;
    return TSize{*width, *height};
}

struct FilterOptions {
    std::optional<TSize> resize;
    std::optional<int> rotate;
};

// Reads the options into the image's filters; false on a bad option.
bool readOptions(const Arguments& args, std::size_t first, TImageData& image, FilterOptions& options)
{
    for (std::size_t i = first; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            std::cerr << "orvella-tool: image: " << name << " needs a value\n";
            return false;
        }
        const std::string& value = args[i + 1];
        bool ok = true;
        if (name == "--blur") {
            const auto count = parseInt(value);
            ok = count && *count >= -100 && *count <= 100;
            if (ok)
                image.BlurFilter().SetBlurCount(*count);
        } else if (name == "--monotone") {
            const auto color = parseColor(value);
            ok = color.has_value();
            if (ok)
                image.MonotoneFilter().SetRefColor(*color);
        } else if (name == "--brightness" || name == "--contrast") {
            const auto percent = parseInt(value);
            ok = percent && *percent >= -100 && *percent <= 100;
            if (ok && name == "--brightness")
                image.LightFilter().SetBrightness(*percent);
            else if (ok)
                image.LightFilter().SetContrast(*percent);
        } else if (name == "--resize") {
            options.resize = parseSize(value);
            ok = options.resize.has_value();
        } else if (name == "--rotate") {
            options.rotate = parseInt(value);
            ok = options.rotate.has_value();
        } else {
            std::cerr << "orvella-tool: image: unknown option " << name << '\n';
            return false;
        }
        if (!ok) {
            std::cerr << "orvella-tool: image: bad value for " << name << ": " << value << '\n';
            return false;
        }
    }
    return true;
}

int convert(const std::string& in, const std::string& out)
{
    const auto graphic = ReadGraphicFile(in);
    WriteGraphicFile(*graphic, out);
    return 0;
}

int filter(const Arguments& args)
{
    TImageData image;
    FilterOptions options;
    if (!readOptions(args, 3, image, options))
        return UsageError("image");
    image.Picture().LoadFromFile(args[1]);
    TPictureEx& filtered = image.GetFilteredPicture();
    TBitmap pixels;
    filtered.Graphic()->RenderTo24(pixels);
    if (options.resize) {
        TBitmap resized(options.resize->cx, options.resize->cy, TPixelFormat::pf24bit);
        ResampleWhole(resized, pixels, TResampleQuality::Cubic);
        CopyBitmap(resized, pixels);
    }
    if (options.rotate) {
        TBitmap rotated;
        RotateBitmap(pixels, rotated, *options.rotate, clWhite, TSize{pixels.Width(), pixels.Height()});
        CopyBitmap(rotated, pixels);
    }
    TSafetyBitmap result;
    result.Assign(pixels);
    WriteGraphicFile(result, args[2]);
    return 0;
}

}  // namespace

int RunImage(const Arguments& args)
{
    if (args.size() < 3 || (args[0] != "convert" && args[0] != "filter") || (args[0] == "convert" && args.size() != 3))
        return UsageError("image");
    try {
        return args[0] == "convert" ? convert(args[1], args[2]) : filter(args);
    } catch (const std::exception& error) {
        std::cerr << "orvella-tool: image: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace orvella::tool
