#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/qr_code.h"
#include "objects/qr_encoder.h"

#include "code_readers.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace orvella {
namespace {

std::span<const uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::vector<std::string> rowsOf(const qr::TSymbol& symbol)
{
    std::vector<std::string> rows;
    for (int row = 0; row < symbol.Size; ++row) {
        std::string line;
        for (int column = 0; column < symbol.Size; ++column)
            line += symbol.Dark(row, column) ? '1' : '0';
        rows.push_back(line);
    }
    return rows;
}

// "日本語テキスト" and half-width kana in CP932.
const std::string kJapanese = "\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x4c\x83\x58\x83\x67 \xb6\xc0\xb6\xc5";

std::string repeated(const std::string& piece, std::size_t length)
{
    std::string text;
    while (text.size() < length)
        text += piece;
    text.resize(length);
    return text;
}

TEST(QRMode, DetectionFollowsTheNarrowestSetThatHoldsEveryByte)
{
    struct Case {
        std::string data;
        char mode;
    };
    const Case cases[] = {
        {"", '8'},
        {"0123456789", '0'},
        {"ABC-123 $%*+./:", 'A'},
        {"abc", '8'},
        {"A1b", '8'},
        {kJapanese, '8'},
        {"`", '8'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qr::DetectMode(bytesOf(c.data)), c.mode) << c.data;
}

TEST(QRVersion, SeventeenBytesFitVersionOneOnlyAtLevelL)
{
    const std::string data(17, 'x');
    EXPECT_EQ(qr::StreamBits('8', data.size(), 1), 148);
    TQRCode code;
    code.SetData(data);
    const std::pair<char, int> cases[] = {{'L', 1}, {'M', 2}, {'Q', 2}, {'H', 3}};
    for (auto [level, version] : cases) {
        code.SetErrorCorrectLevel(level);
        EXPECT_EQ(code.Version(), version) << level;
        code.Update();
        ASSERT_TRUE(code.Symbol()) << level;
        EXPECT_EQ(code.Symbol()->Version, version) << level;
    }
}

TEST(QRVersion, DataCodewordsFollowTheCapacityTable)
{
    // Spot values of the standard's capacity table (data codewords).
    EXPECT_EQ(qr::DataCodewords(1, 'L'), 19);
    EXPECT_EQ(qr::DataCodewords(1, 'H'), 9);
    EXPECT_EQ(qr::DataCodewords(10, 'M'), 216);
    EXPECT_EQ(qr::DataCodewords(27, 'Q'), 808);
    EXPECT_EQ(qr::DataCodewords(40, 'L'), 2956);
    EXPECT_EQ(qr::DataCodewords(40, 'H'), 1276);
    EXPECT_EQ(qr::DataCodewords(0, 'M'), 0);
    EXPECT_EQ(qr::DataCodewords(41, 'M'), 0);
    EXPECT_EQ(qr::DataCodewords(1, 'X'), 0);
}

// Our matrices against segno's for the same data, version, level and mask.
struct MatrixCase {
    std::string data;
    char mode;
    int version;
    char level;
    int mask;
};

class QRMatrixAgainstSegno : public ::testing::TestWithParam<MatrixCase> {};

TEST_P(QRMatrixAgainstSegno, EqualModuleForModule)
{
    ORVELLA_REQUIRE_TOOL(test::HaveSegno(), "python3-segno");
    const MatrixCase& c = GetParam();
    const auto symbol = qr::Encode(bytesOf(c.data), {c.mode, c.version, c.mask, c.level});
    ASSERT_TRUE(symbol);
    EXPECT_EQ(symbol->Mask, c.mask);
    EXPECT_EQ(rowsOf(*symbol), test::SegnoMatrix(c.data, c.mode, c.version, c.level, c.mask));
}

INSTANTIATE_TEST_SUITE_P(
    Table, QRMatrixAgainstSegno,
    ::testing::Values(MatrixCase{"01234567", '0', 1, 'M', 0},
                      MatrixCase{"0123456789012345", '0', 1, 'M', 0},
                      MatrixCase{"HELLO WORLD", 'A', 1, 'Q', 3},
                      MatrixCase{"abc", '8', 2, 'H', 5},
                      MatrixCase{kJapanese, '8', 3, 'L', 1},
                      MatrixCase{repeated("0123456789", 200), '0', 7, 'L', 2},
                      MatrixCase{repeated("QR CODE-", 150), 'A', 10, 'M', 4},
                      MatrixCase{repeated(kJapanese, 300), '8', 16, 'Q', 6},
                      MatrixCase{repeated("https://example.org/", 500), '8', 27, 'H', 7},
                      MatrixCase{repeated(kJapanese, 1000), '8', 32, 'M', 2},
                      MatrixCase{repeated("0123456789", 7089), '0', 40, 'L', 1},
                      MatrixCase{repeated(kJapanese, 1273), '8', 40, 'H', 0}));

// What we render, read by zbarimg and ZXingReader.
struct DecodeCase {
    std::string data;
    char level;
    char expectedMode;
    int expectedVersion;
};

class QRDecoders : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(QRDecoders, ReadTheRenderedSymbolAsTheData)
{
    ORVELLA_REQUIRE_TOOL(test::HaveZbar(), "zbarimg (zbar-tools)");
    ORVELLA_REQUIRE_TOOL(test::HaveZxing(), "ZXingReader (zxing-cpp-tools)");
    const DecodeCase& c = GetParam();
    TQRCode code;
    code.SetData(c.data);
    code.SetErrorCorrectLevel(c.level);
    EXPECT_EQ(code.EncodeMode(), c.expectedMode);
    EXPECT_EQ(code.Version(), c.expectedVersion);

    // Three pixels a module through the plain stretch of Draw.
    code.Update();
    const int32_t side = code.Bitmap().Width() * 3;
    TBitmap picture(side, side);
    code.Draw(picture.Canvas(), {0, 0, side, side});
    test::TempDir dir;
    ASSERT_TRUE(picture.SaveToPng(dir.File("qr.png")));
    EXPECT_EQ(test::ZbarDecode(dir.File("qr.png")), c.data);
    EXPECT_EQ(test::ZxingDecode(dir.File("qr.png")), c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QRDecoders,
    ::testing::Values(DecodeCase{"0123456789", 'M', '0', 1},
                      DecodeCase{"ABC-123", 'L', 'A', 1},
                      DecodeCase{"MECARD:N:Yamada,Taro;TEL:0312345678;;", 'Q', '8', 4},
                      DecodeCase{kJapanese, 'H', '8', 3},
                      DecodeCase{repeated("31415926535897932384", 600), 'L', '0', 10},
                      DecodeCase{repeated("ORVELLA LABEL ", 400), 'Q', 'A', 15},
                      DecodeCase{repeated(kJapanese, 800), 'M', '8', 23},
                      DecodeCase{repeated("http://example.org/label?", 2300), 'L', '8', 35},
                      DecodeCase{repeated("0123456789", 3057), 'H', '0', 40}));

TEST(QREncoder, DataBeyondTheSymbolIsRefusedAndDrawsNothing)
{
    TQRCode code;
    code.SetData(std::string(2954, 'x'));  // version 40-L holds 2953 bytes
    code.SetErrorCorrectLevel('L');
    EXPECT_EQ(code.Version(), 0);
    code.Update();
    EXPECT_FALSE(code.Symbol());
    EXPECT_EQ(code.Bitmap().Width(), 0);
    TBitmap picture(40, 40);
    picture.Canvas().Brush().Color = 0x123456;
    picture.Canvas().FillRect({0, 0, 40, 40});
    code.Draw(picture.Canvas(), {0, 0, 40, 40});
    EXPECT_EQ(picture.GetPixelColor(20, 20), TColor(0x123456));

    // One byte less fits; a fixed version too small refuses as well.
    code.SetData(std::string(2953, 'x'));
    code.Update();
    ASSERT_TRUE(code.Symbol());
    EXPECT_EQ(code.Symbol()->Version, 40);
    code.SetAutoVersion(false);
    code.SetVersion(39);
    code.Update();
    EXPECT_FALSE(code.Symbol());
}

TEST(QREncoder, ForcedModeThatCannotCarryTheDataStillReadsBackAsTheData)
{
    // A stored numeric or alphanumeric mode over other bytes must neither
    // overflow a numeric group nor lose characters.
    ORVELLA_REQUIRE_TOOL(test::HaveZbar(), "zbarimg (zbar-tools)");
    for (char mode : {'0', 'A'}) {
        TQRCode code;
        code.SetAutoEncodeMode(false);
        code.SetEncodeMode(mode);
        code.SetData("zz9~:");
        EXPECT_EQ(code.EncodeMode(), mode);
        code.Update();
        ASSERT_TRUE(code.Symbol());
        const int32_t side = code.Bitmap().Width() * 4;
        TBitmap picture(side, side);
        code.Draw(picture.Canvas(), {0, 0, side, side});
        test::TempDir dir;
        ASSERT_TRUE(picture.SaveToPng(dir.File("qr.png")));
        EXPECT_EQ(test::ZbarDecode(dir.File("qr.png")), "zz9~:") << mode;
    }
}

TEST(QREncoder, SettersIgnoreValuesOutOfRange)
{
    TQRCode code;
    code.Update();
    code.SetEncodeMode('B');
    code.SetErrorCorrectLevel('m');
    code.SetVersion(0);
    code.SetVersion(41);
    code.SetMaskNo(8);
    code.SetMaskNo(-1);
    code.SetMargin(-1);
    code.SetMargin(TQRCode::kMaxMargin + 1);
    code.SetMargin(0x40000000);  // a stored value that would overflow the bitmap's size
    EXPECT_FALSE(code.Dirty());
    EXPECT_EQ(code.ErrorCorrectLevel(), 'M');
    EXPECT_EQ(code.Margin(), 4);

    code.SetErrorCorrectLevel('M');  // the same value is no change
    EXPECT_FALSE(code.Dirty());
    code.SetErrorCorrectLevel('H');
    EXPECT_TRUE(code.Dirty());
    code.SetMargin(TQRCode::kMaxMargin);
    code.Update();
    EXPECT_EQ(code.Bitmap().Width(), code.Symbol()->Size + 2 * TQRCode::kMaxMargin);
}

TEST(QREncoder, MarginChangesTheBitmapButNotTheMatrix)
{
    TQRCode code;
    code.SetData("MARGIN");
    code.Update();
    ASSERT_TRUE(code.Symbol());
    const qr::TSymbol before = *code.Symbol();
    EXPECT_EQ(code.Bitmap().Width(), 21 + 8);

    code.SetMargin(0);
    code.Update();
    EXPECT_EQ(code.Symbol()->Modules, before.Modules);
    EXPECT_EQ(code.Bitmap().Width(), 21);
    EXPECT_EQ(code.Bitmap().Height(), 21);
    // The top-left finder's corner is the first pixel now.
    EXPECT_EQ(code.Bitmap().GetPixelColor(0, 0), TColor(0));
}

TEST(QREncoder, AutomaticMaskHasTheLowestPenaltyAndIsWhatMaskNoReads)
{
    TQRCode code;
    code.SetData("https://example.org/orvella");
    code.Update();
    ASSERT_TRUE(code.Symbol());
    const int chosen = code.MaskNo();
    EXPECT_EQ(code.Symbol()->Mask, chosen);
    const int chosenScore = qr::Penalty(*code.Symbol());
    for (int mask = 0; mask < 8; ++mask) {
        const auto other = qr::Encode(bytesOf(code.Data()), {'8', 0, mask, 'M'});
        ASSERT_TRUE(other);
        const int score = qr::Penalty(*other);
        EXPECT_TRUE(score > chosenScore || (score == chosenScore && mask >= chosen)) << mask;
    }
}

TEST(QREncoder, AssignCopiesDataChoicesAndTheRenderedSymbol)
{
    TQRCode source;
    source.SetData("COPY 1");
    source.SetErrorCorrectLevel('Q');
    source.SetAutoMask(false);
    source.SetMaskNo(5);
    source.SetMargin(2);
    source.Update();

    TQRCode copy;
    copy.Assign(source);
    EXPECT_FALSE(copy.Dirty());
    EXPECT_EQ(copy.Data(), "COPY 1");
    EXPECT_EQ(copy.ErrorCorrectLevel(), 'Q');
    EXPECT_FALSE(copy.AutoMask());
    EXPECT_EQ(copy.MaskNo(), 5);
    ASSERT_TRUE(copy.Symbol());
    EXPECT_EQ(copy.Symbol()->Modules, source.Symbol()->Modules);
    ASSERT_EQ(copy.Bitmap().Width(), source.Bitmap().Width());
    EXPECT_EQ(copy.Bitmap().GetPixelColor(2, 2), source.Bitmap().GetPixelColor(2, 2));
}

}  // namespace
}  // namespace orvella
