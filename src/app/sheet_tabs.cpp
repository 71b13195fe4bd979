#include "app/sheet_tabs.h"

#include <QSignalBlocker>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace orvella {

namespace {

constexpr int kNameRole = Qt::UserRole + 1;

}  // namespace

TSheetTabs::TSheetTabs(QWidget* parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("TabControl1"));
    setShape(QTabBar::RoundedSouth);
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(true);
    setFocusPolicy(Qt::NoFocus);
}

QString TSheetTabs::SheetName(int index) const { return tabData(index).toString(); }

void TSheetTabs::SetSheetNames(const QStringList& names, int current)
{
    const QSignalBlocker quiet(this);
    while (count() > names.size())
        removeTab(count() - 1);
    for (int i = 0; i < names.size(); ++i) {
        if (i >= count())
            addTab(QString());
        setTabData(i, names[i]);
        // The text only serves accessibility and tests; painting uses the name.
        QString shown = names[i];
        setTabText(i, shown.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    if (current >= 0 && current < count())
        setCurrentIndex(current);
}

QSize TSheetTabs::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    const int textWidth = fontMetrics().horizontalAdvance(SheetName(index));
    size.setWidth(std::max(textWidth + 24, 60));
    return size;
}

void TSheetTabs::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        // The name centred on one line, clear of the tab's bottom edge.
        const QRect textRect = tabRect(i).adjusted(0, 0, 0, -3);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, SheetName(i));
    }
}

}  // namespace orvella
