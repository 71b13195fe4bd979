// The print window and the progress window, on the offscreen platform.
// With ORVELLA_SHOT_DIR set, the windows are also saved there as pictures.

#include "app/print_dialog.h"
#include "app/printer_setup.h"
#include "print/system_printers.h"
#include "frame/message_box.h"
#include "print_fixture.h"
#include "driver_fakes.h"
#include "print/canon_ext_ddi.h"
#include "print/epson_epdi.h"
#include "../frame/frame_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <deque>

namespace orvella::test {
namespace {

class PrintWindow : public FrameTest {
protected:
    PrintWindow()
    {
        frame_->OnMessageBox = [this](const std::string& message, std::span<const TButtonKind>, int, int) {
            messages_.push_back(message);
            const int answer = answers_.empty() ? int(mrCancel) : answers_.front();
            if (!answers_.empty())
                answers_.pop_front();
            return answer;
        };
    }

    template <class T>
    T* child(QWidget& parent, const QString& text)
    {
        for (T* widget : parent.findChildren<T*>())
            if (widget->text() == text)
                return widget;
        ADD_FAILURE() << "no " << text.toStdString();
        return nullptr;
    }

    void shoot(QWidget& window, const char* name)
    {
        if (const char* dir = std::getenv("ORVELLA_SHOT_DIR"))
            window.grab().save(QString::fromLocal8Bit(dir) + "/" + name);
    }

    std::vector<std::string> messages_;
    std::deque<int> answers_;
};

TEST_F(PrintWindow, RefusesAnEmptySelectionThenAsksForTheMediaAndRemembers)
{
    const auto paper = DiscPaper();
    TfrmPrint dialog(*paper, false);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ラベルシートの印刷"));
    child<QRadioButton>(dialog, QStringLiteral("指定ラベル(&S)"))->setChecked(true);
    child<QCheckBox>(dialog, QStringLiteral("ラベル枠線を印刷(&F)"))->setChecked(true);
    dialog.findChildren<QDoubleSpinBox*>()[0]->setValue(1.2);   // from the top
    dialog.findChildren<QDoubleSpinBox*>()[1]->setValue(-0.5);  // from the left
    QPushButton* start = child<QPushButton>(dialog, QStringLiteral("印刷開始"));

    start->click();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "印刷するラベルが一つもありません");
    EXPECT_TRUE(dialog.isVisible());

    // Face 4 lies in the lower row, middle column of the 3 x 2 discs.
    QWidget* faces = dialog.findChild<QWidget*>(QStringLiteral("faces"));
    ASSERT_NE(faces, nullptr);
    const double s = std::min((faces->width() - 8) / 1000.0, (faces->height() - 8) / 600.0);
    const QPoint face4(int((faces->width() - 1000 * s) / 2 + 480 * s), int((faces->height() - 600 * s) / 2 + 480 * s));
    QTest::mouseClick(faces, Qt::LeftButton, {}, face4);
    shoot(dialog, "print_dialog.png");

    answers_ = {int(mrCancel)};
    start->click();
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_NE(messages_[1].find("「100 x 60mm」サイズの用紙"), std::string::npos) << messages_[1];
    EXPECT_TRUE(dialog.isVisible());

    answers_ = {int(mrOk)};
    start->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TPrintSpec options = dialog.Options();
    EXPECT_FALSE(options.AllFaces);
    EXPECT_EQ(options.FaceSelection, (std::vector<uint8_t>{0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(options.PrintFrame);
    EXPECT_EQ(options.Offset, (TPoint{-5, 12}));
    EXPECT_EQ(GetSettingInt("PrintTopOffset", 0), 12);
    EXPECT_EQ(GetSettingInt("PrintLeftOffset", 0), -5);

    // The next dialog starts as this one ended; with the offset off the
    // print is not shifted, but the stored offsets stay.
    TfrmPrint again(*paper, true);
    EXPECT_TRUE(child<QRadioButton>(again, QStringLiteral("指定ラベル(&S)"))->isChecked());
    EXPECT_FALSE(child<QCheckBox>(again, QStringLiteral("ラベル枠線を印刷(&F)"))->isEnabled());
    child<QCheckBox>(again, QStringLiteral("印刷位置微調整"))->setChecked(false);
    answers_ = {int(mrOk)};
    child<QPushButton>(again, QStringLiteral("印刷開始"))->click();
    EXPECT_EQ(again.Options().Offset, (TPoint{0, 0}));
    EXPECT_FALSE(again.Options().PrintFrame) << "no frame on a disc printed straight";
    EXPECT_EQ(GetSettingInt("PrintTopOffset", 0), 12);
    EXPECT_FALSE(GetSettingBool("PrintOffsetEnabled", true));
}

TEST_F(PrintWindow, ProgressWindowCancelsTheJob)
{
    TRecordingPrinter printer(254, {0, 0});
    printer.SetPaperSize({1000, 600});
    printer.BeginDoc();
    TfrmPrintProgress progress(printer);
    progress.show();
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("印刷中です。少しお待ちください．．．"));
    progress.SetMax(4);
    progress.Step();
    shoot(progress, "print_progress.png");
    child<QPushButton>(progress, QStringLiteral("キャンセル"))->click();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Events.back(), "abort");
}

TEST_F(PrintWindow, PrinterSetupShowsTheCanonPageOnlyWithTheExtensionAndWritesItsChoice)
{
    SetApplicationPrinter("PDF file");
    {
        TfrmPrinterSetup setup;
        EXPECT_EQ(setup.VendorPage(), QStringLiteral("Other"));
    }
    FakeCanon canon;
    canon.Choices[canon::kCartridge] = {1};
    canon.Names[canon::kCartridge] = {u"BCI-7e"};
    canon.Choices[canon::kMediaType] = {0, 31};
    canon.Names[canon::kMediaType] = {u"普通紙", u"プリンタブルディスク"};
    canon.Choices[canon::kQuality] = {1, 0, 2, 0};
    canon.Values = {{canon::kCartridge, 1}, {canon::kMediaType, 0}, {canon::kQuality, 2}};
    SetDriverBackend({.CanonEntry = [&canon](TPrinterConfiguration&) { return canon.Entry(); }});
    {
        TfrmPrinterSetup setup;
        setup.show();
        EXPECT_EQ(setup.VendorPage(), QStringLiteral("Canon"));
        QComboBox* media = nullptr;
        for (QComboBox* list : setup.findChildren<QComboBox*>())
            if (list->findText(QStringLiteral("プリンタブルディスク")) >= 0)
                media = list;
        ASSERT_NE(media, nullptr);
        EXPECT_EQ(media->currentText(), QStringLiteral("普通紙"));
        shoot(setup, "printer_setup_canon.png");
        media->setCurrentIndex(1);
        emit media->activated(1);
        EXPECT_EQ(canon.Values[canon::kMediaType], 31);
        EXPECT_EQ(media->currentText(), QStringLiteral("プリンタブルディスク"));
    }
    SetDriverBackend(UnavailableDriverBackend());
}

TEST(EpsonPage, ReadsMediaNamesAndTheQualityPosition)
{
    FakeEpdm epdm;
    epdm.Ranges[epson::kMediaTypes] = {1, 283};
    epdm.Ranges[epson::kQuality] = {1, 2, 3};
    epdm.Data[epson::kQuality] = {1, 0, 2, 0, 0x1B, 1, 2, 0};  // recommended, level 2, CD-R
    SetDriverBackend({.EpsonSettings = [&epdm](TPrinterConfiguration&) { return epdm.Library(); }});
    TPrinterConfiguration printer("ep", std::make_shared<FakePrinterQuery>("ep", "EPSON PM-G800"));
    {
        TEPDI epson(printer);
        const TEpsonData data = ReadEpsonData(epson);
        EXPECT_EQ(data.MediaNames, (std::vector<std::string>{"普通紙", "CD-R ﾚｰﾍﾞﾙ"}));
        EXPECT_EQ(data.MediaIndex, 1);
        EXPECT_EQ(data.QualityLevels, 3);
        EXPECT_EQ(data.QualityPosition, 2) << "the level set before the levels were counted";
        epdm.Data[epson::kQuality] = {2, 0, 2, 0, 1, 0, 2, 0};  // detailed settings
        EXPECT_EQ(ReadEpsonData(epson).QualityPosition, 0);
    }
    SetDriverBackend(UnavailableDriverBackend());
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

TEST_F(PrintWindow, PrinterSetupChoosesThePrinterThePrintWindowStartsWith)
{
    SetApplicationPrinter("");
    TfrmPrinterSetup setup;
    setup.show();
    EXPECT_EQ(setup.windowTitle(), QStringLiteral("プリンタ設定"));
    auto* printers = setup.findChild<QComboBox*>();
    ASSERT_NE(printers, nullptr);
    EXPECT_EQ(printers->itemText(printers->count() - 1), QStringLiteral("PDF file"));
    printers->setCurrentIndex(printers->count() - 1);
    shoot(setup, "printer_setup.png");
    setup.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(ApplicationPrinter(), "PDF file");
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

TEST(ApplicationPrinter, AGonePrinterGivesWayToTheDefault)
{
    const TSystemPrinterList before([] { return TPrinterDestinations{{"Laser", "Inkjet"}, "Laser"}; });
    SetApplicationPrinter("Inkjet");
    EXPECT_FALSE(ValidateApplicationPrinter(before));
    EXPECT_EQ(ApplicationPrinter(), "Inkjet");
    const TSystemPrinterList after([] { return TPrinterDestinations{{"Laser"}, "Laser"}; });
    EXPECT_TRUE(ValidateApplicationPrinter(after));
    EXPECT_EQ(ApplicationPrinter(), "Laser");
    const TSystemPrinterList none([] { return TPrinterDestinations{}; });
    EXPECT_TRUE(ValidateApplicationPrinter(none));
    EXPECT_EQ(ApplicationPrinter(), "PDF file");
}

}  // namespace
}  // namespace orvella::test
