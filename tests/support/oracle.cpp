#include "support/oracle.h"

#include <QCryptographicHash>
#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace orvella::test {

namespace {
std::string oraclePath(const std::string& name)
{
    return BinaryDir() + "/oracles/" + name;
}

const char* const kPython = "/usr/bin/python3";
}  // namespace

bool OraclesRequired()
{
    const char* value = std::getenv("ORVELLA_REQUIRE_ORACLES");
    return value && std::strcmp(value, "") != 0 && std::strcmp(value, "0") != 0;
}

bool OraclesBuilt()
{
    return HaveProgram(oraclePath("fpc_totext")) && HaveProgram(oraclePath("fpc_tobinary")) &&
           HaveProgram(oraclePath("fpc_fixtures"));
}

bool HavePythonModule(const std::string& module)
{
    return HaveProgram(kPython) && RunProgram(kPython, {"-c", "import " + module}).status == 0;
}

bool HaveOlefile()
{
    static const bool have = HavePythonModule("olefile");
    return have;
}

bool HaveGsf()
{
    return HaveProgram("/usr/bin/gsf");
}

bool HaveImageMagick()
{
    return HaveProgram("/usr/bin/convert") && HaveProgram("/usr/bin/compare");
}

ToolRun RunOracle(const std::string& name, const std::vector<std::string>& arguments)
{
    return RunProgram(oraclePath(name), arguments);
}

std::string FpcToText(const std::string& bytes)
{
    const TempDir dir;
    WriteFile(dir.File("in.bin"), bytes);
    const ToolRun run = RunOracle("fpc_totext", {dir.File("in.bin")});
    if (run.status != 0 || run.out.empty()) {
        ADD_FAILURE() << "Free Pascal's ObjectBinaryToText failed (status " << run.status << "): " << run.err;
        return "ERROR " + run.err;
    }
    return run.out;
}

std::string FpcToBinary(const std::string& text)
{
    const TempDir dir;
    WriteFile(dir.File("in.txt"), text);
    const ToolRun run = RunOracle("fpc_tobinary", {dir.File("in.txt"), dir.File("out.bin")});
    const std::string bytes = ReadFile(dir.File("out.bin"));
    if (run.status != 0 || bytes.empty()) {
        ADD_FAILURE() << "Free Pascal's ObjectTextToBinary failed (status " << run.status << "): " << run.err;
        return "ERROR " + run.err;
    }
    return bytes;
}

std::vector<std::string> OlefileListing(const std::string& file)
{
    const ToolRun run = RunProgram(kPython, {SourceDir() + "/tests/oracles/list_cfb.py", file});
    std::vector<std::string> lines;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (run.status != 0 || lines.empty())
        ADD_FAILURE() << "olefile could not list " << file << " (status " << run.status << "): " << run.err;
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string OlefileStreamLine(const std::string& path, const std::string& bytes)
{
    return path + " stream " + std::to_string(bytes.size()) + " " + Sha1Hex(bytes);
}

std::string Sha1Hex(const std::string& bytes)
{
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())),
                                                       QCryptographicHash::Sha1);
    return digest.toHex().toStdString();
}

}  // namespace orvella::test
