#pragma once
// The readers of the playlist kinds behind TM3UFileInfo. Each gets the
// playlist's text as UTF-8 lines and fills the list's title, artist and
// entries.

#include "music/m3u_file_info.h"

#include <string>
#include <vector>

namespace orvella::music_detail {

using TLines = std::vector<std::string>;

void ReadM3u(const TLines& lines, TM3UFileInfo& list);
void ReadAsx(const TLines& lines, TM3UFileInfo& list);
void ReadItunesText(const TLines& lines, TM3UFileInfo& list);
// Raises std::runtime_error on text that is not a property list.
void ReadItunesXml(const std::string& text, TM3UFileInfo& list);

} // namespace orvella::music_detail
