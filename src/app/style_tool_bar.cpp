#include "app/style_tool_bar.h"

#include "app/font_name_box.h"
#include "drawing/color_picker.h"
#include "frame/app_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>

namespace orvella {

namespace {

constexpr int kGlyph = 20;

QColor qColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

QPixmap blankGlyph()
{
    QPixmap glyph(kGlyph * 2, kGlyph * 2);
    glyph.setDevicePixelRatio(2);
    glyph.fill(Qt::transparent);
    return glyph;
}

QIcon textGlyph(const QString& text, const QFont& font)
{
    QPixmap glyph = blankGlyph();
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(QApplication::palette().color(QPalette::ButtonText));
    painter.drawText(QRect(0, 0, kGlyph, kGlyph), Qt::AlignCenter, text);
    return QIcon(glyph);
}

// Four lines of text set left, centred, right or justified.
QIcon alignGlyph(int align)
{
    QPixmap glyph = blankGlyph();
    QPainter painter(&glyph);
    painter.setPen(QPen(QApplication::palette().color(QPalette::ButtonText), 1.5));
    const int widths[] = {14, 9, 14, 7};
    for (int line = 0; line < 4; ++line) {
        const int width = align == 3 && line < 3 ? 14 : widths[line];
        const int left = align == 0 || align == 3 ? 3 : align == 1 ? 3 + (14 - width) / 2 : 17 - width;
        const double y = 4.5 + line * 4;
        painter.drawLine(QPointF(left, y), QPointF(left + width, y));
    }
    return QIcon(glyph);
}

// An "A" or a fill square over a bar of the colour; none shows a red cross.
QIcon colorGlyph(bool pen, TColor color, bool none)
{
    QPixmap glyph = blankGlyph();
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = QApplication::palette().color(QPalette::ButtonText);
    if (pen) {
        QFont font = QApplication::font();
        font.setBold(true);
        font.setPixelSize(13);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(QRect(0, -2, kGlyph, kGlyph - 2), Qt::AlignCenter, QStringLiteral("A"));
    } else {
        painter.setPen(QPen(ink, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(4.5, 2.5, 11, 11));
    }
    const QRectF bar(2, 15, 16, 4);
    if (none) {
        painter.setPen(QPen(ink, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(bar);
        painter.setPen(QPen(Qt::red, 1.5));
        painter.drawLine(bar.bottomLeft(), bar.topRight());
    } else {
        painter.setPen(QPen(ink, 0.5));
        painter.setBrush(qColor(color));
        painter.drawRect(bar);
    }
    return QIcon(glyph);
}

const char* const kFontSizes[] = {"6",  "7",  "8",  "9",  "10", "11", "12", "14", "16", "18",
                                  "20", "22", "24", "26", "28", "32", "36", "48", "72"};

}  // namespace

TStyleToolSpec TStyleToolSpec::FromSettings()
{
    TStyleToolSpec defaults;
    defaults.FontName = GetSettingString("DefFontName", defaults.FontName);
    const int32_t size = GetSettingInt("DefFontSize", defaults.FontSize);
    if (size > 5 && size < 999)
        defaults.FontSize = size;
    defaults.PenColor = TColor(GetSettingInt("DefPenColor", int32_t(defaults.PenColor)));
    defaults.BrushColor = TColor(GetSettingInt("DefBrushColor", int32_t(defaults.BrushColor)));
    const int32_t align = GetSettingInt("DefAlign", 0);
    defaults.Align = align >= 0 && align <= 3 ? align : 0;
    const int32_t feed = GetSettingInt("DefFeedAngle", 0);
    defaults.FeedAngle = feed == 45 || feed == -45 ? feed : 0;
    defaults.Style = GetSettingInt("DefStyle", 0) & 0xF;
    return defaults;
}

void TStyleToolSpec::SaveToSettings() const
{
    SetSettingString("DefFontName", FontName);
    SetSettingInt("DefFontSize", FontSize);
    SetSettingInt("DefPenColor", int32_t(PenColor));
    SetSettingInt("DefBrushColor", int32_t(BrushColor));
    SetSettingInt("DefAlign", Align);
    SetSettingInt("DefFeedAngle", FeedAngle);
    SetSettingInt("DefStyle", Style & 0xF);
}

int32_t ParseFontSize(const QString& text)
{
    bool number = false;
    const int value = text.trimmed().toInt(&number);
    return number && value > 5 && value < 999 ? value : 0;
}

TStyleToolBar::TStyleToolBar(QWidget* parent) : QToolBar(QStringLiteral("スタイル"), parent)
{
    setObjectName(QStringLiteral("tbStyle"));
    setIconSize(QSize(kGlyph, kGlyph));

    nameBox_ = new TFontNameBox(this);
    nameBox_->setToolTip(QStringLiteral("フォント"));
    addWidget(nameBox_);
    connect(nameBox_, &QComboBox::activated, this, [this](int) {
        state_.FontName = nameBox_->currentText().toStdString();
        state_.Charset = nameBox_->Charset(nameBox_->currentText());
        changed(TStyleChange::FontName);
    });

    sizeBox_ = new QComboBox(this);
    sizeBox_->setObjectName(QStringLiteral("cmbFontSize"));
    sizeBox_->setToolTip(QStringLiteral("フォントサイズ"));
    sizeBox_->setEditable(true);
    sizeBox_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* size : kFontSizes)
        sizeBox_->addItem(QString::fromLatin1(size));
    sizeBox_->setMinimumContentsLength(3);
    addWidget(sizeBox_);
    connect(sizeBox_, &QComboBox::activated, this, [this](int) { sizeEntered(); });
    connect(sizeBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] { sizeEntered(); });
    addSeparator();

    QFont styled = QApplication::font();
    styled.setPixelSize(15);
    QFont bold = styled;
    bold.setBold(true);
    QFont italic = styled;
    italic.setItalic(true);
    QFont underline = styled;
    underline.setUnderline(true);
    QFont strike = styled;
    strike.setStrikeOut(true);
    const struct {
        const char* name;
        const char* hint;
        QFont font;
        const char* glyph;
    } styles[] = {{"actBold", "太字", bold, "B"},
                  {"actItalic", "斜体", italic, "I"},
                  {"actUnderLine", "下線", underline, "U"},
                  {"actStrikeOut", "取り消し線", strike, "S"}};
    int bit = 0;
    for (const auto& style : styles) {
        QAction* action = addToggle(style.name, QString::fromUtf8(style.hint), {});
        action->setIcon(textGlyph(QString::fromLatin1(style.glyph), style.font));
        connect(action, &QAction::triggered, this, [this, mask = 1 << bit](bool on) {
            state_.Style = on ? state_.Style | mask : state_.Style & ~mask;
            changed(TStyleChange::Style);
        });
        ++bit;
    }
    addSeparator();

    auto* aligns = new QActionGroup(this);
    const struct {
        const char* name;
        const char* hint;
    } alignments[] = {{"actLeftAlign", "左揃え"}, {"actCentering", "中央揃え"}, {"actRightAlign", "右揃え"},
                      {"actEquality", "均等割付"}};
    for (int align = 0; align < 4; ++align) {
        QAction* action = addToggle(alignments[align].name, QString::fromUtf8(alignments[align].hint), {});
        action->setIcon(alignGlyph(align));
        aligns->addAction(action);
        connect(action, &QAction::triggered, this, [this, align] {
            state_.Align = align;
            changed(TStyleChange::Align);
        });
    }
    addSeparator();

    auto* feeds = new QActionGroup(this);
    const struct {
        const char* name;
        const char* glyph;
        int angle;
    } angles[] = {{"actFeedAngle0", "0°", 0}, {"actFeedAngle45", "45°", 45}, {"actFeedAngleM45", "-45°", -45}};
    QFont small = QApplication::font();
    small.setPixelSize(9);
    for (const auto& angle : angles) {
        QAction* action = addToggle(angle.name, QStringLiteral("文字送りの角度 %1").arg(QString::fromUtf8(angle.glyph)), {});
        action->setIcon(textGlyph(QString::fromUtf8(angle.glyph), small));
        feeds->addAction(action);
        connect(action, &QAction::triggered, this, [this, value = angle.angle] {
            state_.FeedAngle = value;
            changed(TStyleChange::FeedAngle);
        });
    }
    addSeparator();

    auto* pen = new QAction(QStringLiteral("線・文字の色"), this);
    pen->setObjectName(QStringLiteral("actPenColor"));
    actions_["actPenColor"] = pen;
    penButton_ = new QToolButton(this);
    penButton_->setDefaultAction(pen);
    addWidget(penButton_);
    connect(pen, &QAction::triggered, this, [this] { pickPen(); });

    auto* brush = new QAction(QStringLiteral("塗りつぶしの色"), this);
    brush->setObjectName(QStringLiteral("actBrushColor"));
    actions_["actBrushColor"] = brush;
    brushButton_ = new QToolButton(this);
    brushButton_->setDefaultAction(brush);
    brushButton_->setPopupMode(QToolButton::MenuButtonPopup);
    auto* brushMenu = new QMenu(brushButton_);
    brushNone_ = brushMenu->addAction(QStringLiteral("塗りつぶさない"));
    brushNone_->setObjectName(QStringLiteral("actBrushNone"));
    brushNone_->setCheckable(true);
    brushButton_->setMenu(brushMenu);
    addWidget(brushButton_);
    connect(brush, &QAction::triggered, this, [this] { pickBrush(); });
    connect(brushNone_, &QAction::triggered, this, [this](bool none) {
        state_.BrushNone = none;
        showColors();
        changed(TStyleChange::BrushColor);
    });

    ShowState(state_);
}

QComboBox* TStyleToolBar::FontNameBox() const { return nameBox_; }

QAction* TStyleToolBar::addToggle(const char* name, const QString& hint, const QString& glyph)
{
    auto* action = addAction(glyph);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setCheckable(true);
    actions_[name] = action;
    return action;
}

void TStyleToolBar::changed(TStyleChange change)
{
    if (!showing_ && OnChange)
        OnChange(change);
}

void TStyleToolBar::sizeEntered()
{
    const int32_t size = ParseFontSize(sizeBox_->currentText());
    if (size == 0) {
        // Not a size: the box shows the size in force again.
        sizeBox_->setEditText(QString::number(state_.FontSize));
        return;
    }
    if (size == state_.FontSize)
        return;
    state_.FontSize = size;
    changed(TStyleChange::FontSize);
}

void TStyleToolBar::pickPen()
{
    PickColor(penButton_, state_.PenColor, [this](TColor color) {
        state_.PenColor = color;
        showColors();
        changed(TStyleChange::PenColor);
    });
}

void TStyleToolBar::pickBrush()
{
    PickColor(brushButton_, state_.BrushColor, [this](TColor color) {
        state_.BrushColor = color;
        state_.BrushNone = false;
        showColors();
        changed(TStyleChange::BrushColor);
    });
}

void TStyleToolBar::showColors()
{
    actions_.at("actPenColor")->setIcon(colorGlyph(true, state_.PenColor, false));
    actions_.at("actBrushColor")->setIcon(colorGlyph(false, state_.BrushColor, state_.BrushNone));
    brushNone_->setChecked(state_.BrushNone);
}

void TStyleToolBar::ShowState(const TStyleToolSpec& state)
{
    const TStyleToolSpec before = state_;
    state_ = state;
    showing_ = true;
    const bool typing = nameBox_->hasFocus() || sizeBox_->hasFocus();
    if (!typing) {
        if (before.FontName != state.FontName || nameBox_->count() == 0)
            nameBox_->ShowName(QString::fromStdString(state.FontName));
        const QString size = QString::number(state.FontSize);
        if (sizeBox_->currentText() != size) {
            const QSignalBlocker quiet(sizeBox_);
            sizeBox_->setEditText(size);
        }
    }
    const char* styleNames[] = {"actBold", "actItalic", "actUnderLine", "actStrikeOut"};
    for (int bit = 0; bit < 4; ++bit)
        actions_.at(styleNames[bit])->setChecked(state.Style & (1 << bit));
    const char* alignNames[] = {"actLeftAlign", "actCentering", "actRightAlign", "actEquality"};
    actions_.at(alignNames[std::clamp(state.Align, 0, 3)])->setChecked(true);
    actions_.at(state.FeedAngle == 45 ? "actFeedAngle45" : state.FeedAngle == -45 ? "actFeedAngleM45" : "actFeedAngle0")
        ->setChecked(true);
    if (before.PenColor != state.PenColor || before.BrushColor != state.BrushColor ||
        before.BrushNone != state.BrushNone || actions_.at("actPenColor")->icon().isNull())
        showColors();
    showing_ = false;
}

}  // namespace orvella
