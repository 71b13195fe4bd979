#pragma once
// The small dialogs of the layout editor: one choice out of a list
// (position adjustment, alignment), the grid settings, and the creator
// information of the document.

#include <QString>
#include <QStringList>

class QWidget;

namespace orvella {

class TGrid;
class TProductInfo;

// The index the user chose, or -1 when cancelled.
int AskLayoutChoice(QWidget* parent, const QString& title, const QStringList& choices);

// Edits the grid's pitch, look, visibility and snapping; true on OK.
bool EditGrid(QWidget* parent, TGrid& grid);

// "クリエーター情報の設定" on copies of the two creator records; true on OK,
// the records then hold the user's fields.
bool EditCreatorRecords(QWidget* parent, TProductInfo& japanese, TProductInfo& english);

}  // namespace orvella
