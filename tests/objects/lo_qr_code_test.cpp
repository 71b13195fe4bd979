#include "formats/byte_reader.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "formats/stream_format.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/lo_qr_code.h"
#include "objects/object_classes.h"
#include "objects/qr_code.h"
#include "objects/qr_contents.h"
#include "platform/cp932.h"

#include "code_readers.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

std::string sjis(const char* utf8) { return EncodeCp932(utf8); }

// --- contents ---

struct ContentsCase {
    const char* what;
    TStdQRContents contents;
    std::string want;  // CP932 bytes
};

TStdQRContents phoneBook(TStdQRType type, const char* name, bool split = false)
{
    TStdQRContents c;
    c.Type = type;
    c.Name = name;
    c.NameCommaDevide = split;
    return c;
}

TStdQRContents web(TStdQRType type, const char* title, const char* url)
{
    TStdQRContents c;
    c.Type = type;
    c.Kind = TStdQRKind::sqkURL;
    c.UrlTitle = title;
    c.Url = url;
    return c;
}

TStdQRContents everyField(TStdQRType type, bool hankaku)
{
    TStdQRContents c = phoneBook(type, "山田 太郎", true);
    c.Furigana = "やまだ たろう";
    c.FuriganaHankaku = hankaku;
    c.Tel1 = "03-1234-5678";
    c.Tel2 = "090-1111-2222";
    c.Email1 = "taro@example.jp";
    c.Email2 = "t;y@example.jp";
    return c;
}

class StdQRContents : public ::testing::TestWithParam<ContentsCase> {};

TEST_P(StdQRContents, BuildTheCarrierFormat)
{
    const ContentsCase& c = GetParam();
    const auto data = BuildStdQRData(c.contents);
    ASSERT_TRUE(data) << c.what;
    EXPECT_EQ(*data, c.want) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StdQRContents,
    ::testing::Values(
        ContentsCase{"split name", phoneBook(TStdQRType::sqtDoCoMo, "Yamada Taro", true), "MECARD:N:Yamada,Taro;;"},
        ContentsCase{"unsplit name", phoneBook(TStdQRType::sqtDoCoMo, "Yamada Taro"), "MECARD:N:Yamada Taro;;"},
        ContentsCase{"spaces count once, more words join",
                     phoneBook(TStdQRType::sqtDoCoMo, "  de   la Cruz  ", true), "MECARD:N:de,la Cruz;;"},
        ContentsCase{"one word does not split", phoneBook(TStdQRType::sqtDoCoMo, "Taro", true),
                     "MECARD:N:Taro;;"},
        ContentsCase{"escaped in MECARD", phoneBook(TStdQRType::sqtDoCoMo, "a;b,c:d\\e"),
                     "MECARD:N:a\\;b\\,c\\:d\\\\e;;"},
        ContentsCase{"unescaped in MEMORY", phoneBook(TStdQRType::sqtVodafone, "a;b"),
                     "MEMORY:\r\nNAME1:a;b\r\n"},
        ContentsCase{"every DoCoMo field", everyField(TStdQRType::sqtDoCoMo, true),
                     sjis("MECARD:N:山田,太郎;SOUND:ﾔﾏﾀﾞ,ﾀﾛｳ;TEL:03-1234-5678;TEL:090-1111-2222;"
                          "EMAIL:taro@example.jp;EMAIL:t\\;y@example.jp;;")},
        ContentsCase{"every Vodafone field, reading as typed", everyField(TStdQRType::sqtVodafone, false),
                     sjis("MEMORY:\r\nNAME1:山田 太郎\r\nNAME2:やまだ たろう\r\nTEL1:03-1234-5678\r\n"
                          "TEL2:090-1111-2222\r\nMAIL1:taro@example.jp\r\nMAIL2:t;y@example.jp\r\n")},
        ContentsCase{"empty phone book", phoneBook(TStdQRType::sqtDoCoMo, ""), ""},
        ContentsCase{"empty Vodafone phone book", phoneBook(TStdQRType::sqtVodafone, ""), ""},
        ContentsCase{"bookmark", web(TStdQRType::sqtDoCoMo, "Orvella", "http://example.jp/"),
                     "MEBKM:TITLE:Orvella;URL:http\\://example.jp/;;"},
        ContentsCase{"bookmark without title", web(TStdQRType::sqtDoCoMo, "", "x"), "MEBKM:URL:x;;"},
        ContentsCase{"empty bookmark", web(TStdQRType::sqtDoCoMo, "", ""), ""},
        ContentsCase{"address gets a scheme", web(TStdQRType::sqtVodafone, "T", "example.jp"),
                     "http://example.jp"},
        ContentsCase{"HTTPS in any case passes", web(TStdQRType::sqtVodafone, "", "HttpS://example.jp"),
                     "HttpS://example.jp"},
        ContentsCase{"full-width address is made half-width", web(TStdQRType::sqtVodafone, "", "ｈｔｔｐ：／／ａ．ｊｐ"),
                     "http://a.jp"},
        ContentsCase{"text lines", [] {
                         TStdQRContents c;
                         c.Kind = TStdQRKind::sqkTEXT;
                         c.Text = {"一行目", "", "line 3"};
                         return c;
                     }(),
                     sjis("一行目\r\n\r\nline 3\r\n")}));

TEST(StdQRContents, TheAUTypeBuildsNothingAndTheObjectKeepsItsBytes)
{
    TStdQRContents c = phoneBook(TStdQRType::sqtAU, "Taro");
    EXPECT_FALSE(BuildStdQRData(c));

    TLOQRStd object;
    object.SetQRName("Taro");
    const std::string before = object.Data();
    EXPECT_EQ(before, "MECARD:N:Taro;;");
    object.SetQRType(TStdQRType::sqtAU);
    object.SetQRName("Jiro");
    EXPECT_EQ(object.Data(), before);
}

TEST(ZenToHan, IsTheReverseOfTheDisplayConversion)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ヴ", "ｳﾞ"},         {"ガギグ", "ｶﾞｷﾞｸﾞ"}, {"パピ", "ﾊﾟﾋﾟ"}, {"アイウ", "ｱｲｳ"}, {"ー。「」", "ｰ｡｢｣"},
        {"ＡＢｃ１２", "ABc12"}, {"！＃＄", "!#$"}, {"漢字", "漢字"}, {"ヰヱ", "ヰヱ"}, {"ﾊﾝｶｸ", "ﾊﾝｶｸ"},
    };
    for (auto [full, half] : cases)
        EXPECT_EQ(ZenToHanConvert(QString::fromUtf8(full)), QString::fromUtf8(half)) << full;
    EXPECT_EQ(ZenToHanConvert(QString::fromUtf8("ひらがな")), QString::fromUtf8("ひらがな"));
    EXPECT_EQ(ZenToHanConvert(QString::fromUtf8("ひらがな ゔ"), true), QString::fromUtf8("ﾋﾗｶﾞﾅ ｳﾞ"));
}

// --- the objects ---

class QRObjects : public ::testing::Test {
protected:
    void SetUp() override { RegisterObjectClasses(); }
};

TEST_F(QRObjects, NewObjectsAreTwentyMillimetresSquareWithFreshProfiles)
{
    TLOQRStd first;
    TLOQRStd second;
    EXPECT_EQ(first.Rect(), (TRect{0, 0, 200, 200}));
    EXPECT_EQ(first.QRType(), TStdQRType::sqtDoCoMo);
    EXPECT_EQ(first.QRKind(), TStdQRKind::sqkTel);
    EXPECT_TRUE(first.QRFuriganaHankaku());
    EXPECT_EQ(first.QRUrlID, -1);
    EXPECT_FALSE(first.ProfileGuid == second.ProfileGuid);
    EXPECT_EQ(first.Mergin(), 4);
    EXPECT_EQ(first.ErrorCorrectLevel(), 'M');
}

TEST_F(QRObjects, SettersReportOnlyRealChanges)
{
    TLOQRStd object;
    int changes = 0;
    object.OnModify = [&](TDrawObject&) { ++changes; };
    object.SetQRName("Taro");
    object.SetQRName("Taro");
    object.SetErrorCorrectLevel('H');
    object.SetErrorCorrectLevel('H');
    object.SetErrorCorrectLevel('X');
    object.SetMergin(-3);
    object.SetAngle(0);
    EXPECT_EQ(changes, 2);
}

TEST_F(QRObjects, StoredFormReadsAndWritesThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    TLOQRStd object;
    object.SetBoundsRect({10, 20, 260, 270});
    object.SetAngle(90);
    object.SetErrorCorrectLevel('Q');
    object.SetAutoMask(false);
    object.SetMaskNo(3);
    object.SetMergin(2);
    object.SetQRNameCommaDevide(true);
    object.SetQRName("山田 太郎");
    object.SetQRTel1("03;1");
    object.QRTel1ID = 8;
    object.SetQRText({"memo", "二行目"});
    object.ProfileGuid = MakeGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}");
    const std::string bytes = WriteComponent(object);

    const std::string text = test::FpcToText(bytes);
    const std::string data = object.Data();
    ASSERT_EQ(data, sjis("MECARD:N:山田,太郎;TEL:03\\;1;;"));
    EXPECT_EQ(text,
              "object TLOQRStd\n"
              "  Left = 10\n"
              "  Top = 20\n"
              "  Width = 250\n"
              "  Height = 250\n"
              "  Border = False\n"
              "  LayerGroup = 0\n"
              "  DontPrint = False\n"
              "  Angle = 90\n"
              "  EncodeMode = '8'\n"
              "  AutoEncodeMode = True\n"
              "  Version = 3\n"
              "  AutoVersion = True\n"
              "  MaskNo = 3\n"
              "  AutoMask = False\n"
              "  ErrorCorrectLevel = 'Q'\n"
              "  Mergin = 2\n"
              "  QRNameCommaDevide = True\n"
              "  QRName = #142'R'#147'c '#145#190#152'Y'\n"
              "  QRTel1 = '03;1'\n"
              "  QRTel1ID = 8\n"
              "  QRUrlTitleID = -1\n"
              "  QRUrlID = -1\n"
              "  QRText.Strings = (\n"
              "    'memo'\n"
              "    #147#241#141's'#150#218\n"
              "  )\n"
              "  QRData = {\n"
              "    1E0000004D45434152443A4E3A8E5293632C91BE98593B54454C3A30335C3B31\n"
              "    3B3B\n"
              "  }\n"
              "  ProfileGuid = {\n"
              "    33221100554477668899AABBCCDDEEFF\n"
              "  }\n"
              "end\n");
    // Free Pascal writes text beyond ASCII back as wide strings of the bytes
    // (no code page), so the way back goes with ASCII texts.
    std::string ascii = text;
    ascii.replace(ascii.find("#142'R'"), std::string("#142'R'#147'c '#145#190#152'Y'").size(), "'Yamada Taro'");
    ascii.replace(ascii.find("#147#241"), std::string("#147#241#141's'#150#218").size(), "'line 2'");
    const std::string pascalBytes = test::FpcToBinary(ascii);
    TLOQRStd fromPascal;
    ReadComponent(pascalBytes, fromPascal);
    EXPECT_EQ(WriteComponent(fromPascal), pascalBytes);
    EXPECT_EQ(fromPascal.QRName(), "Yamada Taro");
    EXPECT_EQ(fromPascal.QRText(), (std::vector<std::string>{"memo", "line 2"}));
    EXPECT_EQ(fromPascal.Data(), data) << "the stored bytes come last and stay";

    TLOQRStd back;
    ReadComponent(bytes, back);
    EXPECT_EQ(WriteComponent(back), bytes);
    EXPECT_EQ(back.Data(), data);
    EXPECT_EQ(back.GetAngle(), 90);
    EXPECT_EQ(back.MaskNo(), 3);
    EXPECT_EQ(back.QRName(), "山田 太郎");
    EXPECT_EQ(back.QRText(), (std::vector<std::string>{"memo", "二行目"}));
    EXPECT_TRUE(back.ProfileGuid == object.ProfileGuid);
}

TEST_F(QRObjects, QRDataLongerThanItsPayloadIsAFormatError)
{
    std::string payload = QRDataPayload("abc");
    TByteReader good(payload);
    EXPECT_EQ(ReadQRDataPayload(good), "abc");
    payload[0] = 4;
    TByteReader bad(payload);
    EXPECT_THROW(ReadQRDataPayload(bad), EReadError);
    const std::string negative("\xff\xff\xff\xff", 4);
    TByteReader huge(negative);
    EXPECT_THROW(ReadQRDataPayload(huge), EReadError);
}

TEST_F(QRObjects, TurnedRectangleGivesBoundsHitsAndProportionalResize)
{
    TLOQRCode object;
    object.SetBoundsRect({0, 0, 400, 200});
    object.SetAngle(90);
    EXPECT_EQ(object.GetLogicalBounds(), (TRect{101, -100, 301, 300}));
    EXPECT_TRUE(object.HitTest({200, -90}));
    EXPECT_FALSE(object.HitTest({20, 100}));

    // Asked for bounds of 100 x 200, the turned object keeps its shape.
    object.SetExtent(100, 200);
    EXPECT_EQ(object.GetWidth(), 200);
    EXPECT_EQ(object.GetHeight(), 100);

    object.SetAngle(0);
    object.SetExtent(50, 60);
    EXPECT_EQ(object.Rect(), (TRect{0, 0, 50, 60}));
}

TEST_F(QRObjects, PaintedSymbolReadsBackAsTheContents)
{
    ORVELLA_REQUIRE_TOOL(test::HaveZbar(), "zbarimg (zbar-tools)");
    TLOQRStd object;
    object.SetBoundsRect({0, 0, 300, 300});
    object.SetQRName("山田 太郎");
    object.SetQRFurigana("やまだ");
    TBitmap picture(300, 300);
    object.Paint(picture.Canvas());
    test::TempDir dir;
    ASSERT_TRUE(picture.SaveToPng(dir.File("qr.png")));
    EXPECT_EQ(test::ZbarDecode(dir.File("qr.png")), sjis("MECARD:N:山田 太郎;SOUND:ﾔﾏﾀﾞ;;"));
}

TEST_F(QRObjects, TurnedSymbolLeavesItsCornersTransparentAndStillReads)
{
    TLOQRStd object;
    object.SetBoundsRect({100, 100, 400, 400});
    object.SetQRKind(TStdQRKind::sqkURL);
    object.SetQRType(TStdQRType::sqtVodafone);
    object.SetQRUrl("example.jp/label");
    object.SetAngle(45);
    const TRect bounds = object.GetLogicalBounds();
    ASSERT_GT(bounds.Right - bounds.Left, 400);

    TBitmap picture(600, 600);
    picture.Canvas().Brush().Color = 0x0000FF;
    picture.Canvas().FillRect({0, 0, 600, 600});
    object.Paint(picture.Canvas());
    // The bounding box's corners show what lies below.
    EXPECT_EQ(picture.GetPixelColor(bounds.Left + 3, bounds.Top + 3), TColor(0x0000FF));
    EXPECT_EQ(picture.GetPixelColor(bounds.Right - 4, bounds.Bottom - 4), TColor(0x0000FF));
    EXPECT_EQ(picture.GetPixelColor(250, 60), TColor(0xFFFFFF)) << "the quiet zone's top corner";

    ORVELLA_REQUIRE_TOOL(test::HaveZxing(), "ZXingReader (zxing-cpp-tools)");
    test::TempDir dir;
    ASSERT_TRUE(picture.SaveToPng(dir.File("qr.png")));
    EXPECT_EQ(test::ZxingDecode(dir.File("qr.png")), "http://example.jp/label");
}

TEST_F(QRObjects, AssignCopiesContentsProfileAndSymbol)
{
    TLOQRStd source;
    source.SetQRKind(TStdQRKind::sqkTEXT);
    source.SetQRText({"a", "b"});
    source.SetAngle(30);
    source.QRUrlID = 13;
    TLOQRStd copy;
    copy.Assign(source);
    EXPECT_EQ(copy.QRKind(), TStdQRKind::sqkTEXT);
    EXPECT_EQ(copy.QRText(), source.QRText());
    EXPECT_EQ(copy.Data(), "a\r\nb\r\n");
    EXPECT_EQ(copy.GetAngle(), 30);
    EXPECT_EQ(copy.QRUrlID, 13);
    EXPECT_TRUE(copy.ProfileGuid == source.ProfileGuid);
    EXPECT_EQ(WriteComponent(copy), WriteComponent(source));
}

}  // namespace
}  // namespace orvella
