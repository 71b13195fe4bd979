#include "formats/array_data.h"

#include "formats/storage_error.h"

#include <cstring>
#include <stdexcept>

namespace orvella {

namespace {

uint32_t readU32(std::string_view bytes, std::size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | (uint32_t(uint8_t(bytes[at + 1])) << 8) |
           (uint32_t(uint8_t(bytes[at + 2])) << 16) | (uint32_t(uint8_t(bytes[at + 3])) << 24);
}

void appendU32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += char(uint8_t(value >> shift));
}

}  // namespace

void TArrayData::SetElementSize(uint32_t size)
{
    if (size == 0)
        throw std::invalid_argument("array element size must be positive");
    elementSize_ = size;
    count_ = 0;
    data_.assign(size, char(0));
}

void TArrayData::SetCount(int32_t count)
{
    count_ = count < 0 ? 0 : count;
    const std::size_t records = count_ > 0 ? std::size_t(count_) : 1;
    data_.resize(records * elementSize_, char(0));
}

uint8_t* TArrayData::Item(int32_t index)
{
    if (index < 0)
        return nullptr;
    if (index >= count_)
        SetCount(index + 1);
    return reinterpret_cast<uint8_t*>(data_.data()) + std::size_t(index) * elementSize_;
}

uint8_t* TArrayData::Insert(int32_t index)
{
    if (index < 0 || index > count_)
        throw std::out_of_range("array insert index out of range");
    SetCount(count_ + 1);
    uint8_t* base = reinterpret_cast<uint8_t*>(data_.data());
    const std::size_t at = std::size_t(index) * elementSize_;
    std::memmove(base + at + elementSize_, base + at, std::size_t(count_ - 1 - index) * elementSize_);
    std::memset(base + at, 0, elementSize_);
    return base + at;
}

std::string TArrayData::SaveToBytes() const
{
    std::string out;
    appendU32(out, elementSize_);
    appendU32(out, uint32_t(count_));
    out.append(data_.data(), std::size_t(count_) * elementSize_);
    return out;
}

void TArrayData::LoadFromBytes(std::string_view bytes)
{
    if (bytes.size() < 8)
        throw EStorageError(TStorageCode::DocfileCorrupt, "array data is truncated");
    const uint32_t size = readU32(bytes, 0);
    const uint32_t count = readU32(bytes, 4);
    if (size == 0 || count > 0x7FFFFFFF || uint64_t(size) * count > bytes.size() - 8)
        throw EStorageError(TStorageCode::DocfileCorrupt, "array data sizes do not match its bytes");
    SetElementSize(size);
    SetCount(int32_t(count));
    std::memcpy(data_.data(), bytes.data() + 8, std::size_t(size) * count);
}

int32_t TIntArray::Get(int32_t index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("integer array index out of range");
    int32_t value;
    std::memcpy(&value, const_cast<TIntArray*>(this)->Item(index), 4);
    return value;
}

void TIntArray::Put(int32_t index, int32_t value) { std::memcpy(Item(index), &value, 4); }

}  // namespace orvella
