#pragma once
// Makes the label object classes of this floor known to the stream reader
// and their creation commands to the object creator, after everything of the
// floors below. Calling it again does no harm.

namespace orvella {

void RegisterObjectClasses();

}  // namespace orvella
