// The edit commands on the text fields of a window and on the focused site.

#include "app/draw_site_widget.h"
#include "app/edit_targets.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

// Every kind of field, holding "label" with "lab" selected.
struct FieldCase {
    const char* name;
    std::function<QWidget*(QWidget* parent)> make;
    std::function<QString(QWidget*)> text;
};

void PrintTo(const FieldCase& field, std::ostream* out)
{
    *out << field.name;
}

template <class Edit>
QWidget* MakeDocumentField(QWidget* parent)
{
    auto* edit = new Edit(parent);
    edit->setPlainText(QStringLiteral("label"));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    return edit;
}

class TextFields : public ::testing::TestWithParam<FieldCase> {
protected:
    ~TextFields() override { SetCommandTargetResolver({}); }
};

TEST_P(TextFields, ClipboardCommandsWorkOnTheSelectionAndUndoOnTheField)
{
    QWidget window;
    QWidget* field = GetParam().make(&window);
    SetCommandTargetResolver([field] { return CommandTargetFor(field); });
    ActionList().Clear();

    TDSACopy copy;
    TDSACut cut;
    TDSAClear clear;
    TDSAPaste paste;
    TDSAUndo undo;
    TDSARedo redo;
    for (TDrawSiteActionBase* action : std::initializer_list<TDrawSiteActionBase*>{&copy, &cut, &clear, &paste, &undo, &redo})
        action->Update();
    EXPECT_TRUE(copy.isEnabled());
    EXPECT_TRUE(cut.isEnabled());
    EXPECT_TRUE(clear.isEnabled());
    EXPECT_FALSE(undo.isEnabled()) << "nothing typed yet";
    EXPECT_FALSE(redo.isEnabled());

    cut.trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("lab"));
    EXPECT_EQ(GetParam().text(field), QStringLiteral("el"));
    copy.Update();
    EXPECT_FALSE(copy.isEnabled()) << "no selection left";

    paste.Update();
    EXPECT_TRUE(paste.isEnabled());
    paste.trigger();
    EXPECT_EQ(GetParam().text(field), QStringLiteral("label"));

    undo.Update();
    redo.Update();
    EXPECT_TRUE(undo.isEnabled());
    EXPECT_EQ(undo.text(), QStringLiteral("取り消し(&U)"));
    EXPECT_FALSE(redo.isEnabled());
    undo.trigger();
    EXPECT_EQ(GetParam().text(field), QStringLiteral("el"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, TextFields, ::testing::Values(
    FieldCase{"LineEdit",
              [](QWidget* parent) -> QWidget* {
                  auto* edit = new QLineEdit(QStringLiteral("label"), parent);
                  edit->setSelection(0, 3);
                  return edit;
              },
              [](QWidget* w) { return static_cast<QLineEdit*>(w)->text(); }},
    FieldCase{"PlainTextEdit", MakeDocumentField<QPlainTextEdit>,
              [](QWidget* w) { return static_cast<QPlainTextEdit*>(w)->toPlainText(); }},
    FieldCase{"TextEdit", MakeDocumentField<QTextEdit>,
              [](QWidget* w) { return static_cast<QTextEdit*>(w)->toPlainText(); }},
    FieldCase{"EditableComboBox",
              [](QWidget* parent) -> QWidget* {
                  auto* combo = new QComboBox(parent);
                  combo->setEditable(true);
                  combo->lineEdit()->setText(QStringLiteral("label"));
                  combo->lineEdit()->setSelection(0, 3);
                  return combo;
              },
              [](QWidget* w) { return static_cast<QComboBox*>(w)->lineEdit()->text(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandTargets, ClearingNothingClearsNothing)
{
    QLineEdit edit(QStringLiteral("label"));
    edit.setCursorPosition(0);
    const auto target = TextEditTargetFor(&edit);
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->HasSelection());
    TDSAClear clear;
    SetCommandTargetResolver([&] { return CommandTargetFor(&edit); });
    clear.trigger();
    EXPECT_EQ(edit.text(), QStringLiteral("label"));
    SetCommandTargetResolver({});
}

TEST(CommandTargets, WidgetInsideASiteWindowTargetsItsSite)
{
    TDrawSite site;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* siteWindow = new TDrawSiteWidget;
    layout->addWidget(siteWindow);
    siteWindow->SetSite(&site);
    auto* inner = new QWidget(siteWindow);
    EXPECT_EQ(CommandTargetFor(inner).Site, &site);
    EXPECT_EQ(CommandTargetFor(siteWindow).Text, nullptr);
    auto* combo = new QComboBox(&window);
    EXPECT_EQ(CommandTargetFor(combo).Site, nullptr) << "a combo box that cannot be edited is no target";
    EXPECT_EQ(CommandTargetFor(combo).Text, nullptr);
    siteWindow->SetSite(nullptr);
}

}  // namespace
}  // namespace orvella::test
