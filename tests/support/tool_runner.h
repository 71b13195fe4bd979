#pragma once
// Runs the built orvella-tool as a script would, capturing what it prints.

#include <string>
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

// Runs a program with the arguments, passed as they are (no shell).
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// Runs build/bin/orvella-tool.
ToolRun RunTool(const std::vector<std::string>& arguments);

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
