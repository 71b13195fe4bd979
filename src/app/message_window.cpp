#include "app/message_window.h"

#include "frame/app_frame.h"
#include "app/window_placement.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvella {

QString MessageButtonCaption(TButtonKind kind)
{
    switch (kind) {
    case bkYes: return QStringLiteral("はい(&Y)");
    case bkNo: return QStringLiteral("いいえ(&N)");
    case bkOK: return QStringLiteral("OK");
    case bkCancel: return QStringLiteral("キャンセル");
    case bkHelp: return QStringLiteral("ヘルプ(&H)");
    case bkAbort: return QStringLiteral("中止(&A)");
    case bkRetry: return QStringLiteral("再試行(&R)");
    case bkIgnore: return QStringLiteral("無視(&I)");
    case bkAll: return QStringLiteral("すべて(&A)");
    case bkClose: return QStringLiteral("閉じる(&C)");
    case bkCustom: return {};
    }
    return {};
}

int MessageButtonResult(TButtonKind kind)
{
    switch (kind) {
    case bkOK: return mrOk;
    case bkCancel:
    case bkClose: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    case bkHelp:
    case bkCustom: return mrNone;
    }
    return mrNone;
}

TfrmMessage::TfrmMessage(const QString& message, std::span<const TButtonKind> buttons, int defaultIndex,
                         int cancelIndex, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMessage"));
    const TAppFrame* frame = AppFrame();
    setWindowTitle(frame ? QString::fromStdString(frame->Title()) : QApplication::applicationName());

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* text = new QLabel(message, panel);
    text->setObjectName(QStringLiteral("lblMessage"));
    text->setAlignment(Qt::AlignCenter);
    text->setTextFormat(Qt::PlainText);
    text->setMargin(16);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(text);

    const std::size_t count = std::min<std::size_t>(buttons.size(), 3);
    auto* row = new QHBoxLayout;
    if (count <= 2)
        row->addStretch();
    for (std::size_t i = 0; i < count; ++i) {
        const TButtonKind kind = buttons[i];
        QString caption = MessageButtonCaption(kind);
        // One or two buttons read as a plain question.
        if (count <= 2)
            caption = i == 0 ? QStringLiteral("はい") : QStringLiteral("いいえ");
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("btn%1").arg(i));
        button->setAutoDefault(false);
        if (kind == bkOK)
            button->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
        else if (kind == bkYes)
            button->setIcon(style()->standardIcon(QStyle::SP_DialogYesButton));
        connect(button, &QPushButton::clicked, this, [this, kind] {
            if (kind == bkHelp) {
                if (TAppFrame* owner = AppFrame())
                    owner->Help(0);
                return;
            }
            if (const int result = MessageButtonResult(kind); result != mrNone)
                done(result);
        });
        if (count == 3 && i > 0)
            row->addStretch();
        row->addWidget(button);
        buttons_.push_back(button);
    }
    if (count <= 2)
        row->addStretch();
    if (defaultIndex >= 0 && std::size_t(defaultIndex) < count) {
        buttons_[std::size_t(defaultIndex)]->setDefault(true);
        buttons_[std::size_t(defaultIndex)]->setFocus();
    }
    if (cancelIndex >= 0 && std::size_t(cancelIndex) < count)
        cancelButton_ = buttons_[std::size_t(cancelIndex)];

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(row);
}

void TfrmMessage::reject()
{
    // Escape, and closing the window, press the cancel button.
    if (cancelButton_)
        cancelButton_->click();
    else
        done(mrCancel);
}

int ShowMessageWindow(const std::string& message, std::span<const TButtonKind> buttons, int defaultIndex,
                      int cancelIndex)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return UnattendedModalResult(buttons, cancelIndex);
    QWidget* owner = MainForm();
    if (owner) {
        owner->raise();
        owner->activateWindow();
    }
    TfrmMessage window(QString::fromStdString(message), buttons, defaultIndex, cancelIndex, owner);
    CenterWindow(&window);
    return window.exec();
}

}  // namespace orvella
