// One running instance: the lock in-process, then the real program started
// twice the way a user would, and orvella-tool expanding the program's table.

#include "app/instance_lock.h"
#include "support/tool_runner.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvella::test {
namespace {

TEST(InstanceLock, ASecondLockFailsAndHandsItsDocumentToTheFirst)
{
    TempDir runtime;
    TInstanceLock first("Orvella.1.0.Karvane.Japan", runtime.Path());
    ASSERT_TRUE(first.Acquire());
    QStringList received;
    first.OnDocument = [&](const QString& document) { received << document; };

    TInstanceLock second("Orvella.1.0.Karvane.Japan", runtime.Path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(second.SendDocument(QStringLiteral("/home/u/ラベル.ovd")));
    QTRY_COMPARE(received.size(), 1);
    EXPECT_EQ(received[0], QStringLiteral("/home/u/ラベル.ovd"));

    // Another program's lock is no obstacle.
    TInstanceLock other("Other.1.0", runtime.Path());
    EXPECT_TRUE(other.Acquire());
}

TEST(InstanceLock, TheLockIsFreedWithItsHolder)
{
    TempDir runtime;
    {
        TInstanceLock first("Orvella.1.0.Karvane.Japan", runtime.Path());
        ASSERT_TRUE(first.Acquire());
    }
    TInstanceLock again("Orvella.1.0.Karvane.Japan", runtime.Path());
    EXPECT_TRUE(again.Acquire());
    EXPECT_FALSE(TInstanceLock("x", "/").Acquire());
}

struct Program {
    pid_t pid = -1;
    std::string err;  // file receiving standard error
};

Program startProgram(const TempDir& home, const std::string& errName, const std::vector<std::string>& arguments)
{
    const std::string exe = BinaryDir() + "/bin/orvella";
    Program program;
    program.err = home.File(errName);
    program.pid = fork();
    if (program.pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_RUNTIME_DIR", home.File("runtime").c_str(), 1);
        setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
        setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
        const int err = ::open(program.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    return program;
}

int waitExit(pid_t pid, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    int status = 0;
    while (timer.elapsed() < timeoutMs) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        QTest::qWait(20);
    }
    return -2;
}

TEST(Program, ASecondStartSaysSoAndExitsNonZeroWhileTheFirstRuns)
{
    TempDir home;
    std::filesystem::create_directories(home.File("runtime"));
    std::filesystem::permissions(home.File("runtime"), std::filesystem::perms::owner_all);
    const Program first = startProgram(home, "first.err", {});
    ASSERT_GT(first.pid, 0);
    // The first is up once it listens for later starts.
    const std::string socket = home.File("runtime/Orvella.1.0.Karvane.Japan.socket");
    QElapsedTimer timer;
    timer.start();
    while (!std::filesystem::exists(socket) && timer.elapsed() < 20000)
        QTest::qWait(20);
    ASSERT_TRUE(std::filesystem::exists(socket)) << ReadFile(first.err);

    const Program second = startProgram(home, "second.err", {home.File("label.ovd")});
    const int status = waitExit(second.pid, 20000);
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -2) << "the second start did not end";
    EXPECT_EQ(ReadFile(second.err), "orvella: Orvellaは、すでに実行中です\n");

    EXPECT_EQ(waitExit(first.pid, 100), -2) << "the first start ended: " << ReadFile(first.err);
    ::kill(first.pid, SIGTERM);
    waitExit(first.pid, 10000);
}

TEST(Program, OrvellaToolExpandsTheProgramsTable)
{
    const ToolRun run = RunTool({"expand", "$(SysRegistryKey)", "$(SystemPaperInfo)"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Software\\Tessmark\\Orvella\\1.0\\Settings\n" + BinaryDir() + "/share/orvella/orvella.ppr\n");
}

}  // namespace
}  // namespace orvella::test
