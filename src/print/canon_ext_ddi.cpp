#include "print/canon_ext_ddi.h"

#include "frame/app_frame.h"
#include "platform/utf8.h"
#include "print/driver_backend.h"
#include "print/pic.h"
#include "print/printer_configuration.h"

#include <algorithm>
#include <array>

namespace orvella {

namespace {

constexpr std::size_t kNameBytes = 256;  // 128 UTF-16 units, zero-padded

// Quality choices have fixed names; the driver names none of them.
std::string QualityName(int32_t choice)
{
    switch (choice) {
    case 1: return "きれい";
    case 2: return "標準";
    case 3: return "はやい";
    default: return "カスタム";
    }
}

}  // namespace

TExtDDICaller::TExtDDICaller(TPrinterConfiguration& printer, TCanonEntryPoint entry)
    : printer_(printer), entry_(std::move(entry))
{
}

int32_t TExtDDICaller::Call(uint32_t command, uint32_t item, std::span<uint8_t> buffer)
{
    return entry_ ? entry_(printer_, command, item, buffer) : 1;
}

void TExtDDICaller::ApplyDeviceMode()
{
    // The driver takes its settings from the record; ours stays as it is.
    std::vector<uint8_t> record = printer_.GetDeviceMode().GetDevModeW();
    Call(canon::kExchangeBlock, canon::kDeviceMode, record);
}

TCanonExtDDI::TCanonExtDDI(TPrinterConfiguration& printer, std::unique_ptr<TExtDDICaller> caller)
    : printer_(printer), caller_(std::move(caller))
{
    if (!caller_)
        return;
    std::array<uint8_t, 4> version{};
    if (caller_->Call(canon::kGetValue, canon::kVersion, version) != 0 ||
        (uint32_t(ReadInt32(version, 0)) >> 16) != 1)
        caller_.reset();
}

int32_t TCanonExtDDI::CallExtension(uint32_t command, uint32_t item, std::span<uint8_t> buffer, int32_t& error)
{
    error = caller_ ? caller_->Call(command, item, buffer) : 1;
    return error;
}

int32_t TCanonExtDDI::askInteger(uint32_t command, uint32_t item)
{
    std::array<uint8_t, 4> value{};
    int32_t error = 0;
    CallExtension(command, item, value, error);
    return error == 0 ? ReadInt32(value, 0) : 0;
}

int32_t TCanonExtDDI::GetItemType(uint32_t item) { return askInteger(canon::kItemType, item); }

int32_t TCanonExtDDI::GetItemCount(uint32_t item) { return askInteger(canon::kItemCount, item); }

std::string TCanonExtDDI::GetItemNames(uint32_t item)
{
    const int32_t count = GetItemCount(item);
    // A driver never has thousands of choices; a wild count is a fault.
    if (count <= 0 || count > 4096)
        return {};
    std::vector<uint8_t> names(std::size_t(count) * kNameBytes);
    int32_t error = 0;
    if (CallExtension(canon::kChoiceNames, item, names, error) != 0)
        return {};
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        std::u16string name;
        const uint8_t* at = names.data() + std::size_t(i) * kNameBytes;
        for (std::size_t unit = 0; unit < kNameBytes / 2; ++unit) {
            const char16_t c = char16_t(at[2 * unit] | (at[2 * unit + 1] << 8));
            if (c == 0)
                break;
            name.push_back(c);
        }
        text += Utf16ToUtf8(name) + "\r\n";
    }
    return text;
}

std::vector<int32_t> TCanonExtDDI::GetItemValues(uint32_t item)
{
    const int32_t count = GetItemCount(item);
    if (count <= 0 || count > 4096 || GetItemType(item) != canon::kTypeIntegerList)
        return {};
    std::vector<uint8_t> values(std::size_t(count) * 4);
    int32_t error = 0;
    if (CallExtension(canon::kChoices, item, values, error) != 0)
        return {};
    std::vector<int32_t> list;
    for (int32_t i = 0; i < count; ++i)
        list.push_back(ReadInt32(values, std::size_t(i) * 4));
    return list;
}

TCanonDiscInfo TCanonExtDDI::GetDiscInfo()
{
    std::array<uint8_t, 20> record{};
    int32_t error = 0;
    if (CallExtension(canon::kGetValue, canon::kDiscInfo, record, error) != 0)
        return {};
    std::array<uint8_t, 4> formId{};
    if (CallExtension(canon::kAuxiliary, canon::kTrayFormId, formId, error) != 0)
        return {};
    TCanonDiscInfo info;
    info.FormId = uint32_t(ReadInt32(formId, 0));
    info.CenterX = uint32_t(ReadInt32(record, 4));
    info.CenterY = uint32_t(ReadInt32(record, 8));
    info.Reserved1 = uint32_t(ReadInt32(record, 12));
    info.Reserved2 = uint32_t(ReadInt32(record, 16));
    return info;
}

std::vector<std::pair<int32_t, int32_t>> TCanonExtDDI::qualityPairs()
{
    const int32_t count = GetItemCount(canon::kQuality);
    if (count <= 0 || count > 4096)
        return {};
    std::vector<uint8_t> pairs(std::size_t(count) * 8);
    int32_t error = 0;
    if (CallExtension(canon::kChoices, canon::kQuality, pairs, error) != 0)
        return {};
    std::vector<std::pair<int32_t, int32_t>> list;
    for (int32_t i = 0; i < count; ++i)
        list.emplace_back(ReadInt32(pairs, std::size_t(i) * 8), ReadInt32(pairs, std::size_t(i) * 8 + 4));
    return list;
}

std::vector<int32_t> TCanonExtDDI::GetQualityValues()
{
    std::vector<int32_t> values;
    for (const auto& [choice, value] : qualityPairs())
        values.push_back(choice);
    return values;
}

std::string TCanonExtDDI::GetQualityNames()
{
    std::string text;
    for (const auto& [choice, value] : qualityPairs())
        text += QualityName(choice) + "\r\n";
    return text;
}

int32_t TCanonExtDDI::GetQualityPairValue()
{
    const int32_t current = GetItemValue(canon::kQuality);
    for (const auto& [choice, value] : qualityPairs())
        if (choice == current)
            return value;
    return 0;
}

TCanonRect TCanonExtDDI::GetPrintableRect()
{
    std::array<uint8_t, 16> rect{};
    int32_t error = 0;
    if (CallExtension(canon::kGetValue, canon::kPrintableRect, rect, error) != 0)
        return {};
    const int32_t x = ReadInt32(rect, 0);
    const int32_t y = ReadInt32(rect, 4);
    return {x, y, int32_t(int64_t(x) + ReadInt32(rect, 8)), int32_t(int64_t(y) + ReadInt32(rect, 12))};
}

int32_t TCanonExtDDI::GetItemBlock(uint32_t item)
{
    std::array<uint8_t, 8> block{};
    int32_t error = 0;
    return CallExtension(canon::kExchangeBlock, item, block, error) == 0 ? ReadInt32(block, 0) : 0;
}

int32_t TCanonExtDDI::GetItemValue(uint32_t item) { return askInteger(canon::kGetValue, item); }

bool TCanonExtDDI::SetItemValue(uint32_t item, int32_t value, bool validate)
{
    if (!caller_)
        return false;
    if (validate) {
        const std::vector<int32_t> choices = item == canon::kQuality ? GetQualityValues() : GetItemValues(item);
        if (std::find(choices.begin(), choices.end(), value) == choices.end())
            return false;
    }
    std::array<uint8_t, 4> buffer{};
    WriteInt32(buffer, 0, value);
    int32_t error = 0;
    return CallExtension(canon::kSetValue, item, buffer, error) == 0;
}

int32_t TCanonExtDDI::IndexOfItemValue(uint32_t item)
{
    const std::vector<int32_t> choices = GetItemValues(item);
    const auto found = std::find(choices.begin(), choices.end(), GetItemValue(item));
    return found == choices.end() ? -1 : int32_t(found - choices.begin());
}

bool TCanonExtDDI::SetItemValueByIndex(uint32_t item, int32_t index)
{
    const std::vector<int32_t> choices = item == canon::kQuality ? GetQualityValues() : GetItemValues(item);
    if (index < 0 || std::size_t(index) >= choices.size())
        return false;
    return SetItemValue(item, choices[std::size_t(index)], true);
}

void TCanonExtDDI::ApplyDeviceMode()
{
    if (caller_)
        caller_->ApplyDeviceMode();
}

std::unique_ptr<ImCanonExtDDI> CreateCanonExtDDI(TPrinterConfiguration& printer)
{
    std::unique_ptr<TExtDDICaller> caller;
    if (GetSettingBool("EnableExtDDI", true))
        if (TCanonEntryPoint entry = DriverBackend().CanonEntry ? DriverBackend().CanonEntry(printer) : nullptr)
            caller = std::make_unique<TExtDDICaller>(printer, std::move(entry));
    return std::make_unique<TCanonExtDDI>(printer, std::move(caller));
}

}  // namespace orvella
