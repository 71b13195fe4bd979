// orvella-tool music tags against mutagen's reading of files that lame made
// and mutagen tagged in ID3v2.3 and v2.4.

#include "support/oracle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace orvella {
namespace {

using namespace orvella::test;

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    if (!line.empty() && line.back() == '\t')
        fields.emplace_back();
    return fields;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

TEST(MutagenOracle, ToolAgreesOnTagsAndDuration)
{
    ORVELLA_REQUIRE_TOOL(HaveProgram("/usr/bin/lame") && HaveProgram("/usr/bin/sox"), "lame and sox");
    ORVELLA_REQUIRE_TOOL(HavePythonModule("mutagen"), "python3-mutagen");
    TempDir folder;
    const ToolRun made = RunProgram("/usr/bin/python3", {SourceDir() + "/tests/music/make_music.py", folder.Path()});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::vector<std::string> expected = Lines(made.out);
    ASSERT_EQ(expected.size(), 5u);
    std::vector<std::string> files;
    for (const std::string& line : expected)
        files.push_back(SplitTabs(line).at(0));
    std::vector<std::string> arguments = {"music", "tags"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const ToolRun tool = RunTool(arguments);
    ASSERT_EQ(tool.status, 0) << tool.err;
    const std::vector<std::string> got = Lines(tool.out);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const std::vector<std::string> want = SplitTabs(expected[i]);
        const std::vector<std::string> have = SplitTabs(got[i]);
        ASSERT_EQ(have.size(), 5u) << got[i];
        EXPECT_EQ(have[1], want[1]) << files[i];
        EXPECT_EQ(have[2], want[2]) << files[i];
        EXPECT_EQ(have[3], want[3]) << files[i];
        EXPECT_LE(std::abs(std::stod(have[4]) - std::stod(want[4])), 1.0) << files[i];
    }
}

TEST(MutagenOracle, FilesThatAreNotMusicPrintEmptyFields)
{
    TempDir folder;
    WriteFile(folder.File("notes.txt"), "just some text\n");
    const ToolRun tool = RunTool({"music", "tags", folder.File("notes.txt"), folder.File("missing.mp3")});
    ASSERT_EQ(tool.status, 0);
    EXPECT_EQ(tool.out, folder.File("notes.txt") + "\t\t\t\t\n" + folder.File("missing.mp3") + "\t\t\t\t\n");
}

} // namespace
} // namespace orvella
