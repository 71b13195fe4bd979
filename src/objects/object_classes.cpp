#include "objects/object_classes.h"

#include "document/document_classes.h"
#include "document/ld_objects.h"
#include "drawing/designer.h"
#include "drawing/draw_site.h"
#include "formats/class_registry.h"
#include "objects/code_classes.h"
#include "objects/coons_distortion.h"
#include "objects/image_classes.h"
#include "objects/lo_date.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"
#include "objects/lo_shade_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <sstream>

namespace orvella {

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void registerTextCommands(TLOCreator& creator)
{
    // Every name a text object is made or read under gives the newest text class.
    for (const char* name : {"TLOTextPaste", "TLOShadeText", "TLOWizardText"})
        creator.AddAlias(name, "TLOText");
    const auto autoSize = [](TDrawObject& object, TDrawSite&) {
        if (auto* text = dynamic_cast<TLOText*>(&object))
            text->SetAutoSize(true);
    };
    creator.AddCommand("TLOText", {"", true, false, autoSize});
    creator.AddCommand("TLOShadeText", {"", true, false, nullptr});
    creator.AddCommand("TLOWizardText", {"", true, false, nullptr});
    creator.AddCommand("TLOTextPaste", {"", false, false, [](TDrawObject& object, TDrawSite&) {
        auto* text = dynamic_cast<TLOText*>(&object);
        if (!text)
            return;
        text->SetAutoSize(true);
        if (const QClipboard* clipboard = QGuiApplication::clipboard())
            text->SetText(splitLines(clipboard->text().toStdString()));
    }});
    creator.AddCommand("TLODate", {"", true, false, [](TDrawObject& object, TDrawSite&) {
        if (auto* date = dynamic_cast<TLODate*>(&object)) {
            date->SetAutoSize(true);
            date->SetDate(DaysFromDateTime(QDateTime::currentDateTime()));
        }
    }});
}

// Lines and shapes are drawn out on the face; a decorative line first asks
// for its pattern. The editor's captions name the same commands.
void registerShapeCommands(TLOCreator& creator)
{
    TCreationCommand decoLine;
    decoLine.EditFirst = true;
    decoLine.PlaceByDragging = false;
    creator.AddCommand("TLODecoLine", decoLine);
    creator.AddCommand("飾り罫線", decoLine);
    creator.AddAlias("直線", "TLOLine");
    creator.AddAlias("円弧", "TLOCurve");
    creator.AddAlias("四角", "TLORect");
    creator.AddAlias("円", "TLOCircle");
    creator.AddAlias("飾り罫線", "TLODecoLine");
}

void registerDateTimes()
{
    TFaceObjectHooks hooks;
    hooks.ApplyDocumentTimes = [](TDrawObject& object, const TDocumentTimes& times) {
        auto* date = dynamic_cast<TLODate*>(&object);
        if (!date)
            return;
        switch (date->UpdateFlag()) {
        case TDateUpdateFlag::dufOpen:
            date->SetDate(times.Opened);
            break;
        case TDateUpdateFlag::dufPrint:
            date->SetDate(times.LastPrint);
            break;
        case TDateUpdateFlag::dufSave:
            date->SetDate(times.LastSave);
            break;
        case TDateUpdateFlag::dufNo:
            break;
        }
    };
    AddFaceObjectHooks(std::move(hooks));
}

}  // namespace

void RegisterObjectClasses()
{
    RegisterDocumentClasses();
    static bool done = false;
    RegisterClasses({
        &TCoonsDistortion::StaticClassInfo(),
        &TLOCurrentText::StaticClassInfo(),
        &TLODate::StaticClassInfo(),
        &TLOLine::StaticClassInfo(),
        &TLOCurve::StaticClassInfo(),
        &TLODecoLine::StaticClassInfo(),
        &TLORect::StaticClassInfo(),
        &TLOCircle::StaticClassInfo(),
    });
    RegisterCodeClasses();
    RegisterImageClasses();
    if (done)
        return;
    done = true;
    registerTextCommands(LabelObjectCreator());
    registerShapeCommands(LabelObjectCreator());
    registerDateTimes();
}

}  // namespace orvella
