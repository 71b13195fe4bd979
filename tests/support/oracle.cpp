#include "support/oracle.h"

#include <filesystem>

namespace orvella::test {

namespace {
std::string oraclePath(const std::string& name)
{
    return BinaryDir() + "/oracles/" + name;
}
}  // namespace

bool OraclesBuilt()
{
    return std::filesystem::exists(oraclePath("fpc_totext")) && std::filesystem::exists(oraclePath("fpc_tobinary")) &&
           std::filesystem::exists(oraclePath("fpc_fixtures"));
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
    return run.status == 0 ? run.out : "ERROR " + run.err;
}

std::string FpcToBinary(const std::string& text)
{
    const TempDir dir;
    WriteFile(dir.File("in.txt"), text);
    const ToolRun run = RunOracle("fpc_tobinary", {dir.File("in.txt"), dir.File("out.bin")});
    return run.status == 0 ? ReadFile(dir.File("out.bin")) : "ERROR " + run.err;
}

}  // namespace orvella::test
