#pragma once
// Writes a component and its children as a component stream. The value
// writers are public for the write actions of define-properties entries.

#include "formats/byte_writer.h"
#include "formats/persistent.h"
#include "formats/variant_value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvella {

class TComponent;
struct TPropInfo;

class TWriter : public TFiler {
public:
    // Appends to out.
    explicit TWriter(std::string& out) : out_(out) {}

    // The signature, then root's record with its children.
    void WriteRootComponent(const TComponent& root);

    void WriteListBegin();
    void WriteListEnd();
    // The smallest of int8, int16, int32, else int64.
    void WriteInteger(std::int64_t value);
    void WriteBoolean(bool value);
    // Tag 6 up to 255 bytes, else tag 12; UTF-8 in, CP932 out. Text that
    // CP932 cannot hold raises EWriteError rather than being altered.
    void WriteString(std::string_view utf8);
    // Tag 18: UTF-16 code units.
    void WriteWideString(std::string_view utf8);
    void WriteChar(std::uint8_t value);
    void WriteFloat(long double value);
    void WriteSingle(float value);
    void WriteCurrency(std::int64_t tenThousandths);
    void WriteDate(double days);
    // False, True and nil become their own tags.
    void WriteIdent(std::string_view ident);
    void WriteBinary(std::string_view bytes);

    void DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) override;
    void DefineBinaryProperty(std::string_view name, const TStreamReadProc& read, const TStreamWriteProc& write,
                              bool hasData) override;

private:
    void writeComponent(const TComponent& component);
    void writeProperties(const TPersistent& instance);
    void writeProperty(const TPersistent& instance, const TPropInfo& property);
    void writePropertyName(std::string_view name);
    void writeVariant(const TVariant& value);
    void writeShortString(std::string_view utf8);
    void writeValueType(std::uint8_t tag) { out_.WriteU8(tag); }
    std::string componentReference(const TComponent& component) const;

    TByteWriter out_;
    const TComponent* root_ = nullptr;
    std::string prefix_;
};

// UTF-8 to the stream's CP932 bytes; an unrepresentable character raises
// EWriteError naming it.
std::string ToStreamText(std::string_view utf8);

}  // namespace orvella
