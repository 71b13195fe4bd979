#pragma once
// The sheet tabs under the layout editor: one tab per sheet of the document,
// each captioned with the sheet's name as it stands ("&" is no accelerator
// mark there), centred on one line.

#include <QTabBar>

namespace orvella {

class TSheetTabs : public QTabBar {
public:
    explicit TSheetTabs(QWidget* parent = nullptr);

    // The raw sheet name of a tab (the tab text itself is escaped for Qt).
    QString SheetName(int index) const;
    void SetSheetNames(const QStringList& names, int current);

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize tabSizeHint(int index) const override;
};

}  // namespace orvella
