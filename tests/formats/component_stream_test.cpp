// Writing and reading component streams: the byte layout of the edge cases
// (each also decoded by Free Pascal), a class with every kind of property
// round-tripping byte for byte, the class registry, hooks and references.

#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "edge_class.h"
#include "fixture_classes.h"
#include "support/oracle.h"
#include "stream_bytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvella::test {
namespace {

struct EdgeCase {
    const char* name;
    std::function<void(TEdge&)> setup;
    std::string properties;  // expected property records
    std::string textLine;    // a line Free Pascal prints for it ("" for none)
};

void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.name; }

class StreamEdgeCase : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(StreamEdgeCase, WritesTheExactBytesThatFreePascalDecodes)
{
    const EdgeCase& c = GetParam();
    TEdge edge;
    edge.SetName("Edge1");
    c.setup(edge);
    const std::string bytes = WriteComponent(edge);
    EXPECT_EQ(ShowBytes(bytes), ShowBytes(Stream("TEdge", "Edge1", c.properties)));

    TEdge back;
    ReadComponent(bytes, back);
    EXPECT_EQ(ShowBytes(WriteComponent(back)), ShowBytes(bytes));

    ORVELLA_REQUIRE_ORACLES();
    const std::string text = FpcToText(bytes);
    EXPECT_EQ(ObjectBinaryToText(bytes), text);
    if (!c.textLine.empty()) {
        EXPECT_NE(text.find("\n" + c.textLine + "\n"), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StreamEdgeCase, ::testing::Values(
    EdgeCase{"AllDefaults", [](TEdge&) {}, "", ""},
    EdgeCase{"Int127", [](TEdge& e) { e.Int = 127; }, Prop("Int", Hex("02 7F")), "  Int = 127"},
    EdgeCase{"Int128", [](TEdge& e) { e.Int = 128; }, Prop("Int", Hex("03 80 00")), "  Int = 128"},
    EdgeCase{"Int32768", [](TEdge& e) { e.Int = 32768; }, Prop("Int", Hex("04 00 80 00 00")), "  Int = 32768"},
    EdgeCase{"IntMinus128", [](TEdge& e) { e.Int = -128; }, Prop("Int", Hex("02 80")), "  Int = -128"},
    EdgeCase{"IntMinus129", [](TEdge& e) { e.Int = -129; }, Prop("Int", Hex("03 7F FF")), "  Int = -129"},
    EdgeCase{"ColorRed", [](TEdge& e) { e.Color = 0x0000FF; }, Prop("Color", Hex("07") + Short("clRed")),
             "  Color = clRed"},
    EdgeCase{"ColorUnnamed", [](TEdge& e) { e.Color = 0x123456; }, Prop("Color", Hex("04 56 34 12 00")),
             "  Color = 1193046"},
    EdgeCase{"SystemColor", [](TEdge& e) { e.Color = std::int32_t(0x80000018u); },
             Prop("Color", Hex("07") + Short("clInfoBk")), "  Color = clInfoBk"},
    EdgeCase{"FlagTrue", [](TEdge& e) { e.Flag = true; }, Prop("Flag", Hex("09")), "  Flag = True"},
    EdgeCase{"String255", [](TEdge& e) { e.Text = std::string(255, 'y'); },
             Prop("Text", Hex("06 FF") + std::string(255, 'y')), "  Text = '" + std::string(255, 'y') + "'"},
    EdgeCase{"String300", [](TEdge& e) { e.Text = std::string(300, 'x'); },
             Prop("Text", Hex("0C 2C 01 00 00") + std::string(300, 'x')), "  Text = '" + std::string(300, 'x') + "'"},
    EdgeCase{"StringCp932", [](TEdge& e) { e.Text = "ラベル①"; },
             Prop("Text", Hex("06 08 83 89 83 78 83 8B 87 40")), "  Text = #131#137#131'x'#131#139#135'@'"},
    EdgeCase{"NoLines", [](TEdge& e) { e.Lines.Lines.clear(); }, "", ""},
    EdgeCase{"TwoLines", [](TEdge& e) { e.Lines.Lines = {"a", "b"}; },
             Prop("Lines.Strings", Hex("01 06 01 61 06 01 62 00")), "  Lines.Strings = ("},
    EdgeCase{"RatioZero", [](TEdge& e) { e.Ratio = 0.0; }, "", ""},
    EdgeCase{"RatioHalf", [](TEdge& e) { e.Ratio = 0.5; },
             Prop("Ratio", Hex("05 00 00 00 00 00 00 00 80 FE 3F")), "  Ratio =  5.00000000000000000000E-0001"},
    // A default at or above 0x80000000 still matches the 32-bit value.
    EdgeCase{"SystemColorDefault", [](TEdge& e) { e.Back = std::int32_t(0x80000005u); }, "", ""},
    EdgeCase{"SystemColorChanged", [](TEdge& e) { e.Back = 0; }, Prop("Back", Hex("07") + Short("clBlack")),
             "  Back = clBlack"},
    EdgeCase{"EventHandlerName", [](TEdge& e) { e.OnChange = "EdgeChange"; },
             Prop("OnChange", Hex("07") + Short("EdgeChange")), "  OnChange = EdgeChange"}));

TEST(ComponentStream, ClassWithEveryKindOfPropertyRoundTripsByteForByte)
{
    RegisterFixtureClasses();
    TFixDerived root;
    root.SetName("Derived1");
    root.Height = -5;
    root.Extra = 3;
    root.Width = 0;  // redeclared with default 10, so 0 is stored, at the inherited place
    root.Caption = "表面 'q'";
    root.Color = 0x0000FF;
    root.Ratio = -1.25;
    root.Flag = true;
    root.Align = alBottom;
    root.Options = (1u << foBold) | (1u << foStrikeOut);
    root.Letter = 'z';
    root.Big = std::int64_t(1) << 40;
    root.Font.Name = "IPAGothic";
    root.Font.Style = 1u << foItalic;
    root.Items.Add<TFixItem>().Caption = "first";
    root.Items.Add<TFixItem>().Value = -7;
    root.Lines.Lines = {"one", "", "three"};
    root.Data = std::string("\0\1\2\xFF", 4);
    auto& child = root.InsertComponent(std::make_unique<TFixBase>());
    child.SetName("Child1");
    child.Buddy = &root;
    auto& second = root.InsertComponent(std::make_unique<TFixBase>());
    second.SetName("Child2");
    second.Buddy = &child;

    const std::string bytes = WriteComponentRes("TFixDerived", root);
    std::unique_ptr<TComponent> read = ReadComponentRes(bytes);
    auto* back = dynamic_cast<TFixDerived*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ShowBytes(WriteComponentRes("TFixDerived", *back)), ShowBytes(bytes));

    EXPECT_EQ(back->Name(), "Derived1");
    EXPECT_EQ(back->Caption, "表面 'q'");
    EXPECT_EQ(back->Width, 0);
    EXPECT_EQ(back->Align, alBottom);
    EXPECT_EQ(back->Items.Count(), 2u);
    EXPECT_EQ(back->Lines.Lines, root.Lines.Lines);
    EXPECT_EQ(back->Data, root.Data);
    ASSERT_EQ(back->ComponentCount(), 2u);
    auto& backChild = dynamic_cast<TFixBase&>(back->Components(0));
    auto& backSecond = dynamic_cast<TFixBase&>(back->Components(1));
    EXPECT_EQ(backChild.Buddy, back);
    EXPECT_EQ(backSecond.Buddy, &backChild);

    // The property order: inherited first, the redeclared Width at its first place.
    const std::string text = ObjectBinaryToText(bytes);
    EXPECT_LT(text.find("  Width = 0"), text.find("  Height = -5"));
    ORVELLA_REQUIRE_ORACLES();
    EXPECT_EQ(FpcToText(bytes), text);
}

struct VariantCase {
    const char* name;
    TVariant value;
    std::string bytes;  // the stored value, tag first
};

void PrintTo(const VariantCase& c, std::ostream* os) { *os << c.name; }

class VariantValue : public ::testing::TestWithParam<VariantCase> {};

TEST_P(VariantValue, IsStoredByItsTypeAndReadBack)
{
    const VariantCase& c = GetParam();
    TEdge edge;
    edge.Any = c.value;
    const std::string bytes = WriteComponent(edge);
    EXPECT_EQ(ShowBytes(bytes), ShowBytes(Stream("TEdge", "", Prop("Any", c.bytes))));
    TEdge back;
    back.Any = std::int32_t(99);
    ReadComponent(bytes, back);
    EXPECT_TRUE(back.Any == c.value);
}

INSTANTIATE_TEST_SUITE_P(Table, VariantValue, ::testing::Values(
    VariantCase{"Null", TVarNull{}, Hex("00")},
    VariantCase{"Int32", std::int32_t(-129), Hex("03 7F FF")},
    VariantCase{"Int64", std::int64_t(1) << 40, Hex("13 00 00 00 00 00 01 00 00")},
    VariantCase{"Double", 0.5L, Hex("05 00 00 00 00 00 00 00 80 FE 3F")},
    VariantCase{"Single", 1.5f, Hex("0F 00 00 C0 3F")},
    VariantCase{"Currency", TVarCurrency{123456}, Hex("10 40 E2 01 00 00 00 00 00")},
    VariantCase{"Date", TVarDate{45000.25}, Hex("11 00 00 00 00 08 F9 E5 40")},
    VariantCase{"Boolean", true, Hex("09")},
    VariantCase{"String", std::string("ラ"), Hex("06 02 83 89")},
    VariantCase{"OleString", TVarWide{"ラ"}, Hex("12 01 00 00 00 E9 30")}));

TEST(ComponentStream, AnUnassignedVariantIsNotStored)
{
    TEdge edge;
    EXPECT_EQ(WriteComponent(edge), Stream("TEdge", "", ""));
}

TEST(ComponentStream, ResourceNameIsUpperCaseAndCutToWholeCharacters)
{
    TEdge edge;
    const std::string header = WriteComponentRes("tEdge_x", edge).substr(0, 17);
    EXPECT_EQ(ShowBytes(header), ShowBytes(Hex("FF 0A 00") + "TEDGE_X" + Hex("00 30 10") + Int32(13)));

    const std::string longName(70, 'a');
    const std::string bytes = WriteComponentRes(longName, edge);
    EXPECT_EQ(bytes.substr(3, 64), std::string(63, 'A') + '\0');
    // 62 ASCII letters and a double-byte character: the character does not fit.
    const std::string mixed = WriteComponentRes(std::string(62, 'b') + "表", edge);
    EXPECT_EQ(mixed.substr(3, 63), std::string(62, 'B') + '\0');
}

TEST(ClassRegistry, RegistersAncestorsAndFindsNamesWithoutCase)
{
    RegisterFixtureClasses();
    EXPECT_EQ(GetClass("tfixderived"), &TFixDerived::StaticClassInfo());
    EXPECT_EQ(GetClass("TFixBase"), &TFixBase::StaticClassInfo());
    EXPECT_EQ(GetClass("TComponent"), &TComponent::StaticClassInfo());
    EXPECT_EQ(GetClass("TPersistent"), &TPersistent::StaticClassInfo());
    EXPECT_EQ(GetClass("TFixFont"), nullptr);
    EXPECT_NO_THROW(RegisterClass(TFixDerived::StaticClassInfo()));
}

class TLoadLog : public TComponent {
    ORVELLA_PERSISTENT(TLoadLog)

public:
    static std::vector<std::string>& Log()
    {
        static std::vector<std::string> log;
        return log;
    }
    void Loaded() override
    {
        TComponent::Loaded();
        Log().push_back(Name());
    }
    void GetChildren(const std::function<void(TComponent&)>& proc) const override
    {
        for (std::size_t i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
};

const TClassInfo& TLoadLog::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLoadLog, TComponent>("TLoadLog", {});
    return info;
}

TEST(ComponentStream, HooksResolveAndCreateUnregisteredClassesAndLoadedFollowsReadOrder)
{
    const std::string bytes = Stream("TLoadLog", "Root", "",
                                     Record("TLoadLog", "A", "") + Record("TLoadLog", "B", ""));
    int created = 0;
    TReaderHooks hooks;
    hooks.FindClass = [](std::string_view name) {
        return name == "TLoadLog" ? &TLoadLog::StaticClassInfo() : nullptr;
    };
    hooks.CreateComponent = [&](const TClassInfo&) -> std::unique_ptr<TComponent> {
        ++created;
        return std::make_unique<TLoadLog>();
    };
    TLoadLog::Log().clear();
    std::unique_ptr<TComponent> root = ReadComponent(bytes, hooks);
    EXPECT_EQ(created, 3);
    EXPECT_EQ(TLoadLog::Log(), (std::vector<std::string>{"Root", "A", "B"}));
    EXPECT_FALSE(root->IsLoading());
    EXPECT_EQ(root->FindComponent("b"), &root->Components(1));
}

TEST(ComponentStream, ARootNamedLikeAGlobalComponentGetsTheNextFreeName)
{
    TEdge first, second;
    first.SetName("Edge1");
    second.SetName("Edge1_1");
    SetFindGlobalComponent([&](std::string_view name) -> TComponent* {
        return name == "Edge1" ? &first : name == "Edge1_1" ? &second : nullptr;
    });
    TEdge read;
    ReadComponent(Stream("TEdge", "Edge1", ""), read);
    SetFindGlobalComponent(nullptr);
    EXPECT_EQ(read.Name(), "Edge1_2");
}

TEST(ComponentStream, ReaderAcceptsEveryIntegerAndFloatTagForAFloat)
{
    for (const std::string& value : {Hex("02 03"), Hex("03 03 00"), Hex("04 03 00 00 00"),
                                     Hex("0F 00 00 40 40"), Hex("11 00 00 00 00 00 00 08 40"),
                                     Hex("10 30 75 00 00 00 00 00 00")}) {
        TEdge edge;
        ReadComponent(Stream("TEdge", "", Prop("Ratio", value)), edge);
        EXPECT_EQ(edge.Ratio, 3.0) << ShowBytes(value);
    }
}

TEST(ComponentStream, ReaderTakesWideStringsAndIdentifiersForTheirKinds)
{
    TEdge edge;
    const std::string wide = Hex("12") + Int32(3) + Hex("42 30 3D D8 00 DE");
    ReadComponent(Stream("TEdge", "", Prop("Text", wide) + Prop("Color", Hex("07") + Short("CLNONE")) +
                                          Prop("Flag", Hex("07") + Short("true"))),
                  edge);
    EXPECT_EQ(edge.Text, "あ😀");
    EXPECT_EQ(edge.Color, int32_t(clNone));
    EXPECT_TRUE(edge.Flag);
}

// The text form (ours and Free Pascal's) has no spelling for it, so only
// the bytes and the way back are checked.
TEST(ComponentStream, TheIdentifierNullIsWrittenAsTagZeroAndReadBack)
{
    TEdge edge;
    edge.Mark = 1;
    const std::string bytes = WriteComponent(edge);
    EXPECT_EQ(ShowBytes(bytes), ShowBytes(Stream("TEdge", "", Prop("Mark", Hex("00")))));
    TEdge back;
    ReadComponent(bytes, back);
    EXPECT_EQ(back.Mark, 1);
}

TEST(ComponentStream, AnEventReadsAnIdentifierOrNilAndRefusesOtherValues)
{
    TEdge edge;
    ReadComponent(Stream("TEdge", "", Prop("OnChange", Hex("07") + Short("FormClick"))), edge);
    EXPECT_EQ(edge.OnChange, "FormClick");
    ReadComponent(Stream("TEdge", "", Prop("OnChange", Hex("0D"))), edge);
    EXPECT_EQ(edge.OnChange, "");
    EXPECT_THROW(ReadComponent(Stream("TEdge", "", Prop("OnChange", Hex("02 01"))), edge), EFilerError);
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

TEST(IdentTables, NamesLookUpWithoutCaseAndTheFirstNameWinsWhenWriting)
{
    EXPECT_EQ(ColorIdents().size(), 42u);
    EXPECT_EQ(CharsetIdents().size(), 18u);
    EXPECT_EQ(CursorIdents().size(), 22u);
    EXPECT_EQ(IdentToInt(ColorIdents(), "CLBTNFACE"), std::int32_t(0x8000000F));
    EXPECT_STREQ(IntToIdent(ColorIdents(), std::int32_t(0x80000018)), "clInfoBk");
    EXPECT_EQ(IdentToInt(CharsetIdents(), "shiftjis_charset"), 128);
    EXPECT_STREQ(IntToIdent(CharsetIdents(), 255), "OEM_CHARSET");
    EXPECT_EQ(IdentToInt(CursorIdents(), "crSize"), -22);
    EXPECT_STREQ(IntToIdent(CursorIdents(), -22), "crSizeAll");
    EXPECT_EQ(IdentToInt(CursorIdents(), "crNothing"), std::nullopt);
    EXPECT_EQ(IntToIdent(ColorIdents(), 0x123456), nullptr);
}

}  // namespace
}  // namespace orvella::test
