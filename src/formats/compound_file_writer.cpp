#include "formats/compound_file.h"

#include "formats/compound_file_layout.h"
#include "formats/storage_error.h"
#include "platform/utf8.h"

#include <algorithm>
#include <bit>

namespace orvella {

using namespace cfb;

namespace {

constexpr uint32_t kSectorSize = 512;
constexpr uint32_t kEntriesPerSector = kSectorSize / 4;

void put16(std::string& b, std::size_t at, uint16_t v)
{
    b[at] = char(v);
    b[at + 1] = char(v >> 8);
}
void put32(std::string& b, std::size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = char(v >> (8 * i));
}
void put64(std::string& b, std::size_t at, uint64_t v)
{
    put32(b, at, uint32_t(v));
    put32(b, at + 4, uint32_t(v >> 32));
}

uint32_t sectorsFor(uint64_t bytes, uint32_t size) { return uint32_t((bytes + size - 1) / size); }

struct Entry {
    const TStorageElement* element;
    uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    bool red = false;
    uint32_t start = kEndOfChain;
    uint64_t size = 0;
};

class Writer {
public:
    std::string Write(const TStorageElement& root)
    {
        entries_.push_back({&root});
        collect(0);
        placeStreams();
        return assemble();
    }

private:
    // Lists the children of entry `index` and links them as a balanced
    // binary tree in name order, coloured so that it is a valid red-black
    // tree: with median splits every level but the deepest is full, so the
    // deepest nodes can be red and all others black.
    void collect(std::size_t index)
    {
        const TStorageElement& element = *entries_[index].element;
        std::vector<uint32_t> ids;
        for (const auto& child : element.Children) {
            ids.push_back(uint32_t(entries_.size()));
            entries_.push_back({child.get()});
        }
        if (!ids.empty()) {
            const int deepest = std::bit_width(ids.size()) - 1;
            entries_[index].child = link(ids, 0, ids.size(), 0, deepest);
        }
        for (uint32_t id : ids)
            if (entries_[id].element->IsStorage())
                collect(id);
    }

    uint32_t link(const std::vector<uint32_t>& ids, std::size_t low, std::size_t high, int depth, int deepest)
    {
        if (low >= high)
            return kNoStream;
        const std::size_t middle = low + (high - low - 1) / 2;
        Entry& entry = entries_[ids[middle]];
        entry.red = depth == deepest && depth > 0;
        const uint32_t left = link(ids, low, middle, depth + 1, deepest);
        const uint32_t right = link(ids, middle + 1, high, depth + 1, deepest);
        entries_[ids[middle]].left = left;
        entries_[ids[middle]].right = right;
        return ids[middle];
    }

    void placeStreams()
    {
        for (std::size_t i = 1; i < entries_.size(); ++i) {
            Entry& entry = entries_[i];
            if (entry.element->IsStorage())
                continue;
            const uint64_t streamSize = entry.element->StreamSize();
            entry.size = streamSize;
            if (streamSize == 0)
                continue;
            if (streamSize < kMiniStreamCutoff) {
                const std::string data = entry.element->Bytes();
                const uint32_t first = uint32_t(miniStream_.size() / kMiniSectorSize);
                const uint32_t count = sectorsFor(data.size(), kMiniSectorSize);
                for (uint32_t k = 0; k < count; ++k)
                    miniFat_.push_back(k + 1 < count ? first + k + 1 : kEndOfChain);
                miniStream_.insert(miniStream_.end(), data.begin(), data.end());
                miniStream_.resize(std::size_t(first + count) * kMiniSectorSize, char(0));
                entry.start = first;
            } else {
                bigStreams_.push_back(i);
            }
        }
    }

    std::string assemble()
    {
        const uint32_t directorySectors = sectorsFor(uint64_t(entries_.size()) * kDirectoryEntrySize, kSectorSize);
        const uint32_t miniFatSectors = sectorsFor(uint64_t(miniFat_.size()) * 4, kSectorSize);
        const uint32_t miniStreamSectors = sectorsFor(miniStream_.size(), kSectorSize);
        uint64_t dataSectors = directorySectors + miniFatSectors + miniStreamSectors;
        for (std::size_t i : bigStreams_)
            dataSectors += sectorsFor(entries_[i].element->StreamSize(), kSectorSize);

        // The FAT must also cover its own sectors and those of the DIFAT.
        uint32_t fatSectors = 0;
        uint32_t difatSectors = 0;
        for (;;) {
            const uint64_t total = dataSectors + fatSectors + difatSectors;
            const uint32_t neededFat = sectorsFor(total * 4, kSectorSize);
            const uint32_t neededDifat =
                neededFat > kHeaderDifatEntries ? sectorsFor(neededFat - kHeaderDifatEntries, kEntriesPerSector - 1) : 0;
            if (neededFat == fatSectors && neededDifat == difatSectors)
                break;
            fatSectors = neededFat;
            difatSectors = neededDifat;
        }
        const uint64_t totalSectors = dataSectors + fatSectors + difatSectors;
        if (totalSectors >= kMaxRegularSector)
            throw EStorageError(TStorageCode::MediumFull, "compound file too large");

        std::vector<uint32_t> fat(std::size_t(fatSectors) * kEntriesPerSector, kFreeSector);
        uint32_t next = 0;
        auto allocate = [&](uint32_t count, uint32_t mark) {
            const uint32_t first = next;
            for (uint32_t k = 0; k < count; ++k)
                fat[first + k] = mark != 0 ? mark : (k + 1 < count ? first + k + 1 : kEndOfChain);
            next += count;
            return count == 0 ? kEndOfChain : first;
        };
        const uint32_t firstFat = allocate(fatSectors, kFatSector);
        const uint32_t firstDifat = allocate(difatSectors, kDifatSector);
        const uint32_t firstDirectory = allocate(directorySectors, 0);
        const uint32_t firstMiniFat = allocate(miniFatSectors, 0);
        entries_[0].start = allocate(miniStreamSectors, 0);
        entries_[0].size = miniStream_.size();
        for (std::size_t i : bigStreams_)
            entries_[i].start = allocate(sectorsFor(entries_[i].element->StreamSize(), kSectorSize), 0);

        std::string file(std::size_t(totalSectors + 1) * kSectorSize, char(0));
        writeHeader(file, fatSectors, firstFat, difatSectors, firstDifat, firstDirectory, miniFatSectors, firstMiniFat);
        writeDifat(file, fatSectors, firstFat, difatSectors, firstDifat);
        for (std::size_t i = 0; i < fat.size(); ++i)
            put32(file, offsetOf(firstFat) + 4 * i, fat[i]);
        writeDirectory(file, firstDirectory, directorySectors);
        for (std::size_t i = 0; i < miniFatSectors * std::size_t(kEntriesPerSector); ++i)
            put32(file, offsetOf(firstMiniFat) + 4 * i, i < miniFat_.size() ? miniFat_[i] : kFreeSector);
        std::copy(miniStream_.begin(), miniStream_.end(), file.begin() + std::ptrdiff_t(offsetOf(entries_[0].start)));
        for (std::size_t i : bigStreams_) {
            // Spilled bytes go straight from their file into the output.
            const TStorageElement& element = *entries_[i].element;
            element.ReadBytes(0, file.data() + offsetOf(entries_[i].start), std::size_t(element.StreamSize()));
        }
        return file;
    }

    static std::size_t offsetOf(uint32_t sector) { return (std::size_t(sector) + 1) * kSectorSize; }

    void writeHeader(std::string& file, uint32_t fatSectors, uint32_t firstFat, uint32_t difatSectors,
                     uint32_t firstDifat, uint32_t firstDirectory, uint32_t miniFatSectors, uint32_t firstMiniFat)
    {
        std::copy(std::begin(kSignature), std::end(kSignature), reinterpret_cast<uint8_t*>(file.data()));
        put16(file, 24, 0x003E);
        put16(file, 26, 3);
        put16(file, 28, 0xFFFE);
        put16(file, 30, 9);
        put16(file, 32, 6);
        put32(file, 44, fatSectors);
        put32(file, 48, firstDirectory);
        put32(file, 56, kMiniStreamCutoff);
        put32(file, 60, miniFatSectors ? firstMiniFat : kEndOfChain);
        put32(file, 64, miniFatSectors);
        put32(file, 68, difatSectors ? firstDifat : kEndOfChain);
        put32(file, 72, difatSectors);
        for (uint32_t i = 0; i < kHeaderDifatEntries; ++i)
            put32(file, 76 + 4 * i, i < fatSectors ? firstFat + i : kFreeSector);
    }

    void writeDifat(std::string& file, uint32_t fatSectors, uint32_t firstFat, uint32_t difatSectors,
                    uint32_t firstDifat)
    {
        uint32_t fatIndex = kHeaderDifatEntries;
        for (uint32_t d = 0; d < difatSectors; ++d) {
            const std::size_t at = offsetOf(firstDifat + d);
            for (uint32_t i = 0; i < kEntriesPerSector - 1; ++i, ++fatIndex)
                put32(file, at + 4 * i, fatIndex < fatSectors ? firstFat + fatIndex : kFreeSector);
            put32(file, at + 4 * (kEntriesPerSector - 1), d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
        }
    }

    void writeDirectory(std::string& file, uint32_t firstDirectory, uint32_t directorySectors)
    {
        const std::size_t base = offsetOf(firstDirectory);
        const std::size_t slots = std::size_t(directorySectors) * (kSectorSize / kDirectoryEntrySize);
        for (std::size_t i = 0; i < slots; ++i) {
            const std::size_t at = base + i * kDirectoryEntrySize;
            if (i >= entries_.size()) {
                put32(file, at + 68, kNoStream);
                put32(file, at + 72, kNoStream);
                put32(file, at + 76, kNoStream);
                continue;
            }
            const Entry& entry = entries_[i];
            const TStorageElement& element = *entry.element;
            const std::u16string name = i == 0 ? std::u16string(u"Root Entry") : Utf8ToUtf16(element.Name);
            if (name.size() > 31)
                throw EStorageError(TStorageCode::InvalidName, element.Name);
            for (std::size_t k = 0; k < name.size(); ++k)
                put16(file, at + 2 * k, uint16_t(name[k]));
            put16(file, at + 64, uint16_t((name.size() + 1) * 2));
            file[at + 66] = char(i == 0 ? TElementType::Root : element.Type);
            file[at + 67] = entry.red ? 0 : 1;
            put32(file, at + 68, entry.left);
            put32(file, at + 72, entry.right);
            put32(file, at + 76, entry.child);
            std::copy(element.ClassId.begin(), element.ClassId.end(), reinterpret_cast<uint8_t*>(file.data()) + at + 80);
            put32(file, at + 96, element.StateBits);
            if (element.IsStorage() && i != 0) {
                put64(file, at + 100, element.CreationTime);
                put64(file, at + 108, element.ModificationTime);
            } else if (i == 0) {
                put64(file, at + 108, element.ModificationTime);
            }
            put32(file, at + 116, element.IsStorage() && i != 0 ? 0 : entry.start);
            put64(file, at + 120, element.IsStorage() && i != 0 ? 0 : entry.size);
        }
    }

    std::vector<Entry> entries_;
    std::vector<uint32_t> miniFat_;
    std::string miniStream_;
    std::vector<std::size_t> bigStreams_;
};

}  // namespace

std::string WriteCompoundFile(const TStorageElement& root) { return Writer().Write(root); }

}  // namespace orvella
