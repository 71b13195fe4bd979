#include "app/window_placement.h"

#include "frame/app_frame.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace orvella {

namespace {

QPointer<QWidget>& mainForm()
{
    static QPointer<QWidget> form;
    return form;
}

QRect screenRect(bool available)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(0, 0, 800, 600);
    return available ? screen->availableGeometry() : screen->geometry();
}

std::string valueName(const QWidget* form, const char* coordinate)
{
    return form->objectName().toStdString() + coordinate;
}

}  // namespace

QWidget* MainForm() { return mainForm(); }

void SetMainForm(QWidget* form) { mainForm() = form; }

void SaveMainWindowPlacement(const QWidget* form)
{
    const QRect bounds = form->isMaximized() || form->isMinimized() || form->isFullScreen() ? form->normalGeometry()
                                                                                            : form->geometry();
    if (!bounds.isValid())
        return;
    SetSettingInt(valueName(form, "Left"), bounds.left());
    SetSettingInt(valueName(form, "Top"), bounds.top());
    SetSettingInt(valueName(form, "Width"), bounds.width());
    SetSettingInt(valueName(form, "Height"), bounds.height());
}

void RestoreWindowPlacement(QWidget* form, int defaultWidth, int defaultHeight)
{
    const QRect screen = screenRect(false);
    const int width = std::min(screen.width(), defaultWidth);
    const int height = std::min(screen.height(), defaultHeight);
    // Halves rounded toward zero, as integer division does.
    const int left = screen.left() + (screen.width() - width) / 2;
    const int top = screen.top() + (screen.height() - height) / 2;
    form->setGeometry(GetSettingInt(valueName(form, "Left"), left), GetSettingInt(valueName(form, "Top"), top),
                      std::max(1, GetSettingInt(valueName(form, "Width"), width)),
                      std::max(1, GetSettingInt(valueName(form, "Height"), height)));
}

void CenterWindow(QWidget* form)
{
    const QWidget* owner = MainForm();
    const QRect around = owner && owner != form && owner->isVisible() ? owner->frameGeometry() : screenRect(false);
    QRect bounds(QPoint(0, 0), form->frameGeometry().size().expandedTo(form->sizeHint()));
    bounds.moveCenter(around.center());
    const QRect screen = screenRect(true);
    bounds.moveLeft(std::max(screen.left(), std::min(bounds.left(), screen.right() + 1 - bounds.width())));
    bounds.moveTop(std::max(screen.top(), std::min(bounds.top(), screen.bottom() + 1 - bounds.height())));
    form->move(bounds.topLeft());
}

}  // namespace orvella
