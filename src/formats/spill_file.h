#pragma once
// The private temporary file a temporary storage moves large stream bytes
// to: created in the temporary folder with a name beginning with "mtf",
// readable by this user only, and unlinked at once, so that it is gone on
// every way out, a crash included. Bytes are appended; the space of bytes
// no longer needed is given back to the file system.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace orvella {

class TSpillFile {
public:
    // Raises EStorageError when no temporary file can be made.
    static std::shared_ptr<TSpillFile> Create();
    ~TSpillFile();
    TSpillFile(const TSpillFile&) = delete;
    TSpillFile& operator=(const TSpillFile&) = delete;

    // Where the bytes went.
    uint64_t Append(std::string_view bytes);
    void Read(uint64_t offset, void* buffer, std::size_t count) const;
    void Release(uint64_t offset, uint64_t count);
    uint64_t BytesHeld() const { return held_; }

private:
    explicit TSpillFile(int fd) : fd_(fd) {}
    int fd_;
    uint64_t end_ = 0;
    uint64_t held_ = 0;
};

}  // namespace orvella
