#include "app/history_menu.h"

#include <QAction>
#include <QMenu>

namespace orvella {

QString HistoryAccelerator(int index)
{
    return index < 10 ? QString(QChar(u'0' + index)) : QString(QChar(u'A' + (index - 10)));
}

THistoryMenu::THistoryMenu(THistoryManager& history, QMenu* menu, QAction* menuItem, QObject* parent)
    : QObject(parent), history_(history), menu_(menu), menuItem_(menuItem)
{
    history_.OnChange = [this] { Rebuild(); };
}

void THistoryMenu::Rebuild()
{
    for (QAction* action : built_) {
        // An entry may be rebuilt away from inside its own triggered signal.
        menu_->removeAction(action);
        action->deleteLater();
    }
    built_.clear();

    const QList<QAction*> actions = menu_->actions();
    const qsizetype at = actions.indexOf(menuItem_);
    QAction* before = at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
    auto insert = [&](QAction* action) {
        menu_->insertAction(before, action);
        built_.push_back(action);
    };
    auto separator = [&] {
        auto* line = new QAction(menu_);
        line->setSeparator(true);
        insert(line);
    };

    const std::vector<std::string> items = history_.Items();
    if (items.empty() && ClearHistoryCaption.isEmpty())
        return;
    if (at > 0)
        separator();
    for (std::size_t i = 0; i < items.size(); ++i) {
        QString text = QString::fromStdString(items[i]);
        text.replace(QLatin1Char('&'), QLatin1String("&&"));
        if (UseAccelerator)
            text = QLatin1Char('&') + HistoryAccelerator(int(i)) + QLatin1Char(' ') + text;
        auto* entry = new QAction(text, menu_);
        const std::string item = items[i];
        connect(entry, &QAction::triggered, this, [this, item] {
            history_.Add(item);
            if (OnMenuClick)
                OnMenuClick(item);
        });
        insert(entry);
    }
    if (!ClearHistoryCaption.isEmpty()) {
        separator();
        auto* clear = new QAction(ClearHistoryCaption, menu_);
        connect(clear, &QAction::triggered, this, [this] { history_.Clear(); });
        insert(clear);
    }
}

}  // namespace orvella
