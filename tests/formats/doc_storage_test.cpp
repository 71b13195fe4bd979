// Storages, streams and name lists over backslash paths, with the sharing
// and modification rules documents rely on.

#include "formats/array_data.h"
#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "formats/doc_stream.h"
#include "formats/storage_error.h"
#include "platform/backslash_path.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace orvella::test {
namespace {

void writeStream(TDocStorage& storage, const std::string& path, const std::string& bytes)
{
    TDocStream(storage, dmCreate, path).WriteAll(bytes);
}

std::string readStream(TDocStorage& storage, const std::string& path)
{
    return TDocStream(storage, dmRead, path).ReadAll();
}

// Line ends spelled out, for failure messages.
std::string visible(const std::string& text)
{
    std::string shown;
    for (char c : text)
        shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return shown;
}

TStorageCode codeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EStorageError& error) {
        return error.Code();
    }
    return TStorageCode(0);
}

TEST(DocStorage, PathsClimbAndDescendButNeverAboveTheRoot)
{
    TTemporaryStorage root;
    writeStream(root, "Sheets\\NameList0\\Info", "info");
    TDocStorage sheet(root, false, "Sheets\\NameList0");
    EXPECT_EQ(sheet.Path(), "Sheets\\NameList0");
    EXPECT_EQ(readStream(sheet, "Info"), "info");
    EXPECT_EQ(readStream(sheet, ".\\..\\NameList0\\Info"), "info");
    EXPECT_EQ(readStream(sheet, "\\Sheets\\NameList0\\Info"), "info");
    EXPECT_EQ(readStream(root, "SHEETS\\namelist0\\INFO"), "info");  // names ignore case
    EXPECT_THROW(sheet.StreamExists("..\\..\\..\\Info"), EPathUtil);
    EXPECT_FALSE(root.StreamExists("Sheets\\Missing"));
    EXPECT_TRUE(root.StorageExists("Sheets\\NameList0"));
    EXPECT_FALSE(root.StorageExists("Sheets\\NameList0\\Info"));
    EXPECT_EQ(codeOf([&] { TDocStorage(root, false, "Nowhere"); }), TStorageCode::PathNotFound);
}

TEST(DocStorage, OpenStoragesAreReusedAndOpenStreamsAreExclusive)
{
    TTemporaryStorage root;
    writeStream(root, "Sheets\\NameList0\\Info", "x");
    TDocStorage sheet(root, false, "Sheets\\NameList0");
    // The storage is open: opening a path through it reuses it instead of failing.
    TDocStorage again(root, false, "Sheets\\NameList0");
    EXPECT_EQ(readStream(root, "Sheets\\NameList0\\Info"), "x");

    TDocStream open(root, dmReadWrite, "Sheets\\NameList0\\Info");
    EXPECT_FALSE(root.StreamExists("Sheets\\NameList0\\Info")) << "an open-for-read test";
    EXPECT_EQ(codeOf([&] { TDocStream(root, dmRead, "Sheets\\NameList0\\Info"); }), TStorageCode::AccessDenied);
}

TEST(DocStorage, DestroyingAnElementRevertsItsOpenStream)
{
    TTemporaryStorage root;
    writeStream(root, "A\\S", "bytes");
    TDocStream stream(root, dmRead, "A\\S");
    EXPECT_TRUE(root.DestroyElement("A"));
    EXPECT_FALSE(root.DestroyElement("A"));
    char buffer[4];
    EXPECT_EQ(codeOf([&] { stream.Read(buffer, 4); }), TStorageCode::Reverted);
}

TEST(DocStorage, StreamsReadWriteSeekAndResize)
{
    TTemporaryStorage root;
    TDocStream stream(root, dmCreate, "S");
    stream.Write("abcdef", 6);
    EXPECT_EQ(stream.Seek(-2, TSeekOrigin::End), 4u);
    char two[2];
    EXPECT_EQ(stream.Read(two, 2), 2u);
    EXPECT_EQ(std::string(two, 2), "ef");
    EXPECT_EQ(stream.Read(two, 2), 0u);
    stream.SetSize(3);
    EXPECT_EQ(stream.Position(), 3u);
    stream.Seek(5, TSeekOrigin::Begin);
    stream.Write("Z", 1);  // writing past the end fills the gap with zeros
    EXPECT_EQ(stream.ReadAll(), std::string("abc\0\0Z", 6));
    EXPECT_EQ(codeOf([&] { stream.Seek(-1, TSeekOrigin::Begin); }), TStorageCode::InvalidPointer);
}

TEST(DocStorage, ElementsAreListedInTheFileOrderAndNamesAreChecked)
{
    TTemporaryStorage root;
    for (const char* name : {"bb", "A", "Ca", "b", "aa"})
        writeStream(root, name, "");
    TDocStorage sub(root, true, "Zs\\Y");
    std::vector<std::string> streams;
    std::vector<std::string> storages;
    root.ListStreams(streams);
    root.ListStorages(storages);
    EXPECT_EQ(streams, (std::vector<std::string>{"A", "b", "aa", "bb", "Ca"}));  // length, then upper case
    EXPECT_EQ(storages, std::vector<std::string>{"Zs"});
    for (const std::string& bad : std::vector<std::string>{"a:b", "x!", "", std::string(32, 'n')})
        EXPECT_EQ(codeOf([&] { TDocStorage(root, true, "Zs").RenameElement("Y", bad); }), TStorageCode::InvalidName)
            << bad;
    writeStream(root, std::string(31, 'n'), "fits");
}

TEST(DocStorage, CopyMergesStoragesAndReplacesStreams)
{
    TTemporaryStorage source;
    writeStream(source, "Common\\New", "new");
    writeStream(source, "Common\\Both", "from source");
    writeStream(source, "Top", "top");
    TTemporaryStorage target;
    writeStream(target, "Common\\Old", "old");
    writeStream(target, "Common\\Both", "from target");
    source.CopyTo(target);
    EXPECT_EQ(readStream(target, "Common\\Old"), "old");
    EXPECT_EQ(readStream(target, "Common\\New"), "new");
    EXPECT_EQ(readStream(target, "Common\\Both"), "from source");
    EXPECT_EQ(readStream(target, "Top"), "top");

    target.MoveElement("Common\\New", "Moved");
    EXPECT_EQ(readStream(target, "Moved"), "new");
    EXPECT_FALSE(target.StreamExists("Common\\New"));
    EXPECT_EQ(codeOf([&] { target.MoveElement("Common", "Common\\Inside"); }), TStorageCode::AccessDenied);
}

TEST(DocStorage, ModificationIsTrackedUntilSaved)
{
    TempDir dir;
    TTemporaryStorage root;
    EXPECT_FALSE(root.IsModified());
    writeStream(root, "S", "1");
    EXPECT_TRUE(root.IsModified());
    root.SaveToFile(dir.File("doc.ovd"));
    EXPECT_FALSE(root.IsModified());
    root.MarkModified();
    EXPECT_TRUE(root.IsModified());
    root.LoadFromFile(dir.File("doc.ovd"));
    EXPECT_FALSE(root.IsModified());
    EXPECT_EQ(readStream(root, "S"), "1");
}

TEST(DocStorage, SavingReplacesAFileAndKeepsTheTemporaryUsable)
{
    TempDir dir;
    const std::string file = dir.File("doc.ovd");
    WriteFile(file, "an older file");
    TTemporaryStorage root;
    writeStream(root, "S", "first");
    root.SaveToFile(file);
    writeStream(root, "S", "second");
    EXPECT_EQ(readStream(root, "S"), "second");

    TFileStorage saved(file, dmRead);
    EXPECT_EQ(readStream(saved, "S"), "first");
    EXPECT_EQ(codeOf([&] { writeStream(saved, "T", ""); }), TStorageCode::AccessDenied);

    WriteFile(dir.File("text.txt"), "not a compound file");
    EXPECT_EQ(codeOf([&] { TFileStorage(dir.File("text.txt"), dmRead); }), TStorageCode::InvalidHeader);
    EXPECT_EQ(codeOf([&] { TFileStorage(dir.File("missing"), dmRead); }), TStorageCode::FileNotFound);
}

// A save that fails at any point (here: the file size limit stops every
// write beyond some byte) leaves the old file exactly as it was.
TEST(DocStorage, InterruptedSavesLeaveTheOldFileWhole)
{
    TempDir dir;
    const std::string file = dir.File("doc.ovd");
    TTemporaryStorage original;
    writeStream(original, "Keep", std::string(9000, 'k'));
    original.SaveToFile(file);
    const std::string before = ReadFile(file);

    TTemporaryStorage changed;
    writeStream(changed, "New", std::string(20000, 'n'));
    changed.SaveToFile(dir.File("measure"));
    const rlim_t newSize = rlim_t(ReadFile(dir.File("measure")).size());
    std::filesystem::remove(dir.File("measure"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    int failures = 0;
    for (rlim_t limit = 0; limit < newSize; limit += 1536) {
        rlimit small = saved;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
        bool failed = false;
        try {
            changed.SaveToFile(file);
        } catch (const EStorageError&) {
            failed = true;
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        ASSERT_TRUE(failed) << "limit " << limit;
        ++failures;
        EXPECT_EQ(ReadFile(file), before) << "limit " << limit;
    }
    EXPECT_GT(failures, 10);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";
    changed.SaveToFile(file);
    EXPECT_NE(ReadFile(file), before);
}

TEST(DocNameList, NewNamesCountOnAndAreNeverReused)
{
    TTemporaryStorage root;
    {
        TDocNameList list(root, "Sheets\\NameList");
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.Counter(), 0u);
        const int first = list.AddNew();
        const int second = list.AddNew();
        EXPECT_EQ(list.ElementPath(first), "\\Sheets\\NameList0");
        list.OpenStorage(first, true);
        writeStream(root, list.ElementPath(second), "face");
        EXPECT_TRUE(list.ElementExists(second));
        EXPECT_FALSE(list.ElementExists(first)) << "a storage, not a stream";
        list.DeleteEntry(1);
        list.DeleteEntry(0);
        EXPECT_FALSE(root.StreamExists("Sheets\\NameList1"));
        EXPECT_EQ(list.Name(list.AddNew()), "NameList2");
    }
    EXPECT_EQ(readStream(root, "Sheets\\NameList"), std::string("\3\0\0\0NameList2\r\n", 15));
    TDocNameList reloaded(root, "Sheets\\NameList");
    EXPECT_EQ(reloaded.Names(), std::vector<std::string>{"NameList2"});
    EXPECT_EQ(reloaded.Counter(), 3u);
}

TEST(DocNameList, LineEndsAndEmptyLinesKeepEveryEntryAtItsIndex)
{
    struct Case {
        std::string text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\r\n\r\nC\r\n", {"A", "", "C"}},
        {"A\rB\rC", {"A", "B", "C"}},
        {"A\n\nC\n", {"A", "", "C"}},
        {"\r\nB", {"", "B"}},
    };
    for (const Case& c : cases) {
        TTemporaryStorage root;
        writeStream(root, "List", std::string("\5\0\0\0", 4) + c.text);
        writeStream(root, "C", "third");
        TDocNameList list(root, "List");
        EXPECT_EQ(list.Names(), c.names) << visible(c.text);
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_EQ(list.ElementExists(i), list.Name(i) == "C") << visible(c.text) << " entry " << i;
    }
    // An empty entry names no element: it can be deleted, never opened.
    TTemporaryStorage root;
    writeStream(root, "List", std::string("\5\0\0\0A\r\n\r\nC\r\n", 12));
    TDocNameList list(root, "List");
    EXPECT_THROW(list.OpenStream(1, dmRead), EStorageError);
    list.DeleteEntry(1);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"A", "C"}));
}

TEST(DocNameList, DamagedListsAreRefused)
{
    TTemporaryStorage root;
    writeStream(root, "Short", std::string("\1\0", 2));
    writeStream(root, "Escape", std::string("\1\0\0\0..\\..\\x\r\n", 13));
    writeStream(root, "Empty", "");
    writeStream(root, "Undecodable", std::string("\1\0\0\0A\x82\r\n", 8));
    EXPECT_THROW(TDocNameList(root, "Short"), EStorageError);
    EXPECT_THROW(TDocNameList(root, "Escape"), EStorageError);
    EXPECT_THROW(TDocNameList(root, "Undecodable"), EStorageError);
    EXPECT_EQ(TDocNameList(root, "Empty").Count(), 0);
}

TEST(ArrayData, GrowsZeroedAndChecksStoredSizes)
{
    TIntArray numbers;
    numbers.Put(3, 42);
    EXPECT_EQ(numbers.Count(), 4);
    EXPECT_EQ(numbers.Get(0), 0);
    numbers.Insert(0);
    EXPECT_EQ(numbers.Get(4), 42);
    EXPECT_EQ(numbers.Item(-1), nullptr);
    const std::string bytes = numbers.SaveToBytes();
    EXPECT_EQ(bytes.size(), 8u + 5 * 4);
    TIntArray copy;
    copy.LoadFromBytes(bytes);
    EXPECT_EQ(copy.Get(4), 42);
    std::string lying = bytes;
    lying[4] = char(200);  // a count larger than the bytes
    EXPECT_THROW(copy.LoadFromBytes(lying), EStorageError);
    EXPECT_EQ(copy.Get(4), 42) << "a refused load changes nothing";
}

}  // namespace
}  // namespace orvella::test
