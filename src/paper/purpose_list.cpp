#include "paper/purpose_list.h"

#include "formats/component_stream.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "platform/text_case.h"

namespace orvella {

const TClassInfo& TPurposeInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPurposeInfo, TCollectionItem>("TPurposeInfo", {
        StringProperty("ID", &TPurposeInfo::ID),
        StringProperty("DisplayName", &TPurposeInfo::DisplayName),
        SetProperty("ShapeMask", FaceShapeIdents(), &TPurposeInfo::ShapeMask),
    });
    return info;
}

void TPurposeInfo::Assign(const TPurposeInfo& source)
{
    ID = source.ID;
    DisplayName = source.DisplayName;
    ShapeMask = source.ShapeMask;
}

const TClassInfo& TPurposeList::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPurposeList, TCollection>("TPurposeList", {});
    return info;
}

TPurposeList::TPurposeList() : TCollection(TPurposeInfo::StaticClassInfo()) {}

int TPurposeList::IndexOf(std::string_view id) const
{
    for (std::size_t i = 0; i < Count(); ++i)
        if (SameText(Items(i).ID, id))
            return int(i);
    return -1;
}

void TPurposeList::Assign(const TPurposeList& source)
{
    if (&source == this)
        return;
    Clear();
    for (std::size_t i = 0; i < source.Count(); ++i)
        Add().Assign(source.Items(i));
    PurposeValidator().Clean(*this);
}

const TClassInfo& TPLStreamer::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPLStreamer, TComponent>("TPLStreamer", {
        ObjectProperty("List", &TPLStreamer::List),
    });
    return info;
}

bool TOrvellaPurposeValidator::IsObsolete(std::string_view id) const
{
    return id == "MO" || id == "FD" || id == "CDCase";
}

std::string TOrvellaPurposeValidator::Normalize(std::string_view id) const
{
    if (id == "MO" || id == "FD")
        return "MOSquare";
    if (id == "CDCase")
        return "CDCaseTray";
    return std::string(id);
}

void TOrvellaPurposeValidator::Clean(TPurposeList& list) const
{
    bool anyObsolete = false;
    for (std::size_t i = 0; i < list.Count(); ++i)
        anyObsolete = anyObsolete || IsObsolete(list.Items(i).ID);
    if (anyObsolete)
        list.RemoveUnless([this](const TPurposeInfo& item) { return !IsObsolete(item.ID); });
}

namespace {

std::unique_ptr<TPurposeValidator>& installedValidator()
{
    static std::unique_ptr<TPurposeValidator> validator = std::make_unique<TOrvellaPurposeValidator>();
    return validator;
}

}  // namespace

const TPurposeValidator& PurposeValidator() { return *installedValidator(); }

void SetPurposeValidator(std::unique_ptr<TPurposeValidator> validator)
{
    installedValidator() = validator ? std::move(validator) : std::make_unique<TOrvellaPurposeValidator>();
}

void SetDefaultPurposes(TPurposeList& list)
{
    struct Default {
        const char* id;
        TFaceShapes mask;
    };
    const Default defaults[] = {
        // Card and barrel discs are discs too: without them a copy of such a
        // paper would be turned into a doughnut by the paper editor.
        {"CD", FaceShapeBit(fsDoughnut) | FaceShapeBit(fsEllipse) | FaceShapeBit(fsRectCD) | FaceShapeBit(fsBarrelCD)},
        {"CDCover", FaceShapeBit(fsRect) | FaceShapeBit(fsRoundRect)},
        {"CDCaseTray", FaceShapeBit(fsRect) | FaceShapeBit(fsRoundRect)},
        {"MOSquare", FaceShapeBit(fsRect) | FaceShapeBit(fsRoundRect)},
        {"", 0},
    };
    list.Clear();
    for (const Default& item : defaults) {
        TPurposeInfo& info = list.Add();
        info.ID = item.id;
        info.DisplayName = item.id;
        info.ShapeMask = item.mask;
    }
}

bool MergePurposeList(TPurposeList& target, const TPurposeList& source)
{
    // Obsolete items would be cleaned away at once; leaving them out keeps
    // "appended" true only for a real change, so callers do not rewrite
    // their stored list for nothing.
    const TPurposeValidator& validator = PurposeValidator();
    bool appended = false;
    for (std::size_t i = 0; i < source.Count(); ++i) {
        if (validator.IsObsolete(source.Items(i).ID) || target.IndexOf(source.Items(i).ID) >= 0)
            continue;
        target.Add().Assign(source.Items(i));
        appended = true;
    }
    validator.Clean(target);
    return appended;
}

std::string WritePurposeList(const TPurposeList& list)
{
    TPLStreamer streamer;
    streamer.List.Assign(list);
    return WriteComponent(streamer);
}

void ReadPurposeList(std::string_view bytes, TPurposeList& list)
{
    TPLStreamer streamer;
    ReadComponent(bytes, streamer);
    list.Assign(streamer.List);
}

}  // namespace orvella
