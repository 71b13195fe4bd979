// orvella-tool cfb, checked against gsf on the same files.

#include "formats/compound_file.h"
#include "support/oracle.h"
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
    EXPECT_EQ(run.status, 0) << "gsf list " << file << ": " << run.err;
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
    EXPECT_FALSE(lines.empty()) << "gsf listed nothing in " << file << ":\n" << run.out;
    return lines;
}

// What gsf cat gives for one stream; a failed run fails the test.
std::string gsfCat(const std::string& file, const std::string& path)
{
    const ToolRun run = RunProgram("/usr/bin/gsf", {"cat", file, path});
    EXPECT_EQ(run.status, 0) << "gsf cat " << path << ": " << run.err;
    return run.out;
}

std::string toolCat(const std::string& file, const std::string& path)
{
    const ToolRun run = RunTool({"cfb", "cat", file, path});
    EXPECT_EQ(run.status, 0) << "cfb cat " << path << ": " << run.err;
    return run.out;
}

std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + size);
    return bytes;
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
        // Each side of the mini-stream cutoff and of the sector size.
        for (const std::size_t size : kEdgeSizes)
            WriteFile(source_ + "/Sheets/S" + std::to_string(size), pattern(size));
    }
    static constexpr std::size_t kEdgeSizes[] = {64, 4095, 4096, 4097};
    TempDir dir_;
    std::string source_;
};

TEST_F(CfbCommand, PackedFilesListAndReadTheSameInGsf)
{
    ORVELLA_REQUIRE_TOOL(HaveGsf(), "gsf (libgsf-bin)");
    const std::string packed = dir_.File("packed.ovd");
    ASSERT_EQ(RunTool({"cfb", "pack", source_, packed}).status, 0);
    const std::vector<std::string> ours = toolListing(packed);
    EXPECT_EQ(ours, gsfListing(packed));
    EXPECT_EQ(ours.size(), 6u + std::size(kEdgeSizes));
    std::vector<std::string> paths{"DataInfo", "Sheets/NameList0/表面", "Sheets/NameList", "Sheets/NameList0/Empty"};
    for (const std::size_t size : kEdgeSizes)
        paths.push_back("Sheets/S" + std::to_string(size));
    for (const std::string& path : paths) {
        std::string backslashed = path;
        std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
        const std::string stored = ReadFile(source_ + "/" + path);
        EXPECT_EQ(toolCat(packed, backslashed), stored) << path;
        EXPECT_EQ(gsfCat(packed, path), stored) << path;
    }
    EXPECT_EQ(RunTool({"cfb", "cat", packed, "Sheets\\Nothing"}).status, 1);
}

TEST_F(CfbCommand, ListsAndExtractsFilesGsfWrote)
{
    ORVELLA_REQUIRE_TOOL(HaveGsf(), "gsf (libgsf-bin)");
    const std::string made = dir_.File("gsf.ole");
    ASSERT_EQ(RunProgram("/bin/sh", {"-c", "cd '" + source_ + "' && gsf createole '" + made + "' DataInfo Sheets"}).status, 0);
    EXPECT_EQ(toolListing(made), gsfListing(made));
    EXPECT_EQ(toolCat(made, "sheets\\namelist0\\表面"), "face");
    for (const std::size_t size : kEdgeSizes)
        EXPECT_EQ(toolCat(made, "Sheets\\S" + std::to_string(size)), pattern(size)) << size;

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
