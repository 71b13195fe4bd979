#include "app/edit_targets.h"

#include "app/draw_site_widget.h"
#include "app/hosted_view.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace orvella {

namespace {

class TLineEditTarget : public TTextEditTarget {
public:
    explicit TLineEditTarget(QLineEdit* field) : field_(field) {}
    bool HasSelection() const override { return field_ && field_->hasSelectedText(); }
    void Copy() override { if (field_) field_->copy(); }
    void Cut() override { if (field_) field_->cut(); }
    void Clear() override { if (field_) field_->del(); }
    void Paste() override { if (field_) field_->paste(); }
    bool CanUndo() const override { return field_ && field_->isUndoAvailable(); }
    void Undo() override { if (field_) field_->undo(); }

private:
    QPointer<QLineEdit> field_;
};

// QPlainTextEdit and QTextEdit share the calls but not a base class.
template <class Edit>
class TTextDocumentTarget : public TTextEditTarget {
public:
    explicit TTextDocumentTarget(Edit* field) : field_(field) {}
    bool HasSelection() const override { return field_ && field_->textCursor().hasSelection(); }
    void Copy() override { if (field_) field_->copy(); }
    void Cut() override { if (field_) field_->cut(); }
    void Clear() override
    {
        if (!field_ || field_->isReadOnly())
            return;
        QTextCursor cursor = field_->textCursor();
        cursor.removeSelectedText();
        field_->setTextCursor(cursor);
    }
    void Paste() override { if (field_) field_->paste(); }
    bool CanUndo() const override { return field_ && field_->document()->isUndoAvailable(); }
    void Undo() override { if (field_) field_->undo(); }

private:
    QPointer<Edit> field_;
};

}  // namespace

std::shared_ptr<TTextEditTarget> TextEditTargetFor(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return std::make_shared<TLineEditTarget>(line);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return std::make_shared<TTextDocumentTarget<QPlainTextEdit>>(plain);
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return std::make_shared<TTextDocumentTarget<QTextEdit>>(rich);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable() && combo->lineEdit())
        return std::make_shared<TLineEditTarget>(combo->lineEdit());
    return nullptr;
}

TCommandTarget CommandTargetFor(QWidget* focused)
{
    if (!focused)
        return {};
    if (std::shared_ptr<TTextEditTarget> text = TextEditTargetFor(focused))
        return {nullptr, std::move(text)};
    for (QWidget* widget = focused; widget; widget = widget->parentWidget())
        if (auto* siteWindow = dynamic_cast<TDrawSiteWidget*>(widget); siteWindow && siteWindow->Site())
            return {siteWindow->Site(), nullptr};
    for (QWidget* widget = focused; widget; widget = widget->parentWidget())
        if (auto* view = dynamic_cast<THostedView*>(widget); view && view->CommandSite())
            return {view->CommandSite(), nullptr};
    return {};
}

void InstallEditCommandTargets()
{
    SetCommandTargetResolver([] { return CommandTargetFor(QApplication::focusWidget()); });
}

}  // namespace orvella
