#include "code_readers.h"

#include "support/oracle.h"

#include <sstream>

namespace orvella::test {

namespace {

const char kZbar[] = "/usr/bin/zbarimg";
const char kZxing[] = "/usr/bin/ZXingReader";
const char kZint[] = "/usr/bin/zint";

}  // namespace

bool HaveZbar() { return HaveProgram(kZbar); }
bool HaveZxing() { return HaveProgram(kZxing); }
bool HaveZint() { return HaveProgram(kZint); }

bool HaveSegno()
{
    static const bool have = HavePythonModule("segno");
    return have;
}

std::string ZbarDecode(const std::string& pictureFile)
{
    const ToolRun run = RunProgram(kZbar, {"-q", "--nodbus", "--raw", "-Sbinary", pictureFile});
    return run.status == 0 ? run.out : std::string();
}

std::string ZxingDecode(const std::string& pictureFile)
{
    // ZXingReader 1.4.0 aborts on an assertion when its downscaled pass
    // finds a linear symbol the full-size pass found already; the pictures
    // here are drawn at a readable size, so that pass is left out.
    const ToolRun run = RunProgram(kZxing, {"-noscale", "-bytes", pictureFile});
    return run.status == 0 ? run.out : std::string();
}

std::vector<std::string> SegnoMatrix(const std::string& data, char mode, int version, char level, int mask)
{
    TempDir dir;
    WriteFile(dir.File("data.bin"), data);
    const ToolRun run = RunProgram("/usr/bin/python3",
                                   {SourceDir() + "/tests/oracles/qr_matrix.py", dir.File("data.bin"),
                                    std::string(1, mode), std::to_string(version), std::string(1, level),
                                    std::to_string(mask)});
    std::vector<std::string> rows;
    if (run.status != 0)
        return rows;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            rows.push_back(line);
    return rows;
}

}  // namespace orvella::test
