#include "document/ld_objects.h"

#include "formats/byte_reader.h"
#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "formats/property_table.h"
#include "drawing/do_list.h"
#include "drawing/do_reader.h"
#include "drawing/draw_object.h"
#include "platform/zlib_container.h"

namespace orvella {

namespace {

std::vector<TFaceObjectHooks>& Hooks()
{
    static std::vector<TFaceObjectHooks> hooks;
    return hooks;
}

}  // namespace

const TClassInfo& TLDObjects::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLDObjects, TComponent>("TLDObjects", {});
    return info;
}

void TLDObjects::GetChildren(const std::function<void(TComponent&)>& proc) const
{
    if (!list_)
        return;
    for (std::size_t i = list_->Count(); i-- > 0;)
        proc(list_->Items(i));
}

std::string WriteFaceObjects(const TDOList& list)
{
    TLDObjects root;
    root.SetObjects(&list);
    return WriteComponentRes(kLabelDataResource, root);
}

std::vector<std::unique_ptr<TDrawObject>> ReadFaceObjects(std::string_view bytes)
{
    std::string unpacked;
    if (IsZlibContainer(bytes)) {
        unpacked = DecompressContainer(bytes);
        bytes = unpacked;
    }
    std::vector<std::unique_ptr<TDrawObject>> objects;
    if (bytes.empty())
        return objects;
    TLDObjects root;
    TByteReader in(bytes);
    ReadObjectRes(in, &root);
    // The reader leaves every component it made with the root; what is not
    // taken here (components that are no drawing objects) goes with it.
    for (TDrawObject* member : root.Members()) {
        if (member->Owner() != &root)
            continue;
        std::unique_ptr<TComponent> component = root.RemoveComponent(*member);
        component.release();
        objects.emplace_back(member);
    }
    return objects;
}

void AddFaceObjectHooks(TFaceObjectHooks hooks) { Hooks().push_back(std::move(hooks)); }

void ClearFaceObjectHooks() { Hooks().clear(); }

const std::vector<TFaceObjectHooks>& FaceObjectHooks() { return Hooks(); }

void RegisterLDObjectsClasses() { RegisterClass(TLDObjects::StaticClassInfo()); }

}  // namespace orvella
