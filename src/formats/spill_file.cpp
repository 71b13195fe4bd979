#include "formats/spill_file.h"

#include "formats/storage_element.h"
#include "formats/storage_error.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella {

std::shared_ptr<TSpillFile> TSpillFile::Create()
{
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/mtfXXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw EStorageError(TStorageCode::AccessDenied, pattern);
    ::unlink(pattern.c_str());
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    return std::shared_ptr<TSpillFile>(new TSpillFile(fd));
}

TSpillFile::~TSpillFile() { ::close(fd_); }

uint64_t TSpillFile::Append(std::string_view bytes)
{
    const uint64_t offset = end_;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw EStorageError(errno == ENOSPC ? TStorageCode::MediumFull : TStorageCode::WriteFault, "mtf");
        done += std::size_t(written);
    }
    end_ += bytes.size();
    held_ += bytes.size();
    return offset;
}

void TSpillFile::Read(uint64_t offset, void* buffer, std::size_t count) const
{
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t read = ::pread(fd_, out + done, count - done, off_t(offset + done));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            throw EStorageError(TStorageCode::ReadFault, "mtf");
        done += std::size_t(read);
    }
}

void TSpillFile::Release(uint64_t offset, uint64_t count)
{
    held_ -= count;
    // Best effort: a file system that cannot punch holes keeps the space
    // until the file goes.
    ::fallocate(fd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(count));
    if (held_ == 0) {
        [[maybe_unused]] const int truncated = ::ftruncate(fd_, 0);
        end_ = 0;
    }
}

// ---- TSpilledBytes

TSpilledBytes::TSpilledBytes(std::shared_ptr<TSpillFile> file, uint64_t offset, uint64_t size)
    : file_(std::move(file)), offset_(offset), size_(size)
{
}

TSpilledBytes::~TSpilledBytes() { file_->Release(offset_, size_); }

void TSpilledBytes::Read(uint64_t offset, void* buffer, std::size_t count) const
{
    if (offset > size_ || count > size_ - offset)
        throw EStorageError(TStorageCode::ReadFault, "mtf");
    file_->Read(offset_ + offset, buffer, count);
}

}  // namespace orvella
