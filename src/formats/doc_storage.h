#pragma once
// The program's layer over compound files: storages and streams addressed by
// backslash paths, roots over a named file or over a temporary in-memory
// file, and a modification test. Documents are never edited in place: they
// are copied into a temporary root, and saving writes the whole tree to a
// new file that replaces the old one only once it is complete.

#include "formats/storage_tree.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

// File modes, combined by OR.
enum TDocMode : uint32_t {
    dmRead = 0,
    dmWrite = 1,
    dmReadWrite = 2,
    dmShareExclusive = 0x10,
    dmShareDenyWrite = 0x20,
    dmShareDenyRead = 0x30,
    dmShareDenyNone = 0x40,
    dmCreate = 0xFFFF,
};

class TRootStorage;
class TShareLock;

class TDocStorage {
public:
    // Opens the storage at `path` below `parent`; with createMissing, missing
    // storages on the way are created.
    TDocStorage(TDocStorage& parent, bool createMissing, std::string_view path);
    virtual ~TDocStorage();
    TDocStorage(const TDocStorage&) = delete;
    TDocStorage& operator=(const TDocStorage&) = delete;

    TRootStorage& Root() const { return *root_; }
    // Components of the absolute path inside the root (empty for the root).
    const std::vector<std::string>& PathComponents() const { return path_; }
    std::string Path() const;
    const TElementRef& Element() const { return element_; }

    bool StreamExists(std::string_view path);
    bool StorageExists(std::string_view path);
    bool DestroyElement(std::string_view path);
    void ListStorages(std::vector<std::string>& names) const;
    void ListStreams(std::vector<std::string>& names) const;
    void CopyTo(TDocStorage& destination) const;
    void MoveElement(std::string_view sourcePath, std::string_view destinationPath);
    void RenameElement(std::string_view oldName, std::string_view newName);

    // The absolute components of `path` taken from this storage.
    std::vector<std::string> Resolve(std::string_view path) const;

protected:
    explicit TDocStorage(TRootStorage& root);  // the root itself
    void attachRootElement(TElementRef element);

private:
    friend class TRootStorage;
    TRootStorage* root_;
    std::vector<std::string> path_;
    // The open storages from the root down to this one, shared with other
    // open storages of the same root that share a leading part of the path.
    std::vector<std::shared_ptr<TOpenElement>> chain_;
    TElementRef element_;
};

class TRootStorage : public TDocStorage {
public:
    ~TRootStorage() override;

    bool Writable() const;
    TStorageTree& Tree() const { return *tree_; }
    // The element at absolute components (storages only), or invalid.
    TElementRef Find(const std::vector<std::string>& components) const;

    bool IsModified() const;
    void MarkSaved();
    void MarkModified();

protected:
    TRootStorage();
    void setTree(std::shared_ptr<TStorageTree> tree);

private:
    friend class TDocStorage;
    // Opens the storage chain for `components`, reusing the chains of the
    // open storages that share the longest leading part with it.
    std::vector<std::shared_ptr<TOpenElement>> openChain(const std::vector<std::string>& components, bool createMissing);
    void registerStorage(TDocStorage* storage);
    void unregisterStorage(TDocStorage* storage);

    std::shared_ptr<TStorageTree> tree_;
    std::vector<TDocStorage*> openStorages_;
    uint64_t snapshot_ = 0;
    bool snapshotValid_ = false;
};

// A root over a named file. Changes are kept in memory until Commit writes
// the file through a temporary file and a rename. The file is locked against
// other processes while the root exists: exclusively when it is open for
// writing or created, shared when it is read (unless the mode shares with
// everyone); a conflicting lock refuses the open with the sharing error.
// Changes still uncommitted when the root goes are committed, unless an
// exception is on its way (then they are dropped); either failure goes to
// the storage failure report.
class TFileStorage : public TRootStorage {
public:
    TFileStorage(const std::string& fileName, uint32_t mode);
    ~TFileStorage() override;
    const std::string& FileName() const { return fileName_; }
    void Commit();

private:
    std::string fileName_;
    bool created_ = false;
    std::unique_ptr<TShareLock> lock_;
    int uncaught_ = 0;
};

// A root over a private compound file that goes away with the object. It
// lives in memory while its streams are small; past the spill threshold the
// largest closed streams move to a private temporary file ("mtf..." in the
// temporary folder, mode 0600, unlinked as soon as it is made).
class TTemporaryStorage : public TRootStorage {
public:
    // 32 MiB: an ordinary document (texts, shapes, a few pictures) stays
    // well below it and keeps memory speed; documents full of photographs
    // keep at most this much of their streams in memory.
    static constexpr uint64_t kDefaultSpillThreshold = uint64_t(32) << 20;

    explicit TTemporaryStorage(uint64_t spillThreshold = kDefaultSpillThreshold);
    ~TTemporaryStorage() override;
    // Reading refuses a file another process holds for writing. With hold,
    // the file stays locked (exclusively, when this user may write it) until
    // another file is loaded, or the root goes: the document or catalog is
    // open.
    void LoadFromFile(const std::string& fileName, bool hold = false);
    // Refuses a file another process holds. With hold, or when the root
    // already holds a file, the saved file is held from then on.
    void SaveToFile(const std::string& fileName, bool hold = false);

private:
    uint64_t spillThreshold_;
    std::unique_ptr<TShareLock> hold_;
};

// Where failures that have no caller to go to are reported (a file root that
// could not keep its changes when it went). The program sends them to the
// frame's exception report; until then they go to standard error.
void SetStorageFailureReport(std::function<void(std::exception_ptr)> report);

// Reads a whole file, raising the platform's not-found or read error.
std::string ReadStorageFile(const std::string& fileName);
// Replaces a file by new bytes through a temporary file beside it.
void WriteStorageFile(const std::string& fileName, std::string_view bytes);

}  // namespace orvella
