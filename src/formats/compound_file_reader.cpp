#include "formats/compound_file.h"

#include "formats/compound_file_layout.h"
#include "formats/storage_error.h"
#include "platform/utf8.h"

#include <algorithm>
#include <span>
#include <cstring>
#include <string>

namespace orvella {

using namespace cfb;

namespace {

// Deeper nesting than this is refused: no real document comes near it, and
// the element tree is walked recursively.
constexpr int kMaxDepth = 256;

[[noreturn]] void corrupt(const std::string& what) { throw EStorageError(TStorageCode::DocfileCorrupt, what); }

uint16_t u16(std::span<const uint8_t> b, std::size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }
uint32_t u32(std::span<const uint8_t> b, std::size_t at)
{
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}
uint64_t u64(std::span<const uint8_t> b, std::size_t at) { return uint64_t(u32(b, at)) | (uint64_t(u32(b, at + 4)) << 32); }

struct DirectoryEntry {
    std::string name;
    uint8_t type = 0;
    uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    TClassId classId{};
    uint32_t stateBits = 0;
    uint64_t created = 0, modified = 0;
    uint32_t start = 0;
    uint64_t size = 0;
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> file) : file_(file) {}

    std::unique_ptr<TStorageElement> Read()
    {
        readHeader();
        readFat();
        readDirectory();
        readMiniStream();
        std::vector<bool> seen(entries_.size(), false);
        auto root = std::make_unique<TStorageElement>();
        fillElement(*root, 0, seen, 0);
        return root;
    }

private:
    void readHeader()
    {
        if (file_.size() < 512 || std::memcmp(file_.data(), kSignature, 8) != 0)
            throw EStorageError(TStorageCode::InvalidHeader);
        const uint16_t major = u16(file_, 26);
        const uint16_t shift = u16(file_, 30);
        if (u16(file_, 28) != 0xFFFE || (major != 3 && major != 4))
            corrupt("unsupported version or byte order");
        if ((major == 3 && shift != 9) || (major == 4 && shift != 12) || u16(file_, 32) != 6)
            corrupt("sector size does not match the version");
        if (u32(file_, 56) != kMiniStreamCutoff)
            corrupt("mini stream cutoff is not 4096");
        sectorSize_ = 1u << shift;
        // Sector n starts at (n + 1) * sectorSize; a short last sector reads as zero-padded.
        sectorCount_ = file_.size() <= sectorSize_ ? 0 : (file_.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_;
        fatSectors_ = u32(file_, 44);
        firstDirectory_ = u32(file_, 48);
        firstMiniFat_ = u32(file_, 60);
        miniFatSectors_ = u32(file_, 64);
        firstDifat_ = u32(file_, 68);
        difatSectors_ = u32(file_, 72);
        if (fatSectors_ > sectorCount_ || difatSectors_ > sectorCount_ || miniFatSectors_ > sectorCount_)
            corrupt("sector counts exceed the file");
    }

    // The bytes of one sector, zero-padded past the end of the file.
    std::span<const uint8_t> sector(uint32_t index)
    {
        if (index >= sectorCount_)
            corrupt("sector " + std::to_string(index) + " lies outside the file");
        const std::size_t start = (std::size_t(index) + 1) * sectorSize_;
        if (start + sectorSize_ <= file_.size())
            return file_.subspan(start, sectorSize_);
        padded_.assign(sectorSize_, 0);
        std::copy(file_.begin() + std::ptrdiff_t(start), file_.end(), padded_.begin());
        return padded_;
    }

    void readFat()
    {
        std::vector<uint32_t> fatLocations;
        for (uint32_t i = 0; i < kHeaderDifatEntries && fatLocations.size() < fatSectors_; ++i)
            fatLocations.push_back(u32(file_, 76 + 4 * i));
        const uint32_t perDifat = sectorSize_ / 4 - 1;
        uint32_t next = firstDifat_;
        for (uint32_t n = 0; n < difatSectors_ && fatLocations.size() < fatSectors_; ++n) {
            if (next > kMaxRegularSector)
                corrupt("DIFAT chain ends early");
            const auto difatSector = sector(next);
            const std::vector<uint8_t> difat(difatSector.begin(), difatSector.end());
            for (uint32_t i = 0; i < perDifat && fatLocations.size() < fatSectors_; ++i)
                fatLocations.push_back(u32(difat, 4 * i));
            next = u32(difat, 4 * perDifat);
        }
        if (fatLocations.size() < fatSectors_)
            corrupt("the FAT is incomplete");
        fat_.reserve(std::size_t(fatSectors_) * (sectorSize_ / 4));
        for (uint32_t location : fatLocations) {
            const auto bytes = sector(location);
            for (uint32_t i = 0; i < sectorSize_ / 4; ++i)
                fat_.push_back(u32(bytes, 4 * i));
        }
    }

    // The sectors of a chain, checked for loops and for running outside the
    // file. With `claimed`, each sector may belong to one chain only, so that
    // streams sharing sectors cannot make the reader allocate more than the
    // file holds.
    std::vector<uint32_t> chain(uint32_t first, const std::vector<uint32_t>& table, uint64_t limit, const char* what,
                                std::vector<bool>* claimed = nullptr)
    {
        std::vector<uint32_t> sectors;
        uint32_t current = first;
        while (current != kEndOfChain) {
            if (current >= table.size() || current > kMaxRegularSector)
                corrupt(std::string(what) + " chain leaves the table");
            if (sectors.size() >= limit)
                corrupt(std::string(what) + " chain loops or is too long");
            if (claimed) {
                if (current >= claimed->size())
                    claimed->resize(std::size_t(current) + 1, false);
                if ((*claimed)[current])
                    corrupt(std::string(what) + " shares sectors with another stream");
                (*claimed)[current] = true;
            }
            sectors.push_back(current);
            current = table[current];
        }
        return sectors;
    }

    std::string readChain(uint32_t first, uint64_t size, const char* what)
    {
        if (size > sectorCount_ * sectorSize_)
            corrupt(std::string(what) + " is larger than the file");
        const uint64_t needed = (size + sectorSize_ - 1) / sectorSize_;
        std::vector<uint32_t> sectors = first == kEndOfChain && size == 0
                                            ? std::vector<uint32_t>{}
                                            : chain(first, fat_, sectorCount_, what, &claimedSectors_);
        if (sectors.size() < needed)
            corrupt(std::string(what) + " is shorter than its size");
        std::string bytes(std::size_t(size), '\0');
        for (uint64_t i = 0; i < needed; ++i) {
            const auto data = sector(sectors[std::size_t(i)]);
            const std::size_t at = std::size_t(i) * sectorSize_;
            std::memcpy(bytes.data() + at, data.data(), std::min<std::size_t>(sectorSize_, bytes.size() - at));
        }
        return bytes;
    }

    void readDirectory()
    {
        const std::vector<uint32_t> sectors = chain(firstDirectory_, fat_, sectorCount_, "directory");
        std::vector<uint8_t> bytes;
        for (uint32_t index : sectors) {
            const auto data = sector(index);
            bytes.insert(bytes.end(), data.begin(), data.end());
        }
        const std::size_t count = bytes.size() / kDirectoryEntrySize;
        if (count == 0)
            corrupt("no root entry");
        entries_.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::span<const uint8_t> e(bytes.data() + i * kDirectoryEntrySize, kDirectoryEntrySize);
            DirectoryEntry& entry = entries_[i];
            entry.type = e[66];
            const uint16_t nameBytes = u16(e, 64);
            if (entry.type != 0) {
                if (nameBytes < 2 || nameBytes > 64 || nameBytes % 2 != 0)
                    corrupt("entry " + std::to_string(i) + " has a bad name length");
                std::u16string name;
                for (uint16_t k = 0; k + 2 < nameBytes; k += 2)
                    name += char16_t(u16(e, k));
                entry.name = Utf16ToUtf8(name);
            }
            entry.left = u32(e, 68);
            entry.right = u32(e, 72);
            entry.child = u32(e, 76);
            std::copy(e.begin() + 80, e.begin() + 96, entry.classId.begin());
            entry.stateBits = u32(e, 96);
            entry.created = u64(e, 100);
            entry.modified = u64(e, 108);
            entry.start = u32(e, 116);
            entry.size = u64(e, 120);
            if (sectorSize_ == 512)
                entry.size &= 0xFFFFFFFFu;  // version 3 leaves the high half undefined
        }
        if (entries_[0].type != uint8_t(TElementType::Root))
            corrupt("the first entry is not the root");
    }

    void readMiniStream()
    {
        const DirectoryEntry& root = entries_[0];
        if (root.size == 0)
            return;
        miniStream_ = readChain(root.start, root.size, "mini stream");
        if (miniFatSectors_ == 0)
            return;  // a small stream, if any, will find no mini FAT and be refused
        const std::vector<uint32_t> sectors = chain(firstMiniFat_, fat_, sectorCount_, "mini FAT");
        for (uint32_t index : sectors) {
            const auto bytes = sector(index);
            for (uint32_t i = 0; i < sectorSize_ / 4; ++i)
                miniFat_.push_back(u32(bytes, 4 * i));
        }
    }

    std::string readStream(const DirectoryEntry& entry)
    {
        if (entry.size >= kMiniStreamCutoff)
            return readChain(entry.start, entry.size, "stream");
        const uint64_t needed = (entry.size + kMiniSectorSize - 1) / kMiniSectorSize;
        const std::vector<uint32_t> sectors = entry.size == 0 ? std::vector<uint32_t>{}
                                                              : chain(entry.start, miniFat_, miniFat_.size(), "mini stream", &claimedMiniSectors_);
        if (sectors.size() < needed)
            corrupt("a small stream is shorter than its size");
        std::string bytes(std::size_t(entry.size), '\0');
        for (uint64_t i = 0; i < needed; ++i) {
            const std::size_t offset = std::size_t(sectors[std::size_t(i)]) * kMiniSectorSize;
            if (offset + kMiniSectorSize > miniStream_.size())
                corrupt("a small stream lies outside the mini stream");
            const std::size_t at = std::size_t(i) * kMiniSectorSize;
            std::memcpy(bytes.data() + at, miniStream_.data() + offset,
                        std::min<std::size_t>(kMiniSectorSize, bytes.size() - at));
        }
        return bytes;
    }

    void fillElement(TStorageElement& element, uint32_t index, std::vector<bool>& seen, int depth)
    {
        const DirectoryEntry& entry = entries_[index];
        element.Name = entry.name;
        element.Type = TElementType(entry.type);
        element.ClassId = entry.classId;
        element.StateBits = entry.stateBits;
        element.CreationTime = entry.created;
        element.ModificationTime = entry.modified;
        if (entry.type == uint8_t(TElementType::Stream)) {
            element.Data = readStream(entry);
            return;
        }
        if (depth > kMaxDepth)
            corrupt("storages are nested too deeply");
        // Walk the sibling tree without recursion; every entry may appear
        // once. The children are sorted once at the end: the walk meets
        // them in no useful order.
        std::vector<std::unique_ptr<TStorageElement>> children;
        std::vector<uint32_t> pending;
        if (entry.child != kNoStream)
            pending.push_back(entry.child);
        while (!pending.empty()) {
            const uint32_t current = pending.back();
            pending.pop_back();
            if (current >= entries_.size() || current == 0)
                corrupt("a directory link points outside the directory");
            if (seen[current])
                corrupt("the directory links an entry twice");
            seen[current] = true;
            const DirectoryEntry& child = entries_[current];
            if (child.type != uint8_t(TElementType::Storage) && child.type != uint8_t(TElementType::Stream))
                corrupt("a directory link points to an unused entry");
            if (child.left != kNoStream)
                pending.push_back(child.left);
            if (child.right != kNoStream)
                pending.push_back(child.right);
            auto made = std::make_unique<TStorageElement>();
            fillElement(*made, current, seen, depth + 1);
            children.push_back(std::move(made));
        }
        std::sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
            return CompareUpperNames(a->UpperName(), b->UpperName()) < 0;
        });
        for (std::size_t i = 1; i < children.size(); ++i)
            if (CompareUpperNames(children[i - 1]->UpperName(), children[i]->UpperName()) == 0)
                corrupt("two elements named " + children[i]->Name);
        for (auto& child : children)
            element.Children.push_back(std::move(child));
    }

    std::span<const uint8_t> file_;
    std::vector<uint8_t> padded_;
    uint32_t sectorSize_ = 512;
    uint64_t sectorCount_ = 0;
    uint32_t fatSectors_ = 0, firstDirectory_ = 0, firstMiniFat_ = 0, miniFatSectors_ = 0;
    uint32_t firstDifat_ = 0, difatSectors_ = 0;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::string miniStream_;
    std::vector<bool> claimedSectors_;
    std::vector<bool> claimedMiniSectors_;
    std::vector<DirectoryEntry> entries_;
};

}  // namespace

bool IsCompoundFile(std::string_view bytes)
{
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

std::unique_ptr<TStorageElement> ReadCompoundFile(std::string_view bytes)
{
    return Reader(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())).Read();
}

}  // namespace orvella
