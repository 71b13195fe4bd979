#pragma once
// Several objects joined into one label object. The members are copies the
// group owns (they are not on any site); the group paints, hits, moves and
// resizes them together and stores them as its children. Grouping and
// ungrouping on a site record their work in the undo history.

#include "document/label_object.h"

#include <memory>
#include <vector>

namespace orvella {

class TDOList;

class TDOGroup : public TLabelObject, public TDrawObjectContainer, public IDOEncloseBounds {
    ORVELLA_PERSISTENT(TDOGroup)

public:
    TDOGroup();
    ~TDOGroup() override;

    std::size_t MemberCount() const { return members_.size(); }
    TDrawObject& Members(std::size_t index) const { return *members_.at(index); }

    // Copies every listed object, last first, into the group.
    void AddMembers(const TDOList& list);
    // Puts a copy of every member on the group's site, selected, each
    // recorded as an added object.
    void Ungroup();

    // --- drawing object ---
    void Paint(TCanvas& canvas) override;
    bool HitTest(TPoint logical) override;
    TRect GetLogicalBounds() const override;
    void Assign(const TDrawObject& source) override;
    void GetChildren(const std::function<void(TComponent&)>& proc) const override;
    void AdoptMember(TDrawObject& member) override;

    // --- bounds capability ---
    void MoveBy(int32_t dx, int32_t dy) override;
    // Maps the members from the current bounds to (Left, Top, width, height).
    void SetExtent(int32_t width, int32_t height) override;

    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TLabelObject::AddRef(); }
    int Release() override { return TLabelObject::Release(); }

private:
    void membersChanged();

    std::vector<std::unique_ptr<TDrawObject>> members_;
};

// The layout editor's grouping: at least two selected objects become one
// new group (recorded as added), the originals are cleared as one "クリア"
// step and the group is selected. Answers whether a group was made.
TDOGroup* GroupSelected(TDrawSite& site);
// Replaces every selected group by its members; answers how many groups
// were taken apart.
int UngroupSelected(TDrawSite& site);

}  // namespace orvella
