#pragma once
// The program's application object: an exception that would cross Qt's event
// loop is caught at its edge and shown by the frame's exception report.

#include <QApplication>

namespace orvella {

class TOrvellaApplication : public QApplication {
public:
    TOrvellaApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace orvella
