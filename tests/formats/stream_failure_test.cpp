// Each failure of the reader and the writer, provoked once, with its message,
// and what a failure leaves behind.

#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "edge_class.h"
#include "fixture_classes.h"
#include "stream_bytes.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

std::string readError(const std::string& bytes)
{
    try {
        TEdge edge;
        edge.SetName("Edge1");
        ReadComponent(bytes, edge);
    } catch (const EFilerError& error) {
        return error.what();
    }
    return "no error";
}

std::string wrapped(const char* path, const char* message)
{
    // The streams store no name, so the class name stands for the component.
    return FormatMessage(stream_message::kPropertyException, {"TEdge", ".", path, message});
}

struct FailureCase {
    const char* name;
    std::string bytes;
    std::string message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class StreamFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StreamFailure, EndsTheReadWithTheMessage)
{
    EXPECT_EQ(readError(GetParam().bytes), GetParam().message);
}

const std::string kNested = [] {
    std::string list;
    for (int i = 0; i < 100; ++i)
        list += Hex("01");
    return Prop("Int.Skipped", list);
}();

INSTANTIATE_TEST_SUITE_P(Table, StreamFailure, ::testing::Values(
    FailureCase{"WrongSignature", "TPF1" + Record("TEdge", "", ""), stream_message::kInvalidImage},
    FailureCase{"Empty", "", stream_message::kInvalidImage},
    FailureCase{"IdentifierNotInTable", Stream("TEdge", "", Prop("Int", Hex("07") + Short("clRed"))),
                wrapped("Int", stream_message::kInvalidPropertyValue)},
    FailureCase{"ColorNameUnknown", Stream("TEdge", "", Prop("Color", Hex("07") + Short("clPink"))),
                wrapped("Color", stream_message::kInvalidPropertyValue)},
    FailureCase{"StringForInteger", Stream("TEdge", "", Prop("Int", Hex("06 01 31"))),
                wrapped("Int", stream_message::kInvalidPropertyValue)},
    FailureCase{"PathThroughInteger", Stream("TEdge", "", Prop("Int.Name", Hex("02 01"))),
                wrapped("Int.Name", stream_message::kInvalidPropertyPath)},
    FailureCase{"UnknownProperty", Stream("TEdge", "", Prop("Nope", Hex("02 01"))),
                wrapped("Nope", stream_message::kUnknownProperty)},
    FailureCase{"PropertyWithoutSetter", Stream("TEdge", "", Prop("Fixed", Hex("02 01"))),
                wrapped("Fixed", stream_message::kReadOnlyProperty)},
    FailureCase{"TagAbove19", Stream("TEdge", "", Prop("Int", Hex("14 00"))),
                wrapped("Int", stream_message::kInvalidImage)},
    FailureCase{"VariantOfAnUnsupportedTag", Stream("TEdge", "", Prop("Any", Hex("07") + Short("x"))),
                wrapped("Any", stream_message::kReadError)},
    FailureCase{"TruncatedValue", "TPF0" + Short("TEdge") + Short("") + Prop("Int", Hex("04 01 02")),
                wrapped("Int", stream_message::kReadError)},
    FailureCase{"LongStringLongerThanTheRest", Stream("TEdge", "", Prop("Text", Hex("0C FF FF FF 7F 41"))),
                wrapped("Text", stream_message::kReadError)},
    FailureCase{"NegativeWideLength", Stream("TEdge", "", Prop("Text", Hex("12 FF FF FF FF"))),
                wrapped("Text", stream_message::kReadError)},
    FailureCase{"TruncatedName", "TPF0" + Hex("05") + "TEd", stream_message::kReadError},
    FailureCase{"NestingTooDeep", Stream("TEdge", "", kNested), wrapped("Int.Skipped", stream_message::kInvalidImage)},
    FailureCase{"ChildClassNotFound", Stream("TEdge", "", "", Record("TNoSuchClass", "X", "")),
                FormatMessage(stream_message::kClassNotFound, {"TNoSuchClass"})}));

TEST(StreamFailure, ListsNestedPastTheBoundAreRefused)
{
    // Children nested deeper than the bound, each one a valid record.
    RegisterFixtureClasses();
    std::string record = Record("TFixBase", "", "");
    for (int i = 0; i < kMaxStreamNesting + 5; ++i)
        record = Record("TFixBase", "", "", record);
    EXPECT_EQ(readError("TPF0" + record), stream_message::kInvalidImage);
}

TEST(StreamFailure, WrongResourceWrapper)
{
    TEdge edge;
    for (const std::string& header : {Hex("FE 0A 00 00"), Hex("FF 0B 00 00"), Hex("FF")}) {
        try {
            ReadComponentRes(header + WriteComponent(edge), edge);
            ADD_FAILURE() << ShowBytes(header);
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), stream_message::kInvalidImage);
        }
    }
}

TEST(StreamFailure, RootClassNotRegistered)
{
    try {
        ReadComponent(Stream("TNotRegistered", "", ""));
        ADD_FAILURE();
    } catch (const EClassNotFound& error) {
        EXPECT_EQ(std::string(error.what()), "クラス TNotRegistered が見つかりません");
    }
}

class TImpostor : public TComponent {
    ORVELLA_PERSISTENT(TImpostor)
};

const TClassInfo& TImpostor::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TImpostor, TComponent>("tfixbase", {});
    return info;
}

TEST(StreamFailure, ClassNameRegisteredTwice)
{
    RegisterFixtureClasses();
    try {
        RegisterClass(TImpostor::StaticClassInfo());
        ADD_FAILURE();
    } catch (const EFilerError& error) {
        EXPECT_EQ(std::string(error.what()), "クラス名 tfixbase はすでに使われています");
    }
    EXPECT_EQ(GetClass("TFixBase"), &TFixBase::StaticClassInfo());
}

TEST(StreamFailure, ReferenceToAMissingComponent)
{
    RegisterFixtureClasses();
    const std::string bytes = Stream("TFixBase", "Base1", Prop("Buddy", Hex("07") + Short("Nobody")));
    try {
        ReadComponent(bytes);
        ADD_FAILURE();
    } catch (const EReadError& error) {
        EXPECT_EQ(std::string(error.what()), "'Nobody' の継承元が存在しません");
    }
}

TEST(StreamFailure, TextThatCp932CannotHoldIsRefusedNotAltered)
{
    TEdge edge;
    edge.Text = "music ♫ 😀";
    try {
        WriteComponent(edge);
        ADD_FAILURE();
    } catch (const EWriteError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(stream_message::kWriteError, 0), 0u) << error.what();
    }
}

TEST(StreamFailure, AFailingChildIsFreedAndAGivenRootKeepsWhatWasReadBefore)
{
    RegisterFixtureClasses();
    const std::string bytes =
        Stream("TFixBase", "Root", Prop("Height", Hex("02 05")),
               Record("TFixBase", "Good", Prop("Buddy", Hex("07") + Short("Owner"))) +
                   Record("TFixBase", "Bad", Prop("Height", Hex("02 01")) + Prop("Width", Hex("07") + Short("x")),
                          Record("TFixBase", "Grandchild", "")));
    TFixBase root;
    try {
        ReadComponent(bytes, root);
        ADD_FAILURE();
    } catch (const EPropertyReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Bad.Width の読み込み中のエラー : 不正なプロパティの値です");
    }
    EXPECT_EQ(root.Height, 5);
    ASSERT_EQ(root.ComponentCount(), 1u);
    EXPECT_EQ(root.Components(0).Name(), "Good");
    // The pending reference to the root was dropped with the failure.
    EXPECT_EQ(dynamic_cast<TFixBase&>(root.Components(0)).Buddy, nullptr);
    EXPECT_FALSE(root.IsLoading());
}

TEST(StreamFailure, TextSyntaxErrorsNameTheLine)
{
    try {
        ObjectTextToBinary("object A: TA\n  X = 'open\nend\n");
        ADD_FAILURE();
    } catch (const EReadError& error) {
        EXPECT_EQ(std::string(error.what()), std::string(stream_message::kInvalidImage) + " (2行目)");
    }
}

}  // namespace
}  // namespace orvella::test
