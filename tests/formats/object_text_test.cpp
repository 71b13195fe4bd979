// The text form against Free Pascal's converters, in both directions, and
// through orvella-tool.

#include "formats/extended_float.h"
#include "formats/object_text.h"
#include "formats/stream_format.h"
#include "support/oracle.h"
#include "stream_bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace orvella::test {
namespace {

std::string extended(long double value)
{
    const TExtendedBytes bytes = EncodeExtended(value);
    return Hex("05") + std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Every tag Free Pascal can print, nested in every way, with prefixed children.
std::string everyTagStream()
{
    std::string binary;
    for (int i = 0; i < 70; ++i)
        binary += char(i * 11);
    const std::string item = Hex("01") + Prop("A", Hex("02 01")) + Prop("B", Hex("06 01 78")) + Hex("00");
    const std::string properties =
        Prop("I8", Hex("02 FB")) + Prop("I16", Hex("03 E8 03")) + Prop("I32", Hex("04 60 79 FE FF")) +
        Prop("E", extended(0.1L)) + Prop("S", Hex("06") + Short("it's \"x\" \x01\x7F\x80\xFF end")) +
        Prop("Empty", Hex("06 00")) + Prop("Id", Hex("07") + Short("clRed")) + Prop("F", Hex("08")) +
        Prop("T", Hex("09")) + Prop("Bin", Hex("0A") + Int32(70) + binary) + Prop("NoBin", Hex("0A") + Int32(0)) +
        Prop("Set", Hex("0B") + Short("a") + Short("b") + Hex("00")) + Prop("EmptySet", Hex("0B 00")) +
        Prop("LS", Hex("0C") + Int32(300) + std::string(300, 'x')) + Prop("Nil", Hex("0D")) +
        Prop("WS", Hex("12") + Int32(5) + Hex("61 00 42 30 3D D8 00 DE 27 00")) +
        Prop("I64", Hex("13 00 00 00 00 00 01 00 00")) +
        Prop("List", Hex("01 02 01 06 01 73 01 02 02 00 08 09 0D 0B 00 0E 00 0A 00 00 00 00 01 00 00")) +
        Prop("Coll", Hex("0E") + item + item + Hex("00")) + Prop("EmptyColl", Hex("0E 00")) +
        Prop("EmptyList", Hex("01 00"));
    const std::string children =
        Record("TChild", "C1", Prop("X", Hex("02 07")) + Prop("Items", Hex("0E") + item + Hex("00")),
               Record("TGrand", "G", Prop("L", Hex("01 02 01 00")))) +
        Hex("F1") + Record("TChild", "", "") + Hex("F2 02 05") + Record("TChild", "C3", "") + Hex("F4") +
        Record("TChild", "C4", "") + Hex("F7 03 00 01") + Record("TChild", "C5", "") + Hex("F6 04 00 00 01 00") +
        Record("TChild", "C6", "");
    return Stream("TFoo", "Foo1", properties, children);
}

std::string floatsStream()
{
    std::string properties;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state;
    };
    auto add = [&](const TExtendedBytes& bytes) {
        properties += Prop("F" + std::to_string(properties.size()),
                           Hex("05") + std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    };
    for (int i = 0; i < 80; ++i) {
        TExtendedBytes bytes{};
        const std::uint64_t significand = next() | (std::uint64_t(1) << 63);
        // Exponents near 1, spread over the whole range, and denormals.
        const std::uint64_t pick = next();
        unsigned exponent = i < 40 ? 16383 - 40 + unsigned(pick % 80) : unsigned(pick % 0x7FFF);
        std::uint64_t stored = significand;
        if (i % 10 == 9) {
            exponent = 0;
            stored = significand >> (pick % 64);
        }
        std::memcpy(bytes.data(), &stored, 8);
        const unsigned signAndExponent = exponent | (pick & 0x8000);
        bytes[8] = std::uint8_t(signAndExponent);
        bytes[9] = std::uint8_t(signAndExponent >> 8);
        add(bytes);
    }
    for (long double special : {0.0L, -0.0L, std::numeric_limits<long double>::denorm_min(), 0.5L, 100.0L,
                                 9.999999999999999999995e20L})
        add(EncodeExtended(special));
    add(EncodeExtended(std::numeric_limits<long double>::infinity()));
    add(EncodeExtended(-std::numeric_limits<long double>::infinity()));
    add(EncodeExtended(std::numeric_limits<long double>::quiet_NaN()));
    return Stream("TFloats", "", properties);
}

TEST(ObjectText, EveryTagPrintsAsFreePascalPrintsIt)
{
    ORVELLA_REQUIRE_ORACLES();
    const std::string bytes = everyTagStream();
    const std::string text = ObjectBinaryToText(bytes);
    EXPECT_EQ(text, FpcToText(bytes));
    EXPECT_NE(text.find("  S = 'it''s \"x\" '#1#127#128#255' end'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  WS = 'a'#12354#55357#56832''''\n"), std::string::npos) << text;
}

TEST(ObjectText, FloatsPrintAndParseAsFreePascalDoes)
{
    ORVELLA_REQUIRE_ORACLES();
    const std::string bytes = floatsStream();
    const std::string text = ObjectBinaryToText(bytes);
    EXPECT_EQ(text, FpcToText(bytes));
    // Parsing the printed text: NaN and infinities aside, which the text
    // form cannot carry, the bytes are Free Pascal's.
    std::string finite;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start) + 1;
        const std::string line = text.substr(start, end - start);
        if (line.find("Inf") == std::string::npos && line.find("Nan") == std::string::npos)
            finite += line;
        start = end;
    }
    EXPECT_EQ(ShowBytes(ObjectTextToBinary(finite)), ShowBytes(FpcToBinary(finite)));
}

TEST(ObjectText, FloatLayout)
{
    EXPECT_EQ(FormatStreamFloat(0.5L), " 5.00000000000000000000E-0001");
    EXPECT_EQ(FormatStreamFloat(-1.0L), "-1.00000000000000000000E+0000");
    EXPECT_EQ(FormatStreamFloat(-0.0L), "-0.00000000000000000000E+0000");
    EXPECT_EQ(FormatStreamFloat(0.1L), " 1.00000000000000000001E-0001");
    EXPECT_EQ(FormatStreamFloat(std::numeric_limits<long double>::denorm_min()), " 3.64519953188247460253E-4951");
    EXPECT_EQ(FormatStreamFloat(std::numeric_limits<long double>::infinity()), std::string(25, ' ') + "+Inf");
    EXPECT_EQ(FormatStreamFloat(std::numeric_limits<long double>::quiet_NaN()), std::string(26, ' ') + "Nan");
}

struct TextCase {
    const char* name;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class TextToBinary : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToBinary, GivesTheBytesFreePascalGives)
{
    ORVELLA_REQUIRE_ORACLES();
    const std::string text = GetParam().text;
    const std::string expected = FpcToBinary(text);
    ASSERT_NE(expected.rfind("ERROR", 0), 0u) << expected;
    EXPECT_EQ(ShowBytes(ObjectTextToBinary(text)), ShowBytes(expected));
}

INSTANTIATE_TEST_SUITE_P(Table, TextToBinary, ::testing::Values(
    TextCase{"Integers", "object Foo1: TFoo\n  A = 127\n  B = 128\n  C = -129\n  D = 32768\n  E = 4294967296\n"
                         "  F = -2147483649\n  G = 2147483648\n  H = $FF\n  I = 9223372036854775807\n"
                         "  J = -9223372036854775808\nend\n"},
    TextCase{"Floats", "object Foo1: TFoo\n  H = 1.5\n  I = -0.5E3\n  J = -1.5E-0003\n  K = 1E400\n  L = 1.0\n"
                       "  M =  5.00000000000000000000E-0001\nend\n"},
    TextCase{"Strings", "object Foo1: TFoo\n  A = 'abc'#200'x'\n  B = #12354'a'\n  C = 'raw\xE3\x81\x82'\n"
                        "  D = 'a'#127'b'\n  E = ''\n  F = #65#66\n  G = 'a' + #200\n  H = 'a' +\n    #0\n"
                        "  I = 'it''s'\n  J = '" "0123456789012345678901234567890123456789012345678901234567890123456789"
                        "0123456789012345678901234567890123456789012345678901234567890123456789"
                        "0123456789012345678901234567890123456789012345678901234567890123456789"
                        "0123456789012345678901234567890123456789012345678901234567890123456789'\nend\n"},
    TextCase{"Identifiers", "object Foo1: TFoo\n  L = clRed\n  M = True\n  N = FALSE\n  O = nil\n  P = Null\n"
                            "  R = Owner.Foo\n  Font.Name = 'x'\nend\n"},
    TextCase{"Structures", "object Foo1: TFoo\n  P = [a, b]\n  Q = []\n  R = (\n    1\n    'x'\n    [x]\n    <>\n"
                           "    {\n    }\n    (\n    )\n  )\n  S = <\n    item\n      A = 1\n    end\n    item\n"
                           "    end>\n  T = {\n    0001FF\n    AB\n  }\nend\n"},
    TextCase{"Children", "inherited Foo1: TFoo\n  object Bar: TBar [3]\n  end\n  inline Baz: TBaz[70000]\n"
                         "    Z = 1\n  end\n  object TZ\n  end\nend\n"}));

TEST(ObjectText, SingleCurrencyAndDateTagsRoundTripThroughTheirSuffixes)
{
    const std::string bytes =
        Stream("TFoo", "", Prop("S", Hex("0F 00 00 C0 3F")) + Prop("C", Hex("10 40 E2 01 00 00 00 00 00")) +
                               Prop("N", Hex("10 C0 1D FE FF FF FF FF FF")) +
                               Prop("D", Hex("11 00 00 00 00 08 F9 E5 40")));
    const std::string text = ObjectBinaryToText(bytes);
    EXPECT_EQ(text,
              "object TFoo\n"
              "  S =  1.50000000000000000000E+0000s\n"
              "  C = 12.3456c\n"
              "  N = -12.3456c\n"
              "  D =  4.50002500000000000000E+0004d\n"
              "end\n");
    EXPECT_EQ(ShowBytes(ObjectTextToBinary(text)), ShowBytes(bytes));
}

TEST(ObjectText, DamagedStreamsAreRefused)
{
    for (const std::string& bytes :
         {std::string("TPF0"), Stream("TFoo", "", Prop("X", Hex("14"))), Stream("TFoo", "", Prop("X", Hex("00"))),
          Stream("TFoo", "", Prop("X", Hex("0A FF FF FF 7F"))), std::string(1, '\xFF')}) {
        EXPECT_THROW(ObjectBinaryToText(bytes), EReadError) << ShowBytes(bytes);
    }
    std::string deep = "object A: TA\n  X = ";
    for (int i = 0; i < 200; ++i)
        deep += "(";
    EXPECT_THROW(ObjectTextToBinary(deep), EReadError);
}

TEST(StreamCommand, PrintsAndConvertsFilesWithOrWithoutTheWrapper)
{
    const TempDir dir;
    const std::string bytes = everyTagStream();
    WriteFile(dir.File("plain.bin"), bytes);
    WriteFile(dir.File("wrapped.bin"), Hex("FF 0A 00") + "TFOO" + Hex("00 30 10") + Int32(int(bytes.size())) + bytes);

    const ToolRun plain = RunTool({"stream", "totext", dir.File("plain.bin")});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, ObjectBinaryToText(bytes));
    EXPECT_EQ(RunTool({"stream", "totext", dir.File("wrapped.bin")}).out, plain.out);

    WriteFile(dir.File("text.txt"), plain.out);
    const ToolRun back = RunTool({"stream", "tobinary", dir.File("text.txt"), dir.File("back.bin")});
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(ShowBytes(ReadFile(dir.File("back.bin"))), ShowBytes(ObjectTextToBinary(plain.out)));

    WriteFile(dir.File("bad.bin"), "TPF1");
    const ToolRun bad = RunTool({"stream", "totext", dir.File("bad.bin")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, std::string("orvella-tool: ") + stream_message::kInvalidImage + "\n");
    EXPECT_EQ(RunTool({"stream", "totext"}).status, 2);
    EXPECT_EQ(RunTool({"stream", "frobnicate", "x"}).status, 2);
}

}  // namespace
}  // namespace orvella::test
