#pragma once
// TGlobalNotify: application-wide events for any number of listeners. One
// shared dispatcher, created with the first component and living as long as
// the application object, watches the application and broadcasts to every
// component; the active-control and active-form changes travel tagged with
// their identifiers.

#include "frame/plugin_abi.h"

#include <functional>
#include <string>

namespace orvella {

// {1211E69A-468C-11D3-AD18-00500463098A}
inline constexpr TGuid GUID_ActiveControlChanged{0x1211E69A, 0x468C, 0x11D3, {0xAD, 0x18, 0x00, 0x50, 0x04, 0x63, 0x09, 0x8A}};
// {1211E69B-468C-11D3-AD18-00500463098A}
inline constexpr TGuid GUID_ActiveFormChanged{0x1211E69B, 0x468C, 0x11D3, {0xAD, 0x18, 0x00, 0x50, 0x04, 0x63, 0x09, 0x8A}};

class TGlobalNotify {
public:
    TGlobalNotify();
    ~TGlobalNotify();
    TGlobalNotify(const TGlobalNotify&) = delete;
    TGlobalNotify& operator=(const TGlobalNotify&) = delete;

    // Once the event queue has run empty after some activity.
    std::function<void()> OnIdle;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;
    // A status tip was shown (an empty text clears it).
    std::function<void(const std::string& hint)> OnHint;
    std::function<void()> OnActiveControlChange;
    std::function<void()> OnActiveFormChange;

    // What the dispatcher calls for a tagged broadcast.
    void Notify(const TGuid& kind);
};

// Sends a tagged notification to every component (what the dispatcher does
// when focus moves).
void BroadcastGlobalNotify(const TGuid& kind);

}  // namespace orvella
