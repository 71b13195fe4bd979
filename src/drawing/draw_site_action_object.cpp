#include "drawing/draw_site_action_object.h"

#include "drawing/designer.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_object.h"
#include "drawing/draw_site.h"

namespace orvella {

namespace {

constexpr char kSettingChanged[] = "設定変更";

}  // namespace

void FilterTargets(TDOList& targets, const std::function<bool(TDrawObject&)>& keep)
{
    std::vector<TDrawObject*> kept;
    for (std::size_t i = 0; i < targets.Count(); ++i)
        if (keep(targets[i]))
            kept.push_back(&targets[i]);
    targets.Clear();
    for (TDrawObject* object : kept)
        targets.Add(*object);
}

// --- z-order ------------------------------------------------------------------------

TDSABringToFront::TDSABringToFront(QObject* parent)
    : TStandardDSA("前面に移動(&W)", QKeySequence(Qt::CTRL | Qt::Key_F), parent)
{
    ActionType = TActionType::atLayer;
    ActionString = "最前面";
}

void TDSABringToFront::EachObject(TDrawSite& site, TDrawObject& object)
{
    site.BringToFront(object);
}

TDSASendToBack::TDSASendToBack(QObject* parent)
    : TStandardDSA("背面に移動(&K)", QKeySequence(Qt::CTRL | Qt::Key_B), parent)
{
    ActionType = TActionType::atLayer;
    ActionString = "最背面";
    FromFront = true;
}

void TDSASendToBack::EachObject(TDrawSite& site, TDrawObject& object)
{
    site.SendToBack(object);
}

// --- select all ---------------------------------------------------------------------

TDSASelectAll::TDSASelectAll(QObject* parent)
    : TStandardDSA("すべて選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), parent)
{
    SelectedOnly = false;
}

void TDSASelectAll::MakeList(TDrawSite& site)
{
    TStandardDSA::MakeList(site);
    FilterTargets(Targets(), [](TDrawObject& object) { return object.Selectable(); });
}

void TDSASelectAll::EachObject(TDrawSite&, TDrawObject& object)
{
    object.SetSelected(true);
}

// --- lock ------------------------------------------------------------------------------

TDSALock::TDSALock(QObject* parent) : TDSALock("固定する(&O)", "オブジェクト固定", false, parent) {}

TDSALock::TDSALock(const char* caption, const char* undoCaption, bool movable, QObject* parent)
    : TStandardDSA(caption, QKeySequence(), parent), movable_(movable)
{
    ActionType = TActionType::atChange;
    ActionString = undoCaption;
}

void TDSALock::MakeList(TDrawSite& site)
{
    TStandardDSA::MakeList(site);
    FilterTargets(Targets(), [this](TDrawObject& object) { return object.Movable() != movable_; });
}

void TDSALock::EachObject(TDrawSite&, TDrawObject& object)
{
    object.SetMovable(movable_);
}

TDSAUnlock::TDSAUnlock(QObject* parent) : TDSALock("固定しない(&U)", "オブジェクト固定解除", true, parent) {}

// --- writing direction ---------------------------------------------------------------

TDSAVertText::TDSAVertText(QObject* parent) : TDSAVertText("縦書き(&V)", true, parent) {}

TDSAVertText::TDSAVertText(const char* caption, bool vertical, QObject* parent)
    : TStandardDSA(caption, QKeySequence(), parent), vertical_(vertical)
{
    ActionType = TActionType::atChange;
    ActionString = kSettingChanged;
}

void TDSAVertText::MakeList(TDrawSite& site)
{
    TStandardDSA::MakeList(site);
    FilterTargets(Targets(), [this](TDrawObject& object) {
        const TIntfRef<IDOVertical> writing = Supports<IDOVertical>(&object);
        return writing && writing->GetVertical() != vertical_;
    });
}

void TDSAVertText::EachObject(TDrawSite&, TDrawObject& object)
{
    if (const TIntfRef<IDOVertical> writing = Supports<IDOVertical>(&object))
        writing->SetVertical(vertical_);
}

TDSAHorzText::TDSAHorzText(QObject* parent) : TDSAVertText("横書き(&H)", false, parent) {}

// --- properties -------------------------------------------------------------------------

TDSAEditProperty::TDSAEditProperty(QObject* parent) : TStandardDSA("プロパティ(&O)", QKeySequence(), parent)
{
    ActionType = TActionType::atChange;
    ActionString = kSettingChanged;
    TargetClassName = "TLabelObject";
    MultiSelect = false;
}

void TDSAEditProperty::EachObject(TDrawSite&, TDrawObject& object)
{
    bool cancelled = false;
    DesignerList().EditObject(object, cancelled);
}

// --- rotation ----------------------------------------------------------------------------

TDSAOffsetAngle::TDSAOffsetAngle(const char* caption, int32_t offsetAngle, QObject* parent)
    : TStandardDSA(caption, QKeySequence(), parent), OffsetAngle(offsetAngle)
{
    ActionType = TActionType::atChange;
    ActionString = kSettingChanged;
}

void TDSAOffsetAngle::MakeList(TDrawSite& site)
{
    TStandardDSA::MakeList(site);
    FilterTargets(Targets(), [](TDrawObject& object) { return bool(Supports<IDORotate>(&object)); });
}

void TDSAOffsetAngle::EachObject(TDrawSite&, TDrawObject& object)
{
    if (const TIntfRef<IDORotate> rotate = Supports<IDORotate>(&object))
        rotate->SetAngle(rotate->GetAngle() + OffsetAngle);
}

TDSAOffsetAngle* MakeRotateRight(QObject* parent)
{
    return new TDSAOffsetAngle("右に90ﾟ(&I)", 90, parent);
}

TDSAOffsetAngle* MakeRotateHalf(QObject* parent)
{
    return new TDSAOffsetAngle("180ﾟ(&O)", 180, parent);
}

TDSAOffsetAngle* MakeRotateLeft(QObject* parent)
{
    return new TDSAOffsetAngle("左に90ﾟ(&E)", 270, parent);
}

}  // namespace orvella
