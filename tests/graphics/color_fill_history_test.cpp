// The history of used colour fills, in a file of its own.

#include "graphics/color_fill_history.h"

#include "graphics/color_fill.h"
#include "graphics/picture_ex.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace orvella {
namespace {

class ColorSpecHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { history.SetFilename(dir.File("prefs/ColorSpec.hst")); }

    static std::unique_ptr<TColorSpec> solid(TColor color)
    {
        auto colorFill = std::make_unique<TColorSpec>();
        colorFill->SetColor(color);
        return colorFill;
    }

    test::TempDir dir;
    TColorSpecHistory history;
};

TEST_F(ColorSpecHistoryTest, MissingFileIsAnEmptyHistory)
{
    EXPECT_EQ(history.Count(), 0);
    TPictureEx preview;
    history.GetPreview(0, preview);
    EXPECT_TRUE(preview.Empty());
}

TEST_F(ColorSpecHistoryTest, AddingTheSameSpecTwiceKeepsOneEntryAtTheFront)
{
    history.Add(*solid(clRed));
    history.Add(*solid(clBlue));
    EXPECT_TRUE(std::filesystem::exists(history.Filename())) << "the folder and file are made on first use";
    history.Add(*solid(clRed));
    ASSERT_EQ(history.Count(), 2);
    TColorSpec loaded;
    history.Load(0, loaded);
    EXPECT_EQ(loaded.Color(), clRed);
    history.Load(1, loaded);
    EXPECT_EQ(loaded.Color(), clBlue);

    TPictureEx preview;
    history.GetPreview(0, preview);
    EXPECT_EQ(preview.Width(), TColorSpecHistory::kPreviewSize);
}

TEST_F(ColorSpecHistoryTest, LimitDropsTheOldest)
{
    for (int i = 0; i < 11; ++i)
        history.Add(*solid(RGB(uint8_t(i * 20), 0, 0)));
    ASSERT_EQ(history.Count(), 10);
    TColorSpec loaded;
    history.Load(0, loaded);
    EXPECT_EQ(loaded.Color(), RGB(200, 0, 0));
    history.Load(9, loaded);
    EXPECT_EQ(loaded.Color(), RGB(20, 0, 0)) << "the first one added is gone";
}

TEST_F(ColorSpecHistoryTest, KeysTellSpecsApartAndAgreeForEqualOnes)
{
    TPictureEx red, alsoRed, blue;
    TColorSpecHistory::MakePreview(*solid(clRed), red);
    TColorSpecHistory::MakePreview(*solid(clRed), alsoRed);
    TColorSpecHistory::MakePreview(*solid(clBlue), blue);
    EXPECT_EQ(TColorSpecHistory::HistoryKey(*solid(clRed), red), TColorSpecHistory::HistoryKey(*solid(clRed), alsoRed));
    EXPECT_NE(TColorSpecHistory::HistoryKey(*solid(clRed), red), TColorSpecHistory::HistoryKey(*solid(clBlue), blue));
}

TEST_F(ColorSpecHistoryTest, DeleteAndClear)
{
    history.Add(*solid(clRed));
    history.Add(*solid(clBlue));
    history.Delete(0);
    ASSERT_EQ(history.Count(), 1);
    TColorSpec loaded;
    history.Load(0, loaded);
    EXPECT_EQ(loaded.Color(), clRed);
    history.Clear();
    EXPECT_EQ(history.Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(history.Filename()));
}

TEST_F(ColorSpecHistoryTest, DamagedFileReadsAsEmpty)
{
    std::filesystem::create_directories(dir.File("prefs"));
    test::WriteFile(history.Filename(), "not a compound file");
    EXPECT_EQ(history.Count(), 0);
    TPictureEx preview;
    history.GetPreview(0, preview);
    EXPECT_TRUE(preview.Empty());
}

}  // namespace
}  // namespace orvella
