#pragma once
// The one reader of untrusted stored bytes: every read checks what remains
// before it touches or allocates anything, and running short raises
// EReadError ("ストリームからの読み込みエラー") instead of reading past the end.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvella {

class TByteReader {
public:
    explicit TByteReader(std::string_view bytes) noexcept : bytes_(bytes) {}

    std::size_t Position() const noexcept { return position_; }
    std::size_t Size() const noexcept { return bytes_.size(); }
    std::size_t Remaining() const noexcept { return bytes_.size() - position_; }
    bool AtEnd() const noexcept { return position_ == bytes_.size(); }

    std::uint8_t ReadU8();
    std::uint8_t PeekU8() const;
    std::int8_t ReadI8() { return std::int8_t(ReadU8()); }
    std::uint16_t ReadU16();
    std::int16_t ReadI16() { return std::int16_t(ReadU16()); }
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return std::int32_t(ReadU32()); }
    std::uint64_t ReadU64();
    std::int64_t ReadI64() { return std::int64_t(ReadU64()); }

    // count bytes, checked against what remains before anything is copied.
    std::string_view ReadBytes(std::size_t count);
    void Skip(std::size_t count) { ReadBytes(count); }

    // A 32-bit length in front of count units of unitSize bytes; a negative
    // length or one longer than what remains is a format error.
    std::size_t ReadLength32(std::size_t unitSize = 1);

    // The rest of the bytes, from the current position.
    std::string_view Rest() const noexcept { return bytes_.substr(position_); }

    [[noreturn]] static void Fail(const char* message);

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace orvella
