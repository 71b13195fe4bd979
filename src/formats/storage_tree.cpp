#include "formats/storage_tree.h"

#include "formats/compound_file.h"
#include "formats/spill_file.h"
#include "formats/storage_error.h"

#include <algorithm>
#include <atomic>

namespace orvella {

namespace {

// Ids are never reused, even across trees, so a handle on an element of a
// discarded tree can never match a new element at the same address.
uint64_t newId()
{
    static std::atomic<uint64_t> next{1};
    return next++;
}

// Smaller streams are not worth a trip to the disk.
constexpr uint64_t kSmallestSpilledStream = 64 * 1024;

template <class Visit>
void forEachStream(const TStorageElement& root, const Visit& visit)
{
    std::vector<const TStorageElement*> pending{&root};
    while (!pending.empty()) {
        const TStorageElement* element = pending.back();
        pending.pop_back();
        if (!element->IsStorage())
            visit(*element);
        for (const auto& child : element->Children)
            pending.push_back(child.get());
    }
}

}  // namespace

bool TElementRef::Valid() const
{
    if (!tree_ || !element_)
        return false;
    const auto found = tree_->ids_.find(element_);
    return found != tree_->ids_.end() && found->second == id_;
}

TStorageElement& TElementRef::Get() const
{
    if (!Valid())
        throw EStorageError(TStorageCode::Reverted);
    return *element_;
}

TOpenElement::TOpenElement(TElementRef ref) : ref_(std::move(ref)) { ++ref_.Tree().open_[ref_.Id()]; }

TOpenElement::~TOpenElement()
{
    auto& open = ref_.Tree().open_;
    if (auto found = open.find(ref_.Id()); found != open.end() && --found->second <= 0)
        open.erase(found);
}

TStorageTree::TStorageTree(std::unique_ptr<TStorageElement> root, bool writable)
    : root_(std::move(root)), writable_(writable)
{
    root_->Type = TElementType::Root;
    // Register every element, without recursion.
    std::vector<const TStorageElement*> pending{root_.get()};
    while (!pending.empty()) {
        const TStorageElement* element = pending.back();
        pending.pop_back();
        ids_[element] = newId();
        for (const auto& child : element->Children)
            pending.push_back(child.get());
    }
}

std::shared_ptr<TStorageTree> TStorageTree::Create(bool writable)
{
    auto root = std::make_unique<TStorageElement>();
    root->ModificationTime = CurrentFileTime();
    return std::shared_ptr<TStorageTree>(new TStorageTree(std::move(root), writable));
}

std::shared_ptr<TStorageTree> TStorageTree::Parse(std::string_view bytes, bool writable)
{
    return std::shared_ptr<TStorageTree>(new TStorageTree(ReadCompoundFile(bytes), writable));
}

std::string TStorageTree::Serialize() const { return WriteCompoundFile(*root_); }

TElementRef TStorageTree::refFor(TStorageElement* element)
{
    return TElementRef(shared_from_this(), element, ids_.at(element));
}

TElementRef TStorageTree::Root() { return refFor(root_.get()); }

TElementRef TStorageTree::Child(const TElementRef& storage, std::string_view name)
{
    TStorageElement* child = storage.Get().Find(name);
    return child ? refFor(child) : TElementRef();
}

bool TStorageTree::IsOpen(const TElementRef& element) const { return open_.count(element.Id()) != 0; }

std::shared_ptr<TOpenElement> TStorageTree::Open(const TElementRef& storage, std::string_view name, TElementType type)
{
    const TElementRef child = Child(storage, name);
    const bool wantStorage = type != TElementType::Stream;
    if (!child.Valid() || child.Get().IsStorage() != wantStorage)
        throw EStorageError(wantStorage ? TStorageCode::PathNotFound : TStorageCode::FileNotFound, std::string(name));
    if (IsOpen(child))
        throw EStorageError(TStorageCode::AccessDenied, std::string(name));
    return std::make_shared<TOpenElement>(child);
}

void TStorageTree::requireWritable() const
{
    if (!writable_)
        throw EStorageError(TStorageCode::AccessDenied);
}

void TStorageTree::changed(TStorageElement& storage)
{
    ++changes_;
    storage.ModificationTime = CurrentFileTime();
    root_->ModificationTime = storage.ModificationTime;
}

void TStorageTree::Touch(const TElementRef& element)
{
    requireWritable();
    element.Get();
    ++changes_;
}

void TStorageTree::EnableSpill(uint64_t threshold) { spillThreshold_ = threshold; }

uint64_t TStorageTree::BytesInMemory() const
{
    uint64_t bytes = 0;
    forEachStream(*root_, [&](const TStorageElement& stream) { bytes += stream.Data.size(); });
    return bytes;
}

uint64_t TStorageTree::BytesSpilled() const
{
    uint64_t bytes = 0;
    forEachStream(*root_, [&](const TStorageElement& stream) {
        if (stream.Spilled)
            bytes += stream.Spilled->Size();
    });
    return bytes;
}

void TStorageTree::SpillIfLarge()
{
    if (spillThreshold_ == 0)
        return;
    uint64_t inMemory = 0;
    std::vector<TStorageElement*> candidates;
    forEachStream(*root_, [&](const TStorageElement& stream) {
        inMemory += stream.Data.size();
        const auto found = ids_.find(&stream);
        if (stream.Data.size() >= kSmallestSpilledStream && found != ids_.end() && !open_.count(found->second))
            candidates.push_back(const_cast<TStorageElement*>(&stream));
    });
    if (inMemory <= spillThreshold_)
        return;
    std::sort(candidates.begin(), candidates.end(),
              [](const TStorageElement* a, const TStorageElement* b) { return a->Data.size() > b->Data.size(); });
    if (!spill_)
        spill_ = TSpillFile::Create();
    for (TStorageElement* stream : candidates) {
        if (inMemory <= spillThreshold_ / 2)
            break;
        const uint64_t size = stream->Data.size();
        const uint64_t offset = spill_->Append(stream->Data);
        stream->Spilled = std::make_shared<const TSpilledBytes>(spill_, offset, size);
        std::string().swap(stream->Data);
        inMemory -= size;
    }
}

TElementRef TStorageTree::CreateChild(const TElementRef& storage, std::string_view name, TElementType type, bool replace)
{
    requireWritable();
    CheckElementName(name);
    TStorageElement& parent = storage.Get();
    if (TStorageElement* existing = parent.Find(name)) {
        if (!replace)
            throw EStorageError(TStorageCode::FileAlreadyExists, std::string(name));
        if (IsOpen(refFor(existing)))
            throw EStorageError(TStorageCode::AccessDenied, std::string(name));
        Destroy(storage, name);
    }
    auto element = std::make_unique<TStorageElement>();
    element->Name = std::string(name);
    element->Type = type;
    if (type != TElementType::Stream)
        element->CreationTime = element->ModificationTime = CurrentFileTime();
    TStorageElement* inserted = parent.Insert(std::move(element));
    ids_[inserted] = newId();
    changed(parent);
    return refFor(inserted);
}

void TStorageTree::forget(const TStorageElement& element)
{
    std::vector<const TStorageElement*> pending{&element};
    while (!pending.empty()) {
        const TStorageElement* current = pending.back();
        pending.pop_back();
        if (auto found = ids_.find(current); found != ids_.end()) {
            open_.erase(found->second);
            ids_.erase(found);
        }
        for (const auto& child : current->Children)
            pending.push_back(child.get());
    }
}

bool TStorageTree::Destroy(const TElementRef& storage, std::string_view name)
{
    requireWritable();
    TStorageElement& parent = storage.Get();
    TStorageElement* child = parent.Find(name);
    if (!child)
        return false;
    forget(*child);
    parent.Remove(child);
    changed(parent);
    return true;
}

void TStorageTree::Rename(const TElementRef& storage, std::string_view oldName, std::string_view newName)
{
    requireWritable();
    CheckElementName(newName);
    TStorageElement& parent = storage.Get();
    TStorageElement* child = parent.Find(oldName);
    if (!child)
        throw EStorageError(TStorageCode::FileNotFound, std::string(oldName));
    if (TStorageElement* clash = parent.Find(newName); clash && clash != child)
        throw EStorageError(TStorageCode::FileAlreadyExists, std::string(newName));
    if (IsOpen(refFor(child)))
        throw EStorageError(TStorageCode::AccessDenied, std::string(oldName));
    std::unique_ptr<TStorageElement> moved = parent.Remove(child);
    moved->Name = std::string(newName);
    parent.Insert(std::move(moved));
    changed(parent);
}

void TStorageTree::Move(const TElementRef& from, std::string_view name, const TElementRef& to, std::string_view newName)
{
    requireWritable();
    CheckElementName(newName);
    TStorageElement& source = from.Get();
    TStorageElement& target = to.Get();
    TStorageElement* child = source.Find(name);
    if (!child)
        throw EStorageError(TStorageCode::FileNotFound, std::string(name));
    if (IsOpen(refFor(child)))
        throw EStorageError(TStorageCode::AccessDenied, std::string(name));
    if (target.Find(newName))
        throw EStorageError(TStorageCode::FileAlreadyExists, std::string(newName));
    // A storage cannot be moved into itself or below itself.
    std::vector<const TStorageElement*> pending{child};
    while (!pending.empty()) {
        const TStorageElement* current = pending.back();
        pending.pop_back();
        if (current == &target)
            throw EStorageError(TStorageCode::AccessDenied, std::string(name));
        for (const auto& grandChild : current->Children)
            pending.push_back(grandChild.get());
    }
    std::unique_ptr<TStorageElement> moved = source.Remove(child);
    moved->Name = std::string(newName);
    target.Insert(std::move(moved));
    changed(source);
    changed(target);
}

void TStorageTree::CopyContents(const TElementRef& from, const TElementRef& to)
{
    TStorageTree& sourceTree = from.Tree();
    TStorageTree& destination = to.Tree();
    destination.requireWritable();
    const TStorageElement& source = from.Get();
    TStorageElement& target = to.Get();
    if (&source == &target)
        return;
    for (const auto& child : source.Children) {
        TStorageElement* existing = target.Find(child->Name);
        if (child->IsStorage() && existing && existing->IsStorage()) {
            // Merge: copy the child storage's contents into the existing one.
            CopyContents(sourceTree.refFor(child.get()), destination.refFor(existing));
            continue;
        }
        if (existing) {
            if (destination.IsOpen(destination.refFor(existing)))
                throw EStorageError(TStorageCode::AccessDenied, existing->Name);
            destination.Destroy(to, existing->Name);
        }
        std::unique_ptr<TStorageElement> copy = child->Clone();
        TStorageElement* inserted = target.Insert(std::move(copy));
        // Register the copied subtree.
        std::vector<const TStorageElement*> pending{inserted};
        while (!pending.empty()) {
            const TStorageElement* current = pending.back();
            pending.pop_back();
            destination.ids_[current] = newId();
            for (const auto& grandChild : current->Children)
                pending.push_back(grandChild.get());
        }
    }
    destination.changed(target);
}

}  // namespace orvella
