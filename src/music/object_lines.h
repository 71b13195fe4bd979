#pragma once
// Putting text lines (a track list) into a label object, as one step of
// the undo history: a text object's lines, or the published string list
// "Lines" of any other class that has one.

#include <string>
#include <vector>

namespace orvella {

class TActionList;
class TPersistent;

// Replaces the object's lines with `lines` and records one undo step with
// `caption`. False (and nothing recorded) when the object is no text and
// its class publishes no string list named "Lines". The object must outlive the step; label
// objects do, since the history holds them while a view shows them.
bool SetObjectLines(TPersistent& object, const std::vector<std::string>& lines, TActionList& history,
    const std::string& caption = "曲目の設定");

} // namespace orvella
