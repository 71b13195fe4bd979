#pragma once
// The QR Code (model 2) encoder core over plain bytes: mode detection, the
// bit stream, version choice, Reed-Solomon blocks, module placement, masking
// and the format and version information. No Qt; TQRCode renders what it
// builds.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvella::qr {

// Modes are the stored characters: '0' numeric, 'A' alphanumeric, '8' bytes.
// Levels are 'L', 'M', 'Q', 'H'.

// '8' for empty data, '0' when every byte is a digit, 'A' when every byte is
// in the 45-character set, else '8'.
char DetectMode(std::span<const uint8_t> data);
// Whether every byte can be carried in the mode.
bool ModeCarries(char mode, std::span<const uint8_t> data);

// The number of data codewords of a version (1..40) at a level; 0 for
// values outside the ranges.
int DataCodewords(int version, char level);
// The bits a stream in the mode with count characters needs at the version,
// mode indicator and count field included.
int64_t StreamBits(char mode, std::size_t count, int version);

struct TSymbol {
    int Version = 0;
    int Mask = 0;
    int Size = 0;
    // Row-major Size x Size; 1 is dark.
    std::vector<uint8_t> Modules;

    bool Dark(int row, int column) const { return Modules[std::size_t(row) * Size + column] != 0; }
};

struct TEncodeOptions {
    char Mode = '8';
    int Version = 0;  // 0 chooses the smallest that holds the data
    int Mask = -1;    // -1 chooses by the penalty evaluation
    char Level = 'M';
};

// The symbol, or nothing when the data does not fit the version (or version
// 40 when the version is chosen). A mode that cannot carry every byte of the
// data is widened to the detected one, so the symbol always reads back as
// the data.
std::optional<TSymbol> Encode(std::span<const uint8_t> data, const TEncodeOptions& options);

// The standard's evaluation of a finished, masked symbol; lower is better.
int Penalty(const TSymbol& symbol);

}  // namespace orvella::qr
