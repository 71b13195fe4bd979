#pragma once
// The barcode and QR Code readers and encoders the project did not write,
// run as programs: zbarimg (zbar-tools), ZXingReader (zxing-cpp-tools),
// python3-segno through tests/oracles/qr_matrix.py, and zint.

#include <string>
#include <vector>

namespace orvella::test {

bool HaveZbar();
bool HaveZxing();
bool HaveSegno();
bool HaveZint();

// The bytes of the symbol zbarimg finds in a picture of one symbol, without
// its type or a line end; empty when none.
std::string ZbarDecode(const std::string& pictureFile);
// The bytes of the first symbol ZXingReader finds; empty when none.
std::string ZxingDecode(const std::string& pictureFile);
// segno's matrix for the data, one string of '0' and '1' per row.
std::vector<std::string> SegnoMatrix(const std::string& data, char mode, int version, char level, int mask);

}  // namespace orvella::test
