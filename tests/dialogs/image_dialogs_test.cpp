// The picture, alpha-mask and background dialogs driven as a user would,
// and pictures and text pasted from the clipboard.

#include "dialogs/background_dialog.h"
#include "dialogs/color_panel.h"
#include "dialogs/image_property_dialogs.h"
#include "dialogs/object_dialogs.h"
#include "dialogs/position_panel.h"
#include "document/document_classes.h"
#include "drawing/action_list.h"
#include "drawing/designer.h"
#include "drawing/draw_site.h"
#include "drawing/draw_site_action_edit.h"
#include "graphics/bitmap.h"
#include "objects/lo_alpha_mask.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"
#include "objects/lo_text.h"
#include "objects/object_classes.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QSpinBox>
#include <QTimer>

#include <functional>

namespace orvella {
namespace {

QImage solidImage(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void putPngOnClipboard(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    QGuiApplication::clipboard()->setMimeData(data);
}

class ImageDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterObjectClasses();
        RegisterObjectDialogs();
        ActionList().Clear();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1200);
        site.SetLogHeight(1200);
    }
    void TearDown() override
    {
        ActionList().Clear();
        QGuiApplication::clipboard()->clear();
    }

    template <class T>
    T& place(std::unique_ptr<T> object)
    {
        T& placed = static_cast<T&>(site.InsertOwnedObject(std::move(object)));
        site.AddObject(placed);
        return placed;
    }

    template <class D>
    bool run(D& dialog, TDrawObject& object, const std::function<void(D&)>& act)
    {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return EditObjectInDialog(object, dialog);
    }

    TDrawSite site;
};

TEST_F(ImageDialogs, ThePictureDialogTakesAFileAndItsFrameAsOneStep)
{
    const test::TempDir dir;
    const std::string picture = dir.File("photo.png");
    const std::string frame = dir.File("frame.png");
    ASSERT_TRUE(solidImage(90, 45, Qt::blue).save(QString::fromStdString(picture)));
    ASSERT_TRUE(solidImage(30, 15, QColor(0xF0, 0xF0, 0xF0)).save(QString::fromStdString(frame)));
    auto owned = std::make_unique<TLOWizardImage>();
    owned->SetBoundsRect({100, 100, 400, 250});
    TLOWizardImage& image = place(std::move(owned));
    TfrmIllustProperty dialog;
    EXPECT_TRUE(run<TfrmIllustProperty>(dialog, image, [&](TfrmIllustProperty& d) {
        EXPECT_EQ(d.windowTitle(), "イラストの設定");
        d.LoadPictureFile(QString::fromStdString(picture));
        d.LoadFramePicture(QString::fromStdString(frame));
        d.AlphaFrameBox()->setChecked(true);
        d.ClipEdit(2)->setValue(45);
        // The preview copy follows; the object waits for OK.
        EXPECT_EQ(static_cast<TLOImage*>(d.PreviewObject())->ImageData().Picture().Width(), 90);
        EXPECT_TRUE(image.ImageData().Picture().Empty());
        d.accept();
    }));
    EXPECT_EQ(image.ImageData().Picture().Width(), 90);
    EXPECT_EQ(image.ImageData().ClipFilter().ClipRect(), (TRect{0, 0, 45, 45}));
    EXPECT_EQ(image.FramePicture().Width(), 30);
    EXPECT_TRUE(image.AlphaFrame());
    ASSERT_EQ(ActionList().Count(), 1u);
    ActionList().Undo();
    EXPECT_TRUE(image.ImageData().Picture().Empty());
    EXPECT_FALSE(image.AlphaFrame());
}

TEST_F(ImageDialogs, ANewPictureObjectTakesThePicturesSize)
{
    const test::TempDir dir;
    const std::string picture = dir.File("photo.png");
    ASSERT_TRUE(solidImage(360, 180, Qt::blue).save(QString::fromStdString(picture)));
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TfrmIllustProperty*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->LoadPictureFile(QString::fromStdString(picture));
        dialog->accept();
    });
    ASSERT_TRUE(LabelObjectCreator().CreateObject(site, "TLOImage"));
    ASSERT_EQ(site.ObjectCount(), 1u);
    auto& image = dynamic_cast<TLOWizardImage&>(site.Objects(0));
    EXPECT_EQ(image.ImageData().Picture().Width(), 360);
    // 360 x 180 pixels at 180 per inch.
    EXPECT_EQ(image.GetWidth(), 508);
    EXPECT_EQ(image.GetHeight(), 254);
}

TEST_F(ImageDialogs, CancelOrAnUntouchedOkLeavesNoStep)
{
    TLOWizardImage& image = place(std::make_unique<TLOWizardImage>());
    TfrmIllustProperty cancelled;
    EXPECT_FALSE(run<TfrmIllustProperty>(cancelled, image, [](TfrmIllustProperty& d) {
        d.AlphaFrameBox()->setChecked(true);
        d.reject();
    }));
    EXPECT_FALSE(image.AlphaFrame());
    TfrmIllustProperty untouched;
    EXPECT_TRUE(run<TfrmIllustProperty>(untouched, image, [](TfrmIllustProperty& d) { d.accept(); }));
    EXPECT_EQ(ActionList().Count(), 0u);
}

TEST_F(ImageDialogs, APastedPngBecomesAPictureObjectAndPlainTextATextObject)
{
    putPngOnClipboard(solidImage(180, 90, Qt::red));
    ASSERT_EQ(ClipboardCreationCommand(), "TLOImagePaste");
    ASSERT_TRUE(LabelObjectCreator().CreateObject(site, ClipboardCreationCommand()));
    ASSERT_EQ(site.ObjectCount(), 1u);
    auto* image = dynamic_cast<TLOWizardImage*>(&site.Objects(0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ImageData().Picture().Width(), 180);
    EXPECT_EQ(image->ImageSource(), TImageSource::isFile);
    // Fitted into the square over its rectangle, proportions kept.
    EXPECT_EQ(image->GetWidth(), 2 * image->GetHeight());
    EXPECT_EQ(ActionList().Count(), 1u);

    // The picture dialog takes the clipboard's picture, or refuses text.
    TfrmIllustProperty dialog;
    run<TfrmIllustProperty>(dialog, *image, [](TfrmIllustProperty& d) {
        QGuiApplication::clipboard()->setText(QStringLiteral("ただの文字"));
        EXPECT_FALSE(d.PastePicture());
        EXPECT_EQ(d.WorkingImage().Picture().Width(), 180);
        putPngOnClipboard(solidImage(20, 10, Qt::green));
        EXPECT_TRUE(d.PastePicture());
        EXPECT_EQ(d.WorkingImage().Picture().Width(), 20);
        d.reject();
    });

    QGuiApplication::clipboard()->setText(QStringLiteral("一行目\n二行目"));
    ASSERT_EQ(ClipboardCreationCommand(), "TLOTextPaste");
    ASSERT_TRUE(LabelObjectCreator().CreateObject(site, ClipboardCreationCommand()));
    ASSERT_EQ(site.ObjectCount(), 2u);
    EXPECT_NE(dynamic_cast<TLOText*>(&site.Objects(1)), nullptr);
}

TEST_F(ImageDialogs, TheAlphaMaskDialogWritesFillAndSoftness)
{
    auto owned = std::make_unique<TLOAlphaMask>();
    owned->SetBoundsRect({0, 0, 300, 200});
    TLOAlphaMask& mask = place(std::move(owned));
    TfrmAlphaMaskProperty dialog;
    EXPECT_TRUE(run<TfrmAlphaMaskProperty>(dialog, mask, [](TfrmAlphaMaskProperty& d) {
        EXPECT_EQ(d.windowTitle(), "シェード図形の設定");
        d.FillPanel()->ChooseColor(clRed);
        d.ShadeEdit()->setValue(12);
        d.accept();
    }));
    EXPECT_EQ(mask.FillColor().Color(), clRed);
    EXPECT_EQ(mask.ShadeSize(), 12);
    EXPECT_EQ(ActionList().Count(), 1u);
}

TEST_F(ImageDialogs, TheDesignersOpenTheirDialogs)
{
    struct Case {
        std::unique_ptr<TDrawObject> object;
        const char* caption;
    };
    Case cases[] = {{std::make_unique<TLOWizardImage>(), "イラストの設定"},
                    {std::make_unique<TLOImage>(), "イラストの設定"},
                    {std::make_unique<TLOAlphaMask>(), "シェード図形の設定"},
                    {std::make_unique<TLOBackImage>(), "背景柄の設定"}};
    for (Case& c : cases) {
        TDrawObject& object = site.InsertOwnedObject(std::move(c.object));
        site.AddObject(object);
        QString seen;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = modal->windowTitle();
                static_cast<QDialog*>(modal)->reject();
            }
        });
        bool cancelled = false;
        EXPECT_TRUE(DesignerList().EditObject(object, cancelled));
        EXPECT_TRUE(cancelled);
        EXPECT_EQ(seen, QString::fromUtf8(c.caption));
    }
}

TEST_F(ImageDialogs, TheBackgroundDialogIsOneStepNamedForTheBackground)
{
    auto owned = std::make_unique<TLOBackImage>();
    owned->SetBoundsRect({0, 0, 1200, 1200});
    TLOBackImage& background = place(std::move(owned));
    TfrmBackgroundColors dialog;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "背景柄の設定");
        dialog.FillPanel()->ChooseColor(clBlue);
        dialog.FramePanel()->ChooseColor(clRed);
        dialog.FrameWidthEdit()->setText(QStringLiteral("3"));
        dialog.accept();
    });
    EXPECT_TRUE(EditBackgroundInDialog(background, dialog));
    EXPECT_EQ(background.FillColor().Color(), clBlue);
    EXPECT_EQ(background.FrameColor().Color(), clRed);
    EXPECT_EQ(background.FrameWidth(), 30);
    ASSERT_EQ(ActionList().Count(), 1u);
    EXPECT_EQ(ActionList().UndoCaption(), "背景変更");
    ActionList().Undo();
    EXPECT_TRUE(background.IsPlain());

    TfrmBackgroundColors cancelled;
    QTimer::singleShot(0, &cancelled, [&] {
        cancelled.FillPanel()->ChooseColor(clLime);
        cancelled.reject();
    });
    EXPECT_FALSE(EditBackgroundInDialog(background, cancelled));
    EXPECT_TRUE(background.IsPlain());
}

}  // namespace
}  // namespace orvella
