#pragma once
// A compound file held in memory, with the rules of the platform's storage
// objects: every element below the root is opened exclusively (a second open
// of an open element is refused), handles of an element die with it
// (destroying an element reverts them), and every change is counted so that
// a root can tell whether it was modified.

#include "formats/storage_element.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvella {

class TStorageTree;

// A reference to an element that checks, at every use, that the element
// still exists; a destroyed element raises the reverted error.
class TElementRef {
public:
    TElementRef() = default;
    TElementRef(std::shared_ptr<TStorageTree> tree, TStorageElement* element, uint64_t id)
        : tree_(std::move(tree)), element_(element), id_(id)
    {
    }
    bool Valid() const;
    TStorageElement& Get() const;  // raises when reverted
    TStorageTree& Tree() const { return *tree_; }
    const std::shared_ptr<TStorageTree>& TreePtr() const { return tree_; }
    uint64_t Id() const { return id_; }

private:
    std::shared_ptr<TStorageTree> tree_;
    TStorageElement* element_ = nullptr;
    uint64_t id_ = 0;
};

// An element opened exclusively; closing it (destroying the object) lets it
// be opened again.
class TOpenElement {
public:
    TOpenElement(TElementRef ref);
    ~TOpenElement();
    TOpenElement(const TOpenElement&) = delete;
    TOpenElement& operator=(const TOpenElement&) = delete;
    const TElementRef& Ref() const { return ref_; }
    TStorageElement& Get() const { return ref_.Get(); }

private:
    TElementRef ref_;
};

class TStorageTree : public std::enable_shared_from_this<TStorageTree> {
public:
    // An empty compound file, or one parsed from bytes.
    static std::shared_ptr<TStorageTree> Create(bool writable = true);
    static std::shared_ptr<TStorageTree> Parse(std::string_view bytes, bool writable);

    std::string Serialize() const;
    bool Writable() const { return writable_; }
    uint64_t ChangeCount() const { return changes_; }

    TElementRef Root();
    // The child of a storage, or an invalid reference when there is none.
    TElementRef Child(const TElementRef& storage, std::string_view name);
    // Opens a child exclusively: not found and already open are errors.
    std::shared_ptr<TOpenElement> Open(const TElementRef& storage, std::string_view name, TElementType type);
    bool IsOpen(const TElementRef& element) const;

    // Creates a child storage or stream; an existing element of that name is
    // replaced when `replace` is set (an open one is refused), else refused.
    TElementRef CreateChild(const TElementRef& storage, std::string_view name, TElementType type, bool replace);
    // Removes an element with everything below it; handles on them are reverted.
    bool Destroy(const TElementRef& storage, std::string_view name);
    void Rename(const TElementRef& storage, std::string_view oldName, std::string_view newName);
    void Move(const TElementRef& from, std::string_view name, const TElementRef& to, std::string_view newName);
    // Copies the storage's contents into another (of this or another tree): a
    // stream replaces a same-named element, a storage merges into a
    // same-named storage.
    static void CopyContents(const TElementRef& from, const TElementRef& to);

    // Reports a change of an element's contents (stream writes).
    void Touch(const TElementRef& element);

    // Lets the tree keep stream bytes in a private temporary file once the
    // streams in memory pass `threshold` bytes; SpillIfLarge moves the
    // largest closed streams there until half the threshold is left.
    void EnableSpill(uint64_t threshold);
    void SpillIfLarge();
    // Stream bytes held in memory, and in the spill file.
    uint64_t BytesInMemory() const;
    uint64_t BytesSpilled() const;

private:
    friend class TElementRef;
    friend class TOpenElement;
    TStorageTree(std::unique_ptr<TStorageElement> root, bool writable);
    void requireWritable() const;
    TElementRef refFor(TStorageElement* element);
    void forget(const TStorageElement& element);
    void changed(TStorageElement& storage);

    std::unique_ptr<TStorageElement> root_;
    bool writable_;
    uint64_t changes_ = 0;
    uint64_t spillThreshold_ = 0;  // 0: never
    std::shared_ptr<TSpillFile> spill_;
    std::unordered_map<const TStorageElement*, uint64_t> ids_;  // living elements
    std::unordered_map<uint64_t, int> open_;                    // exclusively opened element ids
};

}  // namespace orvella
