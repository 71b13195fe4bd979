// Text form of a component stream back to the binary stream.

#include "formats/object_text.h"

#include "formats/byte_writer.h"
#include "formats/extended_float.h"
#include "formats/stream_format.h"
#include "platform/text_case.h"
#include "platform/utf8.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace orvella {

namespace {

enum class TokenKind { End, Symbol, Identifier, Integer, Float, String };

struct Token {
    TokenKind kind = TokenKind::End;
    char symbol = 0;
    std::string text;               // identifier, or the number as written
    std::int64_t integer = 0;
    long double real = 0;
    char suffix = 0;                // s, c or d after a float
    std::vector<std::uint32_t> units;  // string characters
    bool wide = false;              // a #N above 127 makes the string wide
};

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
int hexValue(char c) { return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

class TextParser {
public:
    TextParser(std::string_view text, TTextStrings strings) : text_(text), strings_(strings), out_(bytes_) {}

    std::string Parse()
    {
        next();
        out_.WriteBytes(kStreamSignature);
        parseComponent();
        if (token_.kind != TokenKind::End)
            error();
        return std::move(bytes_);
    }

private:
    [[noreturn]] void error() const
    {
        throw EReadError(std::string(stream_message::kInvalidImage) + " (" + std::to_string(line_) + "行目)");
    }

    void skipBlanks()
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n')
                ++line_;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++pos_;
        }
    }

    void next()
    {
        skipBlanks();
        token_ = Token();
        if (pos_ >= text_.size())
            return;
        const char c = text_[pos_];
        if (isLetter(c)) {
            const std::size_t start = pos_;
            while (pos_ < text_.size() && (isLetter(text_[pos_]) || isDigit(text_[pos_]) || text_[pos_] == '.'))
                ++pos_;
            token_.kind = TokenKind::Identifier;
            token_.text = std::string(text_.substr(start, pos_ - start));
        } else if (isDigit(c) || c == '$' || (c == '-' && pos_ + 1 < text_.size() &&
                                              (isDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '$'))) {
            number();
        } else if (c == '\'' || c == '#') {
            string();
        } else {
            token_.kind = TokenKind::Symbol;
            token_.symbol = c;
            ++pos_;
        }
    }

    void number()
    {
        const bool negative = text_[pos_] == '-';
        if (negative)
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '$') {
            ++pos_;
            std::uint64_t value = 0;
            std::size_t digits = 0;
            for (; pos_ < text_.size() && isHexDigit(text_[pos_]); ++pos_, ++digits) {
                if (value >> 60)
                    error();
                value = (value << 4) | std::uint64_t(hexValue(text_[pos_]));
            }
            if (digits == 0 || value > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
                error();
            token_.kind = TokenKind::Integer;
            token_.integer = negative ? -std::int64_t(value) : std::int64_t(value);
            return;
        }
        const std::size_t start = pos_;
        bool real = false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (isDigit(c)) {
                ++pos_;
            } else if (c == '.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1])) {
                real = true;
                ++pos_;
            } else if ((c == 'E' || c == 'e') && pos_ + 1 < text_.size() &&
                       (isDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '+' || text_[pos_ + 1] == '-')) {
                real = true;
                pos_ += 2;
            } else {
                break;
            }
        }
        const std::string_view digits = text_.substr(start, pos_ - start);
        if (real) {
            long double value = 0;
            const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (end != digits.data() + digits.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
                error();
            if (ec == std::errc::result_out_of_range)
                value = std::strtold(std::string(digits).c_str(), nullptr);
            token_.kind = TokenKind::Float;
            token_.real = negative ? -value : value;
            if (pos_ < text_.size() && (text_[pos_] == 's' || text_[pos_] == 'c' || text_[pos_] == 'd') &&
                (pos_ + 1 >= text_.size() || !isLetter(text_[pos_ + 1])))
                token_.suffix = text_[pos_++];
            return;
        }
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc() || end != digits.data() + digits.size()) {
            // -9223372036854775808 does not fit before its sign is applied.
            if (!(negative && digits == "9223372036854775808"))
                error();
            token_.kind = TokenKind::Integer;
            token_.integer = std::numeric_limits<std::int64_t>::min();
            return;
        }
        token_.kind = TokenKind::Integer;
        token_.integer = negative ? -value : value;
    }

    void string()
    {
        token_.kind = TokenKind::String;
        while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
            if (text_[pos_] == '#') {
                ++pos_;
                std::uint32_t value = 0;
                std::size_t digits = 0;
                if (pos_ < text_.size() && text_[pos_] == '$') {
                    for (++pos_; pos_ < text_.size() && isHexDigit(text_[pos_]); ++pos_, ++digits)
                        value = std::min<std::uint32_t>(value * 16 + std::uint32_t(hexValue(text_[pos_])), 0x10FFFF);
                } else {
                    for (; pos_ < text_.size() && isDigit(text_[pos_]); ++pos_, ++digits)
                        value = std::min<std::uint32_t>(value * 10 + std::uint32_t(text_[pos_] - '0'), 0x10FFFF);
                }
                if (digits == 0 || value > 0xFFFF)
                    error();
                if (value > (strings_ == TTextStrings::CodePage ? 255u : 127u))
                    token_.wide = true;
                token_.units.push_back(value);
                continue;
            }
            ++pos_;
            const std::size_t quoted = token_.units.size();
            for (;;) {
                if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
                    error();
                if (text_[pos_] == '\'') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                        token_.units.push_back('\'');
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                token_.units.push_back(std::uint8_t(text_[pos_++]));
            }
            if (strings_ == TTextStrings::CodePage)
                widenUtf8(quoted);
        }
    }

    // A quoted run typed in UTF-8 (not the printed code-page bytes) becomes
    // the wide characters it spells.
    void widenUtf8(std::size_t from)
    {
        std::string run;
        bool high = false;
        for (std::size_t i = from; i < token_.units.size(); ++i) {
            run.push_back(char(token_.units[i]));
            high = high || token_.units[i] > 127;
        }
        if (!high || !IsValidUtf8(run))
            return;
        token_.units.resize(from);
        for (char16_t unit : Utf8ToUtf16(run))
            token_.units.push_back(unit);
        token_.wide = true;
    }

    bool isSymbol(char symbol) const { return token_.kind == TokenKind::Symbol && token_.symbol == symbol; }
    bool isKeyword(std::string_view word) const
    {
        return token_.kind == TokenKind::Identifier && SameText(token_.text, word);
    }
    void expectSymbol(char symbol)
    {
        if (!isSymbol(symbol))
            error();
        next();
    }
    std::string identifier()
    {
        if (token_.kind != TokenKind::Identifier)
            error();
        std::string text = std::move(token_.text);
        next();
        return text;
    }

    void shortString(std::string_view bytes)
    {
        if (bytes.size() > 255)
            error();
        out_.WriteU8(std::uint8_t(bytes.size()));
        out_.WriteBytes(bytes);
    }

    void tag(TValueType type) { out_.WriteU8(std::uint8_t(type)); }

    void integer(std::int64_t value)
    {
        if (value >= -128 && value <= 127) {
            tag(TValueType::vaInt8);
            out_.WriteI8(std::int8_t(value));
        } else if (value >= -32768 && value <= 32767) {
            tag(TValueType::vaInt16);
            out_.WriteI16(std::int16_t(value));
        } else if (value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()) {
            tag(TValueType::vaInt32);
            out_.WriteI32(std::int32_t(value));
        } else {
            tag(TValueType::vaInt64);
            out_.WriteI64(value);
        }
    }

    struct Nest {
        Nest(TextParser& parser) : parser_(parser)
        {
            if (++parser_.depth_ > kMaxStreamNesting)
                parser_.error();
        }
        ~Nest() { --parser_.depth_; }
        TextParser& parser_;
    };

    void parseComponent()
    {
        Nest nest(*this);
        std::uint8_t flags = 0;
        if (isKeyword("inherited"))
            flags |= ffInherited;
        else if (isKeyword("inline"))
            flags |= ffInline;
        else if (!isKeyword("object"))
            error();
        next();
        std::string name;
        std::string className = identifier();
        if (isSymbol(':')) {
            next();
            name = std::move(className);
            className = identifier();
        }
        std::int64_t position = 0;
        if (isSymbol('[')) {
            next();
            if (token_.kind != TokenKind::Integer)
                error();
            position = token_.integer;
            next();
            expectSymbol(']');
            flags |= ffChildPos;
        }
        if (flags != 0) {
            out_.WriteU8(std::uint8_t(0xF0 | flags));
            if (flags & ffChildPos)
                integer(position);
        }
        shortString(className);
        shortString(name);
        while (token_.kind == TokenKind::Identifier && !isKeyword("end") && !isKeyword("object") &&
               !isKeyword("inherited") && !isKeyword("inline"))
            parseProperty();
        tag(TValueType::vaNull);
        while (isKeyword("object") || isKeyword("inherited") || isKeyword("inline"))
            parseComponent();
        tag(TValueType::vaNull);
        if (!isKeyword("end"))
            error();
        next();
    }

    void parseProperty()
    {
        shortString(identifier());
        expectSymbol('=');
        parseValue();
    }

    void writeString(Token string)
    {
        while (isSymbol('+')) {
            next();
            if (token_.kind != TokenKind::String)
                error();
            string.units.insert(string.units.end(), token_.units.begin(), token_.units.end());
            string.wide = string.wide || token_.wide;
            next();
        }
        if (string.wide) {
            tag(TValueType::vaWString);
            out_.WriteU32(std::uint32_t(string.units.size()));
            for (std::uint32_t unit : string.units)
                out_.WriteU16(std::uint16_t(unit));
            return;
        }
        std::string bytes(string.units.begin(), string.units.end());
        if (bytes.size() <= 255) {
            tag(TValueType::vaString);
            out_.WriteU8(std::uint8_t(bytes.size()));
        } else {
            tag(TValueType::vaLString);
            out_.WriteU32(std::uint32_t(bytes.size()));
        }
        out_.WriteBytes(bytes);
    }

    void writeFloat(long double value, char suffix)
    {
        switch (suffix) {
        case 's':
            tag(TValueType::vaSingle);
            out_.WriteU32(std::bit_cast<std::uint32_t>(static_cast<float>(value)));
            return;
        case 'c': {
            const long double scaled = std::round(value * 10000);
            if (!(std::fabs(scaled) < 9.2233720368547758e18L))
                error();
            tag(TValueType::vaCurrency);
            out_.WriteI64(std::int64_t(scaled));
            return;
        }
        case 'd':
            tag(TValueType::vaDate);
            out_.WriteU64(std::bit_cast<std::uint64_t>(static_cast<double>(value)));
            return;
        default: {
            tag(TValueType::vaExtended);
            const TExtendedBytes bytes = EncodeExtended(value);
            out_.WriteBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
        }
    }

    void parseValue()
    {
        Nest nest(*this);
        switch (token_.kind) {
        case TokenKind::Integer:
            integer(token_.integer);
            next();
            return;
        case TokenKind::Float:
            writeFloat(token_.real, token_.suffix);
            next();
            return;
        case TokenKind::String: {
            Token string = std::move(token_);
            next();
            writeString(std::move(string));
            return;
        }
        case TokenKind::Identifier: {
            const std::string ident = identifier();
            if (SameText(ident, "True"))
                tag(TValueType::vaTrue);
            else if (SameText(ident, "False"))
                tag(TValueType::vaFalse);
            else if (SameText(ident, "nil"))
                tag(TValueType::vaNil);
            else {
                tag(TValueType::vaIdent);
                shortString(ident);
            }
            return;
        }
        case TokenKind::Symbol:
            break;
        case TokenKind::End:
            error();
        }
        if (isSymbol('[')) {
            next();
            tag(TValueType::vaSet);
            while (!isSymbol(']')) {
                shortString(identifier());
                if (isSymbol(','))
                    next();
                else if (!isSymbol(']'))
                    error();
            }
            next();
            shortString("");
        } else if (isSymbol('(')) {
            next();
            tag(TValueType::vaList);
            while (!isSymbol(')'))
                parseValue();
            next();
            tag(TValueType::vaNull);
        } else if (isSymbol('<')) {
            next();
            tag(TValueType::vaCollection);
            while (!isSymbol('>')) {
                if (!isKeyword("item"))
                    error();
                next();
                if (isSymbol('[')) {
                    next();
                    if (token_.kind != TokenKind::Integer)
                        error();
                    integer(token_.integer);
                    next();
                    expectSymbol(']');
                }
                tag(TValueType::vaList);
                while (!isKeyword("end"))
                    parseProperty();
                next();
                tag(TValueType::vaNull);
            }
            next();
            tag(TValueType::vaNull);
        } else if (isSymbol('{')) {
            binary();
        } else {
            error();
        }
    }

    // Hex digits between braces, blanks and line breaks ignored.
    void binary()
    {
        std::string data;
        int high = -1;
        for (;;) {
            skipBlanks();
            if (pos_ >= text_.size())
                error();
            const char c = text_[pos_++];
            if (c == '}')
                break;
            if (!isHexDigit(c))
                error();
            if (high < 0) {
                high = hexValue(c);
            } else {
                data += char(high * 16 + hexValue(c));
                high = -1;
            }
        }
        if (high >= 0)
            error();
        tag(TValueType::vaBinary);
        out_.WriteU32(std::uint32_t(data.size()));
        out_.WriteBytes(data);
        next();
    }

    std::string_view text_;
    TTextStrings strings_;
    std::size_t pos_ = 0;
    int line_ = 1;
    Token token_;
    std::string bytes_;
    TByteWriter out_;
    int depth_ = 0;
};

}  // namespace

std::string ObjectTextToBinary(std::string_view text, TTextStrings strings)
{
    return TextParser(text, strings).Parse();
}

}  // namespace orvella
