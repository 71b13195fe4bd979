#include "formats/share_lock.h"

#include "formats/storage_error.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvella {

// One open description per locked file and process, with the number of
// shared and exclusive holders; the lock follows the strongest holder.
struct TShareLock::TLockedFile {
    using TKey = std::pair<dev_t, ino_t>;
    int fd = -1;
    TKey key;
    int shared = 0;
    int exclusive = 0;
};

namespace {

using TLockedFile = TShareLock::TLockedFile;

// Holders may live on the picture loading thread too.
std::mutex& tableLock()
{
    static std::mutex lock;
    return lock;
}

std::map<TLockedFile::TKey, std::shared_ptr<TLockedFile>>& table()
{
    static std::map<TLockedFile::TKey, std::shared_ptr<TLockedFile>> files;
    return files;
}

// False when another process holds a conflicting lock. A file system
// without advisory locks locks nothing: sharing is then not enforced.
bool lockFile(int fd, int operation, const std::string& fileName)
{
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return false;
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS)
            return true;
        throw EStorageError(TStorageCode::AccessDenied, fileName);
    }
}

}  // namespace

TShareLock::TShareLock(const std::string& fileName, TShareKind kind) : kind_(kind)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EStorageError(errno == ENOENT ? TStorageCode::FileNotFound : TStorageCode::AccessDenied, fileName);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        throw EStorageError(TStorageCode::AccessDenied, fileName);
    }
    const TLockedFile::TKey key{info.st_dev, info.st_ino};

    std::lock_guard guard(tableLock());
    std::shared_ptr<TLockedFile> file;
    if (const auto found = table().find(key); found != table().end()) {
        ::close(fd);  // a lock of this process on the file: share it
        file = found->second;
    } else {
        file = std::make_shared<TLockedFile>();
        file->fd = fd;
        file->key = key;
    }
    const bool fresh = file->shared == 0 && file->exclusive == 0;
    bool locked = true;
    try {
        if (kind == TShareKind::Exclusive && file->exclusive == 0) {
            locked = lockFile(file->fd, LOCK_EX, fileName);
            // A refused upgrade may have dropped the shared lock: take it back.
            if (!locked && !fresh)
                lockFile(file->fd, LOCK_SH, fileName);
        } else if (kind == TShareKind::Shared && fresh) {
            locked = lockFile(file->fd, LOCK_SH, fileName);
        }
    } catch (...) {
        if (fresh)
            ::close(file->fd);
        throw;
    }
    if (!locked) {
        if (fresh)
            ::close(file->fd);
        throw EStorageError(TStorageCode::ShareViolation, fileName);
    }
    ++(kind == TShareKind::Exclusive ? file->exclusive : file->shared);
    table()[key] = file;
    file_ = std::move(file);
}

TShareLock::~TShareLock()
{
    std::lock_guard guard(tableLock());
    --(kind_ == TShareKind::Exclusive ? file_->exclusive : file_->shared);
    if (file_->exclusive == 0 && file_->shared == 0) {
        ::close(file_->fd);
        table().erase(file_->key);
    } else if (kind_ == TShareKind::Exclusive && file_->exclusive == 0) {
        ::flock(file_->fd, LOCK_SH | LOCK_NB);
    }
}

TShareKind HoldKindFor(const std::string& fileName)
{
    return ::access(fileName.c_str(), W_OK) == 0 ? TShareKind::Exclusive : TShareKind::Shared;
}

}  // namespace orvella
