#pragma once
// TfrmMessage: the program's message window, installed as the frame's
// OnMessageBox. A dialog titled with the application title, the text centred
// in a panel, up to three buttons taken from the button kinds.

#include "frame/message_box.h"

#include <QDialog>

#include <span>
#include <string>
#include <vector>

class QPushButton;

namespace orvella {

class TfrmMessage : public QDialog {
public:
    TfrmMessage(const QString& message, std::span<const TButtonKind> buttons, int defaultIndex, int cancelIndex,
                QWidget* parent = nullptr);

    // The visible buttons, left to right.
    const std::vector<QPushButton*>& Buttons() const noexcept { return buttons_; }

    void reject() override;

private:
    std::vector<QPushButton*> buttons_;
    QPushButton* cancelButton_ = nullptr;
};

// The caption and modal result of a button kind in the message window (the
// help kind shows help and answers nothing; the close kind answers Cancel).
QString MessageButtonCaption(TButtonKind kind);
int MessageButtonResult(TButtonKind kind);

// The frame's OnMessageBox: brings the program to the front and shows the
// window modally. On a platform without a screen a person could look at
// (offscreen, minimal) nobody can answer, so the button Escape would press
// answers at once.
int ShowMessageWindow(const std::string& message, std::span<const TButtonKind> buttons, int defaultIndex,
                      int cancelIndex);

}  // namespace orvella
