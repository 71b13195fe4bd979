#include "formats/byte_reader.h"

#include "formats/stream_format.h"

namespace orvella {

void TByteReader::Fail(const char* message)
{
    throw EReadError(message);
}

std::uint8_t TByteReader::ReadU8()
{
    if (position_ >= bytes_.size())
        Fail(stream_message::kReadError);
    return std::uint8_t(bytes_[position_++]);
}

std::uint8_t TByteReader::PeekU8() const
{
    if (position_ >= bytes_.size())
        Fail(stream_message::kReadError);
    return std::uint8_t(bytes_[position_]);
}

std::uint16_t TByteReader::ReadU16()
{
    const std::string_view b = ReadBytes(2);
    return std::uint16_t(std::uint8_t(b[0]) | (std::uint8_t(b[1]) << 8));
}

std::uint32_t TByteReader::ReadU32()
{
    const std::string_view b = ReadBytes(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | std::uint8_t(b[i]);
    return value;
}

std::uint64_t TByteReader::ReadU64()
{
    const std::string_view b = ReadBytes(8);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | std::uint8_t(b[i]);
    return value;
}

std::string_view TByteReader::ReadBytes(std::size_t count)
{
    if (count > Remaining())
        Fail(stream_message::kReadError);
    const std::string_view result = bytes_.substr(position_, count);
    position_ += count;
    return result;
}

std::size_t TByteReader::ReadLength32(std::size_t unitSize)
{
    const std::int32_t length = ReadI32();
    if (length < 0 || std::size_t(length) > Remaining() / unitSize)
        Fail(stream_message::kReadError);
    return std::size_t(length);
}

}  // namespace orvella
