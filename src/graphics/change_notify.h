#pragma once
// Change notification: a broadcaster hands (sender, kind) to each subscribed
// listener in subscription order; kinds are GUIDs. TChangeNotify adds nested
// update counting, so that a run of changes is reported once.

#include "platform/guid.h"

#include <functional>
#include <memory>
#include <vector>

namespace orvella {

class TPersistent;

inline constexpr TGuid SelectionChanged = MakeGuid("{B423E361-44C6-11D3-AD13-00500463098A}");
inline constexpr TGuid MovableChanged = MakeGuid("{B45F6E91-458A-11D3-AD15-00500463098A}");
inline constexpr TGuid DontPrintChanged = MakeGuid("{B45F6E92-458A-11D3-AD15-00500463098A}");
inline constexpr TGuid ObjectChanged = MakeGuid("{1153AE63-523C-11D3-AD37-00500463098A}");
inline constexpr TGuid NotifierClosing = MakeGuid("{FF0E0940-2D29-11D3-ACCC-00500463098A}");

class TBroadcaster;

class TListener {
public:
    using THandler = std::function<void(TPersistent* sender, const TGuid& kind)>;

    explicit TListener(THandler handler = {});
    // Leaves every broadcaster it listens to.
    ~TListener();
    TListener(const TListener&) = delete;
    TListener& operator=(const TListener&) = delete;

    void SetHandler(THandler handler) { handler_ = std::move(handler); }
    void Listen(TBroadcaster& source);
    void Unlisten(TBroadcaster& source);
    bool IsListening(const TBroadcaster& source) const;

private:
    friend class TBroadcaster;
    void hear(TPersistent* sender, const TGuid& kind);

    THandler handler_;
    std::vector<TBroadcaster*> sources_;
};

class TBroadcaster {
public:
    // sender: what listeners are told the notification came from.
    explicit TBroadcaster(TPersistent* sender = nullptr);
    // Tells every listener NotifierClosing, then lets them all go. Never throws.
    virtual ~TBroadcaster();
    TBroadcaster(const TBroadcaster&) = delete;
    TBroadcaster& operator=(const TBroadcaster&) = delete;

    TPersistent* Sender() const { return sender_; }
    void Subscribe(TListener& listener) { listener.Listen(*this); }
    void Unsubscribe(TListener& listener) { listener.Unlisten(*this); }
    std::size_t ListenerCount() const { return listeners_.size(); }

    // Delivers kind to the listeners subscribed when it starts. A listener
    // that leaves (or is destroyed) meanwhile is skipped; one that joins
    // hears the next broadcast. The broadcaster itself may be destroyed by
    // a listener: the rest of the round is then dropped.
    void Broadcast(const TGuid& kind) { Broadcast(sender_, kind); }
    void Broadcast(TPersistent* sender, const TGuid& kind);

protected:
    // Cleared when the broadcaster goes, so that a round in progress can
    // tell that its broadcaster was destroyed under it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

private:
    friend class TListener;
    TPersistent* sender_;
    std::vector<TListener*> listeners_;
};

class TChangeNotify : public TBroadcaster {
public:
    using TBroadcaster::TBroadcaster;

    void BeginUpdate();
    // The outermost EndUpdate after a Changed broadcasts ObjectChanged and
    // then calls OnChanged.
    void EndUpdate();
    void Changed();
    int UpdateCount() const { return updateCount_; }

    std::function<void()> OnChanged;

private:
    int updateCount_ = 0;
    bool changed_ = false;
};

}  // namespace orvella
