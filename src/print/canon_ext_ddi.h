#pragma once
// The Canon disc-printer driver extension: one entry point taking a
// command, an item and a buffer, answering 0 for success. Vendor drivers
// do not exist on this system, so the entry point comes from the installed
// driver back-end (driver_backend.h); without one every question gets its
// neutral answer.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace orvella {

class TPrinterConfiguration;

namespace canon {
// Commands.
inline constexpr uint32_t kItemType = 0;
inline constexpr uint32_t kItemCount = 1;
inline constexpr uint32_t kGetValue = 2;
inline constexpr uint32_t kSetValue = 3;
inline constexpr uint32_t kChoices = 4;
inline constexpr uint32_t kExchangeBlock = 6;
inline constexpr uint32_t kChoiceNames = 7;
inline constexpr uint32_t kAuxiliary = 8;
// Items.
inline constexpr uint32_t kVersion = 1;
inline constexpr uint32_t kDeviceMode = 2;
inline constexpr uint32_t kCartridge = 3;
inline constexpr uint32_t kMediaType = 4;
inline constexpr uint32_t kQuality = 5;
inline constexpr uint32_t kTrayFormId = 11;  // with kAuxiliary
inline constexpr uint32_t kTwoChoiceSetting = 21;
inline constexpr uint32_t kPrintableRect = 22;
inline constexpr uint32_t kDiscInfo = 48;
// The value type of a list of 32-bit integers.
inline constexpr int32_t kTypeIntegerList = 4;
// The printable disc media.
inline constexpr int32_t kMediaDisc1 = 31;
inline constexpr int32_t kMediaDisc2 = 32;
}  // namespace canon

// The extension's entry point as a back-end offers it: (printer, command,
// item, buffer) → result, 0 for success.
using TCanonEntryPoint =
    std::function<int32_t(TPrinterConfiguration& printer, uint32_t command, uint32_t item, std::span<uint8_t> buffer)>;

// Reaches the extension for one printer. A caller without an entry point
// answers every call with 1 (failure).
class TExtDDICaller {
public:
    TExtDDICaller(TPrinterConfiguration& printer, TCanonEntryPoint entry);
    virtual ~TExtDDICaller() = default;
    virtual int32_t Call(uint32_t command, uint32_t item, std::span<uint8_t> buffer);
    // Hands the configuration's current device mode (wide form) to the driver.
    virtual void ApplyDeviceMode();

protected:
    TPrinterConfiguration& printer_;
    TCanonEntryPoint entry_;
};

// The disc information of item 48: the tray's form identifier in front,
// then the disc centre in hundredths of a millimetre.
struct TCanonDiscInfo {
    uint32_t FormId = 0;
    uint32_t CenterX = 0;
    uint32_t CenterY = 0;
    uint32_t Reserved1 = 0;
    uint32_t Reserved2 = 0;
};

struct TCanonRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

class ImCanonExtDDI {
public:
    virtual ~ImCanonExtDDI() = default;
    virtual TPrinterConfiguration& GetPrinterConfiguration() = 0;
    virtual int32_t CallExtension(uint32_t command, uint32_t item, std::span<uint8_t> buffer, int32_t& error) = 0;
    virtual int32_t GetItemType(uint32_t item) = 0;
    virtual int32_t GetItemCount(uint32_t item) = 0;
    virtual std::string GetItemNames(uint32_t item) = 0;
    virtual std::vector<int32_t> GetItemValues(uint32_t item) = 0;
    virtual TCanonDiscInfo GetDiscInfo() = 0;
    virtual std::vector<int32_t> GetQualityValues() = 0;
    virtual std::string GetQualityNames() = 0;
    virtual int32_t GetQualityPairValue() = 0;
    virtual TCanonRect GetPrintableRect() = 0;
    virtual int32_t GetItemBlock(uint32_t item) = 0;
    virtual int32_t GetItemValue(uint32_t item) = 0;
    virtual bool SetItemValue(uint32_t item, int32_t value, bool validate) = 0;
    virtual int32_t IndexOfItemValue(uint32_t item) = 0;
    virtual bool SetItemValueByIndex(uint32_t item, int32_t index) = 0;
    virtual bool IsAvailable() = 0;
    virtual void ApplyDeviceMode() = 0;
};

class TCanonExtDDI : public ImCanonExtDDI {
public:
    // Takes the caller (null: unavailable) and drops it again unless the
    // interface version's high 16 bits are 1.
    TCanonExtDDI(TPrinterConfiguration& printer, std::unique_ptr<TExtDDICaller> caller);

    TPrinterConfiguration& GetPrinterConfiguration() override { return printer_; }
    int32_t CallExtension(uint32_t command, uint32_t item, std::span<uint8_t> buffer, int32_t& error) override;
    int32_t GetItemType(uint32_t item) override;
    int32_t GetItemCount(uint32_t item) override;
    std::string GetItemNames(uint32_t item) override;
    std::vector<int32_t> GetItemValues(uint32_t item) override;
    TCanonDiscInfo GetDiscInfo() override;
    std::vector<int32_t> GetQualityValues() override;
    std::string GetQualityNames() override;
    int32_t GetQualityPairValue() override;
    TCanonRect GetPrintableRect() override;
    int32_t GetItemBlock(uint32_t item) override;
    int32_t GetItemValue(uint32_t item) override;
    bool SetItemValue(uint32_t item, int32_t value, bool validate) override;
    int32_t IndexOfItemValue(uint32_t item) override;
    bool SetItemValueByIndex(uint32_t item, int32_t index) override;
    bool IsAvailable() override { return caller_ != nullptr; }
    void ApplyDeviceMode() override;

private:
    // The (choice, value) pairs of the quality item.
    std::vector<std::pair<int32_t, int32_t>> qualityPairs();
    // A command answering one 32-bit value; 0 on error.
    int32_t askInteger(uint32_t command, uint32_t item);

    TPrinterConfiguration& printer_;
    std::unique_ptr<TExtDDICaller> caller_;
};

// The extension for the printer: none when the setting "EnableExtDDI" is
// off or the installed back-end has no entry point for the printer.
std::unique_ptr<ImCanonExtDDI> CreateCanonExtDDI(TPrinterConfiguration& printer);

}  // namespace orvella
