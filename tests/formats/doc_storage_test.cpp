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
#include <filesystem>
#include <sys/stat.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Another process that holds a file locked until the object goes.
class OtherProcessHolding {
public:
    OtherProcessHolding(const std::string& file, int operation)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release_[1]);
            ::close(ready[0]);
            const int fd = ::open(file.c_str(), O_RDONLY);
            const char locked = fd >= 0 && ::flock(fd, operation) == 0 ? '1' : '0';
            [[maybe_unused]] auto written = ::write(ready[1], &locked, 1);
            char ignored;
            [[maybe_unused]] auto read = ::read(release_[0], &ignored, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char locked = '0';
        if (::read(ready[0], &locked, 1) != 1 || locked != '1')
            throw std::runtime_error("the other process could not lock");
        ::close(ready[0]);
    }
    ~OtherProcessHolding()
    {
        ::close(release_[1]);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
};

// Whether another process could take the lock it asks for right now.
bool otherProcessCanLock(const std::string& file, const char* kind)
{
    return RunProgram("/usr/bin/flock", {"-n", kind, file, "true"}).status == 0;
}

TEST(DocStorage, AFileHeldByAnotherProcessRefusesWritersAndReadersWithTheSharingError)
{
    TempDir dir;
    const std::string file = dir.File("doc.ovd");
    TTemporaryStorage original;
    writeStream(original, "S", "mine");
    original.SaveToFile(file);
    const std::string before = ReadFile(file);
    {
        OtherProcessHolding other(file, LOCK_EX);
        EXPECT_EQ(codeOf([&] { TFileStorage(file, dmReadWrite); }), TStorageCode::ShareViolation);
        EXPECT_EQ(codeOf([&] { TFileStorage(file, dmCreate); }), TStorageCode::ShareViolation);
        EXPECT_EQ(codeOf([&] { TFileStorage(file, dmRead); }), TStorageCode::ShareViolation);
        EXPECT_EQ(codeOf([&] { TTemporaryStorage().LoadFromFile(file); }), TStorageCode::ShareViolation);
        EXPECT_EQ(codeOf([&] { original.SaveToFile(file); }), TStorageCode::ShareViolation);
        EXPECT_EQ(ReadFile(file), before);
        TFileStorage sharingWithAll(file, dmRead | dmShareDenyNone);
        EXPECT_EQ(readStream(sharingWithAll, "S"), "mine");
    }
    {
        // Readers share with readers; a writer waits for them all.
        OtherProcessHolding reader(file, LOCK_SH);
        TFileStorage reading(file, dmRead | dmShareDenyWrite);
        EXPECT_EQ(codeOf([&] { TFileStorage(file, dmReadWrite); }), TStorageCode::ShareViolation);
    }
}

TEST(DocStorage, AHeldDocumentKeepsOtherProcessesOutUntilItGoes)
{
    TempDir dir;
    const std::string file = dir.File("doc.ovd");
    TTemporaryStorage original;
    writeStream(original, "S", "first");
    original.SaveToFile(file);
    EXPECT_TRUE(otherProcessCanLock(file, "-x")) << "a save alone holds nothing";
    {
        TTemporaryStorage document;
        document.LoadFromFile(file, true);
        EXPECT_FALSE(otherProcessCanLock(file, "-s"));
        // This process does not refuse itself.
        TFileStorage preview(file, dmRead | dmShareDenyWrite);
        EXPECT_EQ(readStream(preview, "S"), "first");
        writeStream(document, "S", "second");
        document.SaveToFile(file);
        EXPECT_FALSE(otherProcessCanLock(file, "-s")) << "the saved file is held too";
        document.SaveToFile(dir.File("copy.ovd"));
        EXPECT_TRUE(otherProcessCanLock(file, "-x")) << "the hold moved with save-as";
        EXPECT_FALSE(otherProcessCanLock(dir.File("copy.ovd"), "-s"));
    }
    EXPECT_TRUE(otherProcessCanLock(dir.File("copy.ovd"), "-x"));
}

TEST(DocStorage, UncommittedChangesAreCommittedOrReportedWhenTheRootGoes)
{
    TempDir dir;
    const std::string file = dir.File("cat.ppr");
    TTemporaryStorage original;
    writeStream(original, "S", "one");
    original.SaveToFile(file);
    std::vector<std::string> reports;
    SetStorageFailureReport([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& failure) {
            reports.push_back(failure.what());
        }
    });
    const auto stored = [&] {
        TFileStorage reading(file, dmRead);
        return readStream(reading, "S");
    };

    {
        TFileStorage writing(file, dmReadWrite);
        writeStream(writing, "S", "two");
    }
    EXPECT_EQ(stored(), "two") << "kept without a Commit";
    EXPECT_TRUE(reports.empty());

    try {
        TFileStorage writing(file, dmReadWrite);
        writeStream(writing, "S", "three");
        throw std::runtime_error("the work failed half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(stored(), "two") << "dropped while unwinding";
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("cat.ppr"), std::string::npos) << reports[0];

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    {
        TFileStorage writing(file, dmReadWrite);
        writeStream(writing, "S", std::string(10000, 'x'));
        rlimit none = saved;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    SetStorageFailureReport(nullptr);
    EXPECT_EQ(stored(), "two");
    ASSERT_EQ(reports.size(), 2u) << "a failed commit on the way out is reported";
    EXPECT_NE(reports[1].find(StorageErrorText(TStorageCode::WriteFault)), std::string::npos) << reports[1];
}

// The spill files this process has open: unlinked files named mtf...
std::vector<std::string> openSpillFiles()
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
        if (!error && target.find("/mtf") != std::string::npos && target.ends_with(" (deleted)"))
            found.push_back(entry.path().string());
    }
    return found;
}

TEST(DocStorage, PastTheThresholdStreamsMoveToAPrivateSpillFileAndReadBackTheSame)
{
    const auto photo = [](int seed) {
        std::string bytes(300 * 1024, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 131 + std::size_t(seed) * 7) >> 3);
        return bytes;
    };
    TempDir dir;
    {
        TTemporaryStorage root(1 << 20);
        writeStream(root, "Small", "text");
        for (int i = 0; i < 8; ++i)
            writeStream(root, "Sheets\\P" + std::to_string(i), photo(i));
        EXPECT_LE(root.Tree().BytesInMemory(), uint64_t(1) << 20);
        EXPECT_GE(root.Tree().BytesSpilled(), uint64_t(5) * 300 * 1024);
        const std::vector<std::string> spills = openSpillFiles();
        ASSERT_EQ(spills.size(), 1u);
        struct stat info {};
        ASSERT_EQ(::stat(spills[0].c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);

        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(readStream(root, "Sheets\\P" + std::to_string(i)), photo(i)) << i;
        {
            TDocStream seeking(root, dmRead, "Sheets\\P0");
            char middle[4];
            seeking.Seek(1000, TSeekOrigin::Begin);
            ASSERT_EQ(seeking.Read(middle, 4), 4u);
            EXPECT_EQ(std::string(middle, 4), photo(0).substr(1000, 4));
        }

        // Saved, the spilled streams read the same to a reader we did not write.
        root.SaveToFile(dir.File("photos.ovd"));
        for (int i : {0, 7}) {
            const ToolRun cat = RunProgram("/usr/bin/gsf", {"cat", dir.File("photos.ovd"), "Sheets/P" + std::to_string(i)});
            ASSERT_EQ(cat.status, 0) << cat.err;
            EXPECT_TRUE(cat.out == photo(i)) << i;
        }
        // A spilled stream written again is the new bytes.
        writeStream(root, "Sheets\\P0", "rewritten");
        EXPECT_EQ(readStream(root, "Sheets\\P0"), "rewritten");

        TTemporaryStorage loaded(1 << 20);
        loaded.LoadFromFile(dir.File("photos.ovd"));
        EXPECT_LE(loaded.Tree().BytesInMemory(), uint64_t(1) << 20) << "a loaded document spills too";
        EXPECT_EQ(readStream(loaded, "Sheets\\P5"), photo(5));
    }
    EXPECT_TRUE(openSpillFiles().empty()) << "the spill files went with their roots";
    // An ordinary document never touches the disk.
    TTemporaryStorage ordinary;
    for (int i = 0; i < 8; ++i)
        writeStream(ordinary, "P" + std::to_string(i), photo(i));
    EXPECT_EQ(ordinary.Tree().BytesSpilled(), 0u);
    EXPECT_TRUE(openSpillFiles().empty());
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
