#pragma once
// The codes' part of RegisterObjectClasses: the JAN and QR object classes
// for the stream reader and their creation commands for the object creator.

#include <span>
#include <utility>

namespace orvella {

void RegisterCodeClasses();

// The creation commands of the codes: the caption the layout window shows
// (also the command name) and the class it makes.
std::span<const std::pair<const char*, const char*>> CodeCreationCommands();

}  // namespace orvella
