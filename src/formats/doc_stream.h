#pragma once
// A byte stream over one stream element of a compound file: read, write,
// seek and set size, as the program's stream interface offers them.

#include "formats/doc_storage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvella {

enum class TSeekOrigin { Begin, Current, End };

class TDocStream {
public:
    // Opens the parent storage of `path` below `storage` (creating missing
    // storages when mode is dmCreate), then creates the stream (dmCreate:
    // replacing one of that name) or opens it with the mode.
    TDocStream(TDocStorage& storage, uint32_t mode, std::string_view path);
    ~TDocStream();
    TDocStream(const TDocStream&) = delete;
    TDocStream& operator=(const TDocStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* buffer, std::size_t count);
    // Returns the new position; a position before the start is refused.
    uint64_t Seek(int64_t offset, TSeekOrigin origin);
    uint64_t Position() const { return position_; }
    uint64_t Size() const;
    // Moves the position to the new size first, then resizes.
    void SetSize(uint64_t size);

    // The whole stream, and replacing the whole stream.
    std::string ReadAll();
    void WriteAll(std::string_view bytes);

private:
    std::unique_ptr<TDocStorage> parent_;
    std::shared_ptr<TOpenElement> stream_;
    bool writable_;
    uint64_t position_ = 0;
};

}  // namespace orvella
