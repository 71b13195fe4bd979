// The library as an installer uses it: loaded with dlopen, called with a
// UTF-16 macro text, working on a new edition and an installed program.

#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <set>

namespace orvella::test {
namespace {

namespace fs = std::filesystem;
using Entry = int32_t (*)(void*, const char16_t*);

class Velmont : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_ = dlopen(VELMONT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        checkVersion_ = reinterpret_cast<Entry>(dlsym(library_, "CheckVersion"));
        finishInstall_ = reinterpret_cast<Entry>(dlsym(library_, "FinishInstall"));
        ASSERT_TRUE(checkVersion_ && finishInstall_);
        src_ = dir_.Path() + "/new/";
        dst_ = dir_.Path() + "/installed/";
    }
    void TearDown() override
    {
        if (library_)
            dlclose(library_);
    }

    // Writes `bytes` below the new edition or the installed program.
    void put(const std::string& folder, const std::string& relative, const std::string& bytes)
    {
        const fs::path path = fs::path(folder) / relative;
        fs::create_directories(path.parent_path());
        WriteFile(path.string(), bytes);
    }

    std::u16string macros(const std::string& checkFile = "orvella") const { return macros(src_, dst_, checkFile); }
    static std::u16string macros(const std::string& src, const std::string& dst, const std::string& checkFile)
    {
        const std::string text = "srcDir=" + src + "\r\ndstDir=" + dst + "\r\nUpdateCheckFile=" + checkFile + "\r\n";
        return std::u16string(text.begin(), text.end());  // ASCII paths
    }

    int32_t finish() { return finishInstall_(nullptr, macros().c_str()); }

    TempDir dir_;
    void* library_ = nullptr;
    Entry checkVersion_ = nullptr;
    Entry finishInstall_ = nullptr;
    std::string src_;
    std::string dst_;
};

TEST_F(Velmont, MergesGenresKeepingTheUsersAndTakingNewFolders)
{
    put(dst_, "Data/Template/Template.dat", "[CD]\r\nName=Pop,Rock\r\nDir=pop,rock\r\n[DVD]\r\nName=Movie\r\nDir=movie\r\n");
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=Rock,Jazz\r\nDir=rock2,jazz\r\n[BD]\r\nName=\x83\x57\x83\x83\x83\x59\r\nDir=jazz\r\n");
    EXPECT_EQ(finish(), -1);
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"),
              "[CD]\r\nName=Jazz,Pop,Rock\r\nDir=jazz,pop,rock2\r\n"
              "[DVD]\r\nName=Movie\r\nDir=movie\r\n"
              "[BD]\r\nName=\x83\x57\x83\x83\x83\x59\r\nDir=jazz\r\n");  // CP932 bytes pass through untouched
}

TEST_F(Velmont, AnIdenticalCatalogIsStillRewrittenSorted)
{
    const std::string catalog = "[CD]\r\nName=Rock,pop\r\nDir=rock,pop\r\n";
    put(dst_, "Data/Template/Template.dat", catalog);
    put(src_, "Data/Template/Template.dat", catalog);
    EXPECT_EQ(finish(), -1);
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"), "[CD]\r\nName=pop,Rock\r\nDir=pop,rock\r\n");
}

TEST_F(Velmont, BackgroundsMergeKeyByKeyEvenWithoutATemplateCatalog)
{
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=Jazz\r\nDir=jazz\r\n");
    // The folder is spelled BackGrnd on disk, Backgrnd in the updater.
    put(dst_, "Data/BackGrnd/BackGrnd.dat", "[Spring]\r\nb=2\r\na=1\r\n\r\n[Mine]\r\nz=0\r\n");
    put(src_, "Data/BACKGRND/backgrnd.dat", "[Spring]\r\nA=9\r\nc=3\r\n[Winter]\r\nx=1\r\n");
    EXPECT_EQ(finish(), -1);
    EXPECT_FALSE(fs::exists(dst_ + "Data/Template/Template.dat"));
    EXPECT_EQ(ReadFile(dst_ + "Data/BackGrnd/BackGrnd.dat"),
              "[Spring]\r\nA=9\r\nb=2\r\nc=3\r\n\r\n[Mine]\r\nz=0\r\n[Winter]\r\nx=1\r\n");
}

TEST_F(Velmont, EmptyGenreNamesKeepTheirFoldersInPlace)
{
    put(dst_, "Data/Template/Template.dat", "[CD]\r\nName=A,,C\r\nDir=a,b,c\r\n");
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=D\r\nDir=d\r\n");
    EXPECT_EQ(finish(), -1);
    // The unnamed genre sorts first ("=b" before "A=a") and keeps folder b.
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"), "[CD]\r\nName=,A,C,D\r\nDir=b,a,c,d\r\n");
}

TEST_F(Velmont, RelativeFoldersClimbFromTheCurrentFolder)
{
    put(dst_, "Data/Template/Template.dat", "[CD]\r\nName=Pop\r\nDir=pop\r\n");
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=Jazz\r\nDir=jazz\r\n");
    put(dst_, "orvella.key", "");
    fs::create_directories(dir_.Path() + "/work");
    const fs::path before = fs::current_path();
    fs::current_path(dir_.Path() + "/work");
    const std::u16string text = macros("..\\new\\", "../work/../installed/", "orvella.key");
    const int32_t checked = checkVersion_(nullptr, text.c_str());
    const int32_t finished = finishInstall_(nullptr, text.c_str());
    fs::current_path(before);
    EXPECT_EQ(checked, 0);
    EXPECT_EQ(finished, -1);
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"), "[CD]\r\nName=Jazz,Pop\r\nDir=jazz,pop\r\n");
}

TEST_F(Velmont, AnUnchangedCatalogIsLeftAloneAndAChangedLinkedOneIsWrittenThroughItsLink)
{
    // Nothing new: the LF line ends stay and the file is not replaced.
    put(dst_, "Data/Template/Template.dat", "[CD]\nName=Jazz,Pop\nDir=jazz,pop\n");
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=Pop\r\nDir=pop\r\n");
    const auto inode = [](const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode(dst_ + "Data/Template/Template.dat");
    EXPECT_EQ(finish(), -1);
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"), "[CD]\nName=Jazz,Pop\nDir=jazz,pop\n");
    EXPECT_EQ(inode(dst_ + "Data/Template/Template.dat"), before);

    // A link to the shared catalog stays a link; the catalog takes the merge.
    put(dir_.Path(), "shared/BackGrnd.dat", "[Spring]\r\na=1\r\n");
    fs::create_directories(dst_ + "Data/Backgrnd");
    fs::create_symlink(dir_.Path() + "/shared/BackGrnd.dat", dst_ + "Data/Backgrnd/BackGrnd.dat");
    put(src_, "Data/Backgrnd/BackGrnd.dat", "[Spring]\r\nb=2\r\n");
    EXPECT_EQ(finish(), -1);
    EXPECT_TRUE(fs::is_symlink(dst_ + "Data/Backgrnd/BackGrnd.dat"));
    EXPECT_EQ(ReadFile(dir_.Path() + "/shared/BackGrnd.dat"), "[Spring]\r\na=1\r\nb=2\r\n");
}

TEST_F(Velmont, CheckVersionLooksForTheCheckFile)
{
    put(dst_, "Orvella.KEY", "");
    EXPECT_EQ(checkVersion_(nullptr, macros("orvella.key").c_str()), 0);
    EXPECT_EQ(checkVersion_(nullptr, macros("missing.key").c_str()), 3);
    fs::create_directories(dst_ + "folder.key");
    EXPECT_EQ(checkVersion_(nullptr, macros("folder.key").c_str()), 3) << "a folder is no check file";
    EXPECT_EQ(checkVersion_(nullptr, u"srcDir=/tmp/\r\n"), 2);  // no dstDir: an error
    EXPECT_EQ(checkVersion_(nullptr, nullptr), 2);
}

TEST_F(Velmont, ExportsOnlyItsTwoEntryPoints)
{
    FILE* pipe = popen("nm -D --defined-only " VELMONT_LIBRARY, "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char type = 0;
        char name[400] = {};
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2)
            symbols.insert(name);
    }
    pclose(pipe);
    EXPECT_EQ(symbols, (std::set<std::string>{"CheckVersion", "FinishInstall"}));
}

TEST_F(Velmont, AnInstallerProgramGetsTheResultsAndErrorsOnStandardError)
{
    put(dst_, "orvella.key", "");
    put(dst_, "Data/Template/Template.dat", "[CD]\r\nName=Pop,Rock\r\nDir=pop,rock\r\n");
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=Jazz\r\nDir=jazz\r\n");
    ToolRun run = RunProgram(VELMONT_CLIENT, {VELMONT_LIBRARY, src_, dst_, "ORVELLA.KEY"});
    EXPECT_EQ(run.out, "CheckVersion=0 FinishInstall=-1\n") << run.err;
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"), "[CD]\r\nName=Jazz,Pop,Rock\r\nDir=jazz,pop,rock\r\n");

    // A Dir list shorter than its Name list fails the merge and changes nothing.
    const std::string installed = ReadFile(dst_ + "Data/Template/Template.dat");
    put(src_, "Data/Template/Template.dat", "[CD]\r\nName=Jazz,Soul\r\nDir=jazz\r\n");
    run = RunProgram(VELMONT_CLIENT, {VELMONT_LIBRARY, src_, dst_, "none"});
    EXPECT_EQ(run.out, "CheckVersion=3 FinishInstall=0\n");
    EXPECT_EQ(run.err, "libvelmont: Template.dat の [CD] で、Dir の数が Name の数より少なくなっています\n");
    EXPECT_EQ(ReadFile(dst_ + "Data/Template/Template.dat"), installed);
    EXPECT_EQ(std::distance(fs::directory_iterator(dst_ + "Data/Template"), fs::directory_iterator{}), 1)
        << "no temporary file left behind";
}

}  // namespace
}  // namespace orvella::test
