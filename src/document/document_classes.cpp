#include "document/document_classes.h"

#include "document/do_group.h"
#include "document/label_data.h"
#include "drawing/designer.h"
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
    if (!DesignerList().Contains(*creator()))
        DesignerList().Register(creator());
}

}  // namespace orvella
