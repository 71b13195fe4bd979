#pragma once
// Fake printer driver extensions that speak the vendors' byte protocols:
// a Canon extension answering commands and items from tables, an Epson
// settings library answering data items, and an Epson printing-information
// library answering from a record. Both log
// what the program sent, so tests read the bytes back.

#include "print/driver_backend.h"
#include "print/pic.h"
#include "print/printer_configuration.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvella::test {

struct FakeCanon {
    struct Call {
        uint32_t Command;
        uint32_t Item;
        std::vector<uint8_t> Buffer;
    };
    int32_t Version = 0x10000;
    std::map<uint32_t, int32_t> Values;                   // command 2
    std::map<uint32_t, std::vector<int32_t>> Choices;     // command 4 (item 5: pairs)
    std::map<uint32_t, std::vector<std::u16string>> Names;  // command 7
    int32_t FormId = 0;                                    // command 8, item 11
    uint32_t DiscX = 0, DiscY = 0;                         // item 48
    std::vector<int32_t> PrintableRect;                    // item 22
    std::vector<Call> Log;

    TCanonEntryPoint Entry();
    // The calls of one command, in order.
    std::vector<Call> CallsOf(uint32_t command) const;
};

struct FakePic {
    std::vector<std::string> Log;  // entry point names, in order
    int32_t Status1 = 0;           // second field of PrinterSpecifies' status
    bool PresetFound = false;
    int32_t FailWith = 0;          // GetPrintingInfo's result
    std::string DeviceName;
    std::vector<uint8_t> SetDataB;  // what SetData was given as buffer B
    std::vector<uint8_t> DevMode;   // what SetDevMode was given
    std::pair<int32_t, int32_t> PresetIndex{-1, -1};
    // GetPrintingInfo's answer: dpi, tray size and centre in dots.
    int32_t Dpi = 360, TrayWidthDots = 0, TrayHeightDots = 0, CenterXDots = 0, CenterYDots = 0;

    std::shared_ptr<const TPicLibrary> Library();
};

// An Epson settings library answering data items from tables.
struct FakeEpdm {
    std::deque<int32_t> OpenResults;  // answers of EPDM_Open, 0 once they run out
    std::vector<int32_t> OpenModes;
    std::vector<uint16_t> DriverInfo{48};
    std::map<int32_t, int32_t> Levels{{epson::kPaperSource, 1}, {epson::kQuality, 1}, {epson::kMediaTypes, 1}};
    std::map<int32_t, std::vector<uint8_t>> Data;
    std::map<int32_t, std::vector<uint16_t>> Ranges;
    std::string MediaText;  // answer of data 213, CP932
    std::vector<uint8_t> MediaRequest;
    uint16_t MaxLevel = 0xFFFF;  // levels above it are refused back
    uint8_t DriverSource = 0;    // the paper source the driver's device mode holds; 0 keeps ours
    int Closes = 0;

    std::shared_ptr<const TEpdmLibrary> Library()
    {
        auto library = std::make_shared<TEpdmLibrary>();
        FakeEpdm* self = this;
        library->EPDM_Open = [self](const std::string&, const std::string&, int32_t mode, std::span<uint8_t>,
                                    TEpdmConnection& connection) {
            self->OpenModes.push_back(mode);
            int32_t result = 0;
            if (!self->OpenResults.empty()) {
                result = self->OpenResults.front();
                self->OpenResults.pop_front();
            }
            connection = result == 0 ? self : nullptr;
            return result;
        };
        library->EPDM_Close = [self](TEpdmConnection) { ++self->Closes; };
        library->EPDM_GetDriverInfo = [self](TEpdmConnection, std::span<uint16_t> info) -> int32_t {
            if (info.empty())
                return int32_t(self->DriverInfo.size());
            std::copy_n(self->DriverInfo.begin(), std::min(info.size(), self->DriverInfo.size()), info.begin());
            return 1;
        };
        library->EPDM_GetCommandLevel = [self](TEpdmConnection, int32_t data) {
            return self->Levels.count(data) ? self->Levels[data] : 0;
        };
        library->EPDM_GetRange = [self](TEpdmConnection, int32_t data, std::span<uint8_t> buffer) {
            if (!self->Ranges.count(data) || buffer.size() < 8)
                return 1;
            const auto& values = self->Ranges[data];
            buffer[0] = uint8_t(values.size());
            buffer[1] = 0;
            buffer[2] = 2;
            buffer[3] = 0;
            for (std::size_t i = 0; i < values.size() && 8 + 2 * i + 1 < buffer.size(); ++i) {
                buffer[8 + 2 * i] = uint8_t(values[i]);
                buffer[9 + 2 * i] = uint8_t(values[i] >> 8);
            }
            return 0;
        };
        library->EPDM_GetData = [self](TEpdmConnection, int32_t data, std::span<uint8_t> buffer) {
            if (data == epson::kMediaName) {
                self->MediaRequest.assign(buffer.begin(), buffer.begin() + 24);
                WriteInt32(buffer, 8, int32_t(self->MediaText.size()));
                std::copy(self->MediaText.begin(), self->MediaText.end(), buffer.begin() + 24);
                return 0;
            }
            if (!self->Data.count(data))
                return 1;
            const auto& stored = self->Data[data];
            std::copy_n(stored.begin(), std::min(stored.size(), buffer.size()), buffer.begin());
            return 0;
        };
        library->EPDM_SetData = [self](TEpdmConnection, int32_t data, std::span<uint8_t> buffer) {
            std::vector<uint8_t> stored(buffer.begin(), buffer.end());
            // The driver keeps its finest level as far as it goes.
            if (data == epson::kQuality && stored.size() >= 4 && (stored[2] | stored[3] << 8) > self->MaxLevel) {
                stored[2] = uint8_t(self->MaxLevel);
                stored[3] = uint8_t(self->MaxLevel >> 8);
            }
            self->Data[data] = stored;
            return 0;
        };
        library->EPDM_GetDevMode = [self](TEpdmConnection, std::span<uint8_t> devMode) {
            if (self->DriverSource != 0 && devMode.size() > 60) {
                devMode[56] = self->DriverSource;
                devMode[57] = 0;
            }
            return 0;
        };
        const auto unused = [] { return 0; };
        library->EPDM_CreateDC = unused;
        library->EPDM_ResetDC = unused;
        library->EPDM_DeleteDC = unused;
        library->EPDM_UpdateDevMode = unused;
        return library;
    }
};

// A printer query with one printer of the given driver, whose forms are the given media.
class FakePrinterQuery : public IPrinterQuery {
public:
    FakePrinterQuery(std::string printer, std::string driver, std::vector<TPrinterMedia> media = {})
        : printer_(std::move(printer)), driver_(std::move(driver)), media_(std::move(media))
    {
    }
    bool Exists(const std::string& printer) override { return printer == printer_; }
    std::string MakeAndModel(const std::string&) override { return driver_; }
    std::vector<TPrinterMedia> Media(const std::string&) override { return media_; }
    std::optional<TPrinterMedia> DefaultMedia(const std::string&) override { return std::nullopt; }

private:
    std::string printer_;
    std::string driver_;
    std::vector<TPrinterMedia> media_;
};

}  // namespace orvella::test
