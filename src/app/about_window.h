#pragma once
// TfrmAbout: the program's name and version. In splash mode it shows while
// the program starts and closes by itself after four seconds, or at a click
// or a key, at the next idle moment; closing re-enables the main window and
// presses its "btnStartupFinished" button.

#include <QDialog>

class QTimer;

namespace orvella {

class TfrmAbout : public QDialog {
public:
    explicit TfrmAbout(bool splash, QWidget* parent = nullptr);

    static constexpr int kSplashMilliseconds = 4000;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void closeSoon();

    bool splash_;
    bool finished_ = false;
    QTimer* timer_ = nullptr;
};

}  // namespace orvella
