#include "objects/lo_qr_code.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/property_table.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_rotate.h"
#include "graphics/canvas.h"
#include "graphics/graphic.h"
#include "graphics/masked_image.h"
#include "objects/qr_code.h"
#include "objects/rotated_rect.h"

#include <algorithm>
#include <array>
#include <random>

namespace orvella {

namespace {

constexpr TColor kKeyColor = 0xF0F0F0;
// The turned picture is made at one pixel a logical unit, at most this many
// pixels a side; a larger object gets a coarser picture stretched over it.
constexpr int32_t kMaxTurnedSide = 4000;

const std::array<const char*, 3> kQRTypeNames = {"sqtDoCoMo", "sqtVodafone", "sqtAU"};
const std::array<const char*, 3> kQRKindNames = {"sqkTel", "sqkURL", "sqkTEXT"};

TGuid FreshGuid()
{
    static std::random_device device;
    std::uniform_int_distribution<uint32_t> word;
    TGuid guid;
    guid.D1 = word(device);
    const uint32_t middle = word(device);
    guid.D2 = uint16_t(middle);
    guid.D3 = uint16_t(((middle >> 16) & 0x0FFF) | 0x4000);  // random, version 4
    for (int i = 0; i < 8; i += 4) {
        const uint32_t bytes = word(device);
        for (int k = 0; k < 4; ++k)
            guid.D4[i + k] = uint8_t(bytes >> (8 * k));
    }
    guid.D4[0] = uint8_t((guid.D4[0] & 0x3F) | 0x80);
    return guid;
}

}  // namespace

// --- TLOQRCode ---

const TClassInfo& TLOQRCode::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOQRCode, TLORectBase>("TLOQRCode", {
        IntegerProperty("Angle", &TLOQRCode::GetAngle, &TLOQRCode::SetAngle),
        CharProperty("EncodeMode", &TLOQRCode::EncodeMode, &TLOQRCode::SetEncodeMode),
        BooleanProperty("AutoEncodeMode", &TLOQRCode::AutoEncodeMode, &TLOQRCode::SetAutoEncodeMode),
        IntegerProperty("Version", &TLOQRCode::Version, &TLOQRCode::SetVersion),
        BooleanProperty("AutoVersion", &TLOQRCode::AutoVersion, &TLOQRCode::SetAutoVersion),
        IntegerProperty("MaskNo", &TLOQRCode::MaskNo, &TLOQRCode::SetMaskNo),
        BooleanProperty("AutoMask", &TLOQRCode::AutoMask, &TLOQRCode::SetAutoMask),
        CharProperty("ErrorCorrectLevel", &TLOQRCode::ErrorCorrectLevel, &TLOQRCode::SetErrorCorrectLevel),
        IntegerProperty("Mergin", &TLOQRCode::Mergin, &TLOQRCode::SetMergin),
    });
    return info;
}

TLOQRCode::TLOQRCode()
    : code_(std::make_unique<TQRCode>()), turned_(std::make_unique<TBitmap>()),
      turnedMask_(std::make_unique<TBitmap>())
{
    SetBoundsRect({0, 0, 200, 200});
}

TLOQRCode::~TLOQRCode() = default;

void TLOQRCode::CodeChanged()
{
    turned_->SetSize(0, 0, TPixelFormat::pf24bit);
    Changed();
    Invalidate();
}

void TLOQRCode::SetAngle(int32_t degrees)
{
    if (degrees == rotator_.Angle())
        return;
    rotator_.SetAngle(degrees);
    CodeChanged();
    UpdateBounds();
}

// Each setter forwards to the encoder and reports only a real change.
#define ORVELLA_QR_FORWARD(Setter, Type)              \
    void TLOQRCode::Setter(Type value)               \
    {                                                \
        const uint32_t before = code_->Changes();    \
        code_->Setter(value);                        \
        if (code_->Changes() != before)              \
            CodeChanged();                           \
    }

ORVELLA_QR_FORWARD(SetEncodeMode, char)
ORVELLA_QR_FORWARD(SetAutoEncodeMode, bool)
ORVELLA_QR_FORWARD(SetVersion, int32_t)
ORVELLA_QR_FORWARD(SetAutoVersion, bool)
ORVELLA_QR_FORWARD(SetMaskNo, int32_t)
ORVELLA_QR_FORWARD(SetAutoMask, bool)
ORVELLA_QR_FORWARD(SetErrorCorrectLevel, char)
ORVELLA_QR_FORWARD(SetData, const std::string&)
ORVELLA_QR_FORWARD(SetMargin, int32_t)
#undef ORVELLA_QR_FORWARD

void TLOQRCode::SetMergin(int32_t margin)
{
    SetMargin(margin);
}

char TLOQRCode::EncodeMode() const { return code_->EncodeMode(); }
bool TLOQRCode::AutoEncodeMode() const { return code_->AutoEncodeMode(); }
int32_t TLOQRCode::Version() const { return code_->Version(); }
bool TLOQRCode::AutoVersion() const { return code_->AutoVersion(); }
bool TLOQRCode::AutoMask() const { return code_->AutoMask(); }
char TLOQRCode::ErrorCorrectLevel() const { return code_->ErrorCorrectLevel(); }
int32_t TLOQRCode::Mergin() const { return code_->Margin(); }
const std::string& TLOQRCode::Data() const { return code_->Data(); }

int32_t TLOQRCode::MaskNo() const
{
    // The chosen mask is known only after encoding.
    code_->Update();
    return code_->MaskNo();
}

void TLOQRCode::SetExtent(int32_t width, int32_t height)
{
    const TSize size = ExtentForBounds(Rect(), rotator_, width, height);
    SetBoundsRect({Rect().Left, Rect().Top, OffsetCoordinate(Rect().Left, size.cx),
                   OffsetCoordinate(Rect().Top, size.cy)});
}

void TLOQRCode::DrawOutline(TCanvas& canvas)
{
    OutlineRotatedRect(canvas, Rect(), rotator_);
}

void TLOQRCode::SetBoundsRect(const TRect& rect)
{
    const TRect before = Rect();
    TLORectBase::SetBoundsRect(rect);
    if (Rect() == before)
        return;
    rotator_.SetCentre({(Rect().Left + Rect().Right) / 2, (Rect().Top + Rect().Bottom) / 2});
    if (Rect().Right - Rect().Left != before.Right - before.Left ||
        Rect().Bottom - Rect().Top != before.Bottom - before.Top)
        turned_->SetSize(0, 0, TPixelFormat::pf24bit);
    UpdateBounds();
}

TRect TLOQRCode::GetLogicalBounds() const
{
    return RotatedBounds(Rect(), rotator_);
}

bool TLOQRCode::HitTest(TPoint logical)
{
    return HitsRotatedRect(Rect(), rotator_, logical);
}

void TLOQRCode::Paint(TCanvas& canvas)
{
    const TRect rect = Rect();
    if (rotator_.Angle() == 0) {
        code_->Draw(canvas, rect);
        return;
    }
    code_->Update();
    if (!code_->Symbol())
        return;
    if (turned_->Width() == 0) {
        const int64_t width = int64_t(rect.Right) - rect.Left;
        const int64_t height = int64_t(rect.Bottom) - rect.Top;
        if (width <= 0 || height <= 0)
            return;
        const int64_t longer = std::max(width, height);
        const int32_t workWidth = int32_t(std::max<int64_t>(1, longer > kMaxTurnedSide ? width * kMaxTurnedSide / longer : width));
        const int32_t workHeight =
            int32_t(std::max<int64_t>(1, longer > kMaxTurnedSide ? height * kMaxTurnedSide / longer : height));
        TBitmap work(workWidth, workHeight);
        work.Canvas().Brush().Color = kKeyColor;
        work.Canvas().FillRect({0, 0, workWidth, workHeight});
        code_->Draw(work.Canvas(), {0, 0, workWidth, workHeight});
        TBitmap mask;
        BuildTransparencyMask(work, kKeyColor, mask);
        RotateBitmapKeepTransparency(work, &mask, *turned_, turnedMask_.get(), rotator_.Angle(),
                                     {workWidth, workHeight});
    }
    if (turned_->Width() > 0)
        DrawMasked(canvas, RotatedBounds(rect, rotator_), *turned_, *turnedMask_);
}

void TLOQRCode::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* other = dynamic_cast<const TLOQRCode*>(&source)) {
            SetAngle(other->GetAngle());
            code_->Assign(*other->code_);
            CodeChanged();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string ReadQRDataPayload(TByteReader& reader)
{
    const std::size_t length = reader.ReadLength32();
    return std::string(reader.ReadBytes(length));
}

std::string QRDataPayload(const std::string& data)
{
    std::string bytes;
    TByteWriter out(bytes);
    out.WriteU32(uint32_t(data.size()));
    bytes += data;
    return bytes;
}

void TLOQRCode::readData(TByteReader& reader)
{
    SetData(ReadQRDataPayload(reader));
}

void TLOQRCode::DefineProperties(TFiler& filer)
{
    TLORectBase::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "QRData", [this](TByteReader& reader) { readData(reader); },
        [this](std::string& bytes) { bytes += QRDataPayload(code_->Data()); }, true);
}

void* TLOQRCode::QueryInterface(const TGuid& iid)
{
    if (iid == IDORotate::IID)
        return Offer<IDORotate>(this);
    return TLORectBase::QueryInterface(iid);
}

// --- TLOQRStd ---

const TClassInfo& TLOQRStd::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOQRStd, TLOQRCode>("TLOQRStd", {
        EnumProperty("QRType", kQRTypeNames, &TLOQRStd::QRType, &TLOQRStd::SetQRType).Default(0),
        BooleanProperty("QRNameCommaDevide", &TLOQRStd::QRNameCommaDevide, &TLOQRStd::SetQRNameCommaDevide)
            .Default(0),
        BooleanProperty("QRFuriganaHankaku", &TLOQRStd::QRFuriganaHankaku, &TLOQRStd::SetQRFuriganaHankaku)
            .Default(1),
        StringProperty("QRName", &TLOQRStd::QRName, &TLOQRStd::SetQRName),
        StringProperty("QRFurigana", &TLOQRStd::QRFurigana, &TLOQRStd::SetQRFurigana),
        StringProperty("QRTel1", &TLOQRStd::QRTel1, &TLOQRStd::SetQRTel1),
        StringProperty("QRTel2", &TLOQRStd::QRTel2, &TLOQRStd::SetQRTel2),
        StringProperty("QREmail1", &TLOQRStd::QREmail1, &TLOQRStd::SetQREmail1),
        StringProperty("QREmail2", &TLOQRStd::QREmail2, &TLOQRStd::SetQREmail2),
        IntegerProperty("QRNameID", &TLOQRStd::QRNameID).Default(-1),
        IntegerProperty("QRFuriganaID", &TLOQRStd::QRFuriganaID).Default(-1),
        IntegerProperty("QRTel1ID", &TLOQRStd::QRTel1ID).Default(-1),
        IntegerProperty("QRTel2ID", &TLOQRStd::QRTel2ID).Default(-1),
        IntegerProperty("QREmail1ID", &TLOQRStd::QREmail1ID).Default(-1),
        IntegerProperty("QREmail2ID", &TLOQRStd::QREmail2ID).Default(-1),
        StringProperty("QRUrlTitle", &TLOQRStd::QRUrlTitle, &TLOQRStd::SetQRUrlTitle),
        StringProperty("QRUrl", &TLOQRStd::QRUrl, &TLOQRStd::SetQRUrl),
        EnumProperty("QRKind", kQRKindNames, &TLOQRStd::QRKind, &TLOQRStd::SetQRKind).Default(0),
        IntegerProperty("QRUrlTitleID", &TLOQRStd::QRUrlTitleID),
        IntegerProperty("QRUrlID", &TLOQRStd::QRUrlID),
        ObjectProperty("QRText", &TLOQRStd::textList_),
    });
    return info;
}

TLOQRStd::TLOQRStd() : ProfileGuid(FreshGuid()) {}

template <class T>
void TLOQRStd::setField(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    regenerate();
}

void TLOQRStd::regenerate()
{
    if (const std::optional<std::string> data = BuildStdQRData(contents_))
        Code().SetData(*data);
    Code().Update();
    CodeChanged();
}

void TLOQRStd::SetQRType(TStdQRType type) { setField(contents_.Type, type); }
void TLOQRStd::SetQRNameCommaDevide(bool value) { setField(contents_.NameCommaDevide, value); }
void TLOQRStd::SetQRFuriganaHankaku(bool value) { setField(contents_.FuriganaHankaku, value); }
void TLOQRStd::SetQRName(const std::string& value) { setField(contents_.Name, value); }
void TLOQRStd::SetQRFurigana(const std::string& value) { setField(contents_.Furigana, value); }
void TLOQRStd::SetQRTel1(const std::string& value) { setField(contents_.Tel1, value); }
void TLOQRStd::SetQRTel2(const std::string& value) { setField(contents_.Tel2, value); }
void TLOQRStd::SetQREmail1(const std::string& value) { setField(contents_.Email1, value); }
void TLOQRStd::SetQREmail2(const std::string& value) { setField(contents_.Email2, value); }
void TLOQRStd::SetQRUrlTitle(const std::string& value) { setField(contents_.UrlTitle, value); }
void TLOQRStd::SetQRUrl(const std::string& value) { setField(contents_.Url, value); }
void TLOQRStd::SetQRKind(TStdQRKind kind) { setField(contents_.Kind, kind); }

void TLOQRStd::SetQRText(const std::vector<std::string>& lines)
{
    textList_.Lines = lines;
    setField(contents_.Text, lines);
}

void TLOQRStd::Loaded()
{
    TLOQRCode::Loaded();
    // The reader fills the lines in place. The stored bytes, read after
    // every property, are what the symbol carries, so nothing is rebuilt.
    contents_.Text = textList_.Lines;
}

void TLOQRStd::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLOQRCode::Assign(source);
        if (const auto* other = dynamic_cast<const TLOQRStd*>(&source)) {
            contents_ = other->contents_;
            textList_.Lines = other->textList_.Lines;
            QRNameID = other->QRNameID;
            QRFuriganaID = other->QRFuriganaID;
            QRTel1ID = other->QRTel1ID;
            QRTel2ID = other->QRTel2ID;
            QREmail1ID = other->QREmail1ID;
            QREmail2ID = other->QREmail2ID;
            QRUrlTitleID = other->QRUrlTitleID;
            QRUrlID = other->QRUrlID;
            ProfileGuid = other->ProfileGuid;
            Changed();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLOQRStd::DefineProperties(TFiler& filer)
{
    TLOQRCode::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "ProfileGuid",
        [this](TByteReader& reader) {
            TGuid guid;
            guid.D1 = reader.ReadU32();
            guid.D2 = reader.ReadU16();
            guid.D3 = reader.ReadU16();
            const std::string_view rest = reader.ReadBytes(8);
            std::copy(rest.begin(), rest.end(), guid.D4);
            ProfileGuid = guid;
        },
        [this](std::string& bytes) {
            TByteWriter out(bytes);
            out.WriteU32(ProfileGuid.D1);
            out.WriteU16(ProfileGuid.D2);
            out.WriteU16(ProfileGuid.D3);
            bytes.append(reinterpret_cast<const char*>(ProfileGuid.D4), 8);
        },
        true);
}

}  // namespace orvella
