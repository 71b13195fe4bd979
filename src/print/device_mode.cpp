#include "print/device_mode.h"

#include "platform/cp932.h"
#include "platform/utf8.h"

#include <algorithm>

namespace orvella {

namespace {

constexpr std::size_t kNameChars = 32;
constexpr std::size_t kBetweenNames = 38;  // dmSpecVersion up to dmCollate
constexpr std::size_t kAfterForm = kDevModeSizeA - devmode::kLogPixels;

std::string ansiName(const uint8_t* bytes)
{
    const auto* text = reinterpret_cast<const char*>(bytes);
    const std::size_t length = std::find(text, text + kNameChars, '\0') - text;
    return DecodeCp932(std::string_view(text, length));
}

std::string wideName(const uint8_t* bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i < kNameChars; ++i) {
        const char16_t unit = char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return Utf16ToUtf8(text);
}

// At most 31 bytes and a terminating zero; a double-byte character that
// does not fit whole is left out.
void putAnsiName(uint8_t* out, const std::string& utf8)
{
    std::fill(out, out + kNameChars, 0);
    const std::string bytes = EncodeCp932(utf8, Cp932Mode::Replace);
    std::size_t n = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = uint8_t(bytes[i]);
        const std::size_t width = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) ? 2 : 1;
        if (n + width > kNameChars - 1 || i + width > bytes.size())
            break;
        for (std::size_t k = 0; k < width; ++k)
            out[n++] = uint8_t(bytes[i + k]);
        i += width;
    }
}

void putWideName(uint8_t* out, const std::string& utf8)
{
    std::fill(out, out + 2 * kNameChars, 0);
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size() && n < kNameChars - 1;) {
        char32_t code = Utf8Decode(utf8, pos);
        pos += std::max<std::size_t>(Utf8CharLength(utf8, pos), 1);
        if (code > 0xFFFF) {
            if (n + 2 > kNameChars - 1)
                break;
            code -= 0x10000;
            const char16_t high = char16_t(0xD800 + (code >> 10));
            const char16_t low = char16_t(0xDC00 + (code & 0x3FF));
            for (const char16_t unit : {high, low}) {
                out[2 * n] = uint8_t(unit & 0xFF);
                out[2 * n + 1] = uint8_t(unit >> 8);
                ++n;
            }
            continue;
        }
        out[2 * n] = uint8_t(code & 0xFF);
        out[2 * n + 1] = uint8_t(code >> 8);
        ++n;
    }
}

uint16_t readWord(const std::vector<uint8_t>& bytes, std::size_t offset)
{
    return offset + 1 < bytes.size() ? uint16_t(bytes[offset] | (bytes[offset + 1] << 8)) : 0;
}

}  // namespace

TmDeviceMode::TmDeviceMode() { LoadFromHandle(std::nullopt); }

std::size_t TmDeviceMode::at(std::size_t ansiOffset) const
{
    if (!wide_ || ansiOffset < kNameChars)
        return wide_ ? ansiOffset * 2 : ansiOffset;
    return ansiOffset + (ansiOffset >= devmode::kFormName + kNameChars ? 2 : 1) * devmode::kWideShift;
}

uint16_t TmDeviceMode::word(std::size_t ansiOffset) const { return readWord(bytes_, at(ansiOffset)); }

void TmDeviceMode::setWord(std::size_t ansiOffset, uint16_t value)
{
    const std::size_t offset = at(ansiOffset);
    bytes_.at(offset) = uint8_t(value & 0xFF);
    bytes_.at(offset + 1) = uint8_t(value >> 8);
}

uint16_t TmDeviceMode::Size() const { return word(devmode::kSize); }
uint16_t TmDeviceMode::DriverExtra() const { return word(devmode::kDriverExtra); }
uint32_t TmDeviceMode::Fields() const { return word(devmode::kFields) | (uint32_t(word(devmode::kFields + 2)) << 16); }
int16_t TmDeviceMode::Orientation() const { return int16_t(word(devmode::kOrientation)); }
int16_t TmDeviceMode::PaperSize() const { return int16_t(word(devmode::kPaperSize)); }
void TmDeviceMode::SetFields(uint32_t value)
{
    setWord(devmode::kFields, uint16_t(value & 0xFFFF));
    setWord(devmode::kFields + 2, uint16_t(value >> 16));
}

void TmDeviceMode::SetOrientation(int16_t value) { setWord(devmode::kOrientation, uint16_t(value)); }

void TmDeviceMode::SetPaperSize(int16_t value) { setWord(devmode::kPaperSize, uint16_t(value)); }

void TmDeviceMode::SetPaperLength(int16_t value) { setWord(devmode::kPaperLength, uint16_t(value)); }

void TmDeviceMode::SetPaperWidth(int16_t value) { setWord(devmode::kPaperWidth, uint16_t(value)); }

int16_t TmDeviceMode::DefaultSource() const { return int16_t(word(devmode::kDefaultSource)); }

void TmDeviceMode::SetDefaultSource(int16_t value) { setWord(devmode::kDefaultSource, uint16_t(value)); }

int32_t TmDeviceMode::MediaType() const
{
    return int32_t(uint32_t(word(devmode::kMediaType)) | uint32_t(word(devmode::kMediaType + 2)) << 16);
}

void TmDeviceMode::SetMediaType(int32_t value)
{
    setWord(devmode::kMediaType, uint16_t(uint32_t(value) & 0xFFFF));
    setWord(devmode::kMediaType + 2, uint16_t(uint32_t(value) >> 16));
}

std::string TmDeviceMode::DeviceName() const
{
    return wide_ ? wideName(bytes_.data()) : ansiName(bytes_.data());
}

std::string TmDeviceMode::FormName() const
{
    return wide_ ? wideName(bytes_.data() + at(devmode::kFormName)) : ansiName(bytes_.data() + devmode::kFormName);
}

void TmDeviceMode::SetDeviceName(const std::string& utf8)
{
    if (wide_)
        putWideName(bytes_.data(), utf8);
    else
        putAnsiName(bytes_.data(), utf8);
}

void TmDeviceMode::LoadFromHandle(std::optional<std::span<const uint8_t>> block)
{
    wide_ = false;
    if (!block) {
        bytes_.assign(kDevModeSizeA, 0);
        setWord(devmode::kSize, kDevModeSizeA);
        return;
    }
    bytes_.assign(block->begin(), block->end());
    if (bytes_.size() < kDevModeSizeA)
        bytes_.resize(kDevModeSizeA, 0);
    if (word(devmode::kSize) == 0)
        setWord(devmode::kSize, kDevModeSizeA);
}

void TmDeviceMode::LoadFromDevMode(std::span<const uint8_t> record)
{
    const auto wordAt = [&](std::size_t offset) {
        return offset + 1 < record.size() ? uint16_t(record[offset] | (record[offset + 1] << 8)) : uint16_t(0);
    };
    const uint16_t size = wordAt(devmode::kSize);
    const std::size_t wanted = std::size_t(size == 0 ? kDevModeSizeA : size) + wordAt(devmode::kDriverExtra);
    LoadFromHandle(record.first(std::min(wanted, record.size())));
}

// The fixed part grows to 220 bytes; names are widened, everything else
// (driver bytes included) is copied as it is. A record shorter than its
// fields claim keeps only the bytes it has.
void TmDeviceMode::toWide()
{
    const std::vector<uint8_t>& a = bytes_;
    const std::size_t extra = std::min<std::size_t>(DriverExtra(), a.size() > kDevModeSizeA ? a.size() - kDevModeSizeA : 0);
    std::vector<uint8_t> w(kDevModeSizeW + extra, 0);
    putWideName(w.data(), ansiName(a.data()));
    std::copy_n(a.begin() + kNameChars, kBetweenNames, w.begin() + 2 * kNameChars);
    putWideName(w.data() + 2 * kNameChars + kBetweenNames, ansiName(a.data() + devmode::kFormName));
    std::copy_n(a.begin() + devmode::kLogPixels, kAfterForm, w.begin() + (kDevModeSizeW - kAfterForm));
    std::copy_n(a.begin() + kDevModeSizeA, extra, w.begin() + kDevModeSizeW);
    bytes_ = std::move(w);
    wide_ = true;
    setWord(devmode::kSize, kDevModeSizeW);
    setWord(devmode::kDriverExtra, uint16_t(extra));
}

void TmDeviceMode::toAnsi()
{
    const std::vector<uint8_t>& w = bytes_;
    const std::size_t extra = std::min<std::size_t>(DriverExtra(), w.size() - kDevModeSizeW);
    std::vector<uint8_t> a(kDevModeSizeA + extra, 0);
    putAnsiName(a.data(), wideName(w.data()));
    std::copy_n(w.begin() + 2 * kNameChars, kBetweenNames, a.begin() + kNameChars);
    putAnsiName(a.data() + devmode::kFormName, wideName(w.data() + 2 * kNameChars + kBetweenNames));
    std::copy_n(w.begin() + (kDevModeSizeW - kAfterForm), kAfterForm, a.begin() + devmode::kLogPixels);
    std::copy_n(w.begin() + kDevModeSizeW, extra, a.begin() + kDevModeSizeA);
    bytes_ = std::move(a);
    wide_ = false;
    setWord(devmode::kSize, kDevModeSizeA);
    setWord(devmode::kDriverExtra, uint16_t(extra));
}

const std::vector<uint8_t>& TmDeviceMode::GetDevModeA()
{
    if (wide_)
        toAnsi();
    return bytes_;
}

const std::vector<uint8_t>& TmDeviceMode::GetDevModeW()
{
    if (!wide_)
        toWide();
    return bytes_;
}

}  // namespace orvella
