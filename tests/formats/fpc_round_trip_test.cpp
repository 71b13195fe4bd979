// Streams written by Free Pascal's runtime read by us and written back byte
// for byte, and streams we write read by Free Pascal.

#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "fixture_classes.h"
#include "support/oracle.h"
#include "stream_bytes.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

class FpcFixtures : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ORVELLA_REQUIRE_ORACLES();
        RegisterFixtureClasses();
        const ToolRun run = RunOracle("fpc_fixtures", {"write", dir_.Path()});
        ASSERT_EQ(run.status, 0) << run.err;
        bytes_ = ReadFile(dir_.File(GetParam()));
        ASSERT_FALSE(bytes_.empty());
    }

    std::string rewrite() const
    {
        if (HasResHeader(bytes_)) {
            std::unique_ptr<TComponent> root = ReadComponentRes(bytes_);
            return WriteComponentRes(root->ClassName(), *root);
        }
        return WriteComponent(*ReadComponent(bytes_));
    }

    TempDir dir_;
    std::string bytes_;
};

TEST_P(FpcFixtures, ReadAndWrittenAgainGiveTheSameBytes)
{
    std::string expected = bytes_;
    // Free Pascal keeps the resource name's case; the program's files have
    // it in upper case (readers skip it either way).
    if (HasResHeader(expected))
        for (std::size_t i = 3; i < expected.size() && expected[i] != '\0'; ++i)
            if (expected[i] >= 'a' && expected[i] <= 'z')
                expected[i] = char(expected[i] - 'a' + 'A');
    EXPECT_EQ(ShowBytes(rewrite()), ShowBytes(expected));
}

TEST_P(FpcFixtures, TextFormMatchesFreePascal)
{
    EXPECT_EQ(ObjectBinaryToText(bytes_), FpcToText(bytes_));
    EXPECT_EQ(ShowBytes(ObjectTextToBinary(FpcToText(bytes_))), ShowBytes(FpcToBinary(FpcToText(bytes_))));
}

TEST_P(FpcFixtures, WhatWeWriteFreePascalReads)
{
    const std::string ours = rewrite();
    WriteFile(dir_.File("ours.bin"), ours);
    const ToolRun run = RunOracle("fpc_fixtures", {"read", dir_.File("ours.bin")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ObjectBinaryToText(ours));
}

INSTANTIATE_TEST_SUITE_P(Files, FpcFixtures,
                         ::testing::Values("defaults.bin", "base.bin", "derived.bin", "wrapped.bin", "floats.bin"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

TEST(FpcFixtures, ObjectsBuiltHereWriteWhatFreePascalWrites)
{
    ORVELLA_REQUIRE_ORACLES();
    RegisterFixtureClasses();
    const TempDir dir;
    ASSERT_EQ(RunOracle("fpc_fixtures", {"write", dir.Path()}).status, 0);

    TFixBase base;
    base.SetName("Base1");
    base.SetTag(-129);
    base.Width = 127;
    base.Height = 32768;
    base.Caption = "Label ラベル 'q'";
    base.Color = 0x0000FF;
    base.Ratio = 0.5;
    base.Flag = true;
    base.Align = alClient;
    base.Options = (1u << foBold) | (1u << foUnderline);
    base.Letter = 'z';
    base.Big = std::int64_t(1) << 40;
    base.Font.Name = "MS Gothic";
    base.Font.Size = 12;
    base.Font.Color = 0x123456;
    base.Font.Style = 1u << foItalic;
    auto& first = base.Items.Add<TFixItem>();
    first.Caption = "first";
    first.Value = 1;
    base.Items.Add<TFixItem>().Caption = std::string(300, 'x');
    base.Lines.Lines = {"a", "b"};
    for (int i = 0; i < 40; ++i)
        base.Data += char(i * 7);
    EXPECT_EQ(ShowBytes(WriteComponent(base)), ShowBytes(ReadFile(dir.File("base.bin"))));
}

}  // namespace
}  // namespace orvella::test
