#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace orvella::test {

std::string BinaryDir() { return ORVELLA_TEST_BINARY_DIR; }

std::string SourceDir() { return ORVELLA_TEST_SOURCE_DIR; }

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvella-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& name)
{
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const std::string& name, const std::string& content)
{
    std::ofstream(name, std::ios::binary) << content;
}

bool HaveProgram(const std::string& path)
{
    return access(path.c_str(), X_OK) == 0;
}

namespace {

// The test's environment with the given "NAME=value" entries put over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& overrides)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('='));
        const bool replaced = std::any_of(overrides.begin(), overrides.end(), [&](const std::string& o) {
            return std::string_view(o).substr(0, o.find('=')) == name;
        });
        if (!replaced)
            merged.emplace_back(text);
    }
    merged.insert(merged.end(), overrides.begin(), overrides.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> list;
    for (std::string& text : strings)
        list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

// posix_spawn's file actions and attributes, released in every case.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

int exitStatus(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// posix_spawn rather than fork: the test process has Qt's and the tests'
// threads, and a forked copy of it may only make async-signal-safe calls
// before exec; posix_spawn opens the files and execs in the child for us.
ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const Options& options)
{
    std::vector<std::string> argumentList{program};
    argumentList.insert(argumentList.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = mergedEnvironment(options.environment);
    std::vector<char*> argv = pointers(argumentList);
    std::vector<char*> envp = pointers(environment);
    const auto target = [](const std::string& file) { return file.empty() ? "/dev/null" : file.c_str(); };

    SpawnSetup setup;
    constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
    if (posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0) != 0 ||
        posix_spawn_file_actions_addopen(&setup.actions, 1, target(options.outFile), kWrite, 0600) != 0 ||
        posix_spawn_file_actions_addopen(&setup.actions, 2, target(options.errFile), kWrite, 0600) != 0)
        throw std::runtime_error("posix_spawn_file_actions_addopen failed");
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int failure = posix_spawn(&pid_, program.c_str(), &setup.actions, &setup.attributes, argv.data(), envp.data());
    if (failure != 0) {
        // As a shell reports a program it cannot start.
        pid_ = -1;
        status_ = 127;
        if (!options.errFile.empty())
            WriteFile(options.errFile, program + ": " + std::strerror(failure) + "\n");
    }
}

ChildProcess::~ChildProcess()
{
    Kill();
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        // Looked at without reaping, so that the group's id cannot be
        // reused before what the program left running in it is killed.
        siginfo_t info{};
        const int looked = waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
        if (looked < 0 && errno == EINTR)
            continue;
        if (looked < 0 || info.si_pid == pid_) {
            ::kill(-pid_, SIGKILL);
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            status_ = looked < 0 ? -1 : exitStatus(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

bool ChildProcess::Running()
{
    return !Wait(std::chrono::milliseconds(0));
}

void ChildProcess::Kill()
{
    if (status_)
        return;
    ::kill(-pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    status_ = -1;
}

ToolRun RunTool(const std::vector<std::string>& arguments)
{
    return RunProgram(BinaryDir() + "/bin/orvella-tool", arguments);
}

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   std::chrono::milliseconds timeout)
{
    const TempDir scratch;
    ChildProcess::Options options;
    options.outFile = scratch.File("out");
    options.errFile = scratch.File("err");
    ChildProcess child(program, arguments, options);
    const std::optional<int> status = child.Wait(timeout);
    if (!status) {
        child.Kill();
        ADD_FAILURE() << program << " did not end within " << timeout.count() << " ms and was killed";
    }
    return {status.value_or(-1), ReadFile(options.outFile), ReadFile(options.errFile)};
}

}  // namespace orvella::test
