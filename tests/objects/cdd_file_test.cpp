#include "formats/storage_error.h"
#include "frame/program_macros.h"
#include "objects/cdd_file.h"
#include "objects/coons_distortion.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

namespace orvella {
namespace {

using E = TCoonsDistortion;

// The file the build compiled, found the way the program finds it.
std::string patternFile() { return ProgramMacroTable().Expand("$(CoonsDistortionData)"); }

TEST(CDDFile, TheProgramFindsTheCompiledPatternFile)
{
    EXPECT_EQ(patternFile(), ORVELLA_DATA_DIR "/orvella.cdd");
    EXPECT_TRUE(std::filesystem::exists(patternFile()));
}

TEST(CDDFile, HoldsTheShippedPatternsWithCornersThatAgree)
{
    TCDDFile file;
    file.Open(patternFile());
    ASSERT_GE(file.PatternCount(), 16);
    for (int i = 0; i < file.PatternCount(); ++i) {
        TCoonsDistortion pattern;
        file.LoadPattern(pattern, i);
        ASSERT_FALSE(pattern.IsEmpty()) << i;
        EXPECT_EQ(pattern.GetPoint(E::ceTop, 0), pattern.GetPoint(E::ceLeft, 0)) << i;
        EXPECT_EQ(pattern.GetPoint(E::ceTop, pattern.EdgeCount(E::ceTop) - 1), pattern.GetPoint(E::ceRight, 0)) << i;
        EXPECT_EQ(pattern.GetPoint(E::ceRight, pattern.EdgeCount(E::ceRight) - 1),
                  pattern.GetPoint(E::ceBottom, pattern.EdgeCount(E::ceBottom) - 1))
            << i;
        EXPECT_EQ(pattern.GetPoint(E::ceLeft, pattern.EdgeCount(E::ceLeft) - 1), pattern.GetPoint(E::ceBottom, 0)) << i;
        // Every pattern is found again by its identifier, also when weakened.
        pattern.ApplyRatio(40);
        EXPECT_EQ(file.IndexOfPattern(pattern), i);
    }
}

TEST(CDDFile, IndexOfPatternAnswersMinusOneForEmptyAndForeignPatterns)
{
    TCDDFile file;
    file.Open(patternFile());
    TCoonsDistortion pattern;
    file.LoadPattern(pattern, 3);
    const TGuid stored = pattern.Identifier();
    pattern.ClearPattern();  // empty, with the stored identifier
    EXPECT_EQ(pattern.Identifier(), stored);
    EXPECT_EQ(file.IndexOfPattern(pattern), -1);

    TCoonsDistortion foreign;
    foreign.SetIdentityPattern();
    EXPECT_EQ(file.IndexOfPattern(foreign), -1);
}

TEST(CDDFile, FailsCleanlyOutsideTheListAndWithoutAFile)
{
    TCDDFile file;
    TCoonsDistortion pattern;
    EXPECT_EQ(file.PatternCount(), 0);
    EXPECT_ANY_THROW(file.LoadPattern(pattern, 0));
    EXPECT_ANY_THROW(file.Open(ORVELLA_DATA_DIR "/no-such-file.cdd"));
    EXPECT_FALSE(file.IsOpen());

    file.Open(patternFile());
    EXPECT_ANY_THROW(file.LoadPattern(pattern, file.PatternCount()));
    EXPECT_ANY_THROW(file.LoadPattern(pattern, -1));
    EXPECT_TRUE(pattern.IsEmpty());
    file.Close();
    EXPECT_EQ(file.PatternCount(), 0);
}

TEST(CDDFile, TheThumbnailBitmapHasACellForEveryPattern)
{
    const QImage thumbnails(ORVELLA_DATA_DIR "/TransformPattern.png");
    ASSERT_FALSE(thumbnails.isNull());
    EXPECT_EQ(thumbnails.size(), QSize(376, 592));

    TCDDFile file;
    file.Open(patternFile());
    // A drawn cell has dark ink; the cell after the last pattern is blank.
    auto inked = [&](int index) {
        const int left = index % 4 * 94, top = index / 4 * 37;
        for (int y = top; y < top + 37; ++y)
            for (int x = left; x < left + 94; ++x)
                if (qGray(thumbnails.pixel(x, y)) < 100)
                    return true;
        return false;
    };
    for (int i = 0; i < file.PatternCount(); ++i)
        EXPECT_TRUE(inked(i)) << i;
    EXPECT_FALSE(inked(file.PatternCount()));
}

}  // namespace
}  // namespace orvella
