#include "app/about_window.h"

#include "frame/app_frame.h"
#include "app/prepare_form.h"
#include "app/window_placement.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace orvella {

TfrmAbout::TfrmAbout(bool splash, QWidget* parent) : QDialog(parent), splash_(splash)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("$(AppName) のバージョン情報"));
    if (splash_)
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    auto* name = new QLabel(QStringLiteral("$(AppName)"), this);
    name->setObjectName(QStringLiteral("lblAppName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QStringLiteral("Version $(LongVer)"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(name, 0, Qt::AlignCenter);
    layout->addWidget(version, 0, Qt::AlignCenter);
    PrepareForm(this);
    if (splash_) {
        timer_ = new QTimer(this);
        timer_->setSingleShot(true);
        timer_->setInterval(kSplashMilliseconds);
        connect(timer_, &QTimer::timeout, this, &TfrmAbout::closeSoon);
    }
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (timer_ && !timer_->isActive())
        timer_->start();
}

void TfrmAbout::mousePressEvent(QMouseEvent* event)
{
    if (splash_)
        closeSoon();
    else
        QDialog::mousePressEvent(event);
}

void TfrmAbout::keyPressEvent(QKeyEvent* event)
{
    if (splash_)
        closeSoon();
    else
        QDialog::keyPressEvent(event);
}

void TfrmAbout::closeSoon()
{
    QTimer::singleShot(0, this, [this] { close(); });
}

void TfrmAbout::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    if (!splash_ || finished_)
        return;
    finished_ = true;
    if (QWidget* main = MainForm()) {
        main->setEnabled(true);
        if (auto* button = main->findChild<QAbstractButton*>(QStringLiteral("btnStartupFinished")))
            button->click();
    }
}

}  // namespace orvella
