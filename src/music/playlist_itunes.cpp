// The playlists iTunes writes: its tab-separated text export and its
// library property list.

#include "music/playlist_formats.h"
#include "platform/utf8.h"

#include <stdexcept>

namespace orvella::music_detail {

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else if (static_cast<unsigned char>(c) >= 0x20)
            fields.back() += c;
    }
    return fields;
}

int ColumnOf(const std::vector<std::string>& header, std::string_view name)
{
    for (std::size_t i = 0; i < header.size(); ++i)
        if (header[i] == name)
            return int(i);
    return -1;
}

std::string Field(const std::vector<std::string>& fields, int column)
{
    return column >= 0 && std::size_t(column) < fields.size() ? fields[std::size_t(column)] : std::string();
}

std::string DecodeEntities(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t semi = text.find(';', i);
        if (semi == std::string::npos || semi - i > 10) {
            out += text[i];
            continue;
        }
        const std::string name = text.substr(i + 1, semi - i - 1);
        char32_t code = 0;
        if (name == "amp")
            code = '&';
        else if (name == "lt")
            code = '<';
        else if (name == "gt")
            code = '>';
        else if (name == "quot")
            code = '"';
        else if (name == "apos")
            code = '\'';
        else if (name.size() > 1 && name[0] == '#') {
            try {
                const unsigned long value
                    = name[1] == 'x' ? std::stoul(name.substr(2), nullptr, 16) : std::stoul(name.substr(1));
                code = value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF) ? char32_t(value) : 0;
            } catch (const std::exception&) {
                code = 0;
            }
        }
        if (code == 0) {
            out += text[i];
            continue;
        }
        Utf8Append(out, code);
        i = semi;
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "file://localhost/Music/a%20b.mp3" to "/Music/a b.mp3": the scheme and the
// host are cut, %xx escapes decoded.
std::string LocationPath(const std::string& url)
{
    std::string rest = url;
    const std::size_t scheme = rest.find("//");
    if (scheme != std::string::npos) {
        rest.erase(0, scheme + 2);
        const std::size_t slash = rest.find('/');
        rest.erase(0, slash == std::string::npos ? rest.size() : slash);
    }
    std::string out;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && HexDigit(rest[i + 1]) >= 0 && HexDigit(rest[i + 2]) >= 0) {
            out += char(HexDigit(rest[i + 1]) * 16 + HexDigit(rest[i + 2]));
            i += 2;
        } else {
            out += rest[i];
        }
    }
    if (out.size() > 1 && out.back() == '/')
        out.pop_back();
    // A Windows library names "C:/Music/..." after the host; keep that form.
    if (out.size() >= 3 && out[0] == '/' && out[2] == ':')
        out.erase(0, 1);
    return out;
}

struct TXmlItem {
    bool isTag = false;
    std::string text; // tag without brackets, or the text between tags
};

std::vector<TXmlItem> XmlItems(const std::string& text)
{
    std::vector<TXmlItem> items;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '<') {
            const std::size_t close = text.find('>', pos);
            if (close == std::string::npos)
                throw std::runtime_error("XMLエンコードでは許されない文字です");
            const std::string tag = text.substr(pos + 1, close - pos - 1);
            if (tag.find('<') != std::string::npos)
                throw std::runtime_error("XMLエンコードでは許されない文字です");
            items.push_back({true, tag});
            pos = close + 1;
        } else {
            std::size_t next = text.find('<', pos);
            if (next == std::string::npos)
                next = text.size();
            const std::string between = text.substr(pos, next - pos);
            if (between.find('>') != std::string::npos)
                throw std::runtime_error("XMLエンコードでは許されない文字です");
            if (between.find_first_not_of(" \t\r\n") != std::string::npos)
                items.push_back({false, DecodeEntities(between)});
            pos = next;
        }
    }
    return items;
}

std::string TagName(const std::string& tag)
{
    std::size_t end = tag.find_first_of(" \t\r\n/");
    if (end == 0 && tag.size() > 1 && tag[0] == '/')
        end = tag.find_first_of(" \t\r\n", 1);
    return tag.substr(0, end);
}

} // namespace

void ReadItunesText(const TLines& lines, TM3UFileInfo& list)
{
    const std::vector<std::string> header = SplitTabs(lines.front());
    const int path = ColumnOf(header, "場所");
    const int title = ColumnOf(header, "名前");
    const int time = ColumnOf(header, "時間");
    const int artist = ColumnOf(header, "アーティスト");
    const int album = ColumnOf(header, "アルバム");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const std::vector<std::string> fields = SplitTabs(lines[i]);
        TM3UFileInfo::TEntry entry;
        entry.Path = ResolvePlaylistPath(list.FileName, Field(fields, path));
        entry.Title = Field(fields, title);
        entry.Duration = Field(fields, time);
        entry.Artist = Field(fields, artist);
        entry.Album = Field(fields, album);
        list.Entries.push_back(entry);
    }
}

void ReadItunesXml(const std::string& text, TM3UFileInfo& list)
{
    const std::vector<TXmlItem> items = XmlItems(text);
    std::size_t i = 0;
    auto expectTag = [&](std::string_view name) {
        while (i < items.size() && !items[i].isTag)
            ++i;
        if (i >= items.size() || TagName(items[i].text) != name)
            throw std::runtime_error("not a property list");
        ++i;
    };
    expectTag("?xml");
    expectTag("!DOCTYPE");
    expectTag("plist");

    // Depth of <dict> nesting: 1 the library, 2 the "Tracks" dictionary, 3 a track.
    int depth = 0;
    int tracksDepth = -1;
    std::string key;
    TM3UFileInfo::TEntry* track = nullptr;
    for (; i < items.size(); ++i) {
        const TXmlItem& item = items[i];
        if (!item.isTag)
            continue;
        const std::string name = TagName(item.text);
        if (name == "dict") {
            ++depth;
            if (depth == 2 && key == "Tracks")
                tracksDepth = depth;
            continue;
        }
        if (name == "dict/") {
            continue;
        }
        if (name == "/dict") {
            if (depth == tracksDepth)
                tracksDepth = -1;
            --depth;
            track = nullptr;
            continue;
        }
        if (name == "key" && i + 1 < items.size() && !items[i + 1].isTag) {
            key = items[i + 1].text;
            continue;
        }
        const bool value = name == "string" || name == "integer";
        if (!value || tracksDepth < 0 || depth != tracksDepth + 1 || i + 1 >= items.size() || items[i + 1].isTag)
            continue;
        const std::string& content = items[i + 1].text;
        if (key == "Name") {
            list.Entries.emplace_back();
            track = &list.Entries.back();
            track->Title = content;
        } else if (!track) {
            continue;
        } else if (key == "Artist") {
            track->Artist = content;
        } else if (key == "Album") {
            track->Album = content;
        } else if (key == "Total Time") {
            try {
                track->Duration = std::to_string(std::stoll(content) / 1000);
            } catch (const std::exception&) {
                track->Duration.clear();
            }
        } else if (key == "Location") {
            track->Path = LocationPath(content);
        }
    }
}

} // namespace orvella::music_detail
