#pragma once
// Purposes name what a face is for (disc face, case cover, tray card, small
// square media). A paper and a catalog each keep a list of them; the
// process-wide validator drops and renames purposes that older catalogs
// still carry.

#include "formats/collection.h"
#include "formats/component.h"
#include "paper/face_shape.h"

#include <memory>
#include <string>

namespace orvella {

class TPurposeInfo : public TCollectionItem {
    ORVELLA_PERSISTENT(TPurposeInfo)

public:
    std::string ID;  // the key; compared without regard to case
    std::string DisplayName;
    TFaceShapes ShapeMask = 0;

    void Assign(const TPurposeInfo& source);
};

class TPurposeList : public TCollection {
    ORVELLA_PERSISTENT(TPurposeList)

public:
    TPurposeList();
    TPurposeInfo& Items(std::size_t index) const { return static_cast<TPurposeInfo&>(TCollection::Items(index)); }
    TPurposeInfo& Add() { return TCollection::Add<TPurposeInfo>(); }
    // -1 when no item has that ID (case-insensitive).
    int IndexOf(std::string_view id) const;
    // Copies the items, then cleans the list.
    void Assign(const TPurposeList& source);
    // Keeps the items for which keep(item) is true, in order.
    template <class Keep>
    void RemoveUnless(Keep keep);
};

// The component a purpose list is stored as: its one property "List".
class TPLStreamer : public TComponent {
    ORVELLA_PERSISTENT(TPLStreamer)

public:
    TPurposeList List;
};

class TPurposeValidator {
public:
    virtual ~TPurposeValidator() = default;
    virtual bool IsObsolete(std::string_view id) const = 0;
    virtual std::string Normalize(std::string_view id) const = 0;
    virtual void Clean(TPurposeList& list) const = 0;
};

// "MO", "FD" and "CDCase" are gone: the first two became "MOSquare", the
// last "CDCaseTray".
class TOrvellaPurposeValidator : public TPurposeValidator {
public:
    bool IsObsolete(std::string_view id) const override;
    std::string Normalize(std::string_view id) const override;
    void Clean(TPurposeList& list) const override;
};

// The validator in use; the program's own until another is installed.
const TPurposeValidator& PurposeValidator();
void SetPurposeValidator(std::unique_ptr<TPurposeValidator> validator);

// The five purposes a catalog starts with: "CD", "CDCover", "CDCaseTray",
// "MOSquare" and the empty one.
void SetDefaultPurposes(TPurposeList& list);

// Appends copies of the source items whose ID the target lacks (obsolete
// ones excepted), then cleans the target. True when anything was appended.
bool MergePurposeList(TPurposeList& target, const TPurposeList& source);

// The purpose list as its stored component, and back; the read list is cleaned.
std::string WritePurposeList(const TPurposeList& list);
void ReadPurposeList(std::string_view bytes, TPurposeList& list);

template <class Keep>
void TPurposeList::RemoveUnless(Keep keep)
{
    std::vector<std::unique_ptr<TPurposeInfo>> kept;
    for (std::size_t i = 0; i < Count(); ++i) {
        if (keep(Items(i))) {
            auto copy = std::make_unique<TPurposeInfo>();
            copy->Assign(Items(i));
            kept.push_back(std::move(copy));
        }
    }
    Clear();
    for (const auto& item : kept)
        Add().Assign(*item);
}

}  // namespace orvella
