// The picture export of the current face at each of its six types, and
// the command-line renderer, checked by reading the pictures back with
// Qt's own readers.

#include "main_window_fixture.h"

#include "app/image_export.h"
#include "document/label_data.h"
#include "support/tool_runner.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

// The face is 500 x 300 (0.1 mm): 189.0 x 113.4 pixels at 96 dpi, 187 %
// and 375 % of that at the 180 and 360 dpi types, rounded up as a draw
// site covers every pixel its surface touches.
struct ExportCase {
    const char* name;
    int filterIndex;
    const char* ext;
    const char* format;  // what Qt's reader recognises
    int width;
    int height;
};

class ImageExport : public MainWindowTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(ImageExport, WritesTheFaceAtTheTypesSize)
{
    const ExportCase& c = GetParam();
    TfrmMain& main = window();
    const std::string file = dir_.File(std::string("face.") + c.ext);
    dialogAnswers_.push_back(TFileDialogAnswer{QString::fromStdString(file), c.filterIndex});
    main.ExportImage();

    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(DefaultExtFor(dialogs_[0], c.filterIndex), QString::fromLatin1(c.ext));
    EXPECT_TRUE(messages_.empty());
    QImageReader reader(QString::fromStdString(file));
    EXPECT_EQ(reader.format(), QByteArray(c.format));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    // Nothing is drawn on a face without objects.
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::white));
}

INSTANTIATE_TEST_SUITE_P(Types, ImageExport,
                         ::testing::Values(ExportCase{"BitmapScreen", 1, "bmp", "bmp", 189, 114},
                                           ExportCase{"Bitmap180", 2, "bmp", "bmp", 354, 213},
                                           ExportCase{"Bitmap360", 3, "bmp", "bmp", 709, 426},
                                           ExportCase{"JpegScreen", 4, "jpg", "jpeg", 189, 114},
                                           ExportCase{"Jpeg180", 5, "jpg", "jpeg", 354, 213},
                                           ExportCase{"Jpeg360", 6, "jpg", "jpeg", 709, 426}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TheExportDialogOffersTheSixTypesInOrder)
{
    TfrmMain& main = window();
    main.ExportImage();  // cancelled: nothing written
    ASSERT_EQ(dialogs_.size(), 1u);
    const QStringList parts = dialogs_[0].Filter.split(QLatin1Char('|'));
    ASSERT_EQ(parts.size(), 12);
    EXPECT_EQ(parts[0], QStringLiteral("ビットマップ 画面サイズ (*.bmp)"));
    EXPECT_EQ(parts[6], QStringLiteral("JPEG イメージ  画面サイズ (*.jpg)"));
    EXPECT_EQ(parts[10], QStringLiteral("JPEG イメージ 360dpi (*.jpg)"));
    EXPECT_EQ(dialogs_[0].DefaultExts,
              (QStringList{"bmp", "bmp", "bmp", "jpg", "jpg", "jpg"}));
}

TEST_F(MainWindowTest, RenderToolDrawsTheSheetAndOneFace)
{
    TfrmMain& main = window();
    const std::string document = dir_.File("label.ovd");
    dialogAnswers_.push_back(TFileDialogAnswer{QString::fromStdString(document), 1});
    ASSERT_TRUE(main.SaveAs());

    // The window holds its document: another process is refused it, and
    // renders a copy of the saved file instead.
    const std::string sheet = dir_.File("sheet.png");
    EXPECT_EQ(RunTool({"render", document, sheet}).status, 1);
    const std::string copy = dir_.File("copy.ovd");
    WriteFile(copy, ReadFile(document));
    // The A4 sheet at 96 dpi; its face at 180 dpi, as the export's second type.
    ToolRun run = RunTool({"render", copy, sheet});
    ASSERT_EQ(run.status, 0) << run.err;
    QImage image(QString::fromStdString(sheet));
    EXPECT_EQ(image.size(), QSize(794, 1123));
    // The paper is white; the face (from 10 mm, about 38 pixels, in) is
    // outlined in black and white inside.
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(100, 130), QColor(Qt::white));
    bool outline = false;
    for (int x = 34; x <= 42; ++x)
        outline = outline || image.pixelColor(x, 130) == QColor(Qt::black);
    EXPECT_TRUE(outline);

    const std::string face = dir_.File("face.jpg");
    run = RunTool({"render", copy, face, "--face", "0", "--dpi", "180"});
    ASSERT_EQ(run.status, 0) << run.err;
    // Exactly 180 dpi: 354.33 x 212.6 pixels, every pixel touched counted
    // (the former whole-percent scale drew at 179.52 dpi, 354 wide).
    EXPECT_EQ(QImage(QString::fromStdString(face)).size(), QSize(355, 213));

    EXPECT_EQ(RunTool({"render", copy, face, "--face", "3"}).status, 1);
    EXPECT_EQ(RunTool({"render", copy, dir_.File("out.gif")}).status, 2);
    EXPECT_EQ(RunTool({"render", dir_.File("none.ovd"), face}).status, 1);
}

}  // namespace
}  // namespace orvella::test
