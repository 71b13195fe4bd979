// The compound file codec, proven against readers and writers we did not
// write: python3-olefile, libgsf's gsf tool, and an independent writer of
// version-4 files (tests/oracles).

#include "formats/compound_file.h"
#include "formats/storage_error.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

namespace orvella::test {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<TStorageElement> stream(const std::string& name, std::string data)
{
    auto element = std::make_unique<TStorageElement>();
    element->Name = name;
    element->Type = TElementType::Stream;
    element->Data = std::move(data);
    return element;
}

std::unique_ptr<TStorageElement> storage(const std::string& name)
{
    auto element = std::make_unique<TStorageElement>();
    element->Name = name;
    element->Type = TElementType::Storage;
    element->CreationTime = 0x01D9000011112222ULL;
    element->ModificationTime = 0x01D9000033334444ULL;
    return element;
}

std::string pattern(std::size_t size, int seed)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + std::size_t(seed) * 17) >> 3);
    return bytes;
}

// Streams on both sides of every boundary: empty, one mini sector, the
// mini-stream cutoff, several sectors; nested storages; Japanese names.
TStorageElement sampleTree()
{
    TStorageElement root;
    root.Type = TElementType::Root;
    int seed = 0;
    for (std::size_t size : {0u, 1u, 63u, 64u, 65u, 4095u, 4096u, 4097u, 70000u})
        root.Insert(stream("S" + std::to_string(size), pattern(size, ++seed)));
    auto sheets = storage("Sheets");
    sheets->ClassId[0] = 0xAB;
    sheets->StateBits = 7;
    auto sheet = storage("NameList0");
    sheet->Insert(stream("PaperInfo", pattern(300, 99)));
    sheet->Insert(stream("表面", "ジャケット"));
    sheets->Insert(std::move(sheet));
    sheets->Insert(stream("NameList", std::string("\2\0\0\0NameList0\r\n", 15)));
    root.Insert(std::move(sheets));
    for (int i = 0; i < 40; ++i)  // enough siblings for a deep directory tree
        root.Insert(stream("Face" + std::to_string(i), pattern(std::size_t(i) * 37, i)));
    return root;
}

void expectSame(const TStorageElement& want, const TStorageElement& got, const std::string& path = "")
{
    ASSERT_EQ(want.Children.size(), got.Children.size()) << path;
    for (std::size_t i = 0; i < want.Children.size(); ++i) {
        const TStorageElement& a = *want.Children[i];
        const TStorageElement& b = *got.Children[i];
        const std::string at = path + "\\" + a.Name;
        EXPECT_EQ(a.Name, b.Name) << at;
        EXPECT_EQ(a.Type, b.Type) << at;
        EXPECT_EQ(a.Data, b.Data) << at;
        EXPECT_EQ(a.ClassId, b.ClassId) << at;
        EXPECT_EQ(a.StateBits, b.StateBits) << at;
        if (a.IsStorage()) {
            EXPECT_EQ(a.CreationTime, b.CreationTime) << at;
            EXPECT_EQ(a.ModificationTime, b.ModificationTime) << at;
            expectSame(a, b, at);
        }
    }
}

// One line per element as olefile lists it (content digests included), sorted.
void describe(const TStorageElement& storage, std::vector<std::string>& lines, const std::string& prefix = "")
{
    for (const auto& child : storage.Children) {
        const std::string path = prefix.empty() ? child->Name : prefix + "\\" + child->Name;
        lines.push_back(child->IsStorage() ? path + " storage 0 -" : OlefileStreamLine(path, child->Data));
        if (child->IsStorage())
            describe(*child, lines, path);
    }
}

std::vector<std::string> describe(const TStorageElement& root)
{
    std::vector<std::string> lines;
    describe(root, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(CompoundFile, WritesWhatItReadsBackExactly)
{
    const TStorageElement tree = sampleTree();
    const std::string bytes = WriteCompoundFile(tree);
    EXPECT_EQ(bytes.size() % 512, 0u);
    expectSame(tree, *ReadCompoundFile(bytes));
    EXPECT_EQ(WriteCompoundFile(*ReadCompoundFile(bytes)), bytes) << "writing is deterministic";
}

TEST(CompoundFile, OlefileAndGsfReadWhatWeWrite)
{
    ORVELLA_REQUIRE_TOOL(HaveOlefile(), "python3-olefile");
    ORVELLA_REQUIRE_TOOL(HaveGsf(), "gsf (libgsf-bin)");
    TempDir dir;
    const TStorageElement tree = sampleTree();
    WriteFile(dir.File("t.cfb"), WriteCompoundFile(tree));

    // Every element, with every stream's size and digest.
    EXPECT_EQ(OlefileListing(dir.File("t.cfb")), describe(tree));

    // gsf cat gives the bytes of streams on each side of the mini-stream
    // cutoff and of the sector size.
    for (const char* path : {"S0", "S63", "S64", "S4095", "S4096", "S4097", "S70000", "Sheets/NameList0/表面",
                             "Sheets/NameList0/PaperInfo"}) {
        const ToolRun cat = RunProgram("/usr/bin/gsf", {"cat", dir.File("t.cfb"), path});
        ASSERT_EQ(cat.status, 0) << path << cat.err;
        const TStorageElement* element = &tree;
        std::istringstream parts(path);
        std::string part;
        while (std::getline(parts, part, '/'))
            element = element->Find(part);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(cat.out, element->Data) << path;
    }
}

TEST(CompoundFile, LargeFilesNeedTheDifatAndStillRead)
{
    TStorageElement root;
    root.Type = TElementType::Root;
    root.Insert(stream("Big", pattern(8 * 1024 * 1024, 3)));  // more than 109 FAT sectors
    const std::string bytes = WriteCompoundFile(root);
    EXPECT_NE(bytes.substr(68, 4), std::string("\xFE\xFF\xFF\xFF", 4)) << "a DIFAT sector is used";
    expectSame(root, *ReadCompoundFile(bytes));
    ORVELLA_REQUIRE_TOOL(HaveOlefile(), "python3-olefile");
    TempDir dir;
    WriteFile(dir.File("big.cfb"), bytes);
    EXPECT_EQ(OlefileListing(dir.File("big.cfb")), describe(root));
}

// Files that gsf (version 3) and the independent writer (version 4) made.
TEST(CompoundFile, ReadsFilesOtherWritersMade)
{
    ORVELLA_REQUIRE_TOOL(HaveOlefile(), "python3-olefile");
    ORVELLA_REQUIRE_TOOL(HaveGsf(), "gsf (libgsf-bin)");
    TempDir dir;
    const fs::path source = dir.File("tree");
    fs::create_directories(source / "sub");
    WriteFile((source / "a.txt").string(), "hello");
    WriteFile((source / "sub" / "big").string(), pattern(10000, 5));
    WriteFile((source / "sub" / "small").string(), pattern(100, 6));
    // Each side of the mini-stream cutoff and of a version-4 sector.
    const std::vector<std::size_t> edgeSizes{63, 64, 4095, 4096, 4097};
    for (const std::size_t size : edgeSizes)
        WriteFile((source / ("e" + std::to_string(size))).string(), pattern(size, int(size)));

    const ToolRun v4 = RunProgram("/usr/bin/python3", {SourceDir() + "/tests/oracles/write_cfb_v4.py", source.string(),
                                                       dir.File("v4.cfb")});
    ASSERT_EQ(v4.status, 0) << v4.err;
    const std::string gsfOut = dir.File("v3.cfb");
    const ToolRun gsf = RunProgram("/bin/sh", {"-c", "cd '" + source.string() + "' && gsf createole '" + gsfOut +
                                                         "' a.txt sub e63 e64 e4095 e4096 e4097"});
    ASSERT_EQ(gsf.status, 0) << gsf.err;

    for (const std::string& file : {dir.File("v4.cfb"), gsfOut}) {
        const auto root = ReadCompoundFile(ReadFile(file));
        ASSERT_NE(root->Find("a.txt"), nullptr) << file;
        EXPECT_EQ(root->Find("a.txt")->Data, "hello");
        const TStorageElement* sub = root->Find("SUB");  // names match without regard to case
        ASSERT_NE(sub, nullptr) << file;
        EXPECT_EQ(sub->Find("big")->Data, pattern(10000, 5));
        EXPECT_EQ(sub->Find("small")->Data, pattern(100, 6));
        // olefile reads the same bytes, so the files are sound and not merely
        // read alike by two readers that share a fault.
        const std::vector<std::string> listed = OlefileListing(file);
        for (const std::size_t size : edgeSizes) {
            const std::string name = "e" + std::to_string(size);
            const TStorageElement* edge = root->Find(name);
            ASSERT_NE(edge, nullptr) << file << " " << size;
            EXPECT_EQ(edge->Data, pattern(size, int(size))) << file << " " << size;
            const std::string line = OlefileStreamLine(name, edge->Data);
            EXPECT_NE(std::find(listed.begin(), listed.end(), line), listed.end()) << file << ": " << line;
        }
    }
}

// Damage applied to a valid file; every one is refused with an error.
struct DamageCase {
    const char* what;
    std::function<void(std::string&)> damage;
    TStorageCode code;
};

void put32(std::string& bytes, std::size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = char(value >> (8 * i));
}

uint32_t get32(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

TEST(CompoundFile, RefusesDamagedFilesWithoutCrashing)
{
    const std::string good = WriteCompoundFile(sampleTree());
    const std::size_t directory = (std::size_t(get32(good, 48)) + 1) * 512;
    const std::size_t fat = (std::size_t(get32(good, 76)) + 1) * 512;
    const std::vector<DamageCase> cases = {
        {"not a compound file", [](std::string& b) { b[0] = 'X'; }, TStorageCode::InvalidHeader},
        {"truncated header", [](std::string& b) { b.resize(300); }, TStorageCode::InvalidHeader},
        {"unknown version", [](std::string& b) { b[26] = 9; }, TStorageCode::DocfileCorrupt},
        {"FAT sector outside the file", [](std::string& b) { put32(b, 76, 100000); }, TStorageCode::DocfileCorrupt},
        {"directory chain loops", [&](std::string& b) { put32(b, fat + 4 * get32(b, 48), get32(b, 48)); },
         TStorageCode::DocfileCorrupt},
        {"root's child points to the root", [&](std::string& b) { put32(b, directory + 76, 0); },
         TStorageCode::DocfileCorrupt},
        {"sibling link out of range", [&](std::string& b) { put32(b, directory + 128 + 68, 5000); },
         TStorageCode::DocfileCorrupt},
        {"name length odd", [&](std::string& b) { b[directory + 128 + 64] = 7; }, TStorageCode::DocfileCorrupt},
        {"stream bigger than the file", [&](std::string& b) {
             for (std::size_t e = directory; e < directory + 128 * 64; e += 128)
                 if (b[e + 66] == 2 && get32(b, e + 120) >= 4096)
                     put32(b, e + 120, 0x7FFFFFF0);
         }, TStorageCode::DocfileCorrupt},
        {"two streams share sectors", [&](std::string& b) {
             std::vector<std::size_t> big;
             for (std::size_t e = directory; e < directory + 128 * 64; e += 128)
                 if (b[e + 66] == 2 && get32(b, e + 120) >= 4096)
                     big.push_back(e);
             put32(b, big[1] + 116, get32(b, big[0] + 116));
             put32(b, big[1] + 120, get32(b, big[0] + 120));
         }, TStorageCode::DocfileCorrupt},
        {"mini FAT missing", [](std::string& b) { put32(b, 60, 0xFFFFFFFE); put32(b, 64, 0); },
         TStorageCode::DocfileCorrupt},
    };
    for (const DamageCase& c : cases) {
        std::string bytes = good;
        c.damage(bytes);
        try {
            ReadCompoundFile(bytes);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EStorageError& error) {
            EXPECT_EQ(error.Code(), c.code) << c.what << ": " << error.what();
        }
    }
}

}  // namespace
}  // namespace orvella::test
