#pragma once
// The vocabulary of component streams shared by the reader, the writer and
// the text converter: value tags, the signature, the messages and the
// exceptions that carry them.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvella {

// Tag byte in front of every stored value.
enum class TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
};
inline constexpr std::uint8_t kMaxValueType = 19;

inline constexpr char kStreamSignature[] = "TPF0";

// Prefix flags of a component record (the byte is 0xF0 | flags).
enum TFilerFlag : std::uint8_t {
    ffInherited = 1,
    ffChildPos = 2,
    ffInline = 4,
};

// Lists, collections, nested components and dotted paths may not nest deeper
// than this; a stream that does is damaged or hostile.
inline constexpr int kMaxStreamNesting = 64;

namespace stream_message {
inline constexpr char kInvalidImage[] = "不正なストリーム フォーマット";
inline constexpr char kClassNotFound[] = "クラス %s が見つかりません";
inline constexpr char kDuplicateClass[] = "クラス名 %s はすでに使われています";
inline constexpr char kInvalidPropertyValue[] = "不正なプロパティの値です";
inline constexpr char kInvalidPropertyPath[] = "不正なプロパティのパスです";
inline constexpr char kUnknownProperty[] = "プロパティが存在しません";
inline constexpr char kReadOnlyProperty[] = "プロパティは書き込み禁止です";
inline constexpr char kPropertyException[] = "%s%s%s の読み込み中のエラー : %s";
inline constexpr char kWriteError[] = "ストリームへの書き込みエラー";
inline constexpr char kReadError[] = "ストリームからの読み込みエラー";
inline constexpr char kAncestorNotFound[] = "'%s' の継承元が存在しません";
}  // namespace stream_message

// Replaces each "%s" of pattern by the next argument, in order.
std::string FormatMessage(const char* pattern, std::initializer_list<std::string> args);

// Every failure of reading or writing a component stream.
class EFilerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EReadError : public EFilerError {
public:
    using EFilerError::EFilerError;
};

class EWriteError : public EFilerError {
public:
    using EFilerError::EFilerError;
};

class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};

// A failure inside one property, already wrapped with the component name and
// the property path; it is not wrapped a second time on its way out.
class EPropertyReadError : public EReadError {
public:
    using EReadError::EReadError;
};

}  // namespace orvella
