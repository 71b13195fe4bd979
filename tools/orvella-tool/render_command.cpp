// orvella-tool render DOC OUT.{png,jpg,bmp} [--sheet N] [--face N] [--dpi D]
// Draws a sheet of a label document (the first one unless --sheet names
// another, counted from 0), or only its face N (from 0), at D pixels per
// inch (96 unless given), through the painting the program's views and its
// picture export use, and writes the picture by OUT's extension.

#include "commands.h"

#include "document/label_data.h"
#include "document/sheet_painter.h"
#include "graphics/bitmap.h"
#include "graphics/bmp_codec.h"
#include "graphics/jpeg_codec.h"
#include "graphics/png_codec.h"
#include "platform/atomic_file.h"
#include "platform/text_case.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>

namespace orvella::tool {

namespace {

// Beyond any printer's resolution a sheet is only a way to exhaust memory.
constexpr int32_t kMaxDpi = 2400;

std::optional<int32_t> number(const std::string& text)
{
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string encode(const std::string& fileName, TBitmap& bitmap)
{
    const std::string ext = UpperCase(std::filesystem::path(fileName).extension().string());
    if (ext == ".PNG")
        return EncodePng(bitmap);
    if (ext == ".JPG" || ext == ".JPEG")
        return EncodeJpeg(bitmap);
    if (ext == ".BMP")
        return WriteBmp(bitmap);
    return {};
}

}  // namespace

int RunRender(const Arguments& args)
{
    if (args.size() < 2)
        return UsageError("render");
    int32_t sheet = 0;
    std::optional<int32_t> face;
    int32_t dpi = 96;
    for (std::size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return UsageError("render");
        const std::optional<int32_t> value = number(args[i + 1]);
        if (!value)
            return UsageError("render");
        if (args[i] == "--sheet")
            sheet = *value;
        else if (args[i] == "--face")
            face = *value;
        else if (args[i] == "--dpi")
            dpi = *value;
        else
            return UsageError("render");
    }
    if (dpi <= 0 || dpi > kMaxDpi) {
        std::cerr << "orvella-tool: --dpi must lie between 1 and " << kMaxDpi << '\n';
        return 2;
    }
    TBitmap bitmap;
    try {
        RegisterToolClasses();
        TLabelData data;
        data.LoadFromFile(args[0]);
        if (sheet < 0 || sheet >= data.SheetCount()) {
            std::cerr << "orvella-tool: the document has no sheet " << sheet << '\n';
            return 1;
        }
        data.SelectSheet(sheet);
        if (face)
            RenderFaceAtDpi(data, *face, dpi, bitmap);
        else
            RenderSheetAtDpi(data, dpi, bitmap);
    } catch (const std::exception& error) {
        std::cerr << "orvella-tool: " << args[0] << ": " << error.what() << '\n';
        return 1;
    }
    const std::string bytes = encode(args[1], bitmap);
    if (bytes.empty()) {
        std::cerr << "orvella-tool: " << args[1] << ": write .png, .jpg or .bmp\n";
        return 2;
    }
    try {
        WriteFileAtomically(args[1], bytes);
    } catch (const std::exception& error) {
        std::cerr << "orvella-tool: cannot write " << args[1] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace orvella::tool
