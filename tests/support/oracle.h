#pragma once
// The independent readers and writers the tests prove formats against: the
// Free Pascal programs of tests/oracles (built into the build tree when fpc
// is installed), python3-olefile, gsf, ImageMagick and numpy.
//
// A missing tool skips the test on a developer's machine; with
// ORVELLA_REQUIRE_ORACLES=1 (scripts/check sets it, since scripts/install-deps
// installs every tool) it fails the test instead, so that no check can go
// quiet in CI. Every suite decides through ORVELLA_REQUIRE_TOOL.

#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvella::test {

bool OraclesRequired();

bool OraclesBuilt();
bool HavePythonModule(const std::string& module);  // importable by /usr/bin/python3
bool HaveOlefile();
bool HaveGsf();
bool HaveImageMagick();

// Runs build/oracles/<name> with the arguments.
ToolRun RunOracle(const std::string& name, const std::vector<std::string>& arguments);

// Free Pascal's ObjectBinaryToText of the bytes, and its ObjectTextToBinary
// of the text. A conversion that fails, or prints nothing, fails the test
// and yields its error text prefixed "ERROR ", which matches no expectation.
std::string FpcToText(const std::string& bytes);
std::string FpcToBinary(const std::string& text);

// python3-olefile's listing of a compound file, one line per element,
// sorted: "PATH stream SIZE SHA1" or "PATH storage 0 -", the path's parts
// joined with backslashes. A run that fails or lists nothing fails the test.
std::vector<std::string> OlefileListing(const std::string& file);
// The line OlefileListing gives for a stream with these bytes.
std::string OlefileStreamLine(const std::string& path, const std::string& bytes);

std::string Sha1Hex(const std::string& bytes);

}  // namespace orvella::test

// Skips the test when the tool is missing, or fails it when every
// independent check is required.
#define ORVELLA_REQUIRE_TOOL(available, what)                                                        \
    do {                                                                                             \
        if (!(available)) {                                                                          \
            if (::orvella::test::OraclesRequired())                                                  \
                FAIL() << what << " is missing, and ORVELLA_REQUIRE_ORACLES asks for every check";   \
            GTEST_SKIP() << what << " is not installed";                                             \
        }                                                                                            \
    } while (0)

#define ORVELLA_REQUIRE_ORACLES() ORVELLA_REQUIRE_TOOL(::orvella::test::OraclesBuilt(), "Free Pascal (fpc)")
