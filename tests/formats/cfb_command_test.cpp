// orvella-tool cfb, checked against gsf on the same files.

#include "formats/compound_file.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace orvella::test {
namespace {

namespace fs = std::filesystem;

// gsf list's lines as "path type size", sorted; its own root line dropped.
std::vector<std::string> gsfListing(const std::string& file)
{
    const ToolRun run = RunProgram("/usr/bin/gsf", {"list", file});
    std::vector<std::string> lines;
    std::istringstream in(run.out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 3 || (line[0] != 'd' && line[0] != 'f') || line.find("*root*") != std::string::npos)
            continue;
        std::istringstream words(line);
        std::string kind, first, rest;
        words >> kind >> first;
        std::string size = first;
        if (first.find('-') != std::string::npos)  // a time stamp stands before the size
            words >> rest >> size;
        std::string path;
        std::getline(words, path);
        path.erase(0, path.find_first_not_of(' '));
        std::replace(path.begin(), path.end(), '/', '\\');
        lines.push_back(path + (kind == "d" ? " storage " : " stream ") + size);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> toolListing(const std::string& file)
{
    const ToolRun run = RunTool({"cfb", "ls", file});
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines;
    std::istringstream in(run.out);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

class CfbCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        source_ = dir_.File("tree");
        fs::create_directories(source_ + "/Sheets/NameList0");
        WriteFile(source_ + "/DataInfo", std::string(5000, 'd'));
        WriteFile(source_ + "/Sheets/NameList", std::string("\1\0\0\0NameList0\r\n", 15));
        WriteFile(source_ + "/Sheets/NameList0/表面", "face");
        WriteFile(source_ + "/Sheets/NameList0/Empty", "");
    }
    TempDir dir_;
    std::string source_;
};

TEST_F(CfbCommand, PackedFilesListAndReadTheSameInGsf)
{
    const std::string packed = dir_.File("packed.ovd");
    ASSERT_EQ(RunTool({"cfb", "pack", source_, packed}).status, 0);
    const std::vector<std::string> ours = toolListing(packed);
    EXPECT_EQ(ours, gsfListing(packed));
    EXPECT_EQ(ours.size(), 6u);
    for (const std::string path : {"DataInfo", "Sheets/NameList0/表面", "Sheets/NameList"}) {
        std::string backslashed = path;
        std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
        EXPECT_EQ(RunTool({"cfb", "cat", packed, backslashed}).out, RunProgram("/usr/bin/gsf", {"cat", packed, path}).out);
    }
    EXPECT_EQ(RunTool({"cfb", "cat", packed, "Sheets\\Nothing"}).status, 1);
}

TEST_F(CfbCommand, ListsAndExtractsFilesGsfWrote)
{
    const std::string made = dir_.File("gsf.ole");
    ASSERT_EQ(RunProgram("/bin/sh", {"-c", "cd '" + source_ + "' && gsf createole '" + made + "' DataInfo Sheets"}).status, 0);
    EXPECT_EQ(toolListing(made), gsfListing(made));
    EXPECT_EQ(RunTool({"cfb", "cat", made, "sheets\\namelist0\\表面"}).out, "face");

    const std::string out = dir_.File("out");
    ASSERT_EQ(RunTool({"cfb", "unpack", made, out}).status, 0);
    EXPECT_EQ(ReadFile(out + "/Sheets/NameList0/表面"), "face");
    EXPECT_EQ(ReadFile(out + "/DataInfo"), std::string(5000, 'd'));
}

TEST_F(CfbCommand, UnpackNeverWritesOutsideItsFolder)
{
    TStorageElement root;
    root.Type = TElementType::Root;
    auto hostile = std::make_unique<TStorageElement>();
    hostile->Name = "..";
    hostile->Type = TElementType::Storage;
    auto payload = std::make_unique<TStorageElement>();
    payload->Name = "escaped";
    payload->Type = TElementType::Stream;
    hostile->Insert(std::move(payload));
    root.Insert(std::move(hostile));
    WriteFile(dir_.File("hostile.cfb"), WriteCompoundFile(root));

    const ToolRun run = RunTool({"cfb", "unpack", dir_.File("hostile.cfb"), dir_.File("out/inner")});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(fs::exists(dir_.File("out/escaped")));
    EXPECT_EQ(RunTool({"cfb", "pack", dir_.File("missing"), dir_.File("x")}).status, 1);
    EXPECT_EQ(RunTool({"cfb", "ls"}).status, 2);
}

}  // namespace
}  // namespace orvella::test
