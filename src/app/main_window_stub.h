#pragma once
// The program's main window until the document commands arrive.

#include <QMainWindow>

namespace orvella {

class TMainWindowStub : public QMainWindow {
public:
    explicit TMainWindowStub(QWidget* parent = nullptr);
};

}  // namespace orvella
