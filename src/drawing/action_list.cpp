#include "drawing/action_list.h"

#include <QtGlobal>

namespace orvella {

// --- TActionGroup -----------------------------------------------------------

TActionGroup::TActionGroup(std::string caption, TActionGroup* enclosing) : enclosing_(enclosing)
{
    SetCaption(std::move(caption));
}

void TActionGroup::Add(std::unique_ptr<TActionBase> step)
{
    if (step)
        steps_.push_back(std::move(step));
}

uint32_t TActionGroup::Flags() const
{
    if (steps_.empty())
        return 0;
    uint32_t flags = steps_.front()->Flags();
    for (std::size_t i = 1; i < steps_.size(); ++i)
        flags &= steps_[i]->Flags();
    return flags;
}

std::string TActionGroup::Caption() const
{
    std::string caption = TActionBase::Caption();
    if (caption.empty() && !steps_.empty())
        caption = steps_.front()->Caption();
    return caption;
}

void TActionGroup::Repeat()
{
    for (const auto& step : steps_)
        step->Repeat();
}

void TActionGroup::Redo()
{
    for (const auto& step : steps_)
        step->Redo();
}

void TActionGroup::Undo()
{
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it)
        (*it)->Undo();
}

// --- TActionList ------------------------------------------------------------

TActionList::TActionList() = default;

TActionList::~TActionList() = default;

TActionList& ActionList()
{
    static TActionList list;
    return list;
}

void TActionList::Add(std::unique_ptr<TActionBase> step)
{
    if (!step || !Recording)
        return;
    if (!open_.empty()) {
        open_.back()->Add(std::move(step));
        return;
    }
    // In an empty history the index is 0 with nothing at it: keep no more
    // steps than there are.
    const std::size_t keep = std::min(steps_.size(), std::size_t(current_ + 1));
    steps_.resize(keep);
    steps_.push_back(std::move(step));
    current_ = int(steps_.size()) - 1;
    while (steps_.size() > kLimit) {
        steps_.erase(steps_.begin());
        --current_;
    }
}

void TActionList::BeginGroup(std::string caption)
{
    TActionGroup* enclosing = open_.empty() ? nullptr : open_.back().get();
    open_.push_back(std::make_unique<TActionGroup>(std::move(caption), enclosing));
}

void TActionList::EndGroup()
{
    if (open_.empty())
        throw EActionList(kGroupLevelInvalid);
    std::unique_ptr<TActionGroup> group = std::move(open_.back());
    open_.pop_back();
    if (group->Count() == 0)
        return;
    if (!open_.empty())
        open_.back()->Add(std::move(group));
    else
        Add(std::move(group));
}

int TActionList::GroupLevel() const
{
    return int(open_.size());
}

TActionBase* TActionList::current() const
{
    if (current_ < 0 || std::size_t(current_) >= steps_.size())
        return nullptr;
    return steps_[std::size_t(current_)].get();
}

TActionBase* TActionList::next() const
{
    const std::size_t index = std::size_t(current_ + 1);
    return index < steps_.size() ? steps_[index].get() : nullptr;
}

bool TActionList::atEnd() const
{
    return std::size_t(current_ + 1) >= steps_.size();
}

bool TActionList::CanUndo() const
{
    const TActionBase* step = current();
    return step && (step->Flags() & TActionBase::afUndo);
}

void TActionList::Undo()
{
    if (!CanUndo())
        return;
    current()->Undo();
    --current_;
}

bool TActionList::CanRedo() const
{
    if (atEnd()) {
        const TActionBase* step = current();
        return RepeatAllowed && step && (step->Flags() & TActionBase::afRepeat);
    }
    return next()->Flags() & TActionBase::afRedo;
}

void TActionList::Redo()
{
    if (!CanRedo())
        return;
    if (atEnd()) {
        current()->Repeat();
        return;
    }
    next()->Redo();
    ++current_;
}

std::string TActionList::UndoCaption() const
{
    const TActionBase* step = current();
    return step ? step->Caption() : std::string();
}

std::string TActionList::RedoCaption() const
{
    if (!atEnd())
        return next()->Caption();
    const TActionBase* step = current();
    return RepeatAllowed && step ? step->Caption() : std::string();
}

void TActionList::Clear()
{
    steps_.clear();
    current_ = 0;
}

// --- TActionGroupGuard --------------------------------------------------------

TActionGroupGuard::TActionGroupGuard(std::string caption, TActionList& list) : list_(list)
{
    list_.BeginGroup(std::move(caption));
}

TActionGroupGuard::~TActionGroupGuard()
{
    try {
        list_.EndGroup();
    } catch (const std::exception& e) {
        qWarning("closing an undo group failed: %s", e.what());
    }
}

}  // namespace orvella
