#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella {

namespace {

[[noreturn]] void raise(const char* what, const std::filesystem::path& path, int error)
{
    throw EAtomicFile(std::string(what) + " " + path.string() + ": " + std::strerror(error));
}

}  // namespace

TAtomicFile::TAtomicFile(std::filesystem::path target, mode_t mode) : target_(std::move(target))
{
    std::string pattern = target_.string() + ".XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0)
        raise("cannot create a temporary file for", target_, errno);
    tempPath_ = pattern;
    // mkstemp makes the file 0600; the target's mode is set before any byte
    // is written, so a private file is never readable by others, not even briefly.
    if (fchmod(fd_, mode) != 0) {
        const int error = errno;
        ::close(fd_);
        ::unlink(tempPath_.c_str());
        raise("cannot set the mode of", tempPath_, error);
    }
}

TAtomicFile::~TAtomicFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(tempPath_.c_str());
}

void TAtomicFile::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            raise("cannot write", tempPath_, errno);
        }
        bytes.remove_prefix(std::size_t(written));
    }
}

void TAtomicFile::Commit()
{
    if (::fsync(fd_) != 0)
        raise("cannot flush", tempPath_, errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        raise("cannot close", tempPath_, errno);
    if (std::rename(tempPath_.c_str(), target_.c_str()) != 0)
        raise("cannot replace", target_, errno);
    committed_ = true;
}

void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes, mode_t mode)
{
    TAtomicFile file(target, mode);
    file.Write(bytes);
    file.Commit();
}

}  // namespace orvella
