#pragma once
// One element of a compound file held in memory: a storage with children or
// a stream with its bytes, with the class id, state bits and time stamps the
// file carries. Names are UTF-8 here and at most 31 UTF-16 units in the file.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

enum class TElementType : uint8_t { Storage = 1, Stream = 2, Root = 5 };

class TSpillFile;

// A stream's bytes moved out of memory into a spill file; read-only. The
// space goes back to the file when the last holder (a stream and its
// copies) lets go.
class TSpilledBytes {
public:
    TSpilledBytes(std::shared_ptr<TSpillFile> file, uint64_t offset, uint64_t size);
    ~TSpilledBytes();
    TSpilledBytes(const TSpilledBytes&) = delete;
    TSpilledBytes& operator=(const TSpilledBytes&) = delete;
    uint64_t Size() const { return size_; }
    void Read(uint64_t offset, void* buffer, std::size_t count) const;

private:
    std::shared_ptr<TSpillFile> file_;
    uint64_t offset_;
    uint64_t size_;
};

using TClassId = std::array<uint8_t, 16>;

struct TStorageElement {
    std::string Name;
    TElementType Type = TElementType::Storage;
    TClassId ClassId{};
    uint32_t StateBits = 0;
    uint64_t CreationTime = 0;      // FILETIME: 100 ns since 1601
    uint64_t ModificationTime = 0;
    std::string Data;               // streams only, unless spilled
    std::shared_ptr<const TSpilledBytes> Spilled;  // a stream's bytes when they left memory
    std::vector<std::unique_ptr<TStorageElement>> Children;  // storages only, in sorted order

    bool IsStorage() const { return Type != TElementType::Stream; }
    uint64_t StreamSize() const { return Spilled ? Spilled->Size() : Data.size(); }
    // The stream's bytes, wherever they are; and `count` of them from `offset`.
    std::string Bytes() const;
    void ReadBytes(uint64_t offset, void* buffer, std::size_t count) const;
    // Brings spilled bytes back into Data, before they change.
    void Unspill();
    // The child with this name (ignoring case), or null.
    TStorageElement* Find(std::string_view name) const;
    // Inserts keeping the children sorted; returns the inserted element.
    TStorageElement* Insert(std::unique_ptr<TStorageElement> child);
    // Removes and returns the child, or null when it is not there.
    std::unique_ptr<TStorageElement> Remove(const TStorageElement* child);
    std::unique_ptr<TStorageElement> Clone() const;
    // The name as the directory orders it: upper-cased UTF-16 code units,
    // kept until the name changes.
    const std::u16string& UpperName() const;

private:
    mutable std::u16string upper_;
    mutable std::string upperOf_;
};

// The order of a compound file's directory: shorter names first, then by the
// upper-cased UTF-16 code units.
int CompareElementNames(std::string_view a, std::string_view b);
// The same over names already upper-cased (TStorageElement::UpperName).
int CompareUpperNames(const std::u16string& a, const std::u16string& b);

// Refuses (with the invalid-name error) a name that is empty, longer than 31
// UTF-16 units, or holds \ / : or !.
void CheckElementName(std::string_view name);

// Now, as a FILETIME.
uint64_t CurrentFileTime();

}  // namespace orvella
