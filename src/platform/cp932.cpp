#include "platform/cp932.h"

#include "platform/utf8.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>
#include <system_error>

namespace orvella {

namespace {

// iconv descriptors are costly to open and not safe to share between
// threads, so each thread keeps one per direction.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::system_error(errno, std::generic_category(), std::string("iconv_open ") + from + " -> " + to);
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    iconv_t get()
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
        return handle_;
    }

private:
    iconv_t handle_;
};

iconv_t toCp932()
{
    thread_local IconvHandle handle("CP932", "UTF-8");
    return handle.get();
}

iconv_t fromCp932()
{
    thread_local IconvHandle handle("UTF-8", "CP932");
    return handle.get();
}

// Converts one chunk; returns false and leaves the input where conversion
// stopped when a character cannot be converted.
bool convert(iconv_t cd, const char*& in, std::size_t& inLeft, std::string& out)
{
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
        out.append(buffer, std::size_t(outPtr - buffer));
        if (rc == std::size_t(-1)) {
            if (errno == E2BIG)
                continue;
            return false;  // EILSEQ or EINVAL (truncated sequence)
        }
    }
    return true;
}

}  // namespace

ECp932::ECp932(const std::string& message, std::size_t charIndex, char32_t codePoint)
    : std::runtime_error(message), charIndex_(charIndex), codePoint_(codePoint)
{
}

std::string Cp932UnencodableMessage(char32_t codePoint)
{
    std::string character;
    Utf8Append(character, codePoint);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", unsigned(codePoint));
    return "「" + character + "」(" + code + ")はこの文字コードで保存できない文字です";
}

std::string EncodeCp932(std::string_view utf8, Cp932Mode mode)
{
    std::string out;
    out.reserve(utf8.size());
    iconv_t cd = toCp932();
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    while (!convert(cd, in, inLeft, out)) {
        const std::size_t pos = std::size_t(in - utf8.data());
        if (mode == Cp932Mode::Strict) {
            const char32_t codePoint = Utf8Decode(utf8, pos);
            throw ECp932(Cp932UnencodableMessage(codePoint), Utf8CharCount(utf8.substr(0, pos)), codePoint);
        }
        out += '?';
        const std::size_t skip = Utf8CharLength(utf8, pos);
        in += skip;
        inLeft -= skip;
        cd = toCp932();
    }
    return out;
}

std::string DecodeCp932(std::string_view bytes, Cp932Mode mode)
{
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    iconv_t cd = fromCp932();
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (!convert(cd, in, inLeft, out)) {
        const std::size_t pos = std::size_t(in - bytes.data());
        if (mode == Cp932Mode::Strict) {
            char message[80];
            std::snprintf(message, sizeof message, "CP932として読めないバイト 0x%02X があります (%zu バイト目)",
                          unsigned(static_cast<unsigned char>(bytes[pos])), pos + 1);
            throw ECp932(message, pos, static_cast<unsigned char>(bytes[pos]));
        }
        Utf8Append(out, 0xFFFD);
        ++in;
        --inLeft;
        cd = fromCp932();
    }
    return out;
}

std::optional<std::size_t> FirstNonCp932Char(std::string_view utf8)
{
    try {
        EncodeCp932(utf8, Cp932Mode::Strict);
    } catch (const ECp932& error) {
        return error.CharIndex();
    }
    return std::nullopt;
}

}  // namespace orvella
