#include "formats/component_writer.h"

#include "formats/collection.h"
#include "formats/component.h"
#include "formats/extended_float.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "platform/cp932.h"
#include "platform/text_case.h"
#include "platform/utf8.h"

#include <bit>
#include <cstring>
#include <limits>
#include <utility>

namespace orvella {

std::string ToStreamText(std::string_view utf8)
{
    try {
        return EncodeCp932(utf8, Cp932Mode::Strict);
    } catch (const ECp932& error) {
        throw EWriteError(std::string(stream_message::kWriteError) + " : " + error.what());
    }
}

namespace {

std::uint8_t tag(TValueType type) { return std::uint8_t(type); }

}  // namespace

void TWriter::WriteRootComponent(const TComponent& root)
{
    root_ = &root;
    out_.WriteBytes(kStreamSignature);
    writeComponent(root);
    root_ = nullptr;
}

void TWriter::writeComponent(const TComponent& component)
{
    writeShortString(component.ClassName());
    writeShortString(component.Name());
    writeProperties(component);
    writeValueType(tag(TValueType::vaNull));
    component.GetChildren([this](TComponent& child) { writeComponent(child); });
    writeValueType(tag(TValueType::vaNull));
}

void TWriter::writeProperties(const TPersistent& instance)
{
    for (const TPropInfo& property : instance.ClassInfo().Properties())
        writeProperty(instance, property);
    // Writing only reads the entries' data; the filer interface is shared
    // with the reader, which is why DefineProperties is not const.
    const_cast<TPersistent&>(instance).DefineProperties(*this);
}

void TWriter::writeProperty(const TPersistent& instance, const TPropInfo& property)
{
    if (!property.HasGetter() || !property.HasSetter() || !property.IsStored(instance))
        return;
    auto isDefault = [&](std::int64_t value) { return property.DefaultValue && *property.DefaultValue == value; };

    switch (property.Kind) {
    case TPropKind::Integer: {
        const auto value = std::int32_t(property.GetOrdinal(instance));
        // Compared as the 32-bit value it is: a default declared as an
        // unsigned literal (the system colours) must still match.
        if (property.DefaultValue && std::int32_t(*property.DefaultValue) == value)
            return;
        writePropertyName(property.Name);
        if (const char* ident = IntToIdent(property.IdentTable, value))
            WriteIdent(ident);
        else
            WriteInteger(value);
        return;
    }
    case TPropKind::Char: {
        const std::int64_t value = property.GetOrdinal(instance);
        if (isDefault(value))
            return;
        writePropertyName(property.Name);
        WriteChar(std::uint8_t(value));
        return;
    }
    case TPropKind::Enumeration: {
        const std::int64_t value = property.GetOrdinal(instance);
        if (isDefault(value))
            return;
        if (value < 0 || std::size_t(value) >= property.ElementNames.size())
            throw EWriteError(stream_message::kWriteError);
        writePropertyName(property.Name);
        WriteIdent(property.ElementNames[std::size_t(value)]);
        return;
    }
    case TPropKind::Set: {
        const std::int64_t value = property.GetOrdinal(instance);
        if (isDefault(value))
            return;
        writePropertyName(property.Name);
        writeValueType(tag(TValueType::vaSet));
        for (std::size_t bit = 0; bit < 32 && bit < property.ElementNames.size(); ++bit)
            if (value & (std::int64_t(1) << bit))
                writeShortString(property.ElementNames[bit]);
        writeShortString("");
        return;
    }
    case TPropKind::Float: {
        const long double value = property.GetFloat(instance);
        if (value == 0)
            return;
        writePropertyName(property.Name);
        WriteFloat(value);
        return;
    }
    case TPropKind::String: {
        const std::string value = property.GetString(instance);
        if (value.empty())
            return;
        writePropertyName(property.Name);
        WriteString(value);
        return;
    }
    case TPropKind::Int64: {
        const std::int64_t value = property.GetOrdinal(instance);
        if (value == 0)
            return;
        writePropertyName(property.Name);
        WriteInteger(value);
        return;
    }
    case TPropKind::Method: {
        const std::string value = property.GetString(instance);
        if (value.empty())
            return;
        writePropertyName(property.Name);
        WriteIdent(value);
        return;
    }
    case TPropKind::Variant: {
        const TVariant value = property.GetVariant(instance);
        if (std::holds_alternative<std::monostate>(value))
            return;
        writePropertyName(property.Name);
        writeVariant(value);
        return;
    }
    case TPropKind::Object: {
        const TPersistent* object = property.GetObject(instance);
        if (!object)
            return;
        if (const auto* collection = dynamic_cast<const TCollection*>(object)) {
            writePropertyName(property.Name);
            writeValueType(tag(TValueType::vaCollection));
            const std::string outerPrefix = std::exchange(prefix_, std::string());
            for (std::size_t i = 0; i < collection->Count(); ++i) {
                WriteListBegin();
                writeProperties(collection->Items(i));
                WriteListEnd();
            }
            prefix_ = outerPrefix;
            WriteListEnd();
        } else if (const auto* component = dynamic_cast<const TComponent*>(object)) {
            const std::string reference = componentReference(*component);
            if (reference.empty())
                return;
            writePropertyName(property.Name);
            WriteIdent(reference);
        } else {
            const std::string outerPrefix = prefix_;
            prefix_ += property.Name + ".";
            writeProperties(*object);
            prefix_ = outerPrefix;
        }
        return;
    }
    }
}

void TWriter::writeVariant(const TVariant& value)
{
    struct Visitor {
        TWriter& writer;
        void operator()(std::monostate) const { writer.writeValueType(tag(TValueType::vaNil)); }
        void operator()(TVarNull) const { writer.writeValueType(tag(TValueType::vaNull)); }
        void operator()(std::int32_t v) const { writer.WriteInteger(v); }
        void operator()(std::int64_t v) const { writer.WriteInteger(v); }
        void operator()(float v) const { writer.WriteSingle(v); }
        void operator()(long double v) const { writer.WriteFloat(v); }
        void operator()(TVarCurrency v) const { writer.WriteCurrency(v.TenThousandths); }
        void operator()(TVarDate v) const { writer.WriteDate(v.Days); }
        void operator()(bool v) const { writer.WriteBoolean(v); }
        void operator()(const std::string& v) const { writer.WriteString(v); }
        void operator()(const TVarWide& v) const { writer.WriteWideString(v.Text); }
    };
    std::visit(Visitor{*this}, value);
}

std::string TWriter::componentReference(const TComponent& component) const
{
    if (component.Owner() == root_)
        return component.Name();
    if (&component == root_)
        return "Owner";
    const TComponent* owner = component.Owner();
    if (owner && !owner->Name().empty() && !component.Name().empty())
        return owner->Name() + "." + component.Name();
    if (!component.Name().empty())
        return component.Name() + ".Owner";
    return {};
}

void TWriter::writePropertyName(std::string_view name)
{
    writeShortString(prefix_ + std::string(name));
}

void TWriter::writeShortString(std::string_view utf8)
{
    std::string bytes = ToStreamText(utf8);
    if (bytes.size() > 255)
        bytes.resize(255);
    out_.WriteU8(std::uint8_t(bytes.size()));
    out_.WriteBytes(bytes);
}

void TWriter::WriteListBegin() { writeValueType(tag(TValueType::vaList)); }

void TWriter::WriteListEnd() { writeValueType(tag(TValueType::vaNull)); }

void TWriter::WriteInteger(std::int64_t value)
{
    if (value >= -128 && value <= 127) {
        writeValueType(tag(TValueType::vaInt8));
        out_.WriteI8(std::int8_t(value));
    } else if (value >= -32768 && value <= 32767) {
        writeValueType(tag(TValueType::vaInt16));
        out_.WriteI16(std::int16_t(value));
    } else if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) {
        writeValueType(tag(TValueType::vaInt32));
        out_.WriteI32(std::int32_t(value));
    } else {
        writeValueType(tag(TValueType::vaInt64));
        out_.WriteI64(value);
    }
}

void TWriter::WriteBoolean(bool value)
{
    writeValueType(tag(value ? TValueType::vaTrue : TValueType::vaFalse));
}

void TWriter::WriteString(std::string_view utf8)
{
    const std::string bytes = ToStreamText(utf8);
    if (bytes.size() <= 255) {
        writeValueType(tag(TValueType::vaString));
        out_.WriteU8(std::uint8_t(bytes.size()));
    } else {
        if (bytes.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
            throw EWriteError(stream_message::kWriteError);
        writeValueType(tag(TValueType::vaLString));
        out_.WriteU32(std::uint32_t(bytes.size()));
    }
    out_.WriteBytes(bytes);
}

void TWriter::WriteWideString(std::string_view utf8)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    writeValueType(tag(TValueType::vaWString));
    out_.WriteU32(std::uint32_t(units.size()));
    for (char16_t unit : units)
        out_.WriteU16(unit);
}

void TWriter::WriteChar(std::uint8_t value)
{
    writeValueType(tag(TValueType::vaString));
    out_.WriteU8(1);
    out_.WriteU8(value);
}

void TWriter::WriteFloat(long double value)
{
    writeValueType(tag(TValueType::vaExtended));
    const TExtendedBytes bytes = EncodeExtended(value);
    out_.WriteBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TWriter::WriteSingle(float value)
{
    writeValueType(tag(TValueType::vaSingle));
    out_.WriteU32(std::bit_cast<std::uint32_t>(value));
}

void TWriter::WriteCurrency(std::int64_t tenThousandths)
{
    writeValueType(tag(TValueType::vaCurrency));
    out_.WriteI64(tenThousandths);
}

void TWriter::WriteDate(double days)
{
    writeValueType(tag(TValueType::vaDate));
    out_.WriteU64(std::bit_cast<std::uint64_t>(days));
}

void TWriter::WriteIdent(std::string_view ident)
{
    if (SameText(ident, "False"))
        writeValueType(tag(TValueType::vaFalse));
    else if (SameText(ident, "True"))
        writeValueType(tag(TValueType::vaTrue));
    else if (SameText(ident, "nil"))
        writeValueType(tag(TValueType::vaNil));
    else if (SameText(ident, "Null"))
        writeValueType(tag(TValueType::vaNull));
    else {
        writeValueType(tag(TValueType::vaIdent));
        writeShortString(ident);
    }
}

void TWriter::WriteBinary(std::string_view bytes)
{
    if (bytes.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw EWriteError(stream_message::kWriteError);
    writeValueType(tag(TValueType::vaBinary));
    out_.WriteU32(std::uint32_t(bytes.size()));
    out_.WriteBytes(bytes);
}

void TWriter::DefineProperty(std::string_view name, const TReaderProc&, const TWriterProc& write, bool hasData)
{
    if (!hasData || !write)
        return;
    writePropertyName(name);
    write(*this);
}

void TWriter::DefineBinaryProperty(std::string_view name, const TStreamReadProc&, const TStreamWriteProc& write,
                                   bool hasData)
{
    if (!hasData || !write)
        return;
    writePropertyName(name);
    std::string buffer;
    write(buffer);
    WriteBinary(buffer);
}

}  // namespace orvella
