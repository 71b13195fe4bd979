#include "picture_fixtures.h"

#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace orvella::test {

void FillBitmap(TBitmap& bitmap, const std::function<TColor(int32_t x, int32_t y)>& colour)
{
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            WritePixel(bitmap.Row(y), x, bitmap.PixelFormat(), bitmap.ColorToPixel(colour(x, y)));
}

void FillPattern(TBitmap& bitmap)
{
    FillBitmap(bitmap, [&](int32_t x, int32_t y) {
        return RGB(uint8_t(x * 255 / std::max(1, bitmap.Width() - 1)), uint8_t(y * 255 / std::max(1, bitmap.Height() - 1)),
                   uint8_t((x * 7 + y * 13) % 256));
    });
}

std::string FirstDifference(const TBitmap& want, const TBitmap& got, int tolerance)
{
    if (want.Width() != got.Width() || want.Height() != got.Height()) {
        std::ostringstream text;
        text << "size: want " << want.Width() << 'x' << want.Height() << " got " << got.Width() << 'x' << got.Height();
        return text.str();
    }
    for (int32_t y = 0; y < want.Height(); ++y)
        for (int32_t x = 0; x < want.Width(); ++x) {
            const TColor a = want.GetPixelColor(x, y), b = got.GetPixelColor(x, y);
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) {
                    char text[96];
                    std::snprintf(text, sizeof text, "%d,%d: want %06X got %06X", x, y, unsigned(a), unsigned(b));
                    return text;
                }
        }
    return "";
}

bool Magick(const std::vector<std::string>& arguments)
{
    const ToolRun run = RunProgram("/usr/bin/convert", arguments);
    if (run.status != 0)
        ADD_FAILURE() << "ImageMagick's convert failed (status " << run.status << "): " << run.err;
    return run.status == 0;
}

long MagickDifference(const std::string& a, const std::string& b, int fuzzPercent)
{
    std::vector<std::string> arguments{"-metric", "AE"};
    if (fuzzPercent > 0) {
        arguments.push_back("-fuzz");
        arguments.push_back(std::to_string(fuzzPercent) + "%");
    }
    arguments.insert(arguments.end(), {a, b, "null:"});
    const ToolRun run = RunProgram("/usr/bin/compare", arguments);
    if (run.status != 0 && run.status != 1)
        return -1;
    // compare prints the count on standard error.
    try {
        return long(std::stod(run.err));
    } catch (...) {
        return -1;
    }
}

}  // namespace orvella::test
