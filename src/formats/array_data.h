#pragma once
// A growable block of fixed-size records with a simple stored form: the
// record size (4 bytes), the count (4 bytes), then size x count bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvella {

class TArrayData {
public:
    explicit TArrayData(uint32_t elementSize = 1) { SetElementSize(elementSize); }

    uint32_t ElementSize() const { return elementSize_; }
    // Clears the data.
    void SetElementSize(uint32_t size);
    int32_t Count() const { return count_; }
    // New records are zeroed; a count of 0 or less keeps room for one record.
    void SetCount(int32_t count);
    // The record at index, growing the count to index + 1 when needed; null
    // for a negative index.
    uint8_t* Item(int32_t index);
    // Grows by one record at index, shifting the tail.
    uint8_t* Insert(int32_t index);
    void Clear() { SetCount(0); }
    void Assign(const TArrayData& other) { *this = other; }

    std::string SaveToBytes() const;
    // Sizes are checked against the bytes before anything is allocated.
    void LoadFromBytes(std::string_view bytes);

private:
    uint32_t elementSize_ = 1;
    int32_t count_ = 0;
    std::string data_;
};

class TIntArray : public TArrayData {
public:
    TIntArray() : TArrayData(4) {}
    int32_t Get(int32_t index) const;
    void Put(int32_t index, int32_t value);
};

}  // namespace orvella
