#pragma once
// THistoryMenu: a history list shown in a menu after a given entry. Entries
// run "&0 item", "&1 item", ... with UseAccelerator; an optional last entry
// clears the list. Choosing an entry moves it to the front and reports it.

#include "frame/history_manager.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace orvella {

class THistoryMenu : public QObject {
public:
    // menuItem is the entry of menu after which the history goes.
    THistoryMenu(THistoryManager& history, QMenu* menu, QAction* menuItem, QObject* parent = nullptr);

    bool UseAccelerator = false;
    QString ClearHistoryCaption;
    std::function<void(const std::string& item)> OnMenuClick;

    // Removes the entries of the previous build and inserts the current list.
    void Rebuild();

private:
    THistoryManager& history_;
    QMenu* menu_;
    QAction* menuItem_;
    std::vector<QAction*> built_;
};

// "0" to "9", then "A" onward.
QString HistoryAccelerator(int index);

}  // namespace orvella
