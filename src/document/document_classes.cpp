#include "document/document_classes.h"

#include "document/do_group.h"
#include "document/label_data.h"
#include "document/lo_face.h"
#include "drawing/designer.h"
#include "drawing/ghost_designers.h"
#include "drawing/move_ghost.h"
#include "formats/class_registry.h"
#include "paper/papers.h"

#include <memory>

namespace orvella {

namespace {

const std::shared_ptr<TLOCreator>& creator()
{
    static const std::shared_ptr<TLOCreator> shared = std::make_shared<TLOCreator>();
    return shared;
}

}  // namespace

TLOCreator& LabelObjectCreator() { return *creator(); }

void RegisterDocumentClasses()
{
    RegisterCatalogClasses();
    RegisterLabelDataClasses();
    RegisterClass(TDOGroup::StaticClassInfo());
    // Handles and drag outlines of every object, chosen by its interfaces.
    RegisterGhostDesigners();
    // A face moves plainly: no circular moves, no copies.
    if (!TLOFace::MakeMoveGhost)
        TLOFace::MakeMoveGhost = [](TLOFace& face) -> std::unique_ptr<TGhost> {
            return std::make_unique<TSimpleMoveGhost>(face);
        };
    if (!DesignerList().Contains(*creator()))
        DesignerList().Register(creator());
}

}  // namespace orvella
