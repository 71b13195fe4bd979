#pragma once
// The colour stops of a gradient, repeated RepeatCount times across it.

#include "graphics/change_notify.h"
#include "graphics/graphics_types.h"
#include "formats/persistent.h"

#include <vector>

namespace orvella {

class TGradationColors : public TPersistent {
    ORVELLA_PERSISTENT(TGradationColors)

public:
    TGradationColors();

    int32_t RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int32_t count);

    int32_t Count() const { return int32_t(colors_.size()); }
    // New stops are black; extra stops are dropped.
    void SetCount(int32_t count);
    // Raises std::out_of_range outside the list.
    TColor Color(int32_t index) const;
    void SetColor(int32_t index, TColor color);
    const std::vector<TColor>& Colors() const { return colors_; }
    void SetColors(const std::vector<TColor>& colors);

    // Count x RepeatCount colours; entry j is stop j mod Count.
    std::vector<TColor> ExpandColors() const;
    void ReverseColors();
    void Assign(const TGradationColors& source);
    // Only the initial white, black pair.
    bool IsDefault() const;

    void DefineProperties(TFiler& filer) override;
    TChangeNotify& Notifier() { return notifier_; }

private:
    int32_t repeatCount_ = 1;
    std::vector<TColor> colors_;
    TChangeNotify notifier_{this};
};

}  // namespace orvella
