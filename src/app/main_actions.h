#pragma once
// The commands of the main window as actions: name, category, caption,
// shortcut, hint and image, as one table. Captions may carry macros
// ("$(AppName)"), expanded when the window is prepared.

#include <QString>

#include <map>
#include <span>

class QAction;
class QObject;

namespace orvella {

struct TMainActionRow {
    const char* Name;
    const char* Category;  // empty for the uncategorised ones
    const char* Caption;
    const char* Shortcut;  // portable text ("Ctrl+N"), empty for none
    int Image;             // a QStyle::StandardPixmap, -1 for none
    // Carried out by this window today; the others stay disabled until
    // their part of the program arrives.
    bool Available;
};

std::span<const TMainActionRow> MainActionTable();

// The hint of an action: its caption without the accelerator mark, the
// access key in parentheses and the trailing ellipsis.
QString ActionHint(const QString& caption);

// The actions of the table, by name, owned by parent. The category is kept
// in the action's "category" property.
class TMainActions {
public:
    explicit TMainActions(QObject* parent);

    // Raises std::out_of_range for a name that is not in the table.
    QAction* operator[](const QString& name) const { return actions_.at(name); }
    const std::map<QString, QAction*>& All() const { return actions_; }

private:
    std::map<QString, QAction*> actions_;
};

}  // namespace orvella
