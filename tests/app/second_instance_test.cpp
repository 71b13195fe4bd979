// One running instance: the lock in-process, then the real program started
// twice the way a user would, and orvella-tool expanding the program's table.

#include "app/instance_lock.h"
#include "support/tool_runner.h"

#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); })) << "the first lock heard nothing";
    ASSERT_EQ(received.size(), 1);
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

// The real program on the offscreen platform, with its settings, data and
// runtime folder in home; standard error goes to the file errName.
std::unique_ptr<ChildProcess> startProgram(const TempDir& home, const std::string& errName,
                                           const std::vector<std::string>& arguments)
{
    ChildProcess::Options options;
    options.errFile = home.File(errName);
    options.environment = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + home.File("runtime"),
                           "XDG_CONFIG_HOME=" + home.File("config"), "XDG_DATA_HOME=" + home.File("data")};
    return std::make_unique<ChildProcess>(BinaryDir() + "/bin/orvella", arguments, options);
}

TEST(Program, ASecondStartSaysSoAndExitsNonZeroWhileTheFirstRuns)
{
    TempDir home;
    std::filesystem::create_directories(home.File("runtime"));
    std::filesystem::permissions(home.File("runtime"), std::filesystem::perms::owner_all);
    // Both programs end with their objects, whichever assertion ends the test.
    const auto first = startProgram(home, "first.err", {});
    // The first is up once it listens for later starts.
    const std::string socket = home.File("runtime/Orvella.1.0.Karvane.Japan.socket");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(socket) && first->Running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(std::filesystem::exists(socket)) << ReadFile(home.File("first.err"));

    const auto second = startProgram(home, "second.err", {home.File("label.ovd")});
    const std::optional<int> status = second->Wait(std::chrono::seconds(20));
    ASSERT_TRUE(status.has_value()) << "the second start did not end";
    EXPECT_NE(*status, 0);
    EXPECT_EQ(ReadFile(home.File("second.err")), "orvella: Orvellaは、すでに実行中です\n");

    EXPECT_TRUE(first->Running()) << "the first start ended: " << ReadFile(home.File("first.err"));
}

TEST(Program, OrvellaToolExpandsTheProgramsTable)
{
    const ToolRun run = RunTool({"expand", "$(SysRegistryKey)", "$(SystemPaperInfo)"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Software\\Tessmark\\Orvella\\1.0\\Settings\n" + BinaryDir() + "/share/orvella/orvella.ppr\n");
}

}  // namespace
}  // namespace orvella::test
