// The colour panel: how it shows a fill, what its result keeps, the history,
// and the preset file.

#include "../frame/frame_fixture.h"
#include "dialogs/color_panel.h"
#include "dialogs/gradient_presets.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/color_fill.h"
#include "graphics/color_fill_history.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QFile>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace orvella {
namespace {

// The largest difference of one colour channel between two pictures.
int MaxChannelDifference(const std::vector<TColor>& a, const std::vector<TColor>& b)
{
    int worst = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
    return worst;
}

// Every pixel of the fill over a 64 × 48 rectangle.
std::vector<TColor> Pixels(TColorSpec& fill)
{
    TBitmap bitmap(64, 48, TPixelFormat::pf24bit);
    fill.Fill(bitmap.Canvas(), {0, 0, 64, 48});
    std::vector<TColor> pixels;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.push_back(bitmap.GetPixelColor(x, y));
    return pixels;
}

std::unique_ptr<TColorSpec> Gradient(TGradKind kind, std::vector<TColor> stops)
{
    auto fill = std::make_unique<TColorSpec>();
    fill->SetKind(TColorSpecKind::cskGradation);
    fill->SetGradKind(kind);
    fill->GradColors().SetColors(stops);
    return fill;
}

class ColorPanel : public test::FrameTest {};

TEST_F(ColorPanel, ShowsCentreWardGradientsAsTheirRimWardTwinWithTheSamePicture)
{
    // A cone runs round to its first stop again: its twin keeps the first
    // stop at the seam and reverses the rest.
    {
        const std::unique_ptr<TColorSpec> cone =
            Gradient(TGradKind::rgkConeCounterClockwise, {clRed, clLime, clBlue});
        TfrmColorSpec panel;
        panel.Load(*cone);
        EXPECT_EQ(panel.Working().GradKind(), TGradKind::rgkConeClockwise);
        EXPECT_EQ(panel.Working().GradColors().Colors(), (std::vector<TColor>{clRed, clBlue, clLime}));
        EXPECT_LE(MaxChannelDifference(Pixels(*cone), Pixels(panel.Working())), 8)
            << "the same picture, up to the table's steps at the seam";
    }
    struct Twin {
        TGradKind stored, shown;
    };
    const Twin twins[] = {{TGradKind::rgkCircleToCenter, TGradKind::rgkCircleToRim},
                          {TGradKind::rgkBoxToCenter, TGradKind::rgkBoxToRim}};
    for (const Twin& twin : twins) {
        const std::unique_ptr<TColorSpec> stored = Gradient(twin.stored, {clRed, clBlue});
        TfrmColorSpec panel;
        panel.Load(*stored);
        TColorSpec& shown = panel.Working();
        EXPECT_EQ(shown.GradKind(), twin.shown);
        EXPECT_EQ(shown.GradColors().Colors(), (std::vector<TColor>{clBlue, clRed}));
        EXPECT_TRUE(panel.KindButton(2)->isChecked());
        // The 1024-entry colour table reversed lands one entry apart at most.
        EXPECT_LE(MaxChannelDifference(Pixels(*stored), Pixels(shown)), 2) << int(twin.stored);
    }
}

TEST_F(ColorPanel, ASolidResultDropsAHeldPictureAndAPictureResultKeepsIt)
{
    TColorSpec withPicture;
    TBitmap picture(8, 8, TPixelFormat::pf24bit);
    withPicture.SetBitmap(picture);
    withPicture.SetKind(TColorSpecKind::cskBitmap);
    ASSERT_FALSE(withPicture.ImageData().Picture().Empty());

    TfrmColorSpec kept;
    kept.Load(withPicture);
    EXPECT_FALSE(kept.Result().ImageData().Picture().Empty());

    TfrmColorSpec solid;
    solid.Load(withPicture);
    solid.KindButton(0)->click();
    solid.ChooseColor(clLime);
    const TColorSpec& result = solid.Result();
    EXPECT_EQ(result.Kind(), TColorSpecKind::cskSolid);
    EXPECT_EQ(result.Color(), clLime);
    EXPECT_TRUE(result.ImageData().Picture().Empty());

    TfrmColorSpec disabled;
    disabled.Load(withPicture);
    disabled.SetEnabled(false);
    EXPECT_TRUE(disabled.Result().ImageData().Picture().Empty());
}

TEST_F(ColorPanel, RecordsResultsInTheHistoryOnlyWhileItsUseIsOn)
{
    const QString file = QString::fromStdString(ExpandMacros("$(ColorSpecHistory)"));
    ASSERT_FALSE(file.contains(QStringLiteral("$(")));
    SetSettingBool("UseColorSpecHistory", false);
    {
        TfrmColorSpec panel;
        panel.ChooseColor(clRed);
        panel.Result();
    }
    EXPECT_FALSE(QFile::exists(file));
    SetSettingBool("UseColorSpecHistory", true);
    {
        TfrmColorSpec panel;
        panel.ChooseColor(clRed);
        panel.Result();
    }
    TColorSpecHistory history;
    history.SetFilename(file.toStdString());
    ASSERT_EQ(history.Count(), 1);
    TColorSpec first;
    history.Load(0, first);
    EXPECT_EQ(first.Color(), clRed);
}

TEST_F(ColorPanel, GradientControlsEditTheFillAndReportEveryChange)
{
    TfrmColorSpec panel;
    panel.Load(*Gradient(TGradKind::rgkSimple, {clRed, clBlue}));
    int changes = 0;
    panel.OnChange = [&](TColorSpec&) { ++changes; };
    panel.StopCountEdit()->setValue(4);
    EXPECT_EQ(panel.Working().GradColors().Count(), 4);
    EXPECT_EQ(panel.Working().GradColor(0), clRed) << "kept stops stay";
    EXPECT_TRUE(panel.StopButton(3)->isVisibleTo(&panel));
    EXPECT_FALSE(panel.StopButton(4)->isVisibleTo(&panel));
    panel.DirectionEdit()->setValue(45);
    EXPECT_EQ(panel.DirectionSlider()->value(), 45);
    EXPECT_EQ(panel.Working().GradAngle(), 45);
    panel.ApplyPreset({0x112233, 0x445566});
    EXPECT_EQ(panel.Working().GradColors().Colors(), (std::vector<TColor>{0x112233, 0x445566}));
    EXPECT_GE(changes, 3);
}

// Each page shown as a user sees it (ORVELLA_SCREENSHOT_DIR: where to leave
// the pictures, for looking at them under a real display).
TEST_F(ColorPanel, EachPageShowsItsControls)
{
    TfrmColorSpec panel;
    panel.resize(520, 300);
    panel.Load(*Gradient(TGradKind::rgkCircleToRim, {0x2080F0, 0xF0D040, 0x30A030}));
    panel.show();
    const char* names[] = {"color", "picture", "gradient"};
    for (int kind = 0; kind < 3; ++kind) {
        panel.KindButton(kind)->click();
        EXPECT_TRUE(panel.KindButton(kind)->isChecked()) << "the page the user chose, also without a picture yet";
        const QImage shot = panel.grab().toImage();
        EXPECT_GT(shot.width(), 300);
        if (const char* folder = std::getenv("ORVELLA_SCREENSHOT_DIR"))
            shot.save(QString::fromLocal8Bit(folder) + QStringLiteral("/color_panel_%1.png").arg(names[kind]));
    }
}

TEST(GradientPresetFile, ReadsTheShippedPresetsAndRefusesBadLines)
{
    QFile file(QStringLiteral(ORVELLA_PRESET_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const std::vector<TGradientPreset> presets =
        ParseGradientPresets(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    ASSERT_EQ(presets.size(), 84u);
    EXPECT_EQ(presets[0], (TGradientPreset{0x0000FF, 0x00FFFF, 0x5DD82C}));
    EXPECT_EQ(presets[2], (TGradientPreset{0x4F2F4F, 0x007CFF}));
    for (const TGradientPreset& preset : presets)
        EXPECT_TRUE(preset.size() >= 2 && preset.size() <= 7);

    for (const char* bad : {"$000000FF", "$000000FF,red", "$0000FF,$00FF0000", "$01000000,$00000000",
                            "$0,$1,$2,$3,$4,$5,$6,$7"})
        EXPECT_THROW(ParseGradientPresets(bad), std::runtime_error) << bad;
    EXPECT_EQ(ParseGradientPresets("# note\n\n$00000000,$00FFFFFF\r\n").size(), 1u);
}

}  // namespace
}  // namespace orvella
