#include "music/object_lines.h"

#include "drawing/action_list.h"
#include "drawing/draw_object.h"
#include "formats/property_table.h"
#include "formats/string_list.h"
#include "objects/lo_text.h"

namespace orvella {

namespace {

TStringList* LinesOf(TPersistent& object)
{
    const TPropInfo* property = object.ClassInfo().FindProperty("Lines");
    if (!property || property->Kind != TPropKind::Object || !property->GetObject)
        return nullptr;
    return dynamic_cast<TStringList*>(property->GetObject(object));
}

// Text objects keep their lines in their layout engine: they take them
// through their own setter, which lays them out and reports the change.
void Apply(TPersistent& object, const std::vector<std::string>& lines)
{
    if (auto* text = dynamic_cast<TLOText*>(&object)) {
        text->SetText(lines);
        return;
    }
    if (TStringList* list = LinesOf(object)) {
        list->Lines = lines;
        if (auto* drawObject = dynamic_cast<TDrawObject*>(&object))
            drawObject->Changed();
    }
}

class TSetLinesAction : public TActionBase {
public:
    TSetLinesAction(TPersistent& object, std::vector<std::string> before, std::vector<std::string> after,
        const std::string& caption)
        : object_(object)
        , before_(std::move(before))
        , after_(std::move(after))
    {
        SetFlags(afUndo | afRedo);
        SetCaption(caption);
    }
    void Undo() override { Apply(object_, before_); }
    void Redo() override { Apply(object_, after_); }

private:
    TPersistent& object_;
    std::vector<std::string> before_;
    std::vector<std::string> after_;
};

} // namespace

bool SetObjectLines(
    TPersistent& object, const std::vector<std::string>& lines, TActionList& history, const std::string& caption)
{
    std::vector<std::string> before;
    if (const auto* text = dynamic_cast<const TLOText*>(&object)) {
        before = text->Text();
    } else if (const TStringList* list = LinesOf(object)) {
        before = list->Lines;
    } else {
        return false;
    }
    auto step = std::make_unique<TSetLinesAction>(object, std::move(before), lines, caption);
    Apply(object, lines);
    history.Add(std::move(step));
    return true;
}

} // namespace orvella
