#pragma once
// The property dialogs of the label object kinds, registered as designers.

namespace orvella {

// Registers each object kind's dialog once (user-interface thread).
void RegisterObjectDialogs();

}  // namespace orvella
