#pragma once
// TQRCode: the bytes to encode and the encoding choices of a QR Code symbol,
// the module matrix built from them and its rendering, one pixel per module
// with a light margin. Encoding runs again only after a change.

#include "formats/persistent.h"
#include "graphics/graphics_types.h"
#include "objects/qr_encoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orvella {

class TBitmap;
class TCanvas;

class TQRCode : public TPersistent {
    ORVELLA_PERSISTENT(TQRCode)

public:
    TQRCode();
    ~TQRCode() override;

    // The bytes as they are encoded (text is its CP932 bytes).
    const std::string& Data() const { return data_; }
    void SetData(const std::string& data);

    // Setters ignore values outside their range and mark the encoder dirty
    // only on a real change.
    // '0' numeric, 'A' alphanumeric, '8' bytes; with AutoEncodeMode the
    // detected mode is read.
    char EncodeMode() const;
    void SetEncodeMode(char mode);
    bool AutoEncodeMode() const { return autoEncodeMode_; }
    void SetAutoEncodeMode(bool value);
    // The light quiet zone in modules, 0 to kMaxMargin (the standard asks
    // for 4; a stored margin beyond the limit would ask for a bitmap of
    // gigabytes, or overflow its size).
    static constexpr int32_t kMaxMargin = 100;
    int32_t Margin() const { return margin_; }
    void SetMargin(int32_t margin);
    // With AutoVersion the version the data needs (0 when it fits none).
    int32_t Version() const;
    void SetVersion(int32_t version);
    bool AutoVersion() const { return autoVersion_; }
    void SetAutoVersion(bool value);
    // After encoding with AutoMask, the mask the evaluation chose.
    int32_t MaskNo() const { return maskNo_; }
    void SetMaskNo(int32_t mask);
    bool AutoMask() const { return autoMask_; }
    void SetAutoMask(bool value);
    // 'L', 'M', 'Q' or 'H'.
    char ErrorCorrectLevel() const { return level_; }
    void SetErrorCorrectLevel(char level);

    bool Dirty() const { return dirty_; }
    // Counts the real changes of the input, so owners can tell one happened.
    uint32_t Changes() const { return changes_; }
    void Invalidate() { dirty_ = true; }
    // Encodes and renders when dirty. Data that fits no symbol (or not the
    // fixed version) leaves no symbol and an empty bitmap.
    void Update();
    // The symbol of the last encoding, if the data fitted.
    const std::optional<qr::TSymbol>& Symbol() const { return symbol_; }
    // (size + 2 * margin) pixels square; empty without a symbol.
    TBitmap& Bitmap() { return *bitmap_; }
    // Update, then the bitmap stretched over the rectangle; nothing without
    // a symbol.
    void Draw(TCanvas& canvas, const TRect& rect);

    void Assign(const TQRCode& source);

private:
    void touched();
    qr::TEncodeOptions Options() const;
    void Render();

    std::string data_;
    char encodeMode_ = '8';
    bool autoEncodeMode_ = true;
    int32_t margin_ = 4;
    int32_t version_ = 1;
    bool autoVersion_ = true;
    int32_t maskNo_ = 0;
    bool autoMask_ = true;
    char level_ = 'M';
    bool dirty_ = true;
    uint32_t changes_ = 0;
    std::optional<qr::TSymbol> symbol_;
    std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace orvella
