// The layout editor and its face: loading the face's objects from the
// document and writing them back, switching faces and sheets, the hooks it
// installs while it is shown, and the style of new and selected objects.

#include "app/layout_window.h"

#include "app/draw_site_widget.h"
#include "app/layout_ruler.h"
#include "app/move_mode_bar.h"
#include "app/sheet_tabs.h"
#include "document/document_classes.h"
#include "document/face_snap.h"
#include "document/grid.h"
#include "document/guide.h"
#include "document/label_data.h"
#include "document/paper_pattern.h"
#include "document/paper_site.h"
#include "drawing/action_list.h"
#include "drawing/designer.h"
#include "drawing/do_interfaces.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action.h"
#include "drawing/object_utils.h"
#include "drawing/universal_ghost.h"
#include "frame/app_frame.h"
#include "frame/macro_string.h"
#include "graphics/color_fill.h"
#include "graphics/color_fill_history.h"
#include "paper/extra_info.h"
#include "paper/paper_info.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>

namespace orvella {

namespace {

// A plain colour as a fill, for the interfaces that take a fill.
template <class Interface>
void setSolid(Interface& target, TColor color)
{
    TColorSpec fill;
    fill.SetKind(TColorSpecKind::cskSolid);
    fill.SetStyle(TBrushStyle::bsSolid);
    fill.SetColor(color);
    target.SetColorSpec(fill);
}

int32_t styleBits(const TFont& font)
{
    return (font.Bold ? 1 : 0) | (font.Italic ? 2 : 0) | (font.Underline ? 4 : 0) | (font.StrikeOut ? 8 : 0);
}

void setStyleBits(TFont& font, int32_t style)
{
    font.Bold = style & 1;
    font.Italic = style & 2;
    font.Underline = style & 4;
    font.StrikeOut = style & 8;
}

void recordColor(TColor color)
{
    if (!GetSettingBool("UseColorSpecHistory", true))
        return;
    const std::string file = ExpandMacros("$(ColorSpecHistory)");
    if (file.find("$(") != std::string::npos)
        return;
    // A history that cannot be written never costs the user the colour.
    try {
        TColorSpecHistory history;
        history.SetFilename(file);
        TColorSpec fill;
        fill.SetColor(color);
        history.Add(fill);
    } catch (const std::exception&) {
    }
}

}  // namespace

// --- the document ---------------------------------------------------------------

void TfrmLayout::ShowDocument(TLabelData& data)
{
    data_ = &data;
    moveBar_->SetGrid(&data.Grid());
    fillSheetTabs();
    LoadFace();
    updateStatus();
    siteWidget_->show();
    siteWidget_->setFocus(Qt::OtherFocusReason);
}

void TfrmLayout::fillSheetTabs()
{
    std::vector<std::string> names;
    try {
        data_->GetSheetNames(names);
    } catch (const std::exception&) {
        // The tabs show what could be read; the current sheet stays current.
    }
    QStringList captions;
    for (const std::string& name : names)
        captions << QString::fromStdString(name);
    tabs_->SetSheetNames(captions, data_->CurrentSheet());
}

void TfrmLayout::LoadFace()
{
    if (!data_)
        return;
    paper_ = data_->EffectivePaper();
    const int32_t faceNo = data_->CurrentLabelNo();

    // The miniature: the whole paper with the pattern of every face.
    for (TDrawObject* pattern : miniaturePatterns_)
        paperSite_->RemoveObject(*pattern);
    miniaturePatterns_.clear();
    const QWidget* paperFrame = paperWidget_->parentWidget();
    paperSite_->ShowPaper(paper_.get(), {0, 0, paperFrame->width() - 4, paperFrame->height() - 4});
    paperWidget_->setFixedSize(paperSite_->Width(), paperSite_->Height());
    face_ = TFaceInfo();
    if (paper_) {
        for (int32_t face = 0; face < paper_->GetFaceCount(); ++face) {
            TFaceInfo info;
            info.LoadFromPaper(*paper_, face);
            const TRect outer = info.GetOuterRect();
            for (auto& pattern :
                 PaperPatternObjects(data_->ImagePaperInfo(), face, paper_->Landscape, outer.Bottom - outer.Top)) {
                if (auto bounds = Supports<IDOEncloseBounds>(pattern.get()))
                    bounds->MoveBy(outer.Left, outer.Top);
                TDrawObject& shown = paperSite_->InsertOwnedObject(std::move(pattern));
                miniaturePatterns_.push_back(&shown);
                // Over the faces, which paint their paper white.
                shown.SetLayerGroup(1);
                paperSite_->AddObject(shown);
                shown.SetSelectable(false);
                shown.SetEnabled(false);
            }
        }
        if (faceNo >= 0 && faceNo < paper_->GetFaceCount()) {
            paperSite_->SelectFace(faceNo);
            face_.LoadFromPaper(*paper_, faceNo);
        }
    }
    paperSite_->Invalidate();

    const TRect outer = face_.GetOuterRect();
    const int32_t width = outer.Right - outer.Left;
    const int32_t height = outer.Bottom - outer.Top;
    if (GhostList().Concerns(*site_))
        GhostList().Cancel();
    // The history refers to the objects about to go.
    ActionList().Clear();
    site_->SetAllSelected(false);
    site_->RemoveHandles();
    while (site_->ObjectCount() > 0)
        site_->RemoveObject(site_->Objects(site_->ObjectCount() - 1));
    site_->SetLogWidth(width);
    site_->SetLogHeight(height);

    // The paper's pattern under everything, out of reach of the mouse.
    if (paper_)
        for (auto& pattern : PaperPatternObjects(data_->ImagePaperInfo(), faceNo, paper_->Landscape, height)) {
            TDrawObject& added = site_->InsertOwnedObject(std::move(pattern));
            site_->AddObject(added);
            added.SetSelectable(false);
            added.SetEnabled(false);
        }
    std::vector<std::unique_ptr<TDrawObject>> objects;
    try {
        objects = data_->LoadFaceObjects(faceNo);
    } catch (const std::exception&) {
        // A face that cannot be read shows empty; the frame reports why.
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    for (auto& loaded : objects) {
        TDrawObject& object = site_->InsertOwnedObject(std::move(loaded));
        if (auto faced = Supports<IDOFaceInfo>(&object)) {
            faced->SetFaceInfo(&face_);
            if (auto position = Supports<IDOPosition>(&object)) {
                position->SetLeft(0);
                position->SetTop(0);
                position->SetWidth(width);
                position->SetHeight(height);
            }
        }
        site_->AddObject(object);
    }
    site_->SetModified(false);
    ActionList().Clear();

    data_->Guide().ClipTo({0, 0, width, height});
    hRuler_->SetLength(width / 10.0);
    vRuler_->SetLength(height / 10.0);
    applyZoom();
    site_->Invalidate();
    updateCommands();
}

void TfrmLayout::FlushFace()
{
    if (!data_ || !site_->Modified())
        return;
    TDOList all;
    site_->GetObjects(all, false);
    TDOList own;
    for (std::size_t i = 0; i < all.Count(); ++i)
        if (all[i].LayerGroup() != kPaperPatternLayerGroup)
            own.Add(all[i]);
    ActionList().Clear();
    data_->SaveFaceObjects(data_->CurrentLabelNo(), own);
    site_->SetModified(false);
}

bool TfrmLayout::SiteModified() const { return data_ && site_->Modified(); }

void TfrmLayout::ClearSiteModified() { site_->SetModified(false); }

void TfrmLayout::ResetView()
{
    if (GhostList().Concerns(*site_))
        GhostList().Cancel();
    ActionList().Clear();
    site_->RemoveHandles();
    while (site_->ObjectCount() > 0)
        site_->RemoveObject(site_->Objects(site_->ObjectCount() - 1));
    site_->SetModified(false);
    for (TDrawObject* pattern : miniaturePatterns_)
        paperSite_->RemoveObject(*pattern);
    miniaturePatterns_.clear();
    paperSite_->ShowPaper(nullptr);
    paper_.reset();
    moveBar_->SetGrid(nullptr);
    data_ = nullptr;
    ForgetZoom();
    autoZoom_ = true;
}

void TfrmLayout::faceClicked()
{
    if (!data_)
        return;
    const int face = paperSite_->SelectedFaceIndex();
    if (face < 0 || face == data_->CurrentLabelNo())
        return;
    FlushFace();
    data_->SetCurrentLabelNo(face);
    LoadFace();
}

void TfrmLayout::sheetChanged(int index)
{
    if (!data_ || index < 0 || index == data_->CurrentSheet())
        return;
    FlushFace();
    data_->SelectSheet(index);
    LoadFace();
    updateStatus();
}

// --- hooks ----------------------------------------------------------------------

void TfrmLayout::installHooks()
{
    if (hooksInstalled_)
        return;
    hooksInstalled_ = true;
    SetSnapHook([this](TPoint logical) {
        if (!data_)
            return TSnapOffset();
        const bool alt = QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
        const int32_t tolerance = site_->DeviceToLogical({10, 0}).x - site_->DeviceToLogical({0, 0}).x;
        return AsSnapOffset(FaceSnapOffset(logical, tolerance, &data_->Grid(), &data_->Guide(), alt));
    });
    LabelObjectCreator().OnObjectCreated = [this](TDrawObject& object) { objectCreated(object); };
}

void TfrmLayout::removeHooks()
{
    if (!hooksInstalled_)
        return;
    hooksInstalled_ = false;
    SetSnapHook({});
    LabelObjectCreator().OnObjectCreated = {};
}

void TfrmLayout::objectCreated(TDrawObject& object)
{
    const TStyleToolSpec& style = defaults_;
    if (auto fill = Supports<IDOOptionalColorSpec>(&object)) {
        setSolid(*fill, style.BrushColor);
        fill->SetDisabled(style.BrushNone);
    }
    if (auto pen = Supports<IDOColorSpec>(&object))
        setSolid(*pen, style.PenColor);
    if (auto font = Supports<IDOFont>(&object)) {
        TFont value = font->GetFont();
        value.Name = style.FontName;
        value.Charset = style.Charset;
        value.SetSize(style.FontSize);
        setStyleBits(value, style.Style);
        font->SetFont(value);
    }
    if (auto align = Supports<IDOAlign>(&object))
        align->SetAlign(style.Align);
    if (auto feed = Supports<IDOFeedAngle>(&object))
        feed->SetFeedAngle(style.FeedAngle);

    // A new object takes after the selected one where both can.
    TDOList selected;
    site_->GetObjects(selected, true);
    TDrawObject* model = nullptr;
    for (std::size_t i = 0; i < selected.Count() && !model; ++i)
        if (&selected[i] != &object)
            model = &selected[i];
    if (model) {
        if (auto from = Supports<IDOOptionalColorSpec>(model))
            if (auto to = Supports<IDOOptionalColorSpec>(&object)) {
                to->SetColorSpec(from->GetColorSpec());
                to->SetDisabled(from->GetDisabled());
            }
        if (auto from = Supports<IDOColorSpec>(model))
            if (auto to = Supports<IDOColorSpec>(&object))
                to->SetColorSpec(from->GetColorSpec());
        if (auto from = Supports<IDOFont>(model))
            if (auto to = Supports<IDOFont>(&object))
                to->SetFont(from->GetFont());
        if (auto from = Supports<IDOAlign>(model))
            if (auto to = Supports<IDOAlign>(&object))
                to->SetAlign(from->GetAlign());
        if (auto from = Supports<IDOFeedAngle>(model))
            if (auto to = Supports<IDOFeedAngle>(&object))
                to->SetFeedAngle(from->GetFeedAngle());
    }
    if (auto faced = Supports<IDOFaceInfo>(&object))
        faced->SetFaceInfo(&face_);
}

// --- style of the selection -------------------------------------------------------

void TfrmLayout::applyStyle(TStyleChange change)
{
    const TStyleToolSpec& state = styleBar_->State();
    if (change == TStyleChange::PenColor)
        recordColor(state.PenColor);
    if (change == TStyleChange::BrushColor && !state.BrushNone)
        recordColor(state.BrushColor);
    TDOList selected;
    site_->GetObjects(selected, true);
    const bool blend = int(change) == -1;
    if (selected.Count() == 0) {
        if (!blend)
            defaults_ = state;
        return;
    }
    // Only the objects that have the attribute take part.
    std::vector<TDrawObject*> targets;
    for (std::size_t i = 0; i < selected.Count(); ++i) {
        TDrawObject* object = &selected[i];
        bool has = false;
        switch (change) {
        case TStyleChange::FontName:
        case TStyleChange::FontSize:
        case TStyleChange::Style: has = static_cast<bool>(Supports<IDOFont>(object)); break;
        case TStyleChange::Align: has = static_cast<bool>(Supports<IDOAlign>(object)); break;
        case TStyleChange::FeedAngle: has = static_cast<bool>(Supports<IDOFeedAngle>(object)); break;
        case TStyleChange::PenColor: has = static_cast<bool>(Supports<IDOColorSpec>(object)); break;
        case TStyleChange::BrushColor: has = static_cast<bool>(Supports<IDOOptionalColorSpec>(object)); break;
        default: has = static_cast<bool>(Supports<IDOBlend>(object)); break;
        }
        if (has)
            targets.push_back(object);
    }
    if (targets.empty())
        return;
    const int32_t ratio = 100 - blend_->value();
    try {
        const TActionGroupGuard group("設定変更");
        for (TDrawObject* object : targets)
            RunRecorded(TActionType::atChange, *site_, *object, [&] {
                switch (change) {
                case TStyleChange::FontName:
                case TStyleChange::FontSize:
                case TStyleChange::Style: {
                    auto font = Supports<IDOFont>(object);
                    TFont value = font->GetFont();
                    if (change == TStyleChange::FontName) {
                        value.Name = state.FontName;
                        value.Charset = state.Charset;
                    } else if (change == TStyleChange::FontSize) {
                        value.SetSize(state.FontSize);
                    } else {
                        setStyleBits(value, state.Style);
                    }
                    font->SetFont(value);
                    break;
                }
                case TStyleChange::Align: Supports<IDOAlign>(object)->SetAlign(state.Align); break;
                case TStyleChange::FeedAngle: Supports<IDOFeedAngle>(object)->SetFeedAngle(state.FeedAngle); break;
                case TStyleChange::PenColor: setSolid(*Supports<IDOColorSpec>(object), state.PenColor); break;
                case TStyleChange::BrushColor: {
                    auto fill = Supports<IDOOptionalColorSpec>(object);
                    if (!state.BrushNone)
                        setSolid(*fill, state.BrushColor);
                    fill->SetDisabled(state.BrushNone);
                    break;
                }
                default: Supports<IDOBlend>(object)->SetBlendRatio(ratio); break;
                }
            });
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->Invalidate();
}

void TfrmLayout::showSelectionStyle()
{
    TDOList selected;
    site_->GetObjects(selected, true);
    if (selected.Count() == 0) {
        if (!selectionWasEmpty_ || !(styleBar_->State() == defaults_))
            styleBar_->ShowState(defaults_);
        selectionWasEmpty_ = true;
        return;
    }
    selectionWasEmpty_ = false;
    TDrawObject* first = &selected[0];
    TStyleToolSpec shown = styleBar_->State();
    if (auto font = Supports<IDOFont>(first)) {
        const TFont value = font->GetFont();
        shown.FontName = value.Name;
        shown.Charset = uint8_t(value.Charset);
        shown.FontSize = value.Size();
        shown.Style = styleBits(value);
    }
    if (auto align = Supports<IDOAlign>(first))
        shown.Align = align->GetAlign();
    if (auto feed = Supports<IDOFeedAngle>(first))
        shown.FeedAngle = feed->GetFeedAngle();
    if (auto pen = Supports<IDOColorSpec>(first))
        shown.PenColor = pen->GetColorSpec().Color();
    if (auto fill = Supports<IDOOptionalColorSpec>(first)) {
        shown.BrushColor = fill->GetColorSpec().Color();
        shown.BrushNone = fill->GetDisabled();
    }
    if (!(shown == styleBar_->State()))
        styleBar_->ShowState(shown);
    if (auto blend = Supports<IDOBlend>(first); blend && !blend_->isSliderDown()) {
        const QSignalBlocker quiet(blend_);
        blend_->setValue(100 - blend->GetBlendRatio());
        blendValue_->setText(QStringLiteral("%1%").arg(blend_->value()));
    }
}

// --- keys -----------------------------------------------------------------------

void TfrmLayout::arrowKey(const TSiteKeyEvent& event)
{
    int32_t dx = 0;
    int32_t dy = 0;
    switch (event.Key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return;
    }
    const int32_t step = event.Shift & ssShift ? 1 : 10;
    TDOList selected;
    site_->GetObjects(selected, true);
    std::vector<TDrawObject*> movable;
    for (std::size_t i = 0; i < selected.Count(); ++i)
        if (selected[i].Movable() && Supports<IDOEncloseBounds>(&selected[i]))
            movable.push_back(&selected[i]);
    if (movable.empty())
        return;
    const TRect siteRect{0, 0, site_->LogWidth(), site_->LogHeight()};
    try {
        const TActionGroupGuard group("移動");
        for (TDrawObject* object : movable)
            RunRecorded(TActionType::atChange, *site_, *object, [&] {
                Supports<IDOEncloseBounds>(object)->MoveBy(dx * step, dy * step);
                TDOList one;
                one.Add(*object);
                KeepCentresInside(one, siteRect);
            });
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
    }
    site_->RefreshHandles();
    updateStatus();
}

}  // namespace orvella
