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

using TClassId = std::array<uint8_t, 16>;

struct TStorageElement {
    std::string Name;
    TElementType Type = TElementType::Storage;
    TClassId ClassId{};
    uint32_t StateBits = 0;
    uint64_t CreationTime = 0;      // FILETIME: 100 ns since 1601
    uint64_t ModificationTime = 0;
    std::string Data;               // streams only
    std::vector<std::unique_ptr<TStorageElement>> Children;  // storages only, in sorted order

    bool IsStorage() const { return Type != TElementType::Stream; }
    // The child with this name (ignoring case), or null.
    TStorageElement* Find(std::string_view name) const;
    // Inserts keeping the children sorted; returns the inserted element.
    TStorageElement* Insert(std::unique_ptr<TStorageElement> child);
    // Removes and returns the child, or null when it is not there.
    std::unique_ptr<TStorageElement> Remove(const TStorageElement* child);
    std::unique_ptr<TStorageElement> Clone() const;
};

// The order of a compound file's directory: shorter names first, then by the
// upper-cased UTF-16 code units.
int CompareElementNames(std::string_view a, std::string_view b);

// Refuses (with the invalid-name error) a name that is empty, longer than 31
// UTF-16 units, or holds \ / : or !.
void CheckElementName(std::string_view name);

// Now, as a FILETIME.
uint64_t CurrentFileTime();

}  // namespace orvella
