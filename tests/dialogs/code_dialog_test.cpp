// The property dialogs of the codes, driven as a user would.

#include "dialogs/jan_code_dialog.h"
#include "dialogs/position_panel.h"
#include "dialogs/qr_code_dialog.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "objects/lo_jan_code.h"
#include "objects/lo_qr_code.h"
#include "objects/object_classes.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <functional>

namespace orvella {
namespace {

TEST(JANInput, AcceptsDigitsOfTheFourLengthsWithACorrectCheckDigit)
{
    const std::pair<const char*, bool> cases[] = {
        {"490123456789", true},   {"4901234567894", true}, {"4901234", true},   {"49012347", true},
        {"4901234567890", false}, {"49012340", false},     {"", false},         {"49012345678", false},
        {"49012３4", false},      {"4901234 ", false},     {"490123456789a", false},
    };
    for (auto [input, acceptable] : cases)
        EXPECT_EQ(AcceptableJANInput(QString::fromUtf8(input)), acceptable) << input;
}

class JANDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterObjectClasses();
        ActionList().Clear();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(1000);
        auto owned = std::make_unique<TLOJANCode>();
        owned->SetBoundsRect({100, 200, 400, 300});
        owned->SetJANCode("49012347");
        object = static_cast<TLOJANCode*>(&site.InsertOwnedObject(std::move(owned)));
        site.AddObject(*object);
    }
    void TearDown() override { ActionList().Clear(); }

    bool Run(TfrmJANCodeProperty& dialog, const std::function<void(TfrmJANCodeProperty&)>& act)
    {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return EditObjectInDialog(*object, dialog);
    }

    TDrawSite site;
    TLOJANCode* object = nullptr;
};

TEST_F(JANDialog, TwelveDigitsAreCompletedAndCommittedAsOneStep)
{
    TfrmJANCodeProperty dialog;
    EXPECT_TRUE(Run(dialog, [](TfrmJANCodeProperty& d) {
        EXPECT_EQ(d.windowTitle(), "JANコードの編集・設定");
        EXPECT_EQ(d.CodeEdit()->text(), "49012347");
        EXPECT_EQ(d.CodeEdit()->maxLength(), 13);
        d.CodeEdit()->setText(QStringLiteral("490123456789"));
        auto* preview = static_cast<TLOJANCode*>(d.PreviewObject());
        EXPECT_EQ(preview->JANCode(), "4901234567894");
        EXPECT_TRUE(preview->Visible());
        d.ShowFrameBox()->setChecked(true);
        d.FontSizeBox()->setCurrentText(QStringLiteral("12"));
        d.accept();
    }));
    EXPECT_EQ(object->JANCode(), "4901234567894");
    EXPECT_TRUE(object->ShowFrame());
    EXPECT_EQ(object->Font().Size(), 12);
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "設定変更");
    ActionList().Undo();
    EXPECT_EQ(object->JANCode(), "49012347");
    EXPECT_FALSE(object->ShowFrame());
}

TEST_F(JANDialog, AWrongCheckDigitIsRefusedAndTheDialogStaysOpen)
{
    TfrmJANCodeProperty dialog;
    EXPECT_FALSE(Run(dialog, [](TfrmJANCodeProperty& d) {
        d.CodeEdit()->setText(QStringLiteral("4901234567890"));
        EXPECT_FALSE(d.PreviewObject()->Visible()) << "no preview of an invalid code";
        d.Pages()->setCurrentWidget(d.PositionPage());
        d.accept();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Pages()->currentIndex(), 0) << "back on the code page";
        d.CodeEdit()->setText(QString());
        d.accept();
        EXPECT_TRUE(d.isVisible());
        d.reject();
    }));
    EXPECT_EQ(object->JANCode(), "49012347");
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(JANDialog, UnreadableSizePreviewsAtTenAndKeepsTheSize)
{
    object->Font().SetSize(14);
    TfrmJANCodeProperty dialog;
    EXPECT_TRUE(Run(dialog, [](TfrmJANCodeProperty& d) {
        d.FontSizeBox()->setCurrentText(QStringLiteral("abc"));
        EXPECT_EQ(static_cast<TLOJANCode*>(d.PreviewObject())->Font().Size(), 10);
        d.accept();
    }));
    EXPECT_EQ(object->Font().Size(), 14);
}

TEST_F(JANDialog, ANewObjectGetsTheAddingCaptionAndNoPlace)
{
    TLOJANCode loose;
    TfrmJANCodeProperty dialog;
    dialog.Load(loose);
    EXPECT_EQ(dialog.windowTitle(), "JANｺｰﾄﾞの追加");
    EXPECT_FALSE(dialog.PositionPage()->LeftEdit()->isEnabled());
    EXPECT_FALSE(dialog.PositionPage()->TopEdit()->isEnabled());
}

class QRDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterObjectClasses();
        ActionList().Clear();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(1000);
        auto owned = std::make_unique<TLOQRStd>();
        owned->SetQRName("Taro");
        object = static_cast<TLOQRStd*>(&site.InsertOwnedObject(std::move(owned)));
        site.AddObject(*object);
    }
    void TearDown() override { ActionList().Clear(); }

    bool Run(TfrmQRCodeProperty& dialog, const std::function<void(TfrmQRCodeProperty&)>& act)
    {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return EditObjectInDialog(*object, dialog);
    }

    using F = TfrmQRCodeProperty;
    TDrawSite site;
    TLOQRStd* object = nullptr;
};

TEST_F(QRDialog, PhoneBookEditsCommitAsOneStep)
{
    TfrmQRCodeProperty dialog;
    EXPECT_TRUE(Run(dialog, [](TfrmQRCodeProperty& d) {
        EXPECT_EQ(d.windowTitle(), "QRコードの設定");
        EXPECT_EQ(d.FieldEdit(F::qfName)->text(), "Taro");
        EXPECT_EQ(d.LevelBox()->count(), 4) << "the DoCoMo format offers L";
        EXPECT_FALSE(d.MaskBox()->isEnabled()) << "the mask is chosen automatically";
        d.FieldEdit(F::qfName)->setText(QStringLiteral("Yamada Taro"));
        d.SplitNameBox()->setChecked(true);
        d.FieldEdit(F::qfTel1)->setText(QStringLiteral("0312345678"));
        d.LevelBox()->setCurrentIndex(d.LevelBox()->findText(QStringLiteral("H(30%)")));
        EXPECT_EQ(static_cast<TLOQRStd*>(d.PreviewObject())->Data(), "MECARD:N:Yamada,Taro;TEL:0312345678;;");
        d.accept();
    }));
    EXPECT_EQ(object->Data(), "MECARD:N:Yamada,Taro;TEL:0312345678;;");
    EXPECT_EQ(object->ErrorCorrectLevel(), 'H');
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "設定変更");
    ActionList().Undo();
    EXPECT_EQ(object->Data(), "MECARD:N:Taro;;");
}

TEST_F(QRDialog, WebPageAndTextUseTheVodafoneFormatAndPhoneBookGetsItsFormatBack)
{
    TfrmQRCodeProperty dialog;
    EXPECT_TRUE(Run(dialog, [](TfrmQRCodeProperty& d) {
        d.KindButton(TStdQRKind::sqkURL)->click();
        EXPECT_EQ(d.CurrentType(), TStdQRType::sqtVodafone);
        EXPECT_EQ(d.LevelBox()->count(), 3) << "no L in the Vodafone format";
        EXPECT_FALSE(d.FieldEdit(F::qfUrlTitle)->isEnabled()) << "a title only for DoCoMo";
        EXPECT_FALSE(d.CarrierBox()->isVisibleTo(&d));
        d.KindButton(TStdQRKind::sqkTel)->click();
        EXPECT_EQ(d.CurrentType(), TStdQRType::sqtDoCoMo);
        d.KindButton(TStdQRKind::sqkTEXT)->click();
        d.TextEdit()->setPlainText(QStringLiteral("one\ntwo"));
        d.accept();
    }));
    EXPECT_EQ(object->QRKind(), TStdQRKind::sqkTEXT);
    EXPECT_EQ(object->QRType(), TStdQRType::sqtVodafone);
    EXPECT_EQ(object->Data(), "one\r\ntwo\r\n");
}

TEST_F(QRDialog, ATextCP932CannotHoldIsRefused)
{
    TfrmQRCodeProperty dialog;
    EXPECT_FALSE(Run(dialog, [](TfrmQRCodeProperty& d) {
        d.FieldEdit(F::qfName)->setText(QStringLiteral("Taro \U0001F600"));
        d.Pages()->setCurrentIndex(1);
        d.accept();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Pages()->currentIndex(), 0) << "back on the contents page";
        d.reject();
    }));
    EXPECT_EQ(object->QRName(), "Taro");
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(QRDialog, AStoredDoCoMoWebPageOpensInTheVodafoneFormat)
{
    object->SetQRKind(TStdQRKind::sqkURL);
    object->SetQRUrl("example.jp");
    TfrmQRCodeProperty dialog;
    dialog.Load(*object);
    EXPECT_EQ(dialog.CurrentType(), TStdQRType::sqtVodafone);
}

TEST_F(QRDialog, ALinkedFieldIsReadOnlyAndItsLinkIsStored)
{
    TfrmQRCodeProperty dialog;
    EXPECT_TRUE(Run(dialog, [](TfrmQRCodeProperty& d) {
        QComboBox* link = d.LinkBox(F::qfTel2);
        link->setCurrentIndex(link->findData(30));
        EXPECT_TRUE(d.FieldEdit(F::qfTel2)->isReadOnly());
        EXPECT_FALSE(d.FieldEdit(F::qfTel1)->isReadOnly());
        d.AutoMaskBox()->setChecked(false);
        EXPECT_TRUE(d.MaskBox()->isEnabled());
        d.MaskBox()->setCurrentIndex(6);
        d.accept();
    }));
    EXPECT_EQ(object->QRTel2ID, 30);
    EXPECT_FALSE(object->AutoMask());
    EXPECT_EQ(object->MaskNo(), 6);
}

}  // namespace
}  // namespace orvella
