// A real job through a private CUPS server: the test starts its own cupsd
// (its own ServerRoot, a loopback port, a queue whose backend writes the
// job to a file), prints to it through orvella-tool with CUPS_SERVER
// pointing there, and stops the server by its process id.

#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

namespace orvella::test {
namespace {

namespace fs = std::filesystem;

int FreeLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        close(fd);
    return port;
}

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

template <class Done>
bool WaitFor(Done done, std::chrono::seconds limit = std::chrono::seconds(15))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

class PrivateCups : public ::testing::Test {
protected:
    void StartServer()
    {
        port_ = FreeLoopbackPort();
        ASSERT_NE(port_, 0);
        const std::string root = dir_.File("root");
        for (const char* sub : {"root", "cache", "state", "log", "spool", "out", "bin/backend"})
            fs::create_directories(dir_.File(sub));
        fs::permissions(dir_.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
        // Filters and helpers come from the system; the one backend is ours.
        fs::create_directory_symlink("/usr/lib/cups/daemon", dir_.File("bin/daemon"));
        fs::create_directory_symlink("/usr/lib/cups/filter", dir_.File("bin/filter"));
        const std::string backend = dir_.File("bin/backend/capture");
        WriteFile(backend,
                  "#!/bin/sh\n"
                  "[ $# -eq 0 ] && exit 0\n"
                  "out=\"${DEVICE_URI#capture:}\"\n"
                  "if [ -n \"$6\" ]; then cat \"$6\" > \"$out.part\"; else cat > \"$out.part\"; fi\n"
                  "mv \"$out.part\" \"$out\"\n");
        // Owned by root and private to it: CUPS runs such a backend as root.
        fs::permissions(backend, fs::perms::owner_all);
        WriteFile(root + "/cupsd.conf",
                  "Listen 127.0.0.1:" + std::to_string(port_) +
                      "\nLogLevel info\nDefaultAuthType None\nWebInterface No\nBrowsing No\n"
                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                      "<Location /admin>\n  AuthType None\n  Order allow,deny\n  Allow all\n</Location>\n"
                      "<Policy default>\n  <Limit All>\n    AuthType None\n    Order deny,allow\n  </Limit>\n"
                      "</Policy>\n");
        WriteFile(root + "/cups-files.conf",
                  "ServerRoot " + root + "\nCacheDir " + dir_.File("cache") + "\nStateDir " + dir_.File("state") +
                      "\nRequestRoot " + dir_.File("spool") + "\nTempDir " + dir_.File("spool") +
                      "\nErrorLog " + dir_.File("log/error_log") + "\nAccessLog " + dir_.File("log/access_log") +
                      "\nPageLog " + dir_.File("log/page_log") + "\nServerBin " + dir_.File("bin") +
                      "\nDataDir /usr/share/cups\nUser lp\nGroup lp\n");
        server_ = std::make_unique<ChildProcess>(
            kCupsd, std::vector<std::string>{"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"},
            ChildProcess::Options{});
        const std::string host = "127.0.0.1:" + std::to_string(port_);
        ASSERT_TRUE(WaitFor([&] {
            return RunProgram(kLpadmin, {"-h", host, "-p", "labels", "-E", "-v", "capture:" + Output(), "-m", "raw"})
                       .status == 0;
        })) << ReadFile(dir_.File("log/error_log"));
    }

    std::string Output() const { return dir_.File("out/job.pdf"); }
    std::string Server() const { return "127.0.0.1:" + std::to_string(port_); }

    static constexpr const char* kCupsd = "/usr/sbin/cupsd";
    static constexpr const char* kLpadmin = "/usr/sbin/lpadmin";
    TempDir dir_;
    int port_ = 0;
    std::unique_ptr<ChildProcess> server_;
};

TEST_F(PrivateCups, AJobArrivesWithThePapersPageAndContent)
{
    ORVELLA_REQUIRE_TOOL(HaveProgram(kCupsd) && HaveProgram(kLpadmin), "cupsd and lpadmin (cups-daemon, cups-client)");
    ORVELLA_REQUIRE_TOOL(HaveProgram("/usr/bin/pdftoppm"), "pdftoppm (poppler-utils)");
    ORVELLA_REQUIRE_TOOL(HaveImageMagick(), "ImageMagick");
    if (geteuid() != 0) {
        if (OraclesRequired())
            FAIL() << "a private cupsd with its own backend needs root";
        GTEST_SKIP() << "a private cupsd with its own backend needs root";
    }
    ASSERT_NO_FATAL_FAILURE(StartServer());

    const std::string doc = dir_.File("new.ovd");
    ASSERT_EQ(RunTool({"doc", "new", "CD・DVDラベル(2面)", "エーワン CD/DVDラベル A4 2面 内径41mm", doc}).status, 0);
    {
        const ScopedEnv server("CUPS_SERVER", Server());
        const ToolRun printed = RunTool({"print", doc, "--printer", "labels", "--frame", "--offset", "20,-10"});
        ASSERT_EQ(printed.status, 0) << printed.err;
        const ToolRun missing = RunTool({"print", doc, "--printer", "no-such-queue", "--frame"});
        EXPECT_EQ(missing.status, 1);
    }
    ASSERT_TRUE(WaitFor([&] { return fs::exists(Output()); })) << ReadFile(dir_.File("log/error_log"));

    const ToolRun info = RunProgram("/usr/bin/pdfinfo", {Output()});
    EXPECT_NE(info.out.find("595 x 842 pts"), std::string::npos) << info.out;
    // The same sheet through the PDF printer rasterises the same.
    ASSERT_EQ(RunTool({"print", doc, "--pdf", dir_.File("direct.pdf"), "--frame", "--offset", "20,-10"}).status, 0);
    for (const auto& [pdf, stem] : {std::pair{Output(), "queued"}, std::pair{dir_.File("direct.pdf"), "direct"}})
        ASSERT_EQ(RunProgram("/usr/bin/pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, dir_.File(stem)}).status, 0);
    const ToolRun compare = RunProgram("/usr/bin/compare", {"-metric", "AE", dir_.File("queued.png"),
                                                            dir_.File("direct.png"), dir_.File("diff.png")});
    EXPECT_EQ(compare.err, "0");
    const ToolRun colours = RunProgram("/usr/bin/identify", {"-format", "%k", dir_.File("queued.png")});
    EXPECT_GT(std::atoi(colours.out.c_str()), 1) << "the frames are on the page";
}

// A disc printed on a Gutenprint disc printer's queue: the job carries the
// CD tray, the CD page and the disc's diameters with the user's size
// adjustment, read back from the job while the stopped queue holds it.
TEST_F(PrivateCups, ADiscJobCarriesTheTrayAndTheAdjustedDiameters)
{
    const char* generator = "/usr/lib/cups/driver/gutenprint.5.3";
    const char* ipptool = "/usr/bin/ipptool";
    ORVELLA_REQUIRE_TOOL(HaveProgram(kCupsd) && HaveProgram(kLpadmin), "cupsd and lpadmin (cups-daemon, cups-client)");
    ORVELLA_REQUIRE_TOOL(HaveProgram(generator), "Gutenprint's PPD generator (printer-driver-gutenprint)");
    ORVELLA_REQUIRE_TOOL(HaveProgram(ipptool), "ipptool (cups-ipp-utils)");
    if (geteuid() != 0) {
        if (OraclesRequired())
            FAIL() << "a private cupsd with its own backend needs root";
        GTEST_SKIP() << "a private cupsd with its own backend needs root";
    }
    ASSERT_NO_FATAL_FAILURE(StartServer());
    const ToolRun ppd = RunProgram(generator, {"cat", "gutenprint.5.3://escp2-r300/expert"});
    ASSERT_EQ(ppd.status, 0);
    WriteFile(dir_.File("r300.ppd"), ppd.out);
    ASSERT_EQ(RunProgram(kLpadmin, {"-h", Server(), "-p", "r300", "-E", "-v", "capture:" + dir_.File("out/disc.prn"),
                                    "-P", dir_.File("r300.ppd")})
                  .status,
              0);
    // A stopped queue keeps the job, and with it the job's options.
    ASSERT_EQ(RunProgram("/usr/sbin/cupsdisable", {"-h", Server(), "r300"}).status, 0);

    // The user has widened the ring by 1.0 mm and the hole by 3.0 mm.
    const ScopedEnv config("XDG_CONFIG_HOME", dir_.File("config"));
    fs::create_directories(dir_.File("config/Orvella"));
    const std::string paper = "R300 ワイドプリンタブルディスク 120mm";
    WriteFile(dir_.File("config/Orvella/settings.ini"),
              "[Software\\Tessmark\\Orvella\\1.0\\Settings\\SizeAdjust\\." + paper + "]\n"
              "\"Epson Stylus Photo R300.Inner\"=dword:0000001e\n"
              "\"Epson Stylus Photo R300.Outer\"=dword:0000000a\n");
    const std::string doc = dir_.File("disc.ovd");
    ASSERT_EQ(RunTool({"doc", "new", "Epson Stylus Photo R300", paper, doc}).status, 0);
    {
        const ScopedEnv server("CUPS_SERVER", Server());
        const ToolRun printed = RunTool({"print", doc, "--printer", "r300"});
        ASSERT_EQ(printed.status, 0) << printed.err;
    }
    const ToolRun job = RunProgram(ipptool, {"-tv", "ipp://" + Server() + "/jobs/1",
                                             "/usr/share/cups/ipptool/get-job-attributes.test"});
    ASSERT_EQ(job.status, 0) << job.out << job.err;
    const auto has = [&](const std::string& name, const std::string& value) {
        return std::regex_search(job.out, std::regex("\\b" + name + " \\([^)]*\\) = " + value + "\\b"));
    };
    EXPECT_TRUE(has("InputSlot", "CD")) << job.out;
    EXPECT_TRUE(has("PageSize", "CDCustom")) << job.out;
    // 118 + 1.0 mm and 21 + 3.0 mm in points.
    EXPECT_TRUE(has("StpCDOuterDiameter", "337")) << job.out;
    EXPECT_TRUE(has("StpCDInnerDiameter", "68")) << job.out;
}

}  // namespace
}  // namespace orvella::test
