#pragma once
// The undo history: one process-wide list of steps, at most ten, with a
// current position, groups that record several steps as one, and the
// switches the editors use (recording off in the paper editor, repeat off
// in the layout editor). User-interface thread only.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvella {

// A step of the history. Flag bits: 1 can be undone, 2 can be redone,
// 4 can be repeated.
class TActionBase {
public:
    enum : uint32_t { afUndo = 1, afRedo = 2, afRepeat = 4 };

    virtual ~TActionBase() = default;

    virtual uint32_t Flags() const { return flags_; }
    void SetFlags(uint32_t flags) { flags_ = flags; }
    virtual std::string Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

    virtual void Repeat() {}
    virtual void Redo() {}
    virtual void Undo() {}

private:
    uint32_t flags_ = 0;
    std::string caption_;
};

// Several steps recorded as one. Redo and Repeat run them in recorded order,
// Undo in reverse: the later steps were recorded against the state the
// earlier ones left, so they have to be taken back first.
class TActionGroup : public TActionBase {
public:
    explicit TActionGroup(std::string caption = {}, TActionGroup* enclosing = nullptr);

    void Add(std::unique_ptr<TActionBase> step);
    std::size_t Count() const { return steps_.size(); }
    TActionBase& Steps(std::size_t index) const { return *steps_.at(index); }
    TActionGroup* Enclosing() const { return enclosing_; }

    // The first step's flags ANDed with every further step's; none when empty.
    uint32_t Flags() const override;
    // The caption given when the group was opened, else the first step's.
    std::string Caption() const override;

    void Repeat() override;
    void Redo() override;
    void Undo() override;

private:
    std::vector<std::unique_ptr<TActionBase>> steps_;
    TActionGroup* enclosing_;
};

class EActionList : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr char kGroupLevelInvalid[] = "group level is invalid";

class TActionList {
public:
    static constexpr std::size_t kLimit = 10;

    TActionList();
    ~TActionList();
    TActionList(const TActionList&) = delete;
    TActionList& operator=(const TActionList&) = delete;

    // Takes the step: frees it while recording is off, adds it to the open
    // group, or else cuts the redo tail, appends it and drops the oldest
    // steps beyond the limit.
    void Add(std::unique_ptr<TActionBase> step);
    void BeginGroup(std::string caption = {});
    // Raises EActionList (kGroupLevelInvalid) when no group is open. An
    // empty group is dropped.
    void EndGroup();
    // How many groups are open.
    int GroupLevel() const;

    bool CanUndo() const;
    void Undo();
    bool CanRedo() const;
    void Redo();
    std::string UndoCaption() const;
    std::string RedoCaption() const;
    void Clear();

    std::size_t Count() const { return steps_.size(); }
    TActionBase& Steps(std::size_t index) const { return *steps_.at(index); }
    // The last performed step; -1 when everything has been undone.
    int CurrentIndex() const { return current_; }

    bool RepeatAllowed = true;
    bool Recording = true;

private:
    // The current step, or nullptr.
    TActionBase* current() const;
    // The step after the current one, or nullptr.
    TActionBase* next() const;
    // True when the current step is the last (an empty history included).
    bool atEnd() const;

    std::vector<std::unique_ptr<TActionBase>> steps_;
    int current_ = 0;
    std::vector<std::unique_ptr<TActionGroup>> open_;  // innermost last
};

// The program's history.
TActionList& ActionList();

// Opens a group for the scope of the guard; the group is closed however the
// scope is left.
class TActionGroupGuard {
public:
    explicit TActionGroupGuard(std::string caption, TActionList& list = ActionList());
    ~TActionGroupGuard();
    TActionGroupGuard(const TActionGroupGuard&) = delete;
    TActionGroupGuard& operator=(const TActionGroupGuard&) = delete;

private:
    TActionList& list_;
};

}  // namespace orvella
