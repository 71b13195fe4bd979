// Binary component stream to its text form.

#include "formats/object_text.h"

#include "formats/byte_reader.h"
#include "formats/component_stream.h"
#include "formats/extended_float.h"
#include "formats/stream_format.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace orvella {

std::string FormatStreamFloat(long double value)
{
    constexpr std::size_t kWidth = 29;
    std::string special;
    if (std::isnan(value))
        special = "Nan";
    else if (std::isinf(value))
        special = value < 0 ? "-Inf" : "+Inf";
    if (!special.empty())
        return std::string(kWidth - special.size(), ' ') + special;

    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                      std::chars_format::scientific, 20);
    const std::string_view text(digits, std::size_t(result.ptr - digits));  // d.ddd...e+XX
    const std::size_t e = text.find('e');
    const int exponent = std::stoi(std::string(text.substr(e + 1)));
    std::string exponentDigits = std::to_string(std::abs(exponent));
    exponentDigits.insert(0, 4 - std::min<std::size_t>(4, exponentDigits.size()), '0');
    return std::string(std::signbit(value) ? "-" : " ") + std::string(text.substr(0, e)) + "E" +
           (exponent < 0 ? "-" : "+") + exponentDigits;
}

namespace {

class TextPrinter {
public:
    explicit TextPrinter(TByteReader& in) : in_(in) {}

    std::string Print()
    {
        if (in_.Remaining() < 4 || in_.ReadBytes(4) != std::string_view(kStreamSignature, 4))
            TByteReader::Fail(stream_message::kInvalidImage);
        printComponent("");
        return std::move(out_);
    }

private:
    class Nest {
    public:
        explicit Nest(int& depth) : depth_(depth)
        {
            if (++depth_ > kMaxStreamNesting)
                TByteReader::Fail(stream_message::kInvalidImage);
        }
        ~Nest() { --depth_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

    private:
        int& depth_;
    };

    std::string shortString() { return std::string(in_.ReadBytes(in_.ReadU8())); }

    std::int64_t integer(std::uint8_t tag)
    {
        switch (TValueType(tag)) {
        case TValueType::vaInt8: return in_.ReadI8();
        case TValueType::vaInt16: return in_.ReadI16();
        case TValueType::vaInt32: return in_.ReadI32();
        case TValueType::vaInt64: return in_.ReadI64();
        default: TByteReader::Fail(stream_message::kInvalidImage);
        }
    }

    void printComponent(const std::string& indent)
    {
        Nest nest(depth_);
        std::uint8_t flags = 0;
        std::int64_t position = 0;
        if (in_.PeekU8() >= 0xF0) {
            flags = in_.ReadU8() & 0x0F;
            if (flags & ffChildPos)
                position = integer(in_.ReadU8());
        }
        const std::string className = shortString();
        const std::string name = shortString();
        out_ += indent;
        out_ += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
        if (!name.empty())
            out_ += name + ": ";
        out_ += className;
        if (flags & ffChildPos)
            out_ += "[" + std::to_string(position) + "]";
        out_ += '\n';
        while (in_.PeekU8() != 0)
            printProperty(indent + "  ");
        in_.ReadU8();
        while (in_.PeekU8() != 0)
            printComponent(indent + "  ");
        in_.ReadU8();
        out_ += indent + "end\n";
    }

    void printProperty(const std::string& indent)
    {
        out_ += indent + shortString() + " = ";
        printValue(indent);
        out_ += '\n';
    }

    template <class Unit>
    void quote(const Unit* units, std::size_t count)
    {
        bool open = false;
        for (std::size_t i = 0; i < count; ++i) {
            const auto c = std::uint32_t(units[i]);
            if (c >= 32 && c <= 126) {
                if (!open)
                    out_ += '\'';
                open = true;
                out_ += char(c);
                if (c == '\'')
                    out_ += '\'';
            } else {
                if (open)
                    out_ += '\'';
                open = false;
                out_ += '#' + std::to_string(c);
            }
        }
        if (open)
            out_ += '\'';
        if (count == 0)
            out_ += "''";
    }

    void printBytes(std::string_view bytes)
    {
        quote(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }

    void printValue(const std::string& indent)
    {
        Nest nest(depth_);
        const std::uint8_t tag = in_.ReadU8();
        switch (TValueType(tag)) {
        case TValueType::vaList:
            out_ += '(';
            if (in_.PeekU8() != 0)
                out_ += '\n';
            while (in_.PeekU8() != 0) {
                out_ += indent + "  ";
                printValue(indent + "  ");
                out_ += '\n';
            }
            in_.ReadU8();
            out_ += indent + ")";
            return;
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaInt64:
            out_ += std::to_string(integer(tag));
            return;
        case TValueType::vaExtended: {
            TExtendedBytes bytes;
            std::memcpy(bytes.data(), in_.ReadBytes(bytes.size()).data(), bytes.size());
            out_ += FormatStreamFloat(DecodeExtended(bytes));
            return;
        }
        case TValueType::vaString:
            printBytes(in_.ReadBytes(in_.ReadU8()));
            return;
        case TValueType::vaLString:
            printBytes(in_.ReadBytes(in_.ReadLength32()));
            return;
        case TValueType::vaIdent:
            out_ += shortString();
            return;
        case TValueType::vaFalse: out_ += "False"; return;
        case TValueType::vaTrue: out_ += "True"; return;
        case TValueType::vaNil: out_ += "nil"; return;
        case TValueType::vaBinary: {
            static const char kHex[] = "0123456789ABCDEF";
            const std::string_view bytes = in_.ReadBytes(in_.ReadLength32());
            out_ += "{\n";
            for (std::size_t start = 0; start < bytes.size(); start += 32) {
                out_ += indent + "  ";
                for (std::size_t i = start; i < std::min(bytes.size(), start + 32); ++i) {
                    out_ += kHex[std::uint8_t(bytes[i]) >> 4];
                    out_ += kHex[std::uint8_t(bytes[i]) & 15];
                }
                out_ += '\n';
            }
            out_ += indent + "}";
            return;
        }
        case TValueType::vaSet: {
            out_ += '[';
            bool first = true;
            for (std::string name = shortString(); !name.empty(); name = shortString()) {
                if (!first)
                    out_ += ", ";
                first = false;
                out_ += name;
            }
            out_ += ']';
            return;
        }
        case TValueType::vaCollection:
            out_ += '<';
            while (in_.PeekU8() != 0) {
                out_ += indent + "\n" + indent + "  item";
                if (in_.PeekU8() != std::uint8_t(TValueType::vaList))
                    out_ += "[" + std::to_string(integer(in_.ReadU8())) + "]";
                if (in_.ReadU8() != std::uint8_t(TValueType::vaList))
                    TByteReader::Fail(stream_message::kInvalidImage);
                out_ += '\n';
                while (in_.PeekU8() != 0)
                    printProperty(indent + "    ");
                in_.ReadU8();
                out_ += indent + "  end";
            }
            in_.ReadU8();
            out_ += '>';
            return;
        case TValueType::vaSingle:
            out_ += FormatStreamFloat(std::bit_cast<float>(in_.ReadU32())) + "s";
            return;
        case TValueType::vaCurrency: {
            const std::int64_t value = in_.ReadI64();
            const std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
            std::string fraction = std::to_string(magnitude % 10000);
            fraction.insert(0, 4 - fraction.size(), '0');
            out_ += (value < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction + "c";
            return;
        }
        case TValueType::vaDate:
            out_ += FormatStreamFloat(std::bit_cast<double>(in_.ReadU64())) + "d";
            return;
        case TValueType::vaWString: {
            const std::string_view bytes = in_.ReadBytes(in_.ReadLength32(2) * 2);
            std::u16string units(bytes.size() / 2, u'\0');
            for (std::size_t i = 0; i < units.size(); ++i)
                units[i] = char16_t(std::uint8_t(bytes[2 * i]) | (std::uint8_t(bytes[2 * i + 1]) << 8));
            quote(units.data(), units.size());
            return;
        }
        case TValueType::vaNull:
        default:
            TByteReader::Fail(stream_message::kInvalidImage);
        }
    }

    TByteReader& in_;
    std::string out_;
    int depth_ = 0;
};

}  // namespace

std::string ObjectBinaryToText(std::string_view bytes)
{
    TByteReader in(bytes);
    if (HasResHeader(bytes))
        ReadResHeader(in);
    return TextPrinter(in).Print();
}

}  // namespace orvella
