#include "platform/backslash_path.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace orvella {
namespace {

namespace fs = std::filesystem;

TEST(BackslashPath, SplitsJoinsAndNormalizes)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitBackslashPath("Data\\Template\\\\Template.dat"), (List{"Data", "Template", "Template.dat"}));
    EXPECT_EQ(SplitBackslashPath("\\a/b\\"), (List{"a", "b"}));
    EXPECT_EQ(JoinBackslashPath({"Data", "Shade", "Shade.ids"}), "Data\\Shade\\Shade.ids");
    EXPECT_EQ(NormalizeBackslashPath(SplitBackslashPath("a\\.\\b\\..\\c")), (List{"a", "c"}));
    EXPECT_EQ(NormalizeBackslashPath(SplitBackslashPath("a\\..")), List{});
    // ".." can never climb above the folder the path is resolved in.
    try {
        NormalizeBackslashPath(SplitBackslashPath("a\\..\\..\\etc\\passwd"));
        FAIL();
    } catch (const EPathUtil& error) {
        EXPECT_STREQ(error.what(), "too many \"..\"");
    }
}

class BackslashPathOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("orvella-path-" + std::to_string(::getpid()));
        fs::create_directories(root_ / "Data" / "BackGrnd");
        std::ofstream(root_ / "Data" / "BackGrnd" / "BackGrnd.dat") << "x";
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(BackslashPathOnDisk, ResolvesEachComponentIgnoringCase)
{
    EXPECT_EQ(ResolveBackslashPath(root_, "DATA\\backgrnd\\BACKGRND.DAT"), root_ / "Data" / "BackGrnd" / "BackGrnd.dat");
    EXPECT_EQ(ResolveBackslashPath(root_, "data\\Shade\\Shade.dat"), root_ / "Data" / "Shade" / "Shade.dat");
    EXPECT_EQ(ResolveBackslashPath(root_, "data\\shade\\..\\.\\backgrnd"), root_ / "Data" / "BackGrnd");
    EXPECT_THROW(ResolveBackslashPath(root_, "..\\outside"), EPathUtil);
    EXPECT_TRUE(FindEntryIgnoringCase(root_, "missing").empty());
}

}  // namespace
}  // namespace orvella
