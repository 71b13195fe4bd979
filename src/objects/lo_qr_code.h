#pragma once
// The QR code label objects: TLOQRCode publishes the encoder's choices,
// stores the encoded bytes and draws the symbol, turned when its angle is
// not 0; TLOQRStd, the one users create, builds the bytes from a phone-book
// entry, a web page or free text.

#include "document/lo_rect_base.h"
#include "formats/string_list.h"
#include "objects/qr_contents.h"
#include "objects/transformer.h"
#include "platform/guid.h"

#include <memory>
#include <string>

namespace orvella {

class TBitmap;
class TByteReader;
class TQRCode;

class TLOQRCode : public TLORectBase, public IDORotate {
    ORVELLA_PERSISTENT(TLOQRCode)

public:
    TLOQRCode();
    ~TLOQRCode() override;

    TQRCode& Code() { return *code_; }
    const TQRCode& Code() const { return *code_; }

    // --- stored properties (the encoder's, see TQRCode) ---
    int32_t GetAngle() const override { return rotator_.Angle(); }
    void SetAngle(int32_t degrees) override;
    char EncodeMode() const;
    void SetEncodeMode(char mode);
    bool AutoEncodeMode() const;
    void SetAutoEncodeMode(bool value);
    int32_t Version() const;
    void SetVersion(int32_t version);
    bool AutoVersion() const;
    void SetAutoVersion(bool value);
    // The mask the symbol uses, chosen by encoding when AutoMask is set.
    int32_t MaskNo() const;
    void SetMaskNo(int32_t mask);
    bool AutoMask() const;
    void SetAutoMask(bool value);
    char ErrorCorrectLevel() const;
    void SetErrorCorrectLevel(char level);
    int32_t Mergin() const;
    void SetMergin(int32_t margin);
    // The bytes the symbol carries ("QRData").
    const std::string& Data() const;
    void SetData(const std::string& data);
    void SetMargin(int32_t margin);

    // --- drawing object ---
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    void SetBoundsRect(const TRect& rect) override;
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    void Paint(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;
    void DefineProperties(TFiler& filer) override;
    void* QueryInterface(const TGuid& iid) override;

protected:
    // After a change of the encoder's input: the turned picture is stale,
    // the change is reported and the object repainted.
    void CodeChanged();

private:
    void readData(TByteReader& reader);

    TRotator rotator_;
    std::unique_ptr<TQRCode> code_;
    // The turned symbol and its mask (white outside the turned square).
    std::unique_ptr<TBitmap> turned_;
    std::unique_ptr<TBitmap> turnedMask_;
};

// "QRData": a 32-bit little-endian length, then that many bytes. A length
// beyond the payload is a format error.
std::string ReadQRDataPayload(TByteReader& reader);
std::string QRDataPayload(const std::string& data);

class TLOQRStd : public TLOQRCode {
    ORVELLA_PERSISTENT(TLOQRStd)

public:
    TLOQRStd();

    const TStdQRContents& Contents() const { return contents_; }

    TStdQRType QRType() const { return contents_.Type; }
    void SetQRType(TStdQRType type);
    bool QRNameCommaDevide() const { return contents_.NameCommaDevide; }
    void SetQRNameCommaDevide(bool value);
    bool QRFuriganaHankaku() const { return contents_.FuriganaHankaku; }
    void SetQRFuriganaHankaku(bool value);
    const std::string& QRName() const { return contents_.Name; }
    void SetQRName(const std::string& value);
    const std::string& QRFurigana() const { return contents_.Furigana; }
    void SetQRFurigana(const std::string& value);
    const std::string& QRTel1() const { return contents_.Tel1; }
    void SetQRTel1(const std::string& value);
    const std::string& QRTel2() const { return contents_.Tel2; }
    void SetQRTel2(const std::string& value);
    const std::string& QREmail1() const { return contents_.Email1; }
    void SetQREmail1(const std::string& value);
    const std::string& QREmail2() const { return contents_.Email2; }
    void SetQREmail2(const std::string& value);
    const std::string& QRUrlTitle() const { return contents_.UrlTitle; }
    void SetQRUrlTitle(const std::string& value);
    const std::string& QRUrl() const { return contents_.Url; }
    void SetQRUrl(const std::string& value);
    TStdQRKind QRKind() const { return contents_.Kind; }
    void SetQRKind(TStdQRKind kind);
    const std::vector<std::string>& QRText() const { return contents_.Text; }
    void SetQRText(const std::vector<std::string>& lines);

    // Profile items linked to the fields; -1 = typed by hand. Stored and
    // shown only.
    int32_t QRNameID = -1, QRFuriganaID = -1, QRTel1ID = -1, QRTel2ID = -1, QREmail1ID = -1, QREmail2ID = -1;
    int32_t QRUrlTitleID = -1, QRUrlID = -1;
    // A fresh identifier for every new object ("ProfileGuid").
    TGuid ProfileGuid;

    void Assign(const TDrawObject& source) override;
    void DefineProperties(TFiler& filer) override;
    void Loaded() override;

private:
    // Builds the bytes from the contents and encodes them at once.
    void regenerate();
    template <class T>
    void setField(T& field, const T& value);
    // The lines as the stream sees them.
    TStringList textList_;
    TStdQRContents contents_;
};

}  // namespace orvella
