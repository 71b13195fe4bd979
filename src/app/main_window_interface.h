#pragma once
// What the start-up sequence asks of the main window. The data module only
// knows this face of it, so that tests can start the program with a window
// of their own.

class QString;
class QWidget;

namespace orvella {

class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual QWidget* Widget() = 0;
    // Opens a document; false when it cannot.
    virtual bool OpenDocument(const QString& fileName) = 0;
    // A new document on the default paper, without asking.
    virtual void NewDocument() = 0;
};

}  // namespace orvella
