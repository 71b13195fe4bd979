#pragma once
// The objects of one face as they are stored: a TLDObjects root whose
// children are the face's label objects, bottom-first (in painting order),
// inside the resource "LABELDATA", possibly packed in the compressed stream
// container. Also the points where the object kinds above this layer adjust
// what a face stream gives back.

#include "formats/component.h"
#include "drawing/draw_object.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TDOList;
class TDrawObject;
class TFaceInfo;

class TLDObjects : public TComponent, public TDrawObjectContainer {
    ORVELLA_PERSISTENT(TLDObjects)

public:
    // Writing: the list is top-first (the topmost object first), as a view
    // hands it over; the stream holds it from the last entry to the first.
    void SetObjects(const TDOList* list) { list_ = list; }
    void GetChildren(const std::function<void(TComponent&)>& proc) const override;

    // Reading: the objects stored directly in the root's record, in stream
    // order. Members of a group are handed to their group instead.
    void AdoptMember(TDrawObject& member) override { members_.push_back(&member); }
    const std::vector<TDrawObject*>& Members() const { return members_; }

private:
    const TDOList* list_ = nullptr;
    std::vector<TDrawObject*> members_;
};

inline constexpr char kLabelDataResource[] = "LabelData";

// The face stream for a top-first list of objects.
std::string WriteFaceObjects(const TDOList& list);
// The objects of a face stream (compressed or not) in stream order,
// bottom-first, named as stored. Empty bytes give no objects; a compressed
// stream whose declared length does not match its content, a missing
// resource wrapper or a damaged component stream raise. Stored components
// that are no drawing objects are dropped.
std::vector<std::unique_ptr<TDrawObject>> ReadFaceObjects(std::string_view bytes);

// What the document knows about its dates when a face is loaded.
struct TDocumentTimes {
    double Opened = 0;  // date-times: days since 1899-12-30
    double LastPrint = 0;
    double LastSave = 0;
};

// How the object kinds take part in storing a face. The text objects set
// their date fields, the background objects bring old backgrounds up to
// date and fit them to the face, and an untouched background alone is not
// worth a stream. Left empty, a hook does nothing.
struct TFaceObjectHooks {
    std::function<void(TDrawObject& object, const TDocumentTimes& times)> ApplyDocumentTimes;
    // May return a replacement for the object (an older background class
    // read from an old document); nullptr keeps it.
    std::function<std::unique_ptr<TDrawObject>(TDrawObject& object)> Upgrade;
    // Fits a background to the face; called for every loaded object.
    std::function<void(TDrawObject& object, const TFaceInfo& face)> FitToFace;
    // True when the list holds nothing but one empty background image.
    std::function<bool(const TDOList& list)> IsEmptyBackgroundOnly;
};

// Adds the hooks of one object kind; each hook of each kind is called in
// the order the kinds were added. User-interface thread only.
void AddFaceObjectHooks(TFaceObjectHooks hooks);
void ClearFaceObjectHooks();
const std::vector<TFaceObjectHooks>& FaceObjectHooks();

void RegisterLDObjectsClasses();

}  // namespace orvella
