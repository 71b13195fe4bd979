#pragma once
// Sharing between processes: an advisory lock on a storage's file, held as
// long as the storage keeps the file. A writer holds it exclusively, a
// reader shared, so a second writer (or a reader of a file that someone
// holds for writing) is refused with the sharing error. Within one process
// every holder of a file shares one lock: the process does not refuse
// itself. Files are replaced by renaming, so a lock belongs to the file as
// it was opened; after replacing it, a holder locks the new file.

#include <memory>
#include <string>

namespace orvella {

enum class TShareKind { Shared, Exclusive };

class TShareLock {
public:
    // Locks the file without waiting. A conflicting lock of another process
    // raises EStorageError with ShareViolation; a missing file FileNotFound.
    TShareLock(const std::string& fileName, TShareKind kind);
    ~TShareLock();
    TShareLock(const TShareLock&) = delete;
    TShareLock& operator=(const TShareLock&) = delete;

    TShareKind Kind() const { return kind_; }

    struct TLockedFile;

private:
    std::shared_ptr<TLockedFile> file_;
    TShareKind kind_;
};

// The lock a holder of a file should take: exclusive when this user may
// write the file, shared otherwise (so that a read-only file, a template of
// the program folder say, never keeps other users out).
TShareKind HoldKindFor(const std::string& fileName);

}  // namespace orvella
