#include "app/font_name_box.h"

#include "platform/fonts/font_engine.h"
#include "platform/fonts/log_font.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace orvella {

namespace {

constexpr int kCharsetRole = Qt::UserRole + 1;

// A vertical face ("@" name) looks like its upright family in the list.
QFont faceFont(const QString& name)
{
    QFont font(name.startsWith(QLatin1Char('@')) ? name.mid(1) : name);
    font.setStyleStrategy(QFont::PreferMatch);
    return font;
}

class TFontNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QString name = plain.text;
        plain.text.clear();
        QStyledItemDelegate::paint(painter, plain, index);

        painter->save();
        painter->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                              : option.palette.text().color());
        const QRect text = option.rect.adjusted(4, 0, -4, 0);
        QFont face = faceFont(name);
        // As large as fits the row.
        face.setPixelSize(std::max(option.rect.height() - 6, 8));
        if (index.data(kCharsetRole).toInt() == SYMBOL_CHARSET) {
            // A symbol face shows no name: the name in the list's own font,
            // then a sample in the face.
            painter->setFont(option.font);
            painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft, name);
            const int nameWidth = QFontMetrics(option.font).horizontalAdvance(name) + 8;
            painter->setFont(face);
            painter->drawText(text.adjusted(nameWidth, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                              QStringLiteral("AbCdEfGh"));
        } else {
            painter->setFont(face);
            painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft, name);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), 22));
        return size;
    }
};

}  // namespace

TFontNameBox::TFontNameBox(QWidget* parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("cmbFontName"));
    setEditable(false);
    setMinimumContentsLength(14);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setItemDelegate(new TFontNameDelegate(this));
    setMaxVisibleItems(16);
}

void TFontNameBox::ShowName(const QString& name)
{
    const QSignalBlocker quiet(this);
    int index = findText(name);
    if (index < 0) {
        addItem(name);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

uint8_t TFontNameBox::Charset(const QString& name) const
{
    const int index = findText(name);
    const QVariant charset = index >= 0 ? itemData(index, kCharsetRole) : QVariant();
    return charset.isValid() ? uint8_t(charset.toInt()) : uint8_t(SHIFTJIS_CHARSET);
}

void TFontNameBox::fill()
{
    if (filled_)
        return;
    filled_ = true;
    const QSignalBlocker quiet(this);
    const QString current = currentText();
    clear();
    int widest = 0;
    for (const TFontFamilyInfo& family : FontEngine().Families()) {
        const QString name = QString::fromStdString(family.Name);
        addItem(name);
        setItemData(count() - 1, family.CharSet, kCharsetRole);
        QFont face = faceFont(name);
        face.setPointSize(12);
        widest = std::max(widest, QFontMetrics(face).horizontalAdvance(name));
    }
    ShowName(current);
    view()->setMinimumWidth(widest + 32);
}

void TFontNameBox::showPopup()
{
    fill();
    QComboBox::showPopup();
}

}  // namespace orvella
