#pragma once
// The Epson driver settings library: a connection to the driver through
// which data items are read and written. The library comes from the
// installed driver back-end (driver_backend.h), only for printers whose
// driver name contains "EPSON"; without it every question gets its
// neutral answer (no choices, value 0, paper source 7, command level -1).
// Where the vendor's records hold a pointer to further data (a range's
// values, a media name's text), that data follows the record in the same
// buffer here.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace orvella {

class TPrinterConfiguration;

using TEpdmConnection = void*;

struct TEpdmLibrary {
    std::function<int32_t(const std::string& device, const std::string& port, int32_t mode,
                          std::span<uint8_t> devModeA, TEpdmConnection& connection)>
        EPDM_Open;
    std::function<void(TEpdmConnection)> EPDM_Close;
    // With an empty buffer: the number of 16-bit values; else non-zero on success.
    std::function<int32_t(TEpdmConnection, std::span<uint16_t> info)> EPDM_GetDriverInfo;
    std::function<int32_t(TEpdmConnection, int32_t data)> EPDM_GetCommandLevel;
    std::function<int32_t(TEpdmConnection, int32_t data, std::span<uint8_t> buffer)> EPDM_GetRange;
    std::function<int32_t(TEpdmConnection, int32_t data, std::span<uint8_t> buffer)> EPDM_GetData;
    std::function<int32_t(TEpdmConnection, int32_t data, std::span<uint8_t> buffer)> EPDM_SetData;
    std::function<int32_t(TEpdmConnection, std::span<uint8_t> devModeA)> EPDM_GetDevMode;
    // Looked up with the others but never called.
    std::function<int32_t()> EPDM_CreateDC;
    std::function<int32_t()> EPDM_ResetDC;
    std::function<int32_t()> EPDM_DeleteDC;
    std::function<int32_t()> EPDM_UpdateDevMode;

    // All twelve entry points are there.
    bool Complete() const;
};

namespace epson {
inline constexpr int32_t kUserPaperSize = 30;
inline constexpr int32_t kPaperSource = 40;
inline constexpr int32_t kMediaTypes = 60;
inline constexpr int32_t kQuality = 70;
inline constexpr int32_t kItem201 = 201;
inline constexpr int32_t kItem204 = 204;
inline constexpr int32_t kItem205 = 205;
inline constexpr int32_t kMediaName = 213;
inline constexpr int32_t kItem230 = 230;
inline constexpr int32_t kNoPaperSource = 7;
inline constexpr int32_t kDiscTraySource = 4;
}  // namespace epson

struct TEpsonQuality {
    uint16_t Mode = 0;   // 1: recommended settings; else detailed ones made in the driver
    uint16_t Level = 0;  // 1: finest
    uint16_t Media = 0;
    uint16_t Fourth = 0;
    friend bool operator==(const TEpsonQuality&, const TEpsonQuality&) = default;
};

// The name of an Epson media type when the driver gives none.
std::string EpsonMediaTypeName(int32_t type);

class ImEpsonEPDI {
public:
    virtual ~ImEpsonEPDI() = default;
    virtual TPrinterConfiguration& GetPrinterConfiguration() = 0;
    virtual int32_t GetDriverType() = 0;
    virtual std::string GetMediaName(int32_t type) = 0;
    virtual TEpsonQuality GetQualitySetting() = 0;
    virtual bool SetQualitySetting(const TEpsonQuality& quality) = 0;
    virtual int32_t GetPaperSource() = 0;
    virtual bool SetPaperSource(int32_t source) = 0;
    virtual int32_t GetItem201() = 0;
    virtual bool SetItem201(int32_t value) = 0;
    virtual void GetUserPaperSize(int32_t& width, int32_t& height) = 0;
    virtual bool SetUserPaperSize(int32_t width, int32_t height) = 0;
    virtual int32_t GetItem205() = 0;
    virtual bool SetItem205(int32_t value) = 0;
    virtual int32_t GetItem204() = 0;
    virtual bool SetItem204(int32_t value) = 0;
    virtual std::array<uint8_t, 48> GetItem230() = 0;
    virtual int32_t GetQualityLevelCount() = 0;
    virtual std::vector<int32_t> GetMediaRange() = 0;
    virtual std::vector<int32_t> GetPaperSourceRange() = 0;
    virtual std::vector<int32_t> GetRange201() = 0;
    virtual bool IsOpen() = 0;
    virtual void ReopenForDriverType() = 0;
    virtual bool HasAlternateSource() = 0;
    virtual void SelectAlternateSource(bool on) = 0;
    virtual bool IsAlternateSourceSelected() = 0;
    virtual void ReadDeviceMode() = 0;
    virtual void Reopen() = 0;
    virtual int32_t GetCommandLevel(int32_t data) = 0;
};

class TEPDI : public ImEpsonEPDI {
public:
    // Opens a connection in mode 2 when the printer's driver is an Epson
    // one and the back-end has the library for it.
    explicit TEPDI(TPrinterConfiguration& printer);
    ~TEPDI() override;
    TEPDI(const TEPDI&) = delete;
    TEPDI& operator=(const TEPDI&) = delete;

    TPrinterConfiguration& GetPrinterConfiguration() override { return printer_; }
    int32_t GetDriverType() override;
    std::string GetMediaName(int32_t type) override;
    TEpsonQuality GetQualitySetting() override;
    bool SetQualitySetting(const TEpsonQuality& quality) override;
    int32_t GetPaperSource() override;
    bool SetPaperSource(int32_t source) override;
    int32_t GetItem201() override;
    bool SetItem201(int32_t value) override;
    void GetUserPaperSize(int32_t& width, int32_t& height) override;
    bool SetUserPaperSize(int32_t width, int32_t height) override;
    int32_t GetItem205() override { return getRecord(epson::kItem205); }
    bool SetItem205(int32_t value) override { return setRecord(epson::kItem205, value); }
    int32_t GetItem204() override { return getRecord(epson::kItem204); }
    bool SetItem204(int32_t value) override { return setRecord(epson::kItem204, value); }
    std::array<uint8_t, 48> GetItem230() override;
    int32_t GetQualityLevelCount() override;
    std::vector<int32_t> GetMediaRange() override { return range(epson::kMediaTypes); }
    std::vector<int32_t> GetPaperSourceRange() override { return range(epson::kPaperSource); }
    std::vector<int32_t> GetRange201() override { return range(epson::kItem201); }
    bool IsOpen() override { return connection_ != nullptr; }
    void ReopenForDriverType() override;
    // CUPS tells no bins of a printer, so no alternate source is offered;
    // a device mode already set to one is switched as the driver would.
    bool HasAlternateSource() override;
    void SelectAlternateSource(bool on) override;
    bool IsAlternateSourceSelected() override;
    void ReadDeviceMode() override;
    void Reopen() override { open(2); }
    int32_t GetCommandLevel(int32_t data) override;

private:
    void open(int32_t mode);
    void close();
    bool getData(int32_t data, std::span<uint8_t> buffer);
    bool setData(int32_t data, std::span<uint8_t> buffer);
    int32_t getRecord(int32_t data);
    bool setRecord(int32_t data, int32_t value);
    std::vector<int32_t> range(int32_t data);
    int32_t getWord(int32_t data, int32_t fallback);
    bool setWord(int32_t data, int32_t value);

    TPrinterConfiguration& printer_;
    std::shared_ptr<const TEpdmLibrary> library_;
    TEpdmConnection connection_ = nullptr;
};

}  // namespace orvella
