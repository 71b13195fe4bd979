#pragma once
// Fake printer driver extensions that speak the vendors' byte protocols:
// a Canon extension answering commands and items from tables, and an
// Epson printing-information library answering from a record. Both log
// what the program sent, so tests read the bytes back.

#include "print/driver_backend.h"
#include "print/printer_configuration.h"

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
