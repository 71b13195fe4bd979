#pragma once
// A panel of the layout editor's side bar that the user folds away by
// clicking its caption. Whether it is folded is remembered under its name.

#include <QWidget>

class QToolButton;

namespace orvella {

class TShrinkPanel : public QWidget {
public:
    // The state is read from the settings under name.
    TShrinkPanel(const QString& name, const QString& caption, QWidget* content, QWidget* parent = nullptr);
    ~TShrinkPanel() override;

    bool Collapsed() const { return collapsed_; }
    void SetCollapsed(bool collapsed);
    QWidget* Content() const { return content_; }

private:
    QToolButton* header_;
    QWidget* content_;
    bool collapsed_ = false;
};

}  // namespace orvella
