#include "driver_fakes.h"

#include "print/pic.h"

#include <algorithm>

namespace orvella::test {

TCanonEntryPoint FakeCanon::Entry()
{
    return [this](TPrinterConfiguration&, uint32_t command, uint32_t item, std::span<uint8_t> buffer) -> int32_t {
        Log.push_back({command, item, std::vector<uint8_t>(buffer.begin(), buffer.end())});
        switch (command) {
        case canon::kItemType:
            if (!Choices.count(item))
                return 1;
            WriteInt32(buffer, 0, canon::kTypeIntegerList);
            return 0;
        case canon::kItemCount: {
            if (!Choices.count(item))
                return 1;
            const std::size_t count = Choices[item].size() / (item == canon::kQuality ? 2 : 1);
            WriteInt32(buffer, 0, int32_t(count));
            return 0;
        }
        case canon::kChoices: {
            const auto& list = Choices[item];
            if (buffer.size() < list.size() * 4)
                return 1;
            for (std::size_t i = 0; i < list.size(); ++i)
                WriteInt32(buffer, 4 * i, list[i]);
            return 0;
        }
        case canon::kChoiceNames: {
            const auto& names = Names[item];
            if (buffer.size() < names.size() * 256)
                return 1;
            for (std::size_t i = 0; i < names.size(); ++i)
                for (std::size_t c = 0; c < names[i].size() && c < 127; ++c) {
                    buffer[256 * i + 2 * c] = uint8_t(names[i][c]);
                    buffer[256 * i + 2 * c + 1] = uint8_t(names[i][c] >> 8);
                }
            return 0;
        }
        case canon::kGetValue:
            if (item == canon::kVersion) {
                WriteInt32(buffer, 0, Version);
                return 0;
            }
            if (item == canon::kDiscInfo) {
                if (buffer.size() != 20)
                    return 1;
                WriteInt32(buffer, 0, 77);  // replaced by the tray form
                WriteInt32(buffer, 4, int32_t(DiscX));
                WriteInt32(buffer, 8, int32_t(DiscY));
                return 0;
            }
            if (item == canon::kPrintableRect) {
                if (buffer.size() != 16 || PrintableRect.size() != 4)
                    return 1;
                for (std::size_t i = 0; i < 4; ++i)
                    WriteInt32(buffer, 4 * i, PrintableRect[i]);
                return 0;
            }
            if (!Values.count(item))
                return 1;
            WriteInt32(buffer, 0, Values[item]);
            return 0;
        case canon::kSetValue:
            Values[item] = ReadInt32(buffer, 0);
            return 0;
        case canon::kAuxiliary:
            if (item != canon::kTrayFormId)
                return 1;
            WriteInt32(buffer, 0, FormId);
            return 0;
        case canon::kExchangeBlock:
            return 0;
        default:
            return 1;
        }
    };
}

std::vector<FakeCanon::Call> FakeCanon::CallsOf(uint32_t command) const
{
    std::vector<Call> calls;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(calls), [&](const Call& c) { return c.Command == command; });
    return calls;
}

std::shared_ptr<const TPicLibrary> FakePic::Library()
{
    auto library = std::make_shared<TPicLibrary>();
    FakePic* self = this;
    const auto note = [self](const char* name) {
        self->Log.push_back(name);
        return 0;
    };
    library->Create_CPic = [self](int32_t) -> TPicHandle { return self->Log.push_back("Create_CPic"), self; };
    library->Create_CPicPreset = [self](int32_t version) -> TPicHandle {
        self->Log.push_back("Create_CPicPreset(" + std::to_string(version) + ")");
        return self;
    };
    library->Destroy_CPic = [self](TPicHandle) { self->Log.push_back("Destroy_CPic"); };
    library->Destroy_CPicPreset = [self](TPicHandle) { self->Log.push_back("Destroy_CPicPreset"); };
    library->PrinterSpecifies = [self](TPicHandle, TPicBytes status, TPicBytes name) {
        self->Log.push_back("PrinterSpecifies");
        self->DeviceName.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t(0)));
        WriteInt32(status, 4, self->Status1);
        return 0;
    };
    library->SetDevMode = [self](TPicHandle, TPicBytes devMode) {
        self->Log.push_back("SetDevMode");
        self->DevMode.assign(devMode.begin(), devMode.end());
        return 0;
    };
    library->SelectPreset = [self](TPicHandle, int32_t& found, TPicBytes name, TPicBytes criteria) {
        self->Log.push_back("SelectPreset");
        found = self->PresetFound ? 1 : 0;
        // The criteria the program asks for, as the library sees them.
        if (name.size() != 261 || criteria.size() != 152 || ReadInt32(criteria, 12) != 4 ||
            ReadInt32(criteria, 0) != -1 || ReadInt32(criteria, 20) != 0)
            return 7;
        return 0;
    };
    library->SetPresetOfIndex = [self](TPicHandle, int32_t a, int32_t b) {
        self->Log.push_back("SetPresetOfIndex");
        self->PresetIndex = {a, b};
        return 0;
    };
    library->GetData = [self](TPicHandle, TPicBytes a, TPicBytes b) {
        self->Log.push_back("GetData");
        return a.size() == 1024 && b.size() == 1072 ? 0 : 7;
    };
    library->SetData = [self](TPicHandle, TPicBytes, TPicBytes b) {
        self->Log.push_back("SetData");
        self->SetDataB.assign(b.begin(), b.end());
        return 0;
    };
    library->GetPrintingInfo = [self](TPicHandle, TPicBytes record) {
        self->Log.push_back("GetPrintingInfo");
        if (self->FailWith != 0)
            return self->FailWith;
        WriteInt32(record, 20, self->Dpi);
        WriteInt32(record, 24, self->Dpi);
        WriteInt32(record, 8, self->TrayWidthDots);
        WriteInt32(record, 4, self->TrayHeightDots);
        WriteInt32(record, 836, self->CenterXDots);
        WriteInt32(record, 832, self->CenterYDots);
        return 0;
    };
    library->SetToDriver = [note](TPicHandle) { return note("SetToDriver"); };
    library->GetDevMode = [note](TPicHandle, TPicBytes, TPicBytes) { return note("GetDevMode"); };
    library->PrintDialog = [note](TPicHandle, TPicBytes) { return note("PrintDialog"); };
    library->GetRange = [note](TPicHandle, TPicBytes) { return note("GetRange"); };
    library->GetString = [note](TPicHandle, TPicBytes, TPicBytes, TPicBytes) { return note("GetString"); };
    library->GetPresetOfIndex = [note](TPicHandle, int32_t, int32_t) { return note("GetPresetOfIndex"); };
    library->GetPresetOfPresetID = [note](TPicHandle, int32_t, int32_t) { return note("GetPresetOfPresetID"); };
    library->SetPresetOfPresetID = [note](TPicHandle, int32_t, int32_t) { return note("SetPresetOfPresetID"); };
    return library;
}

}  // namespace orvella::test
