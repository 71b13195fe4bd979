#pragma once
// The Free Pascal programs of tests/oracles, built into the build tree when
// fpc is installed. A test that needs one skips when they are missing.

#include "support/tool_runner.h"

#include <string>
#include <vector>

namespace orvella::test {

bool OraclesBuilt();
// Runs build/oracles/<name> with the arguments.
ToolRun RunOracle(const std::string& name, const std::vector<std::string>& arguments);

// Free Pascal's ObjectBinaryToText of the bytes, and its ObjectTextToBinary
// of the text; a conversion that fails yields its error text prefixed "ERROR ".
std::string FpcToText(const std::string& bytes);
std::string FpcToBinary(const std::string& text);

}  // namespace orvella::test

#define ORVELLA_REQUIRE_ORACLES()                                          \
    do {                                                                    \
        if (!::orvella::test::OraclesBuilt())                               \
            GTEST_SKIP() << "Free Pascal (fpc) is not installed";           \
    } while (0)
