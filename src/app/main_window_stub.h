#pragma once
// The program's main window until the document commands arrive: an empty
// frame titled "Orvella" that remembers where the user left it.

#include <QMainWindow>

class QPushButton;

namespace orvella {

// What the start-up sequence asks of the main window.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual QWidget* Widget() = 0;
    // Opens a document; false when it cannot.
    virtual bool OpenDocument(const QString& fileName) = 0;
    // A new document on the default paper, without asking.
    virtual void NewDocument() = 0;
};

class TMainWindowStub : public QMainWindow, public IMainWindow {
public:
    explicit TMainWindowStub(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    bool OpenDocument(const QString& fileName) override;
    void NewDocument() override;

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace orvella
