// The layout editor driven as a user drives it: keys, mouse on the rulers,
// the site and the paper miniature, commands and their dialogs.

#include "main_window_fixture.h"

#include "../paper/paper_fixtures.h"
#include "app/draw_site_widget.h"
#include "app/layout_ruler.h"
#include "app/layout_window.h"
#include "app/move_mode_bar.h"
#include "dialogs/album_data_dialog.h"
#include "dialogs/property_dialog.h"
#include "dialogs/text_property_dialog.h"
#include "document/label_object.h"
#include "document/grid.h"
#include "document/guide.h"
#include "document/label_data.h"
#include "document/ld_objects.h"
#include "document/paper_pattern.h"
#include "document/lo_face.h"
#include "document/paper_site.h"
#include "drawing/action_list.h"
#include "drawing/designer.h"
#include "drawing/do_interfaces.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "../music/music_bytes.h"
#include "music/album_build.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"
#include "objects/lo_text.h"
#include "paper/extra_info.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace orvella::test {
namespace {

class LayoutWindow : public MainWindowTest {
protected:
    TfrmLayout& layout()
    {
        TfrmMain& main = window();
        auto* editor = dynamic_cast<TfrmLayout*>(main.HostedView());
        EXPECT_NE(editor, nullptr);
        if (!main.isVisible()) {
            main.resize(900, 700);
            main.show();
            main.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        }
        return *editor;
    }

    // A rectangle of the site's own, selected, at r (logical units).
    TDrawObject& addRect(const TRect& r)
    {
        TDrawSite& site = layout().Site();
        auto instance = DesignerList().CreateInstance("TLORect");
        auto* object = dynamic_cast<TDrawObject*>(instance.release());
        EXPECT_NE(object, nullptr);
        TDrawObject& added = site.InsertOwnedObject(std::unique_ptr<TDrawObject>(object));
        auto position = Supports<IDOPosition>(&added);
        position->SetLeft(r.Left);
        position->SetTop(r.Top);
        position->SetWidth(r.Right - r.Left);
        position->SetHeight(r.Bottom - r.Top);
        site.AddObject(added);
        site.SetAllSelected(false);
        added.SetSelected(true);
        site.RefreshHandles();
        return added;
    }

    static TRect boundsOf(TDrawObject& object) { return Supports<IDOEncloseBounds>(&object)->GetLogicalBounds(); }

    QPoint device(TPoint logical) const
    {
        const TPoint p = editor_->Site().LogicalToDevice(logical);
        return {p.x, p.y};
    }

    TfrmLayout* editor_ = nullptr;

    void SetUp() override { editor_ = &layout(); }
};

struct ZoomCase {
    int32_t from;
    bool larger;
    int32_t want;
};

class ZoomSteps : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomSteps, GoToTheNextFixedStepAndStopAtTheEnds)
{
    const ZoomCase& c = GetParam();
    EXPECT_EQ(TfrmLayout::NextZoom(c.from, c.larger), c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, ZoomSteps,
                         ::testing::Values(ZoomCase{100, true, 150}, ZoomCase{100, false, 75},
                                           ZoomCase{109, true, 150}, ZoomCase{109, false, 100},
                                           ZoomCase{400, true, 400}, ZoomCase{25, false, 25},
                                           ZoomCase{10, true, 25}, ZoomCase{900, false, 400}));

TEST_F(LayoutWindow, ZoomCommandsFixTheScaleAndRememberItForTheNextWindow)
{
    TfrmLayout& editor = *editor_;
    EXPECT_TRUE(editor.AutoZoom());
    editor.Action("act400")->trigger();
    EXPECT_EQ(editor.Zoom(), 400);
    EXPECT_FALSE(editor.Action("actMagnify")->isEnabled());
    editor.Action("actMagnify")->trigger();
    EXPECT_EQ(editor.Zoom(), 400);
    editor.Action("act25")->trigger();
    editor.Action("actReduce")->trigger();
    EXPECT_EQ(editor.Zoom(), 25);
    editor.Action("actMagnify")->trigger();
    EXPECT_EQ(editor.Zoom(), 50);
    EXPECT_TRUE(editor.Action("act50")->isChecked());
    EXPECT_EQ(editor.StatusText(4), QStringLiteral("50%"));

    // A closed window hands its zoom on; automatic is remembered as 0.
    {
        TfrmLayout other;
        other.SetZoom(150);
    }
    EXPECT_EQ(TfrmLayout::RememberedZoom(), 150);
    TfrmLayout next;
    EXPECT_FALSE(next.AutoZoom());
    EXPECT_EQ(next.Zoom(), 150);
    next.SetZoom(0);
}

TEST_F(LayoutWindow, ArrowKeysMoveByAMillimetreOrATenthAndLeaveLockedObjects)
{
    TfrmLayout& editor = *editor_;
    TDrawObject& rect = addRect({100, 100, 200, 150});
    const TRect start = boundsOf(rect);
    editor.SiteWidget()->setFocus();
    QTest::keyClick(editor.SiteWidget(), Qt::Key_Right);
    EXPECT_EQ(boundsOf(rect).Left, start.Left + 10);
    QTest::keyClick(editor.SiteWidget(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(boundsOf(rect).Top, start.Top + 1);
    QTest::keyClick(editor.SiteWidget(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(boundsOf(rect).Left, start.Left + 9);

    // One undo step per key.
    ActionList().Undo();
    EXPECT_EQ(boundsOf(rect).Left, start.Left + 10);

    rect.SetMovable(false);
    QTest::keyClick(editor.SiteWidget(), Qt::Key_Up);
    EXPECT_EQ(boundsOf(rect).Top, start.Top + 1);
    rect.SetMovable(true);

    // The centre stays 10 units inside the face.
    for (int i = 0; i < 60; ++i)
        QTest::keyClick(editor.SiteWidget(), Qt::Key_Left);
    const TRect r = boundsOf(rect);
    EXPECT_EQ((r.Left + r.Right) / 2, 10);
    EXPECT_TRUE(editor.Site().Modified());
}

TEST_F(LayoutWindow, AnEleventhGuideIsRefusedWithAMessageNamingTen)
{
    TfrmLayout& editor = *editor_;
    TGuide& guide = editor.Document()->Guide();
    for (int slot = 0; slot < TGuide::kSlotCount; ++slot)
        guide.SetGuide(slot, 0, 20 + slot * 10);
    QTest::mousePress(editor.HorizontalRuler(), Qt::LeftButton, {}, QPoint(40, 5));
    EXPECT_FALSE(editor.DraggingGuide());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "ガイドは10本までです");
}

TEST_F(LayoutWindow, AGuideFromTheRulerIsRoundedToWholeMillimetresUnlessShiftIsHeld)
{
    TfrmLayout& editor = *editor_;
    editor.SetZoom(400);
    QWidget* site = editor.SiteWidget();
    TGuide& guide = editor.Document()->Guide();

    QTest::mousePress(editor.VerticalRuler(), Qt::LeftButton, {}, QPoint(5, 40));
    ASSERT_TRUE(editor.DraggingGuide());
    // 12.34 mm from the left: stored as 12 mm.
    const QPoint at = device({123, 100}) + QPoint(2, 0);
    const int32_t logical = editor.Site().DeviceToLogical({at.x(), at.y()}).x;
    ASSERT_NE(logical % 10, 0);
    QTest::mouseMove(site, at);
    EXPECT_EQ(editor.GuideHint(), QStringLiteral("左から%1 右から%2")
                                      .arg(QStringLiteral("12.0mm"))
                                      .arg(QString::fromStdString(
                                          std::to_string((kFaceWidth - 120) / 10) + "." +
                                          std::to_string((kFaceWidth - 120) % 10) + "mm")));
    QTest::mouseRelease(site, Qt::LeftButton, {}, at);
    EXPECT_FALSE(editor.DraggingGuide());
    EXPECT_EQ(guide.Guide(0), (TPoint{120, 0}));
    EXPECT_TRUE(guide.Enabled());
    EXPECT_TRUE(guide.Visible());

    // With Shift the exact position.
    QTest::mousePress(editor.VerticalRuler(), Qt::LeftButton, {}, QPoint(5, 40));
    QTest::mouseMove(site, at);
    QTest::mouseRelease(site, Qt::LeftButton, Qt::ShiftModifier, at);
    EXPECT_EQ(guide.Guide(1), (TPoint{logical, 0}));
}

TEST_F(LayoutWindow, AGuideDraggedOutsideTheFaceDisappears)
{
    TfrmLayout& editor = *editor_;
    editor.SetZoom(100);
    TGuide& guide = editor.Document()->Guide();
    guide.SetGuide(0, 0, 150);
    guide.SetEnabled(true);
    guide.SetVisible(true);
    QWidget* site = editor.SiteWidget();
    const QPoint on = device({250, 150});
    QTest::mousePress(site, Qt::LeftButton, {}, on);
    ASSERT_TRUE(editor.DraggingGuide());
    const QPoint outside(on.x(), -8);
    QTest::mouseMove(site, outside);
    EXPECT_EQ(editor.GuideHint(), QStringLiteral("ｶﾞｲﾄﾞ削除"));
    QTest::mouseRelease(site, Qt::LeftButton, {}, outside);
    EXPECT_TRUE(guide.AllEmpty());
    EXPECT_FALSE(guide.Enabled());
}

TEST_F(LayoutWindow, SwitchingFacesWithoutEditsWritesNothing)
{
    SetSettingString("DefaultPaperName", "Two cards");
    window().NewDocument();
    TfrmLayout& editor = *editor_;
    TLabelData& data = *editor.Document();
    ASSERT_EQ(data.CurrentLabelNo(), 0);
    ASSERT_FALSE(data.Modified());

    // A click on a face of the miniature.
    TPaperSite& paper = editor.PaperSite();
    ASSERT_EQ(paper.FaceCount(), 2);
    auto* miniature = editor.findChild<TDrawSiteWidget*>(QStringLiteral("PaperSite1"));
    ASSERT_NE(miniature, nullptr);
    const auto click = [&](int face) {
        const TRect r = paper.Face(face)->BoundsRect();
        const QPoint centre((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QTest::mousePress(miniature, Qt::LeftButton, {}, centre);
        QTest::mouseRelease(miniature, Qt::LeftButton, {}, centre);
    };
    click(1);
    EXPECT_EQ(data.CurrentLabelNo(), 1);
    EXPECT_FALSE(data.HasFaceObjects(0));
    EXPECT_FALSE(data.HasFaceObjects(1));

    // An edit on face 1 is written when face 0 is chosen again.
    addRect({50, 50, 150, 100});
    click(0);
    EXPECT_EQ(data.CurrentLabelNo(), 0);
    EXPECT_TRUE(data.HasFaceObjects(1));
    EXPECT_FALSE(data.HasFaceObjects(0));
}

TEST_F(LayoutWindow, PaperPatternObjectsShowUnderTheFaceButNeverReachItsStream)
{
    TfrmLayout& editor = *editor_;
    TLabelData& data = *editor.Document();
    // A pattern of one rectangle for the face.
    {
        TDrawObject& pattern = addRect({10, 10, 60, 40});
        TDOList list;
        list.Add(pattern);
        TImagePaperInfo images;
        images.PaperName = data.Paper()->PaperName;
        images.FaceObjects.push_back({WriteFaceObjects(list)});
        data.SetImagePaperInfo(&images);
    }
    editor.ShowDocument(data);
    TDrawSite& site = editor.Site();
    ASSERT_EQ(site.ObjectCount(), 1u);
    EXPECT_EQ(site.Objects(0).LayerGroup(), kPaperPatternLayerGroup);
    EXPECT_FALSE(site.Objects(0).Selectable());
    EXPECT_FALSE(editor.SiteModified());

    addRect({100, 100, 200, 200});
    editor.FlushFace();
    const auto stored = data.LoadFaceObjects(0);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(Supports<IDOPosition>(stored[0].get())->GetLeft(), 100);
}

TEST_F(LayoutWindow, StatusBarShowsMouseAndSelectionInMillimetres)
{
    TfrmLayout& editor = *editor_;
    TDrawObject& rect = addRect({-5, 123, 95, 173});
    editor.Idle();
    EXPECT_EQ(editor.StatusText(1), QStringLiteral("位置(-0.5mm,12.3mm),ｻｲｽﾞ(10.0mm,5.0mm)"));
    EXPECT_EQ(editor.StatusText(2), QString());
    rect.SetMovable(false);
    editor.Idle();
    EXPECT_EQ(editor.StatusText(2), QStringLiteral("固定"));
    EXPECT_EQ(editor.StatusText(5), QStringLiteral("新規シート1"));
    editor.SetZoom(100);
    QTest::mouseMove(editor.SiteWidget(), device({200, 100}));
    EXPECT_TRUE(editor.StatusText(0).startsWith(QStringLiteral("ﾏｳｽ(")));
}

TEST_F(LayoutWindow, StyleButtonsChangeTheSelectionInOneStepOrTheDefaultsWithoutOne)
{
    TfrmLayout& editor = *editor_;
    editor.Action("actBold")->trigger();
    EXPECT_EQ(editor.StyleDefaults().Style & 1, 1);
    editor.Action("actCentering")->trigger();
    EXPECT_EQ(editor.StyleDefaults().Align, 1);
}

// Lets the event loop wait once: commands update their state at idle
// moments, which processing pending events alone never reaches.
void waitForIdle()
{
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

// Types into the text dialog that the command opens, then presses OK.
void answerTextDialog(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* dialog = dynamic_cast<TfrmTextProperty*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->TextBox()->setFocus();
        // Japanese arrives from the input method as committed text.
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(dialog->TextBox(), text);
        else
            dialog->TextBox()->insertPlainText(text);
        dialog->accept();
    });
}

TEST_F(LayoutWindow, ATextMadeThroughItsDialogMovesOnTheGridAndUndoes)
{
    TfrmLayout& editor = *editor_;
    editor.SetZoom(100);
    editor.MoveModeBar()->SelectMode(TMoveModeBar::mmGrid);
    editor.Document()->Grid().SetSize(50);
    answerTextDialog(QStringLiteral("ラベル"));
    editor.Action("actText")->trigger();

    TDOList selected;
    editor.Site().GetObjects(selected, true);
    ASSERT_EQ(selected.Count(), 1u);
    auto* text = dynamic_cast<TLOText*>(&selected[0]);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->Text().size(), 1u);
    EXPECT_EQ(text->Text()[0], "ラベル");
    QApplication::processEvents();
    const TRect before = boundsOf(*text);

    // Dragged by its body (clear of the handles) about 7 mm right and 3 mm down.
    QWidget* site = editor.SiteWidget();
    const TPoint grip{before.Left + (before.Right - before.Left) / 4, (before.Top + before.Bottom) / 2};
    const QPoint from = device(grip);
    const QPoint to = device({grip.x + 71, grip.y + 33});
    QTest::mousePress(site, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(site, from + (to - from) * step / 4);
    QTest::mouseRelease(site, Qt::LeftButton, {}, to);
    const TRect after = boundsOf(*text);
    EXPECT_NE(after.Left, before.Left);
    // Some edge of the text lies on the 5 mm grid on each axis.
    EXPECT_TRUE(after.Left % 50 == 0 || after.Right % 50 == 0) << after.Left << " " << after.Right;
    EXPECT_TRUE(after.Top % 50 == 0 || after.Bottom % 50 == 0) << after.Top << " " << after.Bottom;

    // The window is active again once the dialog has gone.
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    site->setFocus();
    // Commands follow the focus at idle moments.
    waitForIdle();
    QTest::keyClick(site, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(boundsOf(*text).Left, before.Left);
    waitForIdle();
    QTest::keyClick(site, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(boundsOf(*text).Left, after.Left);
}

TEST_F(LayoutWindow, ATextTypedMovedAndSavedIsWhatTheToolLists)
{
    TfrmLayout& editor = *editor_;
    editor.SetZoom(100);
    answerTextDialog(QStringLiteral("Orvella label"));
    editor.Action("actText")->trigger();
    TDOList selected;
    editor.Site().GetObjects(selected, true);
    ASSERT_EQ(selected.Count(), 1u);
    QTest::keyClick(editor.SiteWidget(), Qt::Key_Right);
    ASSERT_TRUE(window().Modified());

    const std::string file = dir_.File("typed.ovd");
    TFileDialogAnswer answer;
    answer.FileName = QString::fromStdString(file);
    dialogAnswers_.push_back(answer);
    ASSERT_TRUE(window().Save());
    // The program holds its document open for writing; the tool reads it
    // once the program has let go of it.
    window().NewDocument();
    const ToolRun listed = RunTool({"doc", "ls", file});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("1 objects\tTLOText"), std::string::npos) << listed.out;
    const ToolRun dumped = RunTool({"doc", "dump", file});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_NE(dumped.out.find("Orvella label"), std::string::npos) << dumped.out;
}

TEST_F(LayoutWindow, APictureFileDroppedOnTheWindowBecomesAnImageObject)
{
    TfrmLayout& editor = *editor_;
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    const QString file = QString::fromStdString(dir_.File("photo.png"));
    ASSERT_TRUE(picture.save(file));
    window().DropFiles({file});
    TDOList selected;
    editor.Site().GetObjects(selected, true);
    ASSERT_EQ(selected.Count(), 1u);
    EXPECT_NE(dynamic_cast<TLOImage*>(&selected[0]), nullptr);
    EXPECT_TRUE(editor.SiteModified());
    ActionList().Undo();
    EXPECT_EQ(editor.Site().ObjectCount(), 0u);

    // Anything else is refused with a message and adds nothing.
    const QString text = QString::fromStdString(dir_.File("notes.png"));
    test::WriteFile(text.toStdString(), "not a picture");
    EXPECT_FALSE(editor.AddImageFile(text));
    EXPECT_EQ(editor.Site().ObjectCount(), 0u);
}

TEST_F(LayoutWindow, TheBackgroundCommandMakesOneBackgroundThenEditsIt)
{
    TfrmLayout& editor = *editor_;
    const auto acceptDialog = [] {
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };
    acceptDialog();
    editor.Action("actBackground")->trigger();
    const auto backgrounds = [&editor] {
        int count = 0;
        for (std::size_t i = 0; i < editor.Site().ObjectCount(); ++i)
            count += dynamic_cast<TLOBackImage*>(&editor.Site().Objects(i)) != nullptr;
        return count;
    };
    EXPECT_EQ(backgrounds(), 1);
    // Without a picture fill there is no position to choose.
    editor.Idle();
    EXPECT_FALSE(editor.Action("actBackPosAdjust")->isEnabled());

    acceptDialog();
    editor.Action("actBackground")->trigger();
    EXPECT_EQ(backgrounds(), 1);
}

TEST_F(LayoutWindow, AnAlbumBuiltFromAFolderFillsATextWithItsTracks)
{
    TfrmLayout& editor = *editor_;
    const std::string folder = dir_.File("music");
    std::filesystem::create_directories(folder);
    const auto tagged = [](const std::string& title, int frames) {
        const std::string frames3 = TextFrame(3, "TIT2", std::string(1, '\0') + title) +
                                    TextFrame(3, "TPE1", std::string(1, '\0') + "Band") +
                                    TextFrame(3, "TALB", std::string(1, '\0') + "Record");
        return Id3v2Tag(3, frames3) + Mpeg1Frames(frames);
    };
    WriteFile(folder + "/b.mp3", tagged("2 Second", 500));
    WriteFile(folder + "/a.mp3", tagged("1 First", 400));

    // The text dialog's album button, the album dialog importing the
    // folder, then OK in both.
    QTimer::singleShot(0, [&folder] {
        auto* textDialog = dynamic_cast<TfrmTextProperty*>(QApplication::activeModalWidget());
        ASSERT_NE(textDialog, nullptr);
        QTimer::singleShot(0, [&folder] {
            auto* albums = dynamic_cast<TfrmAlbumData*>(QApplication::activeModalWidget());
            ASSERT_NE(albums, nullptr);
            albums->ImportFolder(folder, ListFolderFiles(folder), false);
            albums->Finish(TASOptRec{asAlbumTitle | asTrackNumber | asTrackTitle | asTrackTime, " ", 0});
        });
        auto* album = textDialog->findChild<QPushButton*>(QStringLiteral("btnAlbum"));
        ASSERT_NE(album, nullptr);
        album->click();
        textDialog->accept();
    });
    editor.Action("actText")->trigger();

    TDOList selected;
    editor.Site().GetObjects(selected, true);
    ASSERT_EQ(selected.Count(), 1u);
    auto* text = dynamic_cast<TLOText*>(&selected[0]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text(), (std::vector<std::string>{"Record", "1.1 First 0:10", "2.2 Second 0:13"}));
}

struct ShapeCase {
    const char* command;
    bool drawnByDragging;  // else placed in the middle once its dialog is closed
};

// Each shape kind in the editor: created by dragging on the face (a
// decorative line is placed after its pattern dialog), resized by a
// handle, edited in its dialog.
class LayoutShapes : public LayoutWindow, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(LayoutShapes, AreDrawnByDraggingResizedByAHandleAndEditedInTheirDialog)
{
    TfrmLayout& editor = *editor_;
    editor.SetZoom(200);
    QWidget* site = editor.SiteWidget();
    // The decorative line asks for its pattern first, from the patterns the
    // build installs.
    std::filesystem::create_directory_symlink(BinaryDir() + "/share/orvella/ILLUST", dir_.File("share/orvella/ILLUST"));
    QTimer::singleShot(0, [] {
        if (auto* dialog = dynamic_cast<TfrmPropertyDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    editor.Action(GetParam().command)->trigger();
    if (GetParam().drawnByDragging) {
        const QPoint from = device({100, 80});
        const QPoint to = device({300, 200});
        QTest::mousePress(site, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(site, from + (to - from) * step / 4);
        QTest::mouseRelease(site, Qt::LeftButton, {}, to);
    }

    TDOList selected;
    editor.Site().GetObjects(selected, true);
    ASSERT_EQ(selected.Count(), 1u);
    TDrawObject& shape = selected[0];
    const TRect drawn = boundsOf(shape);
    if (GetParam().drawnByDragging) {
        EXPECT_NEAR(drawn.Left, 100, 12);
        EXPECT_NEAR(drawn.Right, 300, 12);
    }

    // The handle furthest right and down follows the mouse.
    editor.Site().RefreshHandles();
    const TDrawHandle* corner = nullptr;
    for (std::size_t i = 0; i < editor.Site().HandleCount(); ++i) {
        const TDrawHandle& handle = editor.Site().Handles(i);
        if (handle.Visible && (!corner || handle.Bounds.Right + handle.Bounds.Bottom >
                                              corner->Bounds.Right + corner->Bounds.Bottom))
            corner = &handle;
    }
    ASSERT_NE(corner, nullptr);
    const QPoint grip((corner->Bounds.Left + corner->Bounds.Right) / 2, (corner->Bounds.Top + corner->Bounds.Bottom) / 2);
    const QPoint pulled = grip + device({100, 40}) - device({0, 0});
    QTest::mousePress(site, Qt::LeftButton, {}, grip);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(site, grip + (pulled - grip) * step / 4);
    QTest::mouseRelease(site, Qt::LeftButton, {}, pulled);
    const TRect resized = boundsOf(shape);
    EXPECT_NEAR(resized.Right - drawn.Right, 100, 12);

    // The dialog's "do not print" box reaches the object as one step.
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    site->setFocus();
    waitForIdle();
    bool dialogSeen = false;
    QTimer::singleShot(0, [&dialogSeen] {
        auto* dialog = dynamic_cast<TfrmPropertyDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialogSeen = true;
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
            if (box->text() == QStringLiteral("印刷しない(&P)"))
                box->setChecked(true);
        dialog->accept();
    });
    editor.Action("DSAEditProperty")->trigger();
    EXPECT_TRUE(dialogSeen);
    auto* label = dynamic_cast<TLabelObject*>(&shape);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->DontPrint());
    ActionList().Undo();
    EXPECT_FALSE(label->DontPrint());
}

INSTANTIATE_TEST_SUITE_P(Kinds, LayoutShapes,
                         ::testing::Values(ShapeCase{"actLine", true}, ShapeCase{"actArc", true},
                                           ShapeCase{"actRect", true}, ShapeCase{"actCircle", true},
                                           ShapeCase{"actDecoLine", false}));

}  // namespace
}  // namespace orvella::test
