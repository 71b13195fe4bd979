#pragma once
// Makes the label object classes of this floor known to the stream reader
// and their creation commands to the object creator, after everything of the
// floors below. Calling it again does no harm.

#include <span>
#include <utility>

namespace orvella {

void RegisterObjectClasses();

// The creation commands of the codes: the caption the layout window shows
// (also the command name) and the class it makes.
std::span<const std::pair<const char*, const char*>> CodeCreationCommands();

}  // namespace orvella
