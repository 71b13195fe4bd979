#include "frame/macro_string.h"

#include "platform/text_case.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cstdio>

namespace orvella {

namespace {

// Texts nest references in names and values; no real table comes near this,
// and every level costs two stack frames.
constexpr int kMaxNesting = 200;
constexpr std::size_t kMaxModifierChars = 255;

std::string formatMessage(const char* pattern, std::string_view text, std::size_t position)
{
    // pattern holds one %s and one %d, in that order.
    const std::string_view p(pattern);
    const std::size_t s = p.find("%s");
    const std::size_t d = p.find("%d");
    std::string message(p.substr(0, s));
    message += text;
    message += p.substr(s + 2, d - s - 2);
    message += std::to_string(position);
    message += p.substr(d + 2);
    return message;
}

std::string formatMessage(const char* pattern, std::string_view argument)
{
    const std::string_view p(pattern);
    const std::size_t s = p.find("%s");
    std::string message(p.substr(0, s));
    message += argument;
    message += p.substr(s + 2);
    return message;
}

// The character position (from 1) of the byte at `offset`.
std::size_t charPosition(std::string_view text, std::size_t offset)
{
    return Utf8CharCount(text.substr(0, offset)) + 1;
}

std::string_view nameOfLine(std::string_view line, bool& hasEquals)
{
    const std::size_t equals = line.find('=');
    hasEquals = equals != std::string_view::npos;
    return hasEquals ? line.substr(0, equals) : line;
}

// Restores the in-progress list on every exit from ExpandMacro.
class InProgressGuard {
public:
    InProgressGuard(std::vector<std::string>& list, std::string name) : list_(list)
    {
        list_.push_back(std::move(name));
    }
    ~InProgressGuard() { list_.pop_back(); }
    InProgressGuard(const InProgressGuard&) = delete;
    InProgressGuard& operator=(const InProgressGuard&) = delete;

private:
    std::vector<std::string>& list_;
};

class NestingGuard {
public:
    explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};

}  // namespace

std::string Unquote(std::string_view text)
{
    if (text.size() > 1 && text.front() == '"' && text.back() == '"')
        return std::string(text.substr(1, text.size() - 2));
    return std::string(text);
}

std::string TMacroString::Text() const
{
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TMacroString::SetText(std::string_view text)
{
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        lines_.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

int TMacroString::IndexOfName(std::string_view name) const noexcept
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        bool hasEquals = false;
        const std::string_view lineName = nameOfLine(lines_[i], hasEquals);
        if (hasEquals && SameText(lineName, name))
            return int(i);
    }
    return -1;
}

std::string TMacroString::Value(std::string_view name) const
{
    const int index = IndexOfName(name);
    if (index < 0)
        return {};
    const std::string& line = lines_[std::size_t(index)];
    return line.substr(line.find('=') + 1);
}

void TMacroString::SetValue(std::string_view name, std::string_view value)
{
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            lines_.erase(lines_.begin() + index);
        return;
    }
    std::string line(name);
    line += '=';
    line += value;
    if (index >= 0)
        lines_[std::size_t(index)] = std::move(line);
    else
        lines_.push_back(std::move(line));
}

std::string TMacroString::Expand(std::string_view text)
{
    static constexpr char kWrongMacro[] = "%sの%d文字目から始まるマクロが間違っています";
    static constexpr char kNotClosed[] = "%sの%d文字目から始まるマクロが閉じていません";

    NestingGuard nesting(nesting_);
    std::string result;
    result.reserve(text.size());
    int depth = 0;
    std::size_t openParen = std::string_view::npos;  // byte offset of the open reference's '('
    // '$', '(' and ')' are ASCII and never occur inside a multi-byte UTF-8
    // sequence, so scanning bytes finds exactly the characters the rules name.
    for (std::size_t j = 0; j < text.size(); ++j) {
        const bool referenceOpen = openParen != std::string_view::npos;
        if (j + 1 < text.size() && text[j] == '$' && text[j + 1] == '(') {
            ++depth;
            if (!referenceOpen)
                openParen = j + 1;
        }
        if (openParen == std::string_view::npos) {
            result += text[j];
            continue;
        }
        if (text[j] != ')')
            continue;
        --depth;
        if (depth != 0)
            continue;
        if (j == openParen + 1)
            throw EMacroString(formatMessage(kWrongMacro, text, charPosition(text, openParen)));
        if (nesting_ >= kMaxNesting)
            throw EMacroString(formatMessage(kWrongMacro, text, charPosition(text, openParen)));
        result += ExpandMacro(text.substr(openParen + 1, j - openParen - 1));
        openParen = std::string_view::npos;
    }
    if (openParen != std::string_view::npos)
        throw EMacroString(formatMessage(kNotClosed, text, charPosition(text, openParen)));
    if (StripQuotes)
        return Unquote(result);
    return result;
}

std::string TMacroString::ExpandMacro(std::string_view nameSpec)
{
    const std::string expanded = Expand(nameSpec);
    std::string_view name = expanded;
    std::string_view modifier;
    if (const std::size_t colon = expanded.find(':'); colon != std::string::npos) {
        name = std::string_view(expanded).substr(0, colon);
        modifier = Utf8Left(std::string_view(expanded).substr(colon + 1), kMaxModifierChars);
    }

    for (const std::string& busy : inProgress_)
        if (SameText(busy, name))
            throw EMacroString(formatMessage("%s マクロが循環参照されています", name));

    std::string value;
    {
        InProgressGuard guard(inProgress_, std::string(name));
        const bool inessential = SameText(modifier, "unessential") || SameText(modifier, "inessential");
        const std::string raw = Value(name);
        if (raw.empty() && !inessential)
            throw EMacroString(formatMessage("未定義の%sマクロが使用されています", name));
        value = Expand(raw);
    }
    if (StripQuotes)
        value = Unquote(value);

    if (modifier.empty() || SameText(modifier, "unessential") || SameText(modifier, "inessential"))
        return value;
    if (SameText(modifier, "Drive"))
        return std::string(Utf8Left(value, 1));
    if (SameText(modifier, "shortPath"))
        return value;  // this system has no short path names
    throw EMacroString(formatMessage("未定義のフォーマット指定(%s)が使用されています", modifier));
}

}  // namespace orvella
