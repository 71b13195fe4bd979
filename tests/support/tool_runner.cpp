#include "support/tool_runner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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

ToolRun RunTool(const std::vector<std::string>& arguments)
{
    return RunProgram(BinaryDir() + "/bin/orvella-tool", arguments);
}

ToolRun RunProgram(const std::string& tool, const std::vector<std::string>& arguments)
{
    const TempDir scratch;
    const std::string outName = scratch.File("out");
    const std::string errName = scratch.File("err");

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(tool.c_str()));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (!std::freopen(outName.c_str(), "wb", stdout) || !std::freopen(errName.c_str(), "wb", stderr))
            _exit(127);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outName), ReadFile(errName)};
}

}  // namespace orvella::test
