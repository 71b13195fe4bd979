// The QR code's inputs from documents and pasted objects: the stored
// "QRData" payload, the contents fields of a QR object and whatever bytes
// and choices reach the encoder.

#include "formats/byte_reader.h"
#include "formats/stream_format.h"
#include "objects/lo_qr_code.h"
#include "objects/qr_contents.h"
#include "objects/qr_encoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace orvella;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // A stored payload: taken only when its length fits.
    try {
        TByteReader reader(bytes);
        const std::string stored = ReadQRDataPayload(reader);
        Check(stored.size() + 4 <= size);
        Check(QRDataPayload(stored) == bytes.substr(0, stored.size() + 4));
    } catch (const EReadError&) {
    }

    if (size < 3)
        return 0;
    // The first three bytes choose, the rest is the data.
    static const char kModes[] = {'0', 'A', '8', 'x'};
    static const char kLevels[] = {'L', 'M', 'Q', 'H', '?'};
    qr::TEncodeOptions options;
    options.Mode = kModes[data[0] % 4];
    options.Level = kLevels[data[1] % 5];
    options.Version = data[2] % 42;  // 41 is out of range
    options.Mask = int(data[0] >> 2) % 10 - 1;
    const std::span<const uint8_t> payload(data + 3, size - 3);
    if (const auto symbol = qr::Encode(payload, options)) {
        Check(symbol->Version >= 1 && symbol->Version <= 40);
        Check(symbol->Size == 4 * symbol->Version + 17);
        Check(symbol->Modules.size() == std::size_t(symbol->Size) * std::size_t(symbol->Size));
        Check(symbol->Mask >= 0 && symbol->Mask <= 7);
        Check(options.Version == 0 || options.Version == symbol->Version);
    }

    // Contents fields separated by zero bytes.
    std::vector<std::string> fields(9);
    std::size_t field = 0;
    for (std::size_t i = 3; i < size && field < fields.size(); ++i) {
        if (data[i] == 0)
            ++field;
        else
            fields[field] += char(data[i]);
    }
    TStdQRContents contents;
    contents.Type = TStdQRType(data[0] % 3);
    contents.Kind = TStdQRKind(data[1] % 3);
    contents.NameCommaDevide = data[2] & 1;
    contents.FuriganaHankaku = data[2] & 2;
    contents.Name = fields[0];
    contents.Furigana = fields[1];
    contents.Tel1 = fields[2];
    contents.Tel2 = fields[3];
    contents.Email1 = fields[4];
    contents.Email2 = fields[5];
    contents.UrlTitle = fields[6];
    contents.Url = fields[7];
    contents.Text = {fields[8], fields[0]};
    const auto built = BuildStdQRData(contents);
    Check(built.has_value() == (contents.Type != TStdQRType::sqtAU));
    return 0;
}
