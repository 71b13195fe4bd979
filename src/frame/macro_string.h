#pragma once
// TMacroString: a table of Name=Value lines through which every configurable
// text of the program is expanded. Plain C++ without Qt: the catalog merge
// library compiles this file unchanged. Text is UTF-8; positions in messages
// count characters.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class EMacroString : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Removes one pair of enclosing double quotes from a text longer than one
// character; anything else comes back unchanged.
std::string Unquote(std::string_view text);

class TMacroString {
public:
    TMacroString() = default;

    // The string-list side: one Name=Value line per macro.
    const std::vector<std::string>& Lines() const noexcept { return lines_; }
    std::size_t Count() const noexcept { return lines_.size(); }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Assign(const std::vector<std::string>& lines) { lines_ = lines; }
    void Assign(const TMacroString& other) { lines_ = other.lines_; }
    void Clear() noexcept { lines_.clear(); }

    // All lines joined with CR LF, and the inverse (CR LF, LF or CR breaks).
    std::string Text() const;
    void SetText(std::string_view text);

    // Index of the first line whose name (the text before its first '=')
    // equals `name` ignoring case; -1 when there is none.
    int IndexOfName(std::string_view name) const noexcept;
    // The value of the first matching line, empty when absent.
    std::string Value(std::string_view name) const;
    // A non-empty value replaces the first match or appends Name=Value; an
    // empty value deletes the first match.
    void SetValue(std::string_view name, std::string_view value);

    // When true (the default), one pair of enclosing quotes is removed from
    // every macro value and from the final result of an expansion.
    bool StripQuotes = true;

    // Replaces every $(Name) and $(Name:modifier) reference in text.
    std::string Expand(std::string_view text);
    // The value of one reference; nameSpec is the text between "$(" and ")".
    std::string ExpandMacro(std::string_view nameSpec);

private:
    std::vector<std::string> lines_;
    // Names being expanded, innermost last: a name met again is circular.
    std::vector<std::string> inProgress_;
    // How deeply Expand is nested; bounded so that a hostile text cannot
    // exhaust the stack.
    int nesting_ = 0;
};

}  // namespace orvella
