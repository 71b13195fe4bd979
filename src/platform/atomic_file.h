#pragma once
// Replacing a file so that a crash or a full disk never leaves it half
// written: the new content goes to a temporary file beside the target, is
// flushed to disk, and only then renamed over the target. Readers see either
// the old file or the new one.

#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <sys/types.h>

namespace orvella {

class EAtomicFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A temporary file beside `target`, renamed over it by Commit(). A writer that
// needs a path (a library writing the file itself) writes to TempPath(); one
// that has bytes calls Write(). Destroyed uncommitted, the temporary file is
// removed and the target is left as it was.
class TAtomicFile {
public:
    explicit TAtomicFile(std::filesystem::path target, mode_t mode = 0644);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    const std::filesystem::path& TempPath() const noexcept { return tempPath_; }
    void Write(std::string_view bytes);
    // Flushes the temporary file to disk and renames it over the target.
    void Commit();

private:
    std::filesystem::path target_;
    std::filesystem::path tempPath_;
    int fd_ = -1;
    bool committed_ = false;
};

// Replaces `target` with `bytes`; raises EAtomicFile when it cannot.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes, mode_t mode = 0644);

}  // namespace orvella
