#pragma once
// Idle moments of the program for the drawing floor: the main thread's
// event loop is about to wait for input. (The frame's TGlobalNotify lives
// with the plug-in ABI, whose GUID type cannot meet the drawing headers in
// one translation unit.)

#include <functional>

class QObject;

namespace orvella {

// Calls onIdle at every idle moment for as long as it lives. The call comes
// straight from the event loop: keep it short (enabled states, captions) and
// never start a nested loop there.
class TIdleNotify {
public:
    explicit TIdleNotify(std::function<void()> onIdle);
    ~TIdleNotify();
    TIdleNotify(const TIdleNotify&) = delete;
    TIdleNotify& operator=(const TIdleNotify&) = delete;

private:
    friend class TIdleSource;
    std::function<void()> onIdle_;
};

// Calls callback once, from the event queue, after the loop next falls
// idle; dropped when context is destroyed first. Without an application it
// is never called.
void CallAtNextIdle(QObject* context, std::function<void()> callback);

}  // namespace orvella
