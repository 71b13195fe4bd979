#pragma once
// Appends little-endian values to a byte buffer; the writing side of
// TByteReader.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvella {

class TByteWriter {
public:
    explicit TByteWriter(std::string& out) noexcept : out_(out) {}

    std::size_t Position() const noexcept { return out_.size(); }

    void WriteU8(std::uint8_t value) { out_ += char(value); }
    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);
    void WriteU64(std::uint64_t value);
    void WriteI8(std::int8_t value) { WriteU8(std::uint8_t(value)); }
    void WriteI16(std::int16_t value) { WriteU16(std::uint16_t(value)); }
    void WriteI32(std::int32_t value) { WriteU32(std::uint32_t(value)); }
    void WriteI64(std::int64_t value) { WriteU64(std::uint64_t(value)); }
    void WriteBytes(std::string_view bytes) { out_ += bytes; }

    // Overwrites four bytes written earlier (a size known only afterwards).
    void PatchU32(std::size_t position, std::uint32_t value);

private:
    std::string& out_;
};

}  // namespace orvella
