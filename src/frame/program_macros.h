#pragma once
// The program's macro table and the macros the frame computes for the
// running program: where it lives, where the user's data goes, its version.

#include "frame/macro_string.h"

#include <string>
#include <vector>

namespace orvella {

// The lines of the program's table, in their order.
const std::vector<std::string>& ProgramMacroLines();

struct TProgramPlaces {
    std::string ExeDir;        // the program folder, '/'-terminated
    std::string ExeNameNoExt;  // ExeDir followed by the program's name
    std::string AppDataDir;    // the user's data folder, '/'-terminated
};

// For this process: <prefix>/bin/<exe> gives <prefix>/share/orvella/ (the
// build tree mirrors that layout); $XDG_DATA_HOME or ~/.local/share.
TProgramPlaces ProgramPlaces();

// Sets CRLF, Quote, ExeDir, ExeNameNoExt, AppDataDir, ShortVer and LongVer,
// and SysKeyFile and SysApplicationFolder where the table leaves them empty.
void SetBuiltInMacros(TMacroString& table, const TProgramPlaces& places);

// The program's table with the built-in macros of this process.
TMacroString ProgramMacroTable();

}  // namespace orvella
