#include "objects/qr_encoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvella::qr {

namespace {

// ISO/IEC 18004, table 9: codewords of each version, and per level the error
// correction codewords of one block and the number of blocks. Index 0 unused.
constexpr std::array<int16_t, 41> kTotalCodewords = {
    0,    26,   44,   70,   100,  134,  172,  196,  242,  292,  346,  404,  466,  532,
    581,  655,  733,  815,  901,  991,  1085, 1156, 1258, 1364, 1474, 1588, 1706, 1828,
    1921, 2051, 2185, 2323, 2465, 2611, 2761, 2876, 3034, 3196, 3362, 3532, 3706};

// Rows L, M, Q, H.
constexpr int8_t kEccPerBlock[4][41] = {
    {0,  7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0,  13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0,  17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};
constexpr int8_t kBlocks[4][41] = {
    {0,  1,  1,  1,  1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7,  8,
     8,  9,  9,  10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0,  1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0,  1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0,  1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

int LevelRow(char level)
{
    switch (level) {
    case 'L': return 0;
    case 'M': return 1;
    case 'Q': return 2;
    case 'H': return 3;
    default: return -1;
    }
}

// The two format bits of a level: L 01, M 00, Q 11, H 10.
int LevelFormatBits(char level)
{
    static constexpr int bits[4] = {1, 0, 3, 2};
    return bits[LevelRow(level)];
}

int AlphanumericValue(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    switch (c) {
    case ' ': return 36;
    case '$': return 37;
    case '%': return 38;
    case '*': return 39;
    case '+': return 40;
    case '-': return 41;
    case '.': return 42;
    case '/': return 43;
    case ':': return 44;
    default: return -1;
    }
}

int CountBits(char mode, int version)
{
    const int band = version <= 9 ? 0 : version <= 26 ? 1 : 2;
    switch (mode) {
    case '0': return 10 + 2 * band;
    case 'A': return 9 + 2 * band;
    default: return band == 0 ? 8 : 16;
    }
}

int ModeIndicator(char mode)
{
    return mode == '0' ? 1 : mode == 'A' ? 2 : 4;
}

// GF(256) over x^8 + x^4 + x^3 + x^2 + 1.
struct TGalois {
    std::array<uint8_t, 512> Exp{};
    std::array<int, 256> Log{};
    TGalois()
    {
        int value = 1;
        for (int i = 0; i < 255; ++i) {
            Exp[i] = uint8_t(value);
            Log[value] = i;
            value <<= 1;
            if (value & 0x100)
                value ^= 0x11D;
        }
        for (int i = 255; i < 512; ++i)
            Exp[i] = Exp[i - 255];
    }
    uint8_t Multiply(uint8_t a, uint8_t b) const
    {
        return a == 0 || b == 0 ? 0 : Exp[Log[a] + Log[b]];
    }
};

const TGalois& Galois()
{
    static const TGalois field;
    return field;
}

// Coefficients of the product of (x - a^i) for i < degree, highest power
// first with the leading 1 left out.
const std::vector<uint8_t>& Generator(int degree)
{
    static std::array<std::vector<uint8_t>, 31> cache;
    std::vector<uint8_t>& poly = cache[std::size_t(degree)];
    if (!poly.empty())
        return poly;
    const TGalois& gf = Galois();
    std::vector<uint8_t> product{1};  // highest power first, leading term included
    for (int i = 0; i < degree; ++i) {
        std::vector<uint8_t> next(product.size() + 1, 0);
        for (std::size_t k = 0; k < product.size(); ++k) {
            next[k] ^= product[k];
            next[k + 1] ^= gf.Multiply(product[k], gf.Exp[std::size_t(i)]);
        }
        product = std::move(next);
    }
    poly.assign(product.begin() + 1, product.end());
    return poly;
}

std::vector<uint8_t> ErrorCorrection(std::span<const uint8_t> data, int degree)
{
    const TGalois& gf = Galois();
    const std::vector<uint8_t>& generator = Generator(degree);
    std::vector<uint8_t> remainder(std::size_t(degree), 0);
    for (uint8_t byte : data) {
        const uint8_t factor = byte ^ remainder.front();
        std::rotate(remainder.begin(), remainder.begin() + 1, remainder.end());
        remainder.back() = 0;
        for (std::size_t k = 0; k < remainder.size(); ++k)
            remainder[k] ^= gf.Multiply(generator[k], factor);
    }
    return remainder;
}

class TBitWriter {
public:
    void Put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i)
            bits_.push_back(uint8_t((value >> i) & 1));
    }
    std::size_t Size() const { return bits_.size(); }
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> bytes((bits_.size() + 7) / 8, 0);
        for (std::size_t i = 0; i < bits_.size(); ++i)
            bytes[i / 8] |= uint8_t(bits_[i] << (7 - i % 8));
        return bytes;
    }

private:
    std::vector<uint8_t> bits_;
};

void PutData(TBitWriter& out, char mode, std::span<const uint8_t> data, int version)
{
    out.Put(uint32_t(ModeIndicator(mode)), 4);
    out.Put(uint32_t(data.size()), CountBits(mode, version));
    std::size_t i = 0;
    if (mode == '0') {
        for (; i + 3 <= data.size(); i += 3)
            out.Put(uint32_t((data[i] - '0') * 100 + (data[i + 1] - '0') * 10 + (data[i + 2] - '0')), 10);
        if (data.size() - i == 2)
            out.Put(uint32_t((data[i] - '0') * 10 + (data[i + 1] - '0')), 7);
        else if (data.size() - i == 1)
            out.Put(uint32_t(data[i] - '0'), 4);
    } else if (mode == 'A') {
        for (; i + 2 <= data.size(); i += 2)
            out.Put(uint32_t(AlphanumericValue(data[i]) * 45 + AlphanumericValue(data[i + 1])), 11);
        if (i < data.size())
            out.Put(uint32_t(AlphanumericValue(data[i])), 6);
    } else {
        for (uint8_t byte : data)
            out.Put(byte, 8);
    }
}

// The codewords in symbol order: data then error correction, each
// interleaved block by block.
std::vector<uint8_t> InterleavedCodewords(const std::vector<uint8_t>& data, int version, char level)
{
    const int row = LevelRow(level);
    const int blocks = kBlocks[row][version];
    const int ecc = kEccPerBlock[row][version];
    const int total = kTotalCodewords[std::size_t(version)];
    const int shortBlock = total / blocks;  // codewords of a block of the first group
    const int shortBlocks = blocks - total % blocks;
    const int shortData = shortBlock - ecc;

    std::vector<std::vector<uint8_t>> dataBlocks;
    std::vector<std::vector<uint8_t>> eccBlocks;
    std::size_t offset = 0;
    for (int b = 0; b < blocks; ++b) {
        const std::size_t length = std::size_t(shortData + (b < shortBlocks ? 0 : 1));
        dataBlocks.emplace_back(data.begin() + std::ptrdiff_t(offset),
                                data.begin() + std::ptrdiff_t(offset + length));
        eccBlocks.push_back(ErrorCorrection(dataBlocks.back(), ecc));
        offset += length;
    }
    std::vector<uint8_t> result;
    result.reserve(std::size_t(total));
    for (int i = 0; i <= shortData; ++i)
        for (const auto& block : dataBlocks)
            if (std::size_t(i) < block.size())
                result.push_back(block[std::size_t(i)]);
    for (int i = 0; i < ecc; ++i)
        for (const auto& block : eccBlocks)
            result.push_back(block[std::size_t(i)]);
    return result;
}

std::vector<int> AlignmentCentres(int version)
{
    if (version == 1)
        return {};
    const int count = version / 7 + 2;
    const int size = 4 * version + 17;
    // Equal steps from the far side back to column 6; the steps are even and
    // version 32 is the one the standard spaces differently.
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> centres(static_cast<std::size_t>(count));
    centres[0] = 6;
    for (int k = count - 1, position = size - 7; k >= 1; --k, position -= step)
        centres[std::size_t(k)] = position;
    return centres;
}

class TMatrix {
public:
    explicit TMatrix(int version)
        : version_(version), size_(4 * version + 17), dark_(std::size_t(size_ * size_), 0),
          reserved_(std::size_t(size_ * size_), 0)
    {
        DrawFunctionPatterns();
    }

    int Size() const { return size_; }
    bool Reserved(int row, int column) const { return reserved_[Index(row, column)] != 0; }

    void Place(const std::vector<uint8_t>& codewords)
    {
        const std::size_t totalBits = codewords.size() * 8;
        std::size_t bit = 0;
        for (int right = size_ - 1; right >= 1; right -= 2) {
            if (right == 6)
                right = 5;  // the vertical timing column is skipped whole
            const bool upward = ((size_ - 1 - right) / 2) % 2 == 0;
            for (int step = 0; step < size_; ++step) {
                const int row = upward ? size_ - 1 - step : step;
                for (int column = right; column >= right - 1; --column) {
                    if (Reserved(row, column))
                        continue;
                    if (bit < totalBits)
                        dark_[Index(row, column)] = (codewords[bit / 8] >> (7 - bit % 8)) & 1;
                    ++bit;
                }
            }
        }
    }

    void ApplyMask(int mask)
    {
        for (int row = 0; row < size_; ++row)
            for (int column = 0; column < size_; ++column)
                if (!Reserved(row, column) && MaskHits(mask, row, column))
                    dark_[Index(row, column)] ^= 1;
    }

    void DrawFormat(char level, int mask)
    {
        const int data = LevelFormatBits(level) << 3 | mask;
        int remainder = data;
        for (int i = 0; i < 10; ++i)
            remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
        const int bits = ((data << 10) | remainder) ^ 0x5412;
        auto bitAt = [bits](int i) { return (bits >> i) & 1; };
        // Around the top-left finder.
        for (int i = 0; i <= 5; ++i)
            Set(i, 8, bitAt(i));
        Set(7, 8, bitAt(6));
        Set(8, 8, bitAt(7));
        Set(8, 7, bitAt(8));
        for (int i = 9; i < 15; ++i)
            Set(8, 14 - i, bitAt(i));
        // The copy split between the other two finders.
        for (int i = 0; i < 8; ++i)
            Set(8, size_ - 1 - i, bitAt(i));
        for (int i = 8; i < 15; ++i)
            Set(size_ - 15 + i, 8, bitAt(i));
        Set(size_ - 8, 8, 1);
    }

    TSymbol Finish(int mask) const
    {
        TSymbol symbol;
        symbol.Version = version_;
        symbol.Mask = mask;
        symbol.Size = size_;
        symbol.Modules = dark_;
        return symbol;
    }

private:
    std::size_t Index(int row, int column) const { return std::size_t(row) * size_ + column; }

    void Set(int row, int column, int value)
    {
        dark_[Index(row, column)] = uint8_t(value);
        reserved_[Index(row, column)] = 1;
    }

    static bool MaskHits(int mask, int i, int j)
    {
        switch (mask) {
        case 0: return (i + j) % 2 == 0;
        case 1: return i % 2 == 0;
        case 2: return j % 3 == 0;
        case 3: return (i + j) % 3 == 0;
        case 4: return (i / 2 + j / 3) % 2 == 0;
        case 5: return (i * j) % 2 + (i * j) % 3 == 0;
        case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
        }
    }

    void DrawFunctionPatterns()
    {
        for (int i = 0; i < size_; ++i) {
            Set(6, i, i % 2 == 0);
            Set(i, 6, i % 2 == 0);
        }
        DrawFinder(3, 3);
        DrawFinder(3, size_ - 4);
        DrawFinder(size_ - 4, 3);

        const std::vector<int> centres = AlignmentCentres(version_);
        const std::size_t last = centres.empty() ? 0 : centres.size() - 1;
        for (std::size_t a = 0; a < centres.size(); ++a)
            for (std::size_t b = 0; b < centres.size(); ++b) {
                const bool onFinder = (a == 0 && b == 0) || (a == 0 && b == last) || (a == last && b == 0);
                if (!onFinder)
                    DrawAlignment(centres[a], centres[b]);
            }

        DrawFormat('M', 0);  // reserves the areas; the real bits come last
        if (version_ >= 7) {
            int remainder = version_;
            for (int i = 0; i < 12; ++i)
                remainder = (remainder << 1) ^ ((remainder >> 11) * 0x1F25);
            const int bits = version_ << 12 | remainder;
            for (int i = 0; i < 18; ++i) {
                const int bit = (bits >> i) & 1;
                const int near = size_ - 11 + i % 3;
                const int far = i / 3;
                Set(far, near, bit);
                Set(near, far, bit);
            }
        }
    }

    void DrawFinder(int centreRow, int centreColumn)
    {
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                const int row = centreRow + dy;
                const int column = centreColumn + dx;
                if (row < 0 || row >= size_ || column < 0 || column >= size_)
                    continue;
                const int distance = std::max(std::abs(dx), std::abs(dy));
                Set(row, column, distance != 2 && distance != 4);
            }
    }

    void DrawAlignment(int centreRow, int centreColumn)
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                Set(centreRow + dy, centreColumn + dx, std::max(std::abs(dx), std::abs(dy)) != 1);
    }

    int version_;
    int size_;
    std::vector<uint8_t> dark_;
    std::vector<uint8_t> reserved_;
};

// Scores one line of modules (a row or a column) for runs and finder-like
// patterns. The line sits in `padded` after four light modules and is
// followed by four more, as the quiet zone lies around the symbol.
int LinePenalty(const uint8_t* padded, int n)
{
    const uint8_t* line = padded + 4;
    int score = 0;
    int run = 1;
    for (int k = 1; k <= n; ++k) {
        if (k < n && line[k] == line[k - 1]) {
            ++run;
            continue;
        }
        if (run >= 5)
            score += 3 + (run - 5);
        run = 1;
    }
    // 1:1:3:1:1 (dark first) with four light modules on either side.
    unsigned window = 0;
    for (int k = 0; k < n; ++k) {
        window = ((window << 1) | line[k]) & 0x7F;
        if (window != 0x5D)
            continue;
        const uint8_t* before = line + k - 10;
        const uint8_t* after = line + k + 1;
        if ((before[0] | before[1] | before[2] | before[3]) == 0 || (after[0] | after[1] | after[2] | after[3]) == 0)
            score += 40;
    }
    return score;
}

}  // namespace

char DetectMode(std::span<const uint8_t> data)
{
    if (data.empty())
        return '8';
    if (std::all_of(data.begin(), data.end(), [](uint8_t c) { return c >= '0' && c <= '9'; }))
        return '0';
    if (std::all_of(data.begin(), data.end(), [](uint8_t c) { return AlphanumericValue(c) >= 0; }))
        return 'A';
    return '8';
}

bool ModeCarries(char mode, std::span<const uint8_t> data)
{
    if (mode == '0')
        return std::all_of(data.begin(), data.end(), [](uint8_t c) { return c >= '0' && c <= '9'; });
    if (mode == 'A')
        return std::all_of(data.begin(), data.end(), [](uint8_t c) { return AlphanumericValue(c) >= 0; });
    return true;
}

int DataCodewords(int version, char level)
{
    const int row = LevelRow(level);
    if (version < 1 || version > 40 || row < 0)
        return 0;
    return kTotalCodewords[std::size_t(version)] - kBlocks[row][version] * kEccPerBlock[row][version];
}

int64_t StreamBits(char mode, std::size_t count, int version)
{
    const int64_t n = int64_t(count);
    int64_t dataBits = 0;
    if (mode == '0')
        dataBits = n / 3 * 10 + (n % 3 == 2 ? 7 : n % 3 == 1 ? 4 : 0);
    else if (mode == 'A')
        dataBits = n / 2 * 11 + (n % 2) * 6;
    else
        dataBits = n * 8;
    return 4 + CountBits(mode, version) + dataBits;
}

int Penalty(const TSymbol& symbol)
{
    const int size = symbol.Size;
    const uint8_t* modules = symbol.Modules.data();
    int score = 0;
    std::vector<uint8_t> padded(static_cast<std::size_t>(size) + 8, 0);
    for (int row = 0; row < size; ++row) {
        std::copy(modules + std::ptrdiff_t(row) * size, modules + std::ptrdiff_t(row + 1) * size, padded.begin() + 4);
        score += LinePenalty(padded.data(), size);
    }
    for (int column = 0; column < size; ++column) {
        for (int row = 0; row < size; ++row)
            padded[std::size_t(row) + 4] = modules[std::size_t(row) * size + column];
        score += LinePenalty(padded.data(), size);
    }
    for (int row = 0; row + 1 < size; ++row) {
        const uint8_t* top = modules + std::ptrdiff_t(row) * size;
        const uint8_t* bottom = top + size;
        for (int column = 0; column + 1 < size; ++column) {
            const int sum = top[column] + top[column + 1] + bottom[column] + bottom[column + 1];
            if (sum == 0 || sum == 4)
                score += 3;
        }
    }
    const auto darkCount = std::count(symbol.Modules.begin(), symbol.Modules.end(), uint8_t(1));
    const int64_t percent = int64_t(darkCount) * 100 / int64_t(symbol.Modules.size());
    score += int(10 * (std::abs(50 - percent) / 5));
    return score;
}

std::optional<TSymbol> Encode(std::span<const uint8_t> data, const TEncodeOptions& options)
{
    if (LevelRow(options.Level) < 0)
        return std::nullopt;
    char mode = options.Mode;
    if ((mode != '0' && mode != 'A' && mode != '8') || !ModeCarries(mode, data))
        mode = DetectMode(data);

    auto fits = [&](int version) {
        if (data.size() >= (std::size_t(1) << CountBits(mode, version)))
            return false;
        return StreamBits(mode, data.size(), version) <= int64_t(DataCodewords(version, options.Level)) * 8;
    };
    int version = options.Version;
    if (version == 0) {
        version = 1;
        while (version <= 40 && !fits(version))
            ++version;
        if (version > 40)
            return std::nullopt;
    } else if (version < 1 || version > 40 || !fits(version)) {
        return std::nullopt;
    }

    const int capacityBits = DataCodewords(version, options.Level) * 8;
    TBitWriter stream;
    PutData(stream, mode, data, version);
    stream.Put(0, int(std::min<std::size_t>(4, std::size_t(capacityBits) - stream.Size())));
    std::vector<uint8_t> codewords = stream.Bytes();
    for (uint8_t pad = 0xEC; codewords.size() < std::size_t(capacityBits / 8); pad ^= 0xEC ^ 0x11)
        codewords.push_back(pad);

    TMatrix matrix(version);
    matrix.Place(InterleavedCodewords(codewords, version, options.Level));

    int mask = options.Mask;
    if (mask < 0 || mask > 7) {
        int best = -1;
        int bestScore = 0;
        for (int candidate = 0; candidate < 8; ++candidate) {
            matrix.ApplyMask(candidate);
            matrix.DrawFormat(options.Level, candidate);
            const int score = Penalty(matrix.Finish(candidate));
            if (best < 0 || score < bestScore) {
                best = candidate;
                bestScore = score;
            }
            matrix.ApplyMask(candidate);  // masking twice restores the data bits
        }
        mask = best;
    }
    matrix.ApplyMask(mask);
    matrix.DrawFormat(options.Level, mask);
    return matrix.Finish(mask);
}

}  // namespace orvella::qr
