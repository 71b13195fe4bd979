#include "formats/component_stream.h"

#include "formats/byte_writer.h"
#include "formats/component.h"
#include "formats/component_writer.h"
#include "formats/stream_format.h"
#include "platform/utf8.h"

namespace orvella {

namespace {

constexpr std::uint8_t kResMarker = 0xFF;
constexpr std::uint16_t kResTypeRawData = 10;
constexpr std::uint16_t kResMemoryFlags = 0x1030;
constexpr std::size_t kMaxResNameBytes = 63;

// ASCII letters only, character by character, so that no trail byte of a
// double-byte character is touched.
std::string resourceNameBytes(std::string_view name)
{
    std::string result;
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t length = Utf8CharLength(name, pos);
        std::string character(name.substr(pos, length));
        if (length == 1 && character[0] >= 'a' && character[0] <= 'z')
            character[0] = char(character[0] - 'a' + 'A');
        const std::string bytes = ToStreamText(character);
        if (result.size() + bytes.size() > kMaxResNameBytes)
            break;
        result += bytes;
        pos += length;
    }
    return result;
}

}  // namespace

void WriteResHeader(std::string& out, std::string_view resourceName)
{
    TByteWriter writer(out);
    writer.WriteU8(kResMarker);
    writer.WriteU16(kResTypeRawData);
    writer.WriteBytes(resourceNameBytes(resourceName));
    writer.WriteU8(0);
    writer.WriteU16(kResMemoryFlags);
    writer.WriteU32(0);
}

void ReadResHeader(TByteReader& in)
{
    if (in.Remaining() < 3 || in.ReadU8() != kResMarker || in.ReadU16() != kResTypeRawData)
        throw EReadError(stream_message::kInvalidImage);
    while (in.ReadU8() != 0) {
    }
    in.Skip(2 + 4);
}

bool HasResHeader(std::string_view bytes) noexcept
{
    return !bytes.empty() && std::uint8_t(bytes[0]) == kResMarker;
}

std::string WriteComponent(const TComponent& root)
{
    std::string out;
    TWriter(out).WriteRootComponent(root);
    return out;
}

std::string WriteComponentRes(std::string_view resourceName, const TComponent& root)
{
    std::string out;
    WriteResHeader(out, resourceName);
    const std::size_t sizePosition = out.size() - 4;
    TWriter(out).WriteRootComponent(root);
    TByteWriter(out).PatchU32(sizePosition, std::uint32_t(out.size() - sizePosition - 4));
    return out;
}

std::unique_ptr<TComponent> ReadComponent(TByteReader& in, TComponent* root, const TReaderHooks& hooks)
{
    return TReader(in, hooks).ReadRootComponent(root);
}

std::unique_ptr<TComponent> ReadComponent(std::string_view bytes, const TReaderHooks& hooks)
{
    TByteReader in(bytes);
    return ReadComponent(in, nullptr, hooks);
}

std::unique_ptr<TComponent> ReadComponentRes(std::string_view bytes, const TReaderHooks& hooks)
{
    TByteReader in(bytes);
    ReadResHeader(in);
    return ReadComponent(in, nullptr, hooks);
}

void ReadComponent(std::string_view bytes, TComponent& root, const TReaderHooks& hooks)
{
    TByteReader in(bytes);
    ReadComponent(in, &root, hooks);
}

void ReadComponentRes(std::string_view bytes, TComponent& root, const TReaderHooks& hooks)
{
    TByteReader in(bytes);
    ReadResHeader(in);
    ReadComponent(in, &root, hooks);
}

}  // namespace orvella
