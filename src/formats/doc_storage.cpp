#include "formats/doc_storage.h"

#include "formats/compound_file.h"
#include "formats/share_lock.h"
#include "formats/storage_error.h"
#include "platform/atomic_file.h"
#include "platform/backslash_path.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace orvella {

namespace {

std::string joinPath(const std::vector<std::string>& components) { return JoinBackslashPath(components); }

bool sameComponent(const std::string& a, const std::string& b) { return CompareElementNames(a, b) == 0; }

std::function<void(std::exception_ptr)>& failureReport()
{
    static std::function<void(std::exception_ptr)> report;
    return report;
}

void reportFailure(std::exception_ptr error) noexcept
{
    try {
        if (failureReport()) {
            failureReport()(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
    } catch (...) {
        std::fputs("storage failure\n", stderr);
    }
}

// The file is saved whatever happens here; only a process that snatched
// the new file in the moment after the rename keeps it from being held.
std::unique_ptr<TShareLock> holdAfterSave(const std::string& fileName, TShareKind kind) noexcept
{
    try {
        return std::make_unique<TShareLock>(fileName, kind);
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool fileExists(const std::string& fileName)
{
    std::error_code error;
    return std::filesystem::exists(fileName, error);
}

}  // namespace

void SetStorageFailureReport(std::function<void(std::exception_ptr)> report) { failureReport() = std::move(report); }

std::string ReadStorageFile(const std::string& fileName)
{
    FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        throw EStorageError(errno == EACCES ? TStorageCode::AccessDenied : TStorageCode::FileNotFound, fileName);
    std::string bytes;
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode))
        bytes.reserve(std::size_t(info.st_size));
    char buffer[1 << 16];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw EStorageError(TStorageCode::ReadFault, fileName);
    return bytes;
}

void WriteStorageFile(const std::string& fileName, std::string_view bytes)
{
    try {
        WriteFileAtomically(fileName, bytes);
    } catch (const EAtomicFile& error) {
        throw EStorageError(TStorageCode::WriteFault, fileName + ": " + error.what());
    }
}

// ---- TDocStorage

TDocStorage::TDocStorage(TRootStorage& root) : root_(&root) {}

void TDocStorage::attachRootElement(TElementRef element) { element_ = std::move(element); }

TDocStorage::TDocStorage(TDocStorage& parent, bool createMissing, std::string_view path)
    : root_(&parent.Root()), path_(parent.Resolve(path))
{
    chain_ = root_->openChain(path_, createMissing);
    element_ = chain_.empty() ? root_->Tree().Root() : chain_.back()->Ref();
    root_->registerStorage(this);
}

TDocStorage::~TDocStorage()
{
    if (root_ && root_ != this)
        root_->unregisterStorage(this);
}

std::string TDocStorage::Path() const { return joinPath(path_); }

std::vector<std::string> TDocStorage::Resolve(std::string_view path) const
{
    std::vector<std::string> components = path.starts_with('\\') ? std::vector<std::string>{} : path_;
    for (std::string& component : SplitBackslashPath(path))
        components.push_back(std::move(component));
    return NormalizeBackslashPath(components);
}

bool TDocStorage::StreamExists(std::string_view path)
{
    std::vector<std::string> components = Resolve(path);
    if (components.empty())
        return false;
    const std::string name = components.back();
    components.pop_back();
    const TElementRef parent = root_->Find(components);
    if (!parent.Valid())
        return false;
    const TElementRef stream = root_->Tree().Child(parent, name);
    // An open-for-read test: a stream opened elsewhere is exclusive.
    return stream.Valid() && !stream.Get().IsStorage() && !root_->Tree().IsOpen(stream);
}

bool TDocStorage::StorageExists(std::string_view path)
{
    const TElementRef storage = root_->Find(Resolve(path));
    return storage.Valid() && storage.Get().IsStorage();
}

bool TDocStorage::DestroyElement(std::string_view path)
{
    std::vector<std::string> components = Resolve(path);
    if (components.empty())
        throw EStorageError(TStorageCode::AccessDenied, "the root cannot be destroyed");
    const std::string name = components.back();
    components.pop_back();
    const TElementRef parent = root_->Find(components);
    if (!parent.Valid())
        return false;
    return root_->Tree().Destroy(parent, name);
}

void TDocStorage::ListStorages(std::vector<std::string>& names) const
{
    for (const auto& child : element_.Get().Children)
        if (child->IsStorage())
            names.push_back(child->Name);
}

void TDocStorage::ListStreams(std::vector<std::string>& names) const
{
    for (const auto& child : element_.Get().Children)
        if (!child->IsStorage())
            names.push_back(child->Name);
}

void TDocStorage::CopyTo(TDocStorage& destination) const { TStorageTree::CopyContents(element_, destination.element_); }

void TDocStorage::MoveElement(std::string_view sourcePath, std::string_view destinationPath)
{
    std::vector<std::string> from = Resolve(sourcePath);
    std::vector<std::string> to = Resolve(destinationPath);
    if (from.empty() || to.empty())
        throw EStorageError(TStorageCode::AccessDenied, "the root cannot be moved");
    const std::string name = from.back();
    const std::string newName = to.back();
    from.pop_back();
    to.pop_back();
    const TElementRef source = root_->Find(from);
    const TElementRef target = root_->Find(to);
    if (!source.Valid() || !target.Valid())
        throw EStorageError(TStorageCode::PathNotFound, joinPath(source.Valid() ? to : from));
    root_->Tree().Move(source, name, target, newName);
}

void TDocStorage::RenameElement(std::string_view oldName, std::string_view newName)
{
    root_->Tree().Rename(element_, oldName, newName);
}

// ---- TRootStorage

TRootStorage::TRootStorage() : TDocStorage(*this) {}

TRootStorage::~TRootStorage() = default;

void TRootStorage::setTree(std::shared_ptr<TStorageTree> tree)
{
    tree_ = std::move(tree);
    attachRootElement(tree_->Root());
}

bool TRootStorage::Writable() const { return tree_->Writable(); }

TElementRef TRootStorage::Find(const std::vector<std::string>& components) const
{
    TElementRef current = tree_->Root();
    for (const std::string& component : components) {
        current = tree_->Child(current, component);
        if (!current.Valid() || !current.Get().IsStorage())
            return {};
    }
    return current;
}

std::vector<std::shared_ptr<TOpenElement>> TRootStorage::openChain(const std::vector<std::string>& components,
                                                                   bool createMissing)
{
    // The open storage sharing the longest leading part of the path.
    std::vector<std::shared_ptr<TOpenElement>> chain;
    std::size_t shared = 0;
    for (const TDocStorage* open : openStorages_) {
        std::size_t common = 0;
        while (common < components.size() && common < open->path_.size() &&
               sameComponent(components[common], open->path_[common]))
            ++common;
        if (common > shared && open->chain_.size() >= common && &open->chain_[common - 1]->Ref().Tree() == tree_.get() &&
            open->chain_[common - 1]->Ref().Valid()) {
            shared = common;
            chain.assign(open->chain_.begin(), open->chain_.begin() + std::ptrdiff_t(common));
        }
    }
    TElementRef current = chain.empty() ? tree_->Root() : chain.back()->Ref();
    for (std::size_t i = shared; i < components.size(); ++i) {
        const TElementRef child = tree_->Child(current, components[i]);
        if (!child.Valid() && createMissing)
            tree_->CreateChild(current, components[i], TElementType::Storage, false);
        chain.push_back(tree_->Open(current, components[i], TElementType::Storage));
        current = chain.back()->Ref();
    }
    return chain;
}

void TRootStorage::registerStorage(TDocStorage* storage) { openStorages_.push_back(storage); }

void TRootStorage::unregisterStorage(TDocStorage* storage) { std::erase(openStorages_, storage); }

bool TRootStorage::IsModified() const { return !snapshotValid_ || tree_->ChangeCount() != snapshot_; }

void TRootStorage::MarkSaved()
{
    snapshot_ = tree_->ChangeCount();
    snapshotValid_ = true;
}

void TRootStorage::MarkModified() { snapshotValid_ = false; }

// ---- TFileStorage

TFileStorage::TFileStorage(const std::string& fileName, uint32_t mode)
    : fileName_(fileName), uncaught_(std::uncaught_exceptions())
{
    if (mode == dmCreate) {
        // The file it replaces must not be held by anyone else.
        if (fileExists(fileName))
            lock_ = std::make_unique<TShareLock>(fileName, TShareKind::Exclusive);
        setTree(TStorageTree::Create(true));
        created_ = true;
    } else {
        const bool writable = (mode & 0x3) == dmWrite || (mode & 0x3) == dmReadWrite;
        if (writable || (mode & 0xF0) != dmShareDenyNone)
            lock_ = std::make_unique<TShareLock>(fileName, writable ? TShareKind::Exclusive : TShareKind::Shared);
        const std::string bytes = ReadStorageFile(fileName);
        if (!IsCompoundFile(bytes))
            throw EStorageError(TStorageCode::InvalidHeader, fileName);
        setTree(TStorageTree::Parse(bytes, writable));
    }
    MarkSaved();
}

TFileStorage::~TFileStorage()
{
    if (!Writable() || (!created_ && !IsModified()))
        return;
    // Unwinding means the work that made the changes failed half-way: its
    // changes are not worth keeping.
    if (std::uncaught_exceptions() > uncaught_) {
        reportFailure(std::make_exception_ptr(
            EStorageError(TStorageCode::Reverted, fileName_ + ": 保存されていない変更は破棄されました")));
        return;
    }
    try {
        Commit();
    } catch (...) {
        reportFailure(std::current_exception());
    }
}

void TFileStorage::Commit()
{
    if (!Writable() || (!created_ && !IsModified()))
        return;
    WriteStorageFile(fileName_, Tree().Serialize());
    created_ = false;
    MarkSaved();
    // The rename made a new file: hold that one now.
    lock_.reset();
    lock_ = holdAfterSave(fileName_, TShareKind::Exclusive);
}

// ---- TTemporaryStorage

TTemporaryStorage::TTemporaryStorage(uint64_t spillThreshold) : spillThreshold_(spillThreshold)
{
    setTree(TStorageTree::Create(true));
    Tree().EnableSpill(spillThreshold_);
    MarkSaved();
}

TTemporaryStorage::~TTemporaryStorage() = default;

void TTemporaryStorage::LoadFromFile(const std::string& fileName, bool hold)
{
    auto lock = std::make_unique<TShareLock>(fileName, hold ? HoldKindFor(fileName) : TShareKind::Shared);
    const std::string bytes = ReadStorageFile(fileName);
    if (!IsCompoundFile(bytes))
        throw EStorageError(TStorageCode::InvalidHeader, fileName);
    // Parse fully before anything of the current contents is given up.
    std::shared_ptr<TStorageTree> loaded = TStorageTree::Parse(bytes, true);
    loaded->EnableSpill(spillThreshold_);
    loaded->SpillIfLarge();
    setTree(std::move(loaded));
    MarkSaved();
    hold_ = hold ? std::move(lock) : nullptr;
}

void TTemporaryStorage::SaveToFile(const std::string& fileName, bool hold)
{
    std::unique_ptr<TShareLock> replacing;
    if (fileExists(fileName))
        replacing = std::make_unique<TShareLock>(fileName, TShareKind::Exclusive);
    WriteStorageFile(fileName, Tree().Serialize());
    MarkSaved();
    if (hold || hold_)
        hold_ = holdAfterSave(fileName, HoldKindFor(fileName));
}

}  // namespace orvella
