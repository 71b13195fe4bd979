#include "print/epson_epdi.h"

#include "platform/cp932.h"
#include "platform/text_case.h"
#include "print/driver_backend.h"
#include "print/pic.h"
#include "print/printer_configuration.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace orvella {

namespace {

constexpr int32_t kOpenRetry = -2;
constexpr std::size_t kRangeHeader = 8;
constexpr std::size_t kMediaRequest = 24;
constexpr std::size_t kMediaText = 256;
// A driver never lists thousands of values; a wilder count is a fault.
constexpr int kMaxRange = 4096;

uint16_t Word(std::span<const uint8_t> bytes, std::size_t offset)
{
    return offset + 2 <= bytes.size() ? uint16_t(bytes[offset] | bytes[offset + 1] << 8) : uint16_t(0);
}

void PutWord(std::span<uint8_t> bytes, std::size_t offset, uint16_t value)
{
    if (offset + 2 <= bytes.size()) {
        bytes[offset] = uint8_t(value);
        bytes[offset + 1] = uint8_t(value >> 8);
    }
}

}  // namespace

bool TEpdmLibrary::Complete() const
{
    return EPDM_Open && EPDM_Close && EPDM_GetDriverInfo && EPDM_GetCommandLevel && EPDM_GetRange && EPDM_GetData &&
           EPDM_SetData && EPDM_GetDevMode && EPDM_CreateDC && EPDM_ResetDC && EPDM_DeleteDC && EPDM_UpdateDevMode;
}

std::string EpsonMediaTypeName(int32_t type)
{
    static const std::map<int32_t, const char*> names = {
        {1, "普通紙"}, {2, "専用OHPｼｰﾄ"}, {257, "ﾌｧｲﾝ紙"}, {258, "ﾌｫﾄﾌﾟﾘﾝﾄ紙(専用光沢紙)"}, {259, "専用光沢ﾌｨﾙﾑ"},
        {260, "ｽｰﾊﾟｰﾌｧｲﾝ専用紙"}, {261, "ﾊﾞｯｸﾗｲﾄﾌｨﾙﾑ"}, {262, "ｷｬﾝﾊﾞｽｸﾛｽ"}, {266, "ｱｲﾛﾝﾌﾟﾘﾝﾄﾍﾟｰﾊﾟｰ"},
        {267, "ﾏｯﾄ紙"}, {268, "半光沢ﾌｫﾄ紙"}, {271, "PMﾏｯﾄ紙"}, {272, "PM写真用紙"}, {273, "MC光沢紙"},
        {274, "MCﾏｯﾄ紙"}, {275, "MC写真用紙<半光沢>"}, {276, "MC画材用紙"}, {277, "MCﾏｯﾄ合成紙"},
        {278, "MCﾏｯﾄ合成紙(のり付き)"}, {279, "MC厚手ﾏｯﾄ紙"}, {280, "光沢ﾌｨﾙﾑ"}, {281, "MC写真用紙<光沢>"},
        {282, "MCﾃﾞｻﾞｲﾝ光沢紙"}, {283, "CD-R ﾚｰﾍﾞﾙ"}, {285, "ﾏｯﾄﾎﾞｰﾄﾞ紙"}, {286, "MCﾊﾞｯｸﾗｲﾄﾌｨﾙﾑ"},
        {287, "MCﾏｯﾄ塩ﾋﾞ<のり付き>"}, {288, "MC/PMｸﾛｽ<防炎>"},
    };
    if (const auto found = names.find(type); found != names.end())
        return found->second;
    char text[64];
    std::snprintf(text, sizeof text, "不明な用紙種類(%d)", int(type));
    return text;
}

TEPDI::TEPDI(TPrinterConfiguration& printer) : printer_(printer)
{
    const TDriverBackend& backend = DriverBackend();
    if (UpperCase(printer_.GetDriverName()).find("EPSON") == std::string::npos || !backend.EpsonSettings)
        return;
    library_ = backend.EpsonSettings(printer_);
    if (library_ && !library_->Complete())
        library_.reset();
    open(2);
}

TEPDI::~TEPDI() { close(); }

void TEPDI::close()
{
    if (connection_ && library_)
        library_->EPDM_Close(connection_);
    connection_ = nullptr;
}

void TEPDI::open(int32_t mode)
{
    close();
    if (!library_)
        return;
    // CUPS queues have no port; the driver stands in for it, as the
    // configuration names it.
    const std::string port = printer_.GetDriverName();
    std::vector<uint8_t> devMode = printer_.GetDeviceMode().GetDevModeA();
    TEpdmConnection connection = nullptr;
    int32_t result = library_->EPDM_Open(printer_.GetDeviceName(), port, mode, devMode, connection);
    if (result == kOpenRetry) {
        devMode = printer_.GetDeviceMode().GetDevModeA();
        result = library_->EPDM_Open(printer_.GetDeviceName(), port, mode, devMode, connection);
    }
    connection_ = result == 0 ? connection : nullptr;
}

int32_t TEPDI::GetCommandLevel(int32_t data)
{
    return connection_ ? library_->EPDM_GetCommandLevel(connection_, data) : -1;
}

bool TEPDI::getData(int32_t data, std::span<uint8_t> buffer)
{
    return connection_ && library_->EPDM_GetData(connection_, data, buffer) == 0;
}

bool TEPDI::setData(int32_t data, std::span<uint8_t> buffer)
{
    return connection_ && library_->EPDM_SetData(connection_, data, buffer) == 0;
}

int32_t TEPDI::GetDriverType()
{
    if (!connection_)
        return 4;
    const int32_t count = library_->EPDM_GetDriverInfo(connection_, {});
    if (count <= 0 || count > kMaxRange)
        return 4;
    std::vector<uint16_t> info(static_cast<std::size_t>(count));
    if (library_->EPDM_GetDriverInfo(connection_, info) == 0)
        return 4;
    switch (info[0]) {
    case 16: return 3;
    case 32: return 1;
    case 40: return 2;
    case 48: return 0;
    default: return 4;
    }
}

std::string TEPDI::GetMediaName(int32_t type)
{
    std::vector<uint8_t> request(kMediaRequest + kMediaText);
    WriteInt32(request, 0, 1);
    WriteInt32(request, 4, int32_t(kMediaRequest));
    WriteInt32(request, 12, 3);
    WriteInt32(request, 16, type);
    if (getData(epson::kMediaName, request)) {
        const int32_t length = ReadInt32(request, 8);
        if (length > 0) {
            const std::size_t bytes = std::min(std::size_t(length), kMediaText);
            std::string text(request.begin() + kMediaRequest, request.begin() + std::ptrdiff_t(kMediaRequest + bytes));
            text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
            if (!text.empty())
                return DecodeCp932(text);
        }
    }
    return EpsonMediaTypeName(type);
}

TEpsonQuality TEPDI::GetQualitySetting()
{
    std::array<uint8_t, 8> record{};
    if (!getData(epson::kQuality, record))
        return {};
    return {Word(record, 0), Word(record, 2), Word(record, 4), Word(record, 6)};
}

bool TEPDI::SetQualitySetting(const TEpsonQuality& quality)
{
    std::array<uint8_t, 8> record{};
    PutWord(record, 0, quality.Mode);
    PutWord(record, 2, quality.Level);
    PutWord(record, 4, quality.Media);
    PutWord(record, 6, quality.Fourth);
    return setData(epson::kQuality, record);
}

int32_t TEPDI::getWord(int32_t data, int32_t fallback)
{
    std::array<uint8_t, 2> value{};
    return getData(data, value) ? int32_t(Word(value, 0)) : fallback;
}

bool TEPDI::setWord(int32_t data, int32_t value)
{
    std::array<uint8_t, 2> buffer{};
    PutWord(buffer, 0, uint16_t(value));
    return setData(data, buffer);
}

int32_t TEPDI::GetPaperSource() { return getWord(epson::kPaperSource, epson::kNoPaperSource); }
bool TEPDI::SetPaperSource(int32_t source) { return setWord(epson::kPaperSource, source); }
int32_t TEPDI::GetItem201() { return getWord(epson::kItem201, 0); }
bool TEPDI::SetItem201(int32_t value) { return setWord(epson::kItem201, value); }

void TEPDI::GetUserPaperSize(int32_t& width, int32_t& height)
{
    std::array<uint8_t, 8> record{};
    width = height = 0;
    if (getData(epson::kUserPaperSize, record)) {
        width = Word(record, 0);
        height = Word(record, 2);
    }
}

bool TEPDI::SetUserPaperSize(int32_t width, int32_t height)
{
    std::array<uint8_t, 8> record{};
    PutWord(record, 0, uint16_t(width));
    PutWord(record, 2, uint16_t(height));
    PutWord(record, 4, 256);
    return setData(epson::kUserPaperSize, record);
}

int32_t TEPDI::getRecord(int32_t data)
{
    std::array<uint8_t, 12> record{};
    WriteInt32(record, 0, 1);
    WriteInt32(record, 4, 12);
    return getData(data, record) ? ReadInt32(record, 8) : 0;
}

bool TEPDI::setRecord(int32_t data, int32_t value)
{
    std::array<uint8_t, 12> record{};
    WriteInt32(record, 0, 1);
    WriteInt32(record, 4, 12);
    WriteInt32(record, 8, value);
    return setData(data, record);
}

std::array<uint8_t, 48> TEPDI::GetItem230()
{
    std::array<uint8_t, 48> record{};
    if (GetCommandLevel(epson::kItem230) <= 0)
        return record;
    WriteInt32(record, 0, 1);
    WriteInt32(record, 4, 48);
    if (!getData(epson::kItem230, record))
        record.fill(0);
    return record;
}

std::vector<int32_t> TEPDI::range(int32_t data)
{
    if (!connection_)
        return {};
    std::vector<uint8_t> buffer(kRangeHeader);
    if (library_->EPDM_GetRange(connection_, data, buffer) != 0)
        return {};
    const int count = Word(buffer, 0);
    if (Word(buffer, 2) != 2 || count <= 0 || count > kMaxRange)
        return {};
    buffer.resize(kRangeHeader + std::size_t(count) * 2);
    if (library_->EPDM_GetRange(connection_, data, buffer) != 0)
        return {};
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(Word(buffer, kRangeHeader + std::size_t(i) * 2));
    return values;
}

int32_t TEPDI::GetQualityLevelCount()
{
    if (!connection_)
        return 0;
    std::vector<uint8_t> header(kRangeHeader);
    int32_t levels = library_->EPDM_GetRange(connection_, epson::kQuality, header) == 0 ? Word(header, 0) : 0;
    // Trying levels changes the driver's device mode: keep it to restore.
    std::vector<uint8_t> saved = printer_.GetDeviceMode().GetDevModeA();
    library_->EPDM_GetDevMode(connection_, saved);
    TEpsonQuality quality = GetQualitySetting();
    while (levels > 1) {
        quality.Mode = 1;
        quality.Level = uint16_t(levels);
        quality.Fourth = 2;
        SetQualitySetting(quality);
        if (GetQualitySetting().Level == levels)
            break;
        --levels;
    }
    printer_.GetDeviceMode().LoadFromDevMode(saved);
    open(2);
    return levels;
}

void TEPDI::ReopenForDriverType()
{
    const int32_t type = GetDriverType();
    open(type == 0 ? 1 : 0);
}

namespace {

// The paper sources that stand in for each other, and the media type the
// second source of the last pair needs.
constexpr std::pair<int32_t, int32_t> kSourcePairs[] = {{4, 270}, {7, 259}, {256, 257}, {267, 268}};
constexpr int32_t kRollMediaType = 337;

const std::pair<int32_t, int32_t>* SourcePair(int32_t source)
{
    for (const auto& pair : kSourcePairs)
        if (pair.first == source || pair.second == source)
            return &pair;
    return nullptr;
}

}  // namespace

bool TEPDI::HasAlternateSource() { return false; }

bool TEPDI::IsAlternateSourceSelected()
{
    const int32_t source = printer_.GetDeviceMode().DefaultSource();
    return source == 257 || source == 259 || source == 268 || source == 270;
}

void TEPDI::SelectAlternateSource(bool on)
{
    TmDeviceMode& mode = printer_.GetDeviceMode();
    const auto* pair = SourcePair(mode.DefaultSource());
    if (!pair)
        return;
    const int32_t wanted = on ? pair->second : pair->first;
    if (pair->first == 267)
        mode.SetMediaType(kRollMediaType);
    if (wanted == mode.DefaultSource())
        return;
    mode.SetDefaultSource(int16_t(wanted));
    printer_.UpdateDeviceMode();
    open(2);
}

void TEPDI::ReadDeviceMode()
{
    if (!connection_)
        return;
    std::vector<uint8_t> devMode = printer_.GetDeviceMode().GetDevModeA();
    library_->EPDM_GetDevMode(connection_, devMode);
    printer_.GetDeviceMode().LoadFromDevMode(devMode);
    printer_.ClearForms();
}

}  // namespace orvella
