#pragma once
// Runs the built orvella-tool and the independent programs as a script
// would, capturing what they print, and never waiting on them for ever.

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvella::test {

struct ToolRun {
    int status;       // exit status, or -1 when it did not exit normally
    std::string out;  // standard output
    std::string err;  // standard error
};

// The build tree the tests belong to, and the source tree.
std::string BinaryDir();
std::string SourceDir();

// How long one external run may take before it is killed and the test fails.
inline constexpr std::chrono::seconds kProgramTimeout{60};

// Runs a program with the arguments, passed as they are (no shell). A run
// that outlives the timeout is killed, fails the current test and yields
// status -1.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   std::chrono::milliseconds timeout = kProgramTimeout);

// Runs build/bin/orvella-tool.
ToolRun RunTool(const std::vector<std::string>& arguments);

// Whether path names a program we may run.
bool HaveProgram(const std::string& path);

// A program started in a process group of its own, so that whatever it
// starts in turn ends with it. The owner ends it in every case: an
// assertion that leaves the test early destroys the object, and the
// destructor kills what still runs and reaps it.
class ChildProcess {
public:
    struct Options {
        std::string outFile;  // standard output goes here ("" : /dev/null)
        std::string errFile;  // standard error goes here ("" : /dev/null)
        std::vector<std::string> environment;  // "NAME=value", over the test's own
    };
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The exit status (-1 when it did not exit normally) once the program
    // has ended; nothing while it still runs after the timeout.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    bool Running();
    // Kills the whole group and reaps the program.
    void Kill();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A fresh temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& name);
void WriteFile(const std::string& name, const std::string& content);

}  // namespace orvella::test
