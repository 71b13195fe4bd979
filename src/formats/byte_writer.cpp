#include "formats/byte_writer.h"

namespace orvella {

void TByteWriter::WriteU16(std::uint16_t value)
{
    WriteU8(std::uint8_t(value));
    WriteU8(std::uint8_t(value >> 8));
}

void TByteWriter::WriteU32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        WriteU8(std::uint8_t(value >> (8 * i)));
}

void TByteWriter::WriteU64(std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        WriteU8(std::uint8_t(value >> (8 * i)));
}

void TByteWriter::PatchU32(std::size_t position, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out_[position + i] = char(std::uint8_t(value >> (8 * i)));
}

}  // namespace orvella
