#include "print/pic.h"

#include <cstdio>

namespace orvella {

namespace {

std::string PicMessage(int32_t code)
{
    char text[32];
    std::snprintf(text, sizeof text, "PICERROR : %d", int(code));
    return text;
}

template <class Entry, class... Args>
int32_t Invoke(const Entry& entry, Args&&... args)
{
    return entry ? entry(std::forward<Args>(args)...) : -1;
}

}  // namespace

EPICError::EPICError(int32_t code) : std::runtime_error(PicMessage(code)), code_(code) {}

bool TPicLibrary::Complete() const
{
    return Create_CPic && Destroy_CPic && Create_CPicPreset && Destroy_CPicPreset && PrinterSpecifies &&
           SetToDriver && GetDevMode && SetDevMode && GetPrintingInfo && PrintDialog && SetData && GetData &&
           GetRange && GetString && SelectPreset && GetPresetOfIndex && GetPresetOfPresetID && SetPresetOfIndex &&
           SetPresetOfPresetID;
}

int32_t ReadInt32(std::span<const uint8_t> bytes, std::size_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return 0;
    return int32_t(uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
                   uint32_t(bytes[offset + 3]) << 24);
}

void WriteInt32(std::span<uint8_t> bytes, std::size_t offset, int32_t value)
{
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return;
    for (int i = 0; i < 4; ++i)
        bytes[offset + std::size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
}

TPic::TPic(std::shared_ptr<const TPicLibrary> library) : library_(std::move(library))
{
    if (!library_ || !library_->Complete())
        throw EPICError(-1);
    handle_ = library_->Create_CPic(100);
    if (!handle_)
        throw EPICError(-1);
}

TPic::TPic(std::shared_ptr<const TPicLibrary> library, Preset) : library_(std::move(library)), preset_(true)
{
    if (!library_ || !library_->Complete())
        throw EPICError(-1);
    handle_ = library_->Create_CPicPreset(100);
    if (!handle_)
        throw EPICError(-1);
}

TPic::~TPic()
{
    if (preset_)
        library_->Destroy_CPicPreset(handle_);
    else
        library_->Destroy_CPic(handle_);
}

void TPic::check(int32_t result)
{
    if (result != 0)
        throw EPICError(result);
}

void TPic::PrinterSpecifies(TPicBytes status, TPicBytes deviceName)
{
    check(Invoke(library_->PrinterSpecifies, handle_, status, deviceName));
}
void TPic::SetToDriver() { check(Invoke(library_->SetToDriver, handle_)); }
void TPic::GetDevMode(TPicBytes a, TPicBytes b) { check(Invoke(library_->GetDevMode, handle_, a, b)); }
void TPic::SetDevMode(TPicBytes devModeA) { check(Invoke(library_->SetDevMode, handle_, devModeA)); }
void TPic::GetPrintingInfo(TPicBytes record) { check(Invoke(library_->GetPrintingInfo, handle_, record)); }
void TPic::PrintDialog(TPicBytes a) { check(Invoke(library_->PrintDialog, handle_, a)); }
void TPic::SetData(TPicBytes a, TPicBytes b) { check(Invoke(library_->SetData, handle_, a, b)); }
void TPic::GetData(TPicBytes a, TPicBytes b) { check(Invoke(library_->GetData, handle_, a, b)); }
void TPic::GetRange(TPicBytes a) { check(Invoke(library_->GetRange, handle_, a)); }
void TPic::GetString(TPicBytes a, TPicBytes b, TPicBytes c) { check(Invoke(library_->GetString, handle_, a, b, c)); }

TPicPreset::TPicPreset(std::shared_ptr<const TPicLibrary> library) : TPic(std::move(library), Preset{}) {}

bool TPicPreset::SelectPreset(TPicBytes name, TPicBytes criteria)
{
    int32_t found = 0;
    check(Invoke(library_->SelectPreset, handle_, found, name, criteria));
    return found != 0;
}
void TPicPreset::GetPresetOfIndex(int32_t a, int32_t b) { check(Invoke(library_->GetPresetOfIndex, handle_, a, b)); }
void TPicPreset::GetPresetOfPresetID(int32_t a, int32_t b)
{
    check(Invoke(library_->GetPresetOfPresetID, handle_, a, b));
}
void TPicPreset::SetPresetOfIndex(int32_t a, int32_t b) { check(Invoke(library_->SetPresetOfIndex, handle_, a, b)); }
void TPicPreset::SetPresetOfPresetID(int32_t a, int32_t b)
{
    check(Invoke(library_->SetPresetOfPresetID, handle_, a, b));
}

}  // namespace orvella
