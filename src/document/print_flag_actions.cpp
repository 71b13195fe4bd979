#include "document/print_flag_actions.h"

#include "document/label_object.h"
#include "drawing/draw_site_action_object.h"

namespace orvella {

TDSADontPrint::TDSADontPrint(QObject* parent) : TDSADontPrint("印刷禁止にする(&N)", true, parent) {}

TDSADontPrint::TDSADontPrint(const char* caption, bool dontPrint, QObject* parent)
    : TStandardDSA(caption, QKeySequence(), parent), dontPrint_(dontPrint)
{
    ActionType = TActionType::atChange;
    ActionString = "設定変更";
    TargetClassName = "TLabelObject";
}

void TDSADontPrint::MakeList(TDrawSite& site)
{
    TStandardDSA::MakeList(site);
    // Without the class registered the name does not narrow the list.
    FilterTargets(Targets(), [this](TDrawObject& object) {
        const auto* label = dynamic_cast<TLabelObject*>(&object);
        return label && label->DontPrint() != dontPrint_;
    });
}

void TDSADontPrint::EachObject(TDrawSite&, TDrawObject& object)
{
    if (auto* label = dynamic_cast<TLabelObject*>(&object))
        label->SetDontPrint(dontPrint_);
}

TDSADoPrint::TDSADoPrint(QObject* parent) : TDSADontPrint("印刷禁止にしない(&I)", false, parent) {}

}  // namespace orvella
