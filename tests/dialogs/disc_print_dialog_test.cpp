// The windows of printing onto discs: the size adjustment dialog writes
// through at every change and restores on Cancel, within the printer's
// limits; the printer check window answers by its buttons.

#include "dialogs/disc_print_dialogs.h"
#include "document/effective_paper.h"
#include "document/label_data.h"
#include "frame/app_frame.h"
#include "paper/paper_info.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"
#include "platform/settings_store.h"
#include "support/tool_runner.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvella::test {
namespace {

std::unique_ptr<TFreePaperInfo> Disc(int32_t hole, TFaceShape shape = fsDoughnut, TCenterShape holeShape = csEllipse)
{
    auto paper = std::make_unique<TFreePaperInfo>();
    paper->PaperName = "Printable CD-R";
    paper->GroupName = "TrayA";
    paper->ReadOnly = true;
    paper->PortraitWidth = paper->PortraitHeight = 1200;
    TFaceItem& face = paper->Faces.Add();
    face.SetRect({10, 10, 1190, 1190});
    face.Face.FaceShape = shape;
    face.Face.CenterShape = holeShape;
    face.Face.FacePurpose = "CD";
    face.Face.CutCenterWidth = face.Face.CutCenterHeight = hole;
    return paper;
}

class AdjustDiscSize : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame_ = std::make_unique<TAppFrame>();
        frame_->Macro.Assign({"SysRegistryKey=Software\\Test", "SizeAdjustKey=$(SysRegistryKey)\\SizeAdjust"});
        store_ = std::make_shared<TSettingsStore>(dir_.File("settings.ini"));
        frame_->SetSettingsStore(store_);
        auto catalog = std::make_unique<TPapersV2>(dir_.File("system.ppr"), true, false, true);
        catalog->WriteGlobalInfo("GenreInfo", {"TrayA=ダイレクトプリント"});
        catalog->WriteGlobalInfo(
            "DirectPrinter",
            {"<Printers><DirectPrinterInfo>",
             "<PrinterData PrinterName=\"TrayA\" TrayWidth=\"1500\" TrayHeight=\"2350\" CenterX=\"750\" "
             "CenterY=\"830\" MaxOuterWidth=\"1200\" MaxOuterHeight=\"1200\" MinInnerWidth=\"220\" "
             "MinInnerHeight=\"220\"/>",
             "</DirectPrinterInfo></Printers>"});
        SetProgramPapers(std::move(catalog));
        InstallDirectPrintSupport(nullptr);
    }
    void TearDown() override
    {
        ResetDirectPrintSupport();
        SetProgramPapers(nullptr);
        frame_.reset();
    }
    TSizeAdjust Stored()
    {
        const std::string key = "Software\\Test\\SizeAdjust\\.Printable CD-R";
        return {store_->ReadInteger(key, "TrayA.Inner").value_or(0), store_->ReadInteger(key, "TrayA.Outer").value_or(0)};
    }

    TempDir dir_;
    std::unique_ptr<TAppFrame> frame_;
    std::shared_ptr<TSettingsStore> store_;
};

TEST_F(AdjustDiscSize, OuterLimitComesFromThePrinterAndTheNoteSaysIt)
{
    TLabelData document;
    document.SetPaper(*Disc(410));
    TfrmAdjustDiscSize dialog(document);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("外円・内円のサイズ調整"));
    EXPECT_DOUBLE_EQ(dialog.OuterField()->maximum(), 2.0) << "1180 may grow to the printer's 1200";
    EXPECT_DOUBLE_EQ(dialog.OuterField()->minimum(), -10.0);
    EXPECT_DOUBLE_EQ(dialog.InnerField()->minimum(), -10.0);
    EXPECT_EQ(dialog.OuterField()->text(), QStringLiteral("+0.0 mm"));
    EXPECT_TRUE(dialog.Note()->text().contains(
        QStringLiteral("外円では120mmを超えるサイズ、内円では22mm未満になるサイズ")));
    dialog.OuterField()->setValue(5.0);
    EXPECT_DOUBLE_EQ(dialog.OuterField()->value(), 2.0);
    dialog.InnerField()->setValue(-4.5);
    EXPECT_EQ(dialog.InnerField()->text(), QStringLiteral("-4.5 mm")) << "a negative value keeps one sign";
    if (const char* shots = std::getenv("ORVELLA_SHOT_DIR")) {
        dialog.show();
        dialog.grab().save(QString::fromLocal8Bit(shots) + "/adjust_disc_size.png");
    }
}

TEST_F(AdjustDiscSize, EveryChangeIsStoredAndCancelRestoresTheOpeningValues)
{
    TLabelData document;
    document.SetPaper(*Disc(410));
    document.SetSizeAdjust({5, 10});
    {
        TfrmAdjustDiscSize dialog(document);
        EXPECT_DOUBLE_EQ(dialog.OuterField()->value(), 1.0);
        dialog.OuterField()->setValue(1.5);
        EXPECT_EQ(Stored(), (TSizeAdjust{5, 15}));
        dialog.InnerField()->setValue(-3.0);
        EXPECT_EQ(Stored(), (TSizeAdjust{-30, 15}));
        const TRect face = document.EffectivePaper()->GetFaceRect(0);
        EXPECT_EQ(face.Right - face.Left, 1195) << "the effective paper follows at once";
        dialog.reject();
    }
    EXPECT_EQ(Stored(), (TSizeAdjust{5, 10}));
    {
        TfrmAdjustDiscSize dialog(document);
        dialog.OuterField()->setValue(-2.0);
        dialog.accept();
    }
    EXPECT_EQ(Stored(), (TSizeAdjust{5, -20}));
}

TEST_F(AdjustDiscSize, EachFieldBoundsTheOtherSoTheRingStaysPrintable)
{
    // A 1080 hole in an 1180 face: a 5 mm ring leaves 50 to move.
    TLabelData document;
    document.SetPaper(*Disc(1080));
    TfrmAdjustDiscSize dialog(document);
    EXPECT_DOUBLE_EQ(dialog.OuterField()->minimum(), -5.0);
    EXPECT_DOUBLE_EQ(dialog.InnerField()->maximum(), 5.0);
    dialog.InnerField()->setValue(-3.0);
    EXPECT_DOUBLE_EQ(dialog.OuterField()->minimum(), -8.0);
    dialog.OuterField()->setValue(-8.0);
    EXPECT_DOUBLE_EQ(dialog.InnerField()->maximum(), -3.0);
}

TEST_F(AdjustDiscSize, FieldsShowOnlyForARingAndARoundHole)
{
    struct Case {
        TFaceShape shape;
        TCenterShape hole;
        bool outer, inner;
    };
    for (const Case& c : {Case{fsDoughnut, csEllipse, true, true}, Case{fsBarrelCD, csBarrel, false, false},
                          Case{fsRectCD, csEllipse, false, true}, Case{fsRect, csEllipse, false, false}}) {
        SCOPED_TRACE(int(c.shape));
        TLabelData document;
        document.SetPaper(*Disc(410, c.shape, c.hole));
        TfrmAdjustDiscSize dialog(document);
        EXPECT_EQ(!dialog.OuterField()->isHidden(), c.outer);
        EXPECT_EQ(!dialog.InnerField()->isHidden(), c.inner);
    }
}

TEST(ConfirmPrinter, ButtonsAnswerAndChangingThePrinterIsTheDefault)
{
    struct Case {
        const char* button;
        TConfirmPrinterAnswer answer;
    };
    for (const Case& c : {Case{"change", TConfirmPrinterAnswer::ChangePrinter},
                          Case{"print", TConfirmPrinterAnswer::Print}, Case{"cancel", TConfirmPrinterAnswer::Cancel}}) {
        TfrmConfirmPrinter window;
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(c.button));
        ASSERT_TRUE(button);
        EXPECT_EQ(button->isDefault(), std::string(c.button) == "change");
        window.show();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(window.Answer(), c.answer);
        EXPECT_FALSE(window.isVisible());
    }
    TfrmConfirmPrinter window;
    const QLabel* text = window.findChild<QLabel*>();
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->text().startsWith(QStringLiteral("このデータはダイレクト印刷用にデザインされていますが、\n")));
}

}  // namespace
}  // namespace orvella::test
