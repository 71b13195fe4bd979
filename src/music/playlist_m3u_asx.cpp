// M3U playlists and the ASX family.

#include "music/mp3_file_info.h"
#include "music/playlist_formats.h"
#include "platform/text_case.h"

#include <cctype>

namespace orvella::music_detail {

namespace {

struct TPending {
    std::string path;
    std::string title;
    std::string duration;
    bool fromExtInf = false;
};

void Commit(TPending& pending, TM3UFileInfo& list)
{
    if (!pending.path.empty()) {
        TM3UFileInfo::TEntry entry;
        entry.Path = ResolvePlaylistPath(list.FileName, pending.path);
        if (pending.fromExtInf) {
            entry.Title = pending.title;
            entry.Duration = pending.duration;
        } else {
            TMP3FileInfo info;
            info.FileName = entry.Path;
            if (info.Read()) {
                entry.Title = info.Title;
                entry.Duration = std::to_string(info.Duration);
                entry.Artist = info.Artist;
                entry.Album = info.Album;
            }
        }
        list.Entries.push_back(entry);
    }
    pending = TPending {};
}

std::string Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

// The quoted value of attribute `name` in an ASX tag, or nothing.
bool QuotedAttribute(const std::string& line, std::string_view name, std::string& value)
{
    const std::string upper = UpperCase(line);
    const std::string key = UpperCase(name);
    std::size_t at = 0;
    while ((at = upper.find(key, at)) != std::string::npos) {
        std::size_t pos = at + key.size();
        const bool wordStart = at == 0 || !std::isalnum(static_cast<unsigned char>(upper[at - 1]));
        at = pos;
        if (!wordStart)
            continue;
        while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos])))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            continue;
        ++pos;
        while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos])))
            ++pos;
        if (pos >= line.size() || (line[pos] != '"' && line[pos] != '\''))
            continue;
        const char quote = line[pos];
        const std::size_t close = line.find(quote, pos + 1);
        if (close == std::string::npos)
            return false;
        value = line.substr(pos + 1, close - pos - 1);
        return true;
    }
    return false;
}

// "hours:minutes:seconds.fraction" (or fewer parts) in whole seconds.
std::string AsxSeconds(const std::string& text)
{
    std::string whole = text;
    const std::size_t dot = whole.rfind('.');
    if (dot != std::string::npos)
        whole.resize(dot);
    long total = 0;
    std::size_t start = 0;
    while (start <= whole.size()) {
        std::size_t colon = whole.find(':', start);
        if (colon == std::string::npos)
            colon = whole.size();
        long part = 0;
        for (std::size_t i = start; i < colon; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(whole[i])) || part > 1000000)
                return {};
            part = part * 10 + (whole[i] - '0');
        }
        total = total * 60 + part;
        start = colon + 1;
    }
    return std::to_string(total);
}

} // namespace

void ReadM3u(const TLines& lines, TM3UFileInfo& list)
{
    TPending pending;
    for (const std::string& raw : lines) {
        const std::string line = Trim(raw);
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (line.size() >= 7 && SameText(line.substr(1, 6), "EXTINF")) {
                Commit(pending, list);
                const std::string rest = line.size() > 8 ? line.substr(8) : std::string();
                const std::size_t comma = rest.find(',');
                pending.duration = Trim(rest.substr(0, comma));
                pending.title = comma == std::string::npos ? std::string() : Trim(rest.substr(comma + 1));
                pending.fromExtInf = true;
            }
            continue;
        }
        if (!pending.path.empty())
            Commit(pending, list);
        pending.path = line;
    }
    Commit(pending, list);
}

void ReadAsx(const TLines& lines, TM3UFileInfo& list)
{
    bool inEntry = false;
    for (const std::string& raw : lines) {
        const std::string whole = Trim(raw);
        // Every tag of the line counts, so "<Entry><Ref .../></Entry>" works too.
        for (std::size_t at = whole.find('<'); at != std::string::npos; at = whole.find('<', at + 1)) {
            const std::string line = whole.substr(at);
            if (line.size() < 2 || !std::isalpha(static_cast<unsigned char>(line[1])))
                continue;
            std::size_t nameEnd = 1;
            while (nameEnd < line.size() && std::isalpha(static_cast<unsigned char>(line[nameEnd])))
                ++nameEnd;
            const std::string tag = UpperCase(line.substr(1, nameEnd - 1));
            TM3UFileInfo::TEntry* current = inEntry && !list.Entries.empty() ? &list.Entries.back() : nullptr;
            std::string value;
            if (tag == "ASX") {
                list.Entries.clear();
                inEntry = false;
            } else if (tag == "ENTRY") {
                list.Entries.emplace_back();
                inEntry = true;
            } else if (tag == "TITLE") {
                const std::size_t open = line.find('>');
                const std::size_t close = open == std::string::npos ? open : line.find('<', open);
                if (open != std::string::npos && close != std::string::npos && close > open) {
                    const std::string text = Trim(line.substr(open + 1, close - open - 1));
                    if (current)
                        current->Title = text;
                    else
                        list.Title = text;
                }
            } else if (tag == "REF" && current && QuotedAttribute(line, "href", value)) {
                current->Path = ResolvePlaylistPath(list.FileName, value);
            } else if (tag == "PARAM" && QuotedAttribute(line, "name", value)) {
                const std::string name = UpperCase(value);
                std::string text;
                QuotedAttribute(line, "value", text);
                if (!current) {
                    if (name == "ARTIST")
                        list.Artist = text;
                    else if (name == "ALBUM" || name == "NAME")
                        list.Title = text;
                } else if (name == "ALBUM") {
                    current->Album = text;
                } else if (name == "ARTIST" || name == "NAME") {
                    current->Artist = text;
                }
            } else if (tag == "DURATION" && current && QuotedAttribute(line, "value", value)) {
                current->Duration = AsxSeconds(value);
            }
        }
    }
}

} // namespace orvella::music_detail
