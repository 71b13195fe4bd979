#include "objects/qr_code.h"

#include "formats/property_table.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"

#include <cstring>
#include <span>

namespace orvella {

namespace {

std::span<const uint8_t> Bytes(const std::string& data)
{
    return {reinterpret_cast<const uint8_t*>(data.data()), data.size()};
}

}  // namespace

const TClassInfo& TQRCode::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TQRCode, TPersistent>("TQRCode", {});
    return info;
}

TQRCode::TQRCode() : bitmap_(std::make_unique<TBitmap>()) {}

TQRCode::~TQRCode() = default;

void TQRCode::SetData(const std::string& data)
{
    if (data == data_)
        return;
    data_ = data;
    touched();
}

char TQRCode::EncodeMode() const
{
    return autoEncodeMode_ ? qr::DetectMode(Bytes(data_)) : encodeMode_;
}

void TQRCode::SetEncodeMode(char mode)
{
    if ((mode != '0' && mode != 'A' && mode != '8') || mode == encodeMode_)
        return;
    encodeMode_ = mode;
    touched();
}

void TQRCode::SetAutoEncodeMode(bool value)
{
    if (value == autoEncodeMode_)
        return;
    autoEncodeMode_ = value;
    touched();
}

void TQRCode::SetMargin(int32_t margin)
{
    if (margin < 0 || margin > kMaxMargin || margin == margin_)
        return;
    margin_ = margin;
    touched();
}

int32_t TQRCode::Version() const
{
    if (!autoVersion_)
        return version_;
    const std::span<const uint8_t> bytes = Bytes(data_);
    char mode = EncodeMode();
    if (!qr::ModeCarries(mode, bytes))
        mode = qr::DetectMode(bytes);
    for (int version = 1; version <= 40; ++version)
        if (qr::StreamBits(mode, bytes.size(), version) <= int64_t(qr::DataCodewords(version, level_)) * 8)
            return version;
    return 0;
}

void TQRCode::SetVersion(int32_t version)
{
    if (version < 1 || version > 40 || version == version_)
        return;
    version_ = version;
    touched();
}

void TQRCode::SetAutoVersion(bool value)
{
    if (value == autoVersion_)
        return;
    autoVersion_ = value;
    touched();
}

void TQRCode::SetMaskNo(int32_t mask)
{
    if (mask < 0 || mask > 7 || mask == maskNo_)
        return;
    maskNo_ = mask;
    touched();
}

void TQRCode::SetAutoMask(bool value)
{
    if (value == autoMask_)
        return;
    autoMask_ = value;
    touched();
}

void TQRCode::SetErrorCorrectLevel(char level)
{
    if ((level != 'L' && level != 'M' && level != 'Q' && level != 'H') || level == level_)
        return;
    level_ = level;
    touched();
}

void TQRCode::touched()
{
    dirty_ = true;
    ++changes_;
}

qr::TEncodeOptions TQRCode::Options() const
{
    qr::TEncodeOptions options;
    options.Mode = autoEncodeMode_ ? qr::DetectMode(Bytes(data_)) : encodeMode_;
    options.Version = autoVersion_ ? 0 : version_;
    options.Mask = autoMask_ ? -1 : maskNo_;
    options.Level = level_;
    return options;
}

void TQRCode::Update()
{
    if (!dirty_)
        return;
    symbol_ = qr::Encode(Bytes(data_), Options());
    if (symbol_ && autoMask_)
        maskNo_ = symbol_->Mask;
    Render();
    dirty_ = false;
}

void TQRCode::Render()
{
    if (!symbol_) {
        bitmap_->SetSize(0, 0, TPixelFormat::pf24bit);
        return;
    }
    const int32_t size = symbol_->Size;
    const int32_t side = size + 2 * margin_;
    bitmap_->SetSize(side, side, TPixelFormat::pf24bit);
    for (int32_t y = 0; y < side; ++y) {
        uint8_t* row = bitmap_->ScanLine(y);
        std::memset(row, 0xFF, std::size_t(side) * 3);
        const int32_t moduleRow = y - margin_;
        if (moduleRow < 0 || moduleRow >= size)
            continue;
        for (int32_t column = 0; column < size; ++column)
            if (symbol_->Dark(moduleRow, column))
                std::memset(row + std::size_t(column + margin_) * 3, 0, 3);
    }
}

void TQRCode::Draw(TCanvas& canvas, const TRect& rect)
{
    Update();
    if (!symbol_)
        return;
    const int32_t side = bitmap_->Width();
    canvas.StretchBlt(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top, bitmap_->Canvas(), 0, 0,
                      side, side, SRCCOPY);
}

void TQRCode::Assign(const TQRCode& source)
{
    if (&source == this)
        return;
    data_ = source.data_;
    encodeMode_ = source.encodeMode_;
    autoEncodeMode_ = source.autoEncodeMode_;
    margin_ = source.margin_;
    version_ = source.version_;
    autoVersion_ = source.autoVersion_;
    maskNo_ = source.maskNo_;
    autoMask_ = source.autoMask_;
    level_ = source.level_;
    symbol_ = source.symbol_;
    dirty_ = source.dirty_;
    ++changes_;
    if (symbol_ && !dirty_)
        Render();
    else
        dirty_ = true;
}

}  // namespace orvella
