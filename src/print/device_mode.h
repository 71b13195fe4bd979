#pragma once
// A printer device-mode record kept in the Windows layout in memory, in
// the ANSI layout (156 fixed bytes) or the wide layout (220 fixed bytes),
// followed by the driver's private bytes. Driver code that reads the
// record's fields finds them where it expects them. Records come from
// drivers and files: everything is bounds-checked.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvella {

inline constexpr uint16_t kDevModeSizeA = 156;
inline constexpr uint16_t kDevModeSizeW = 220;

// Field offsets in the ANSI layout.
namespace devmode {
inline constexpr std::size_t kSpecVersion = 32;
inline constexpr std::size_t kSize = 36;
inline constexpr std::size_t kDriverExtra = 38;
inline constexpr std::size_t kFields = 40;
inline constexpr std::size_t kOrientation = 44;
inline constexpr std::size_t kPaperSize = 46;
inline constexpr std::size_t kPaperLength = 48;
inline constexpr std::size_t kPaperWidth = 50;
inline constexpr std::size_t kDefaultSource = 56;
inline constexpr std::size_t kMediaType = 132;
inline constexpr std::size_t kFormName = 70;
inline constexpr std::size_t kLogPixels = 102;
// The wide layout moves everything after the device name by 32 bytes and
// everything after the form name by 64.
inline constexpr std::size_t kWideShift = 32;
// The field bits of the paper's length and width.
inline constexpr uint32_t kFieldPaperLength = 0x4;
inline constexpr uint32_t kFieldPaperWidth = 0x8;
}  // namespace devmode

class TmDeviceMode {
public:
    // An empty ANSI record: 156 zero bytes, its size field 156.
    TmDeviceMode();

    // The record in the ANSI or wide layout, converted first when needed
    // (the buffer then stays in that layout).
    const std::vector<uint8_t>& GetDevModeA();
    const std::vector<uint8_t>& GetDevModeW();
    const std::vector<uint8_t>& DevMode() { return GetDevModeA(); }
    bool IsWide() const { return wide_; }

    // A whole memory block holding an ANSI record; none gives the empty
    // record. A size field of 0 counts as 156.
    void LoadFromHandle(std::optional<std::span<const uint8_t>> block);
    // An ANSI record: its size plus driver-extra bytes (as far as given).
    void LoadFromDevMode(std::span<const uint8_t> record);
    void Assign(TmDeviceMode& other) { LoadFromDevMode(other.GetDevModeA()); }
    // A copy of the ANSI record for whoever takes it over.
    std::vector<uint8_t> CreateHandle() { return GetDevModeA(); }

    // Fields read from either layout.
    uint16_t Size() const;
    uint16_t DriverExtra() const;
    uint32_t Fields() const;
    int16_t Orientation() const;
    int16_t PaperSize() const;
    std::string DeviceName() const;  // UTF-8
    std::string FormName() const;    // UTF-8
    void SetDeviceName(const std::string& utf8);
    void SetOrientation(int16_t value);
    void SetFields(uint32_t value);
    void SetPaperSize(int16_t value);
    // The paper's length and width in 0.1 mm.
    void SetPaperLength(int16_t value);
    void SetPaperWidth(int16_t value);
    int16_t DefaultSource() const;
    void SetDefaultSource(int16_t value);
    int32_t MediaType() const;
    void SetMediaType(int32_t value);

private:
    std::size_t at(std::size_t ansiOffset) const;
    uint16_t word(std::size_t ansiOffset) const;
    void setWord(std::size_t ansiOffset, uint16_t value);
    void toWide();
    void toAnsi();

    std::vector<uint8_t> bytes_;
    bool wide_ = false;
};

}  // namespace orvella
