#include "objects/split_text.h"

#include "drawing/action_list.h"
#include "drawing/do_interfaces.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action.h"
#include "drawing/draw_types.h"
#include "formats/component_stream.h"
#include "objects/lo_shade_text.h"
#include "platform/win_math.h"

#include <memory>
#include <string>
#include <vector>

namespace orvella {

namespace {

constexpr char kSplitCaption[] = "文字列の分割";

// The strip of line index out of count across area: rows from the top, or
// for vertical text columns from the right. Neighbouring strips share
// their edges, so together they cover the area exactly.
TRect stripOf(const TRect& area, int32_t index, int32_t count, bool vertical)
{
    if (vertical) {
        const int32_t width = area.Right - area.Left;
        return {area.Right - MulDiv(index + 1, width, count), area.Top, area.Right - MulDiv(index, width, count),
                area.Bottom};
    }
    const int32_t height = area.Bottom - area.Top;
    return {area.Left, area.Top + MulDiv(index, height, count), area.Right, area.Top + MulDiv(index + 1, height, count)};
}

// A text of the current class made from any text: assigned when the classes
// agree, else carried over through the stored form, which every text class
// shares up to its own additions.
std::unique_ptr<TLOCurrentText> copyAsCurrentText(const TLOText& source)
{
    auto copy = std::make_unique<TLOCurrentText>();
    if (&source.ClassInfo() == &copy->ClassInfo())
        copy->Assign(source);
    else
        ReadComponent(WriteComponent(source), *copy);
    return copy;
}

}  // namespace

int SplitTexts(TDrawSite& site, TSize faceSize, const std::function<void(TDrawObject&)>& created)
{
    TDOList selected;
    site.GetObjects(selected, true);
    std::vector<TLOText*> sources;
    for (std::size_t i = 0; i < selected.Count(); ++i)
        if (auto* text = dynamic_cast<TLOText*>(&selected[i]); text && text->Text().size() > 1)
            sources.push_back(text);
    if (sources.empty())
        return 0;

    // Every new text is made before the site changes, so that a text that
    // cannot be copied leaves the site as it was.
    std::vector<std::unique_ptr<TLOCurrentText>> made;
    for (TLOText* source : sources) {
        const std::vector<std::string> lines = source->Text();
        const int32_t count = int32_t(lines.size());
        const TRect ink = source->Engine().TextBounds(source->Rect());
        const int64_t dx = faceSize.cx / 2 - (int64_t(ink.Left) + ink.Right) / 2;
        const int64_t dy = faceSize.cy / 2 - (int64_t(ink.Top) + ink.Bottom) / 2;
        const TRect area{SaturateInt32(ink.Left + dx), SaturateInt32(ink.Top + dy), SaturateInt32(ink.Right + dx),
                         SaturateInt32(ink.Bottom + dy)};
        for (int32_t index = 0; index < count; ++index) {
            std::unique_ptr<TLOCurrentText> copy = copyAsCurrentText(*source);
            if (const TIntfRef<IDOWizardInput> input = Supports<IDOWizardInput>(copy.get())) {
                input->SetWizInputEnable(false);
                input->SetWizInputCaption({});
            }
            copy->SetText({lines[std::size_t(index)]});
            copy->SetBoundsRect(stripOf(area, index, count, source->Vertical()));
            made.push_back(std::move(copy));
        }
    }

    site.SetAllSelected(false);
    // One command for the user: undone as a whole.
    TActionGroupGuard group(kSplitCaption);
    for (std::unique_ptr<TLOCurrentText>& copy : made) {
        TDrawObject& object = site.InsertOwnedObject(std::move(copy));
        if (created)
            created(object);
        object.SetCursor(crHandPoint);
        RunRecorded(TActionType::atAdd, site, object, [&] { site.AddObject(object); });
        object.SetSelected(true);
    }
    site.RefreshHandles();
    return int(made.size());
}

}  // namespace orvella
