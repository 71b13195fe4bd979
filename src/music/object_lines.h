#pragma once
// Putting text lines (a track list) into a label object through its
// published string list "Lines", as one step of the undo history, so that
// it works with any class that publishes such a property.

#include <string>
#include <vector>

namespace orvella {

class TActionList;
class TPersistent;

// Replaces the object's "Lines" with `lines` and records one undo step with
// `caption`. False (and nothing recorded) when the class publishes no
// string list named "Lines". The object must outlive the step; label
// objects do, since the history holds them while a view shows them.
bool SetObjectLines(TPersistent& object, const std::vector<std::string>& lines, TActionList& history,
    const std::string& caption = "曲目の設定");

} // namespace orvella
