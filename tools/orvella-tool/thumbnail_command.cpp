// orvella-tool thumbnail DOC OUT.png SIZE
// The file manager's thumbnailer: writes the stored preview of the face a
// label document was showing when it was saved, shrunk to at most SIZE
// pixels a side. It reads only the preview stream, never renders, and on a
// damaged or foreign file writes nothing and exits 1.

#include "commands.h"

#include "document/label_data.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_resample.h"
#include "graphics/picture_ex.h"
#include "graphics/safety_bitmap.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace orvella::tool {

namespace {

constexpr int kMaxThumbnailSize = 4096;

// The preview's size shrunk to fit size × size, keeping its proportions.
TSize fittedSize(int width, int height, int size)
{
    if (width <= size && height <= size)
        return {width, height};
    if (width >= height)
        return {size, std::max(1, int((int64_t(height) * size + width / 2) / width))};
    return {std::max(1, int((int64_t(width) * size + height / 2) / height)), size};
}

}  // namespace

int RunThumbnail(const Arguments& args)
{
    if (args.size() != 3)
        return UsageError("thumbnail");
    int size = 0;
    const std::string& sizeText = args[2];
    const auto [end, error] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
    if (error != std::errc() || end != sizeText.data() + sizeText.size() || size < 1 || size > kMaxThumbnailSize)
        return UsageError("thumbnail");
    try {
        TPictureEx preview;
        if (!TLabelData::ReadCurrentPreviewFromFile(args[0], preview)) {
            std::cerr << "orvella-tool: thumbnail: " << args[0] << " holds no preview\n";
            return 1;
        }
        TBitmap pixels;
        preview.Graphic()->RenderTo24(pixels);
        const TSize fitted = fittedSize(pixels.Width(), pixels.Height(), size);
        if (fitted.cx != pixels.Width() || fitted.cy != pixels.Height()) {
            TBitmap shrunk(fitted.cx, fitted.cy, TPixelFormat::pf24bit);
            ResampleWhole(shrunk, pixels, TResampleQuality::Cubic);
            CopyBitmap(shrunk, pixels);
        }
        TSafetyBitmap result;
        result.Assign(pixels);
        WriteGraphicFile(result, args[1]);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "orvella-tool: thumbnail: " << args[0] << ": " << error.what() << '\n';
        return 1;
    }
}

}  // namespace orvella::tool
