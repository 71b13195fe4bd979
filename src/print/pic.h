#pragma once
// The Epson printing-information library: an object made by the library,
// asked about the printer and its printing area. Each entry point takes the
// library's object handle first and answers 0 for success; a non-zero
// answer is raised as EPICError. The entry points come from the installed
// driver back-end (driver_backend.h); a table missing any of them cannot
// make an object.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace orvella {

class EPICError : public std::runtime_error {
public:
    explicit EPICError(int32_t code);
    int32_t Code() const { return code_; }

private:
    int32_t code_;
};

using TPicHandle = void*;
using TPicBytes = std::span<uint8_t>;

// The library's entry points, named after them without "PIC_".
struct TPicLibrary {
    std::function<TPicHandle(int32_t version)> Create_CPic;
    std::function<void(TPicHandle)> Destroy_CPic;
    std::function<TPicHandle(int32_t version)> Create_CPicPreset;
    std::function<void(TPicHandle)> Destroy_CPicPreset;
    std::function<int32_t(TPicHandle, TPicBytes status, TPicBytes deviceName)> PrinterSpecifies;
    std::function<int32_t(TPicHandle)> SetToDriver;
    std::function<int32_t(TPicHandle, TPicBytes a, TPicBytes b)> GetDevMode;
    std::function<int32_t(TPicHandle, TPicBytes devModeA)> SetDevMode;
    std::function<int32_t(TPicHandle, TPicBytes record)> GetPrintingInfo;
    std::function<int32_t(TPicHandle, TPicBytes a)> PrintDialog;
    std::function<int32_t(TPicHandle, TPicBytes a, TPicBytes b)> SetData;
    std::function<int32_t(TPicHandle, TPicBytes a, TPicBytes b)> GetData;
    std::function<int32_t(TPicHandle, TPicBytes a)> GetRange;
    std::function<int32_t(TPicHandle, TPicBytes a, TPicBytes b, TPicBytes c)> GetString;
    std::function<int32_t(TPicHandle, int32_t& found, TPicBytes name, TPicBytes criteria)> SelectPreset;
    std::function<int32_t(TPicHandle, int32_t a, int32_t b)> GetPresetOfIndex;
    std::function<int32_t(TPicHandle, int32_t a, int32_t b)> GetPresetOfPresetID;
    std::function<int32_t(TPicHandle, int32_t a, int32_t b)> SetPresetOfIndex;
    std::function<int32_t(TPicHandle, int32_t a, int32_t b)> SetPresetOfPresetID;

    // All nineteen entry points are there.
    bool Complete() const;
};

class TPic {
public:
    // Raises EPICError(-1) when the library cannot make an object.
    explicit TPic(std::shared_ptr<const TPicLibrary> library);
    virtual ~TPic();
    TPic(const TPic&) = delete;
    TPic& operator=(const TPic&) = delete;

    void PrinterSpecifies(TPicBytes status, TPicBytes deviceName);
    void SetToDriver();
    void GetDevMode(TPicBytes a, TPicBytes b);
    void SetDevMode(TPicBytes devModeA);
    void GetPrintingInfo(TPicBytes record);
    void PrintDialog(TPicBytes a);
    void SetData(TPicBytes a, TPicBytes b);
    void GetData(TPicBytes a, TPicBytes b);
    void GetRange(TPicBytes a);
    void GetString(TPicBytes a, TPicBytes b, TPicBytes c);

protected:
    struct Preset {};
    TPic(std::shared_ptr<const TPicLibrary> library, Preset);
    static void check(int32_t result);

    std::shared_ptr<const TPicLibrary> library_;
    TPicHandle handle_ = nullptr;
    bool preset_ = false;
};

class TPicPreset : public TPic {
public:
    explicit TPicPreset(std::shared_ptr<const TPicLibrary> library);

    bool SelectPreset(TPicBytes name, TPicBytes criteria);
    void GetPresetOfIndex(int32_t a, int32_t b);
    void GetPresetOfPresetID(int32_t a, int32_t b);
    void SetPresetOfIndex(int32_t a, int32_t b);
    void SetPresetOfPresetID(int32_t a, int32_t b);
};

// Record sizes and offsets of the disc geometry query.
namespace pic {
inline constexpr std::size_t kStatusSize = 8;
inline constexpr std::size_t kNameSize = 261;
inline constexpr std::size_t kCriteriaSize = 152;
inline constexpr std::size_t kDataASize = 1024;
inline constexpr std::size_t kDataBSize = 1072;
inline constexpr std::size_t kPrintingInfoSize = 960;
inline constexpr int32_t kNotSupported = 99;
inline constexpr int32_t kMediaDiscLabel = 283;
// Fields of the printing-information record (byte offsets of 32-bit values).
inline constexpr std::size_t kTrayHeightDots = 4;
inline constexpr std::size_t kTrayWidthDots = 8;
inline constexpr std::size_t kVerticalDpi = 20;
inline constexpr std::size_t kHorizontalDpi = 24;
inline constexpr std::size_t kCenterYDots = 832;
inline constexpr std::size_t kCenterXDots = 836;
}  // namespace pic

// Little-endian 32-bit fields of the records.
int32_t ReadInt32(std::span<const uint8_t> bytes, std::size_t offset);
void WriteInt32(std::span<uint8_t> bytes, std::size_t offset, int32_t value);

}  // namespace orvella
