#include "music/m3u_file_info.h"

#include "music/byte_source.h"
#include "music/mp3_file_info.h"
#include "music/playlist_formats.h"
#include "music/tag_text.h"
#include "platform/backslash_path.h"
#include "platform/text_case.h"

#include <filesystem>

namespace orvella {

using namespace music_detail;

namespace {

// Playlists are text; anything this large is not one.
constexpr std::int64_t kMaxPlaylistBytes = 64 << 20;

TLines SplitLines(const std::string& text)
{
    TLines lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

bool IsWindowsAbsolute(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\");
}

} // namespace

std::string ResolvePlaylistPath(const std::string& playlistFile, const std::string& written)
{
    namespace fs = std::filesystem;
    if (written.empty() || IsWindowsAbsolute(written))
        return written;
    fs::path base = written[0] == '/' ? fs::path("/") : fs::path(playlistFile).parent_path();
    if (base.empty())
        base = ".";
    fs::path path = base;
    for (const std::string& part : SplitBackslashPath(written)) {
        if (part == ".")
            continue;
        if (part == "..") {
            path /= "..";
            continue;
        }
        fs::path exact = path / part;
        std::error_code error;
        if (!fs::exists(exact, error)) {
            const fs::path found = FindEntryIgnoringCase(path, part);
            if (!found.empty())
                exact = found;
        }
        path = exact;
    }
    return path.lexically_normal().string();
}

void TM3UFileInfo::clear()
{
    Title.clear();
    Artist.clear();
    Entries.clear();
}

bool TM3UFileInfo::Load()
{
    clear();
    try {
        return LoadFromBytes(ReadWholeFile(FileName, kMaxPlaylistBytes));
    } catch (const std::exception&) {
        clear();
        return false;
    }
}

bool TM3UFileInfo::LoadFromBytes(const std::string& bytes)
{
    clear();
    try {
        const std::string text = DecodeTextFile(bytes);
        const TLines lines = SplitLines(text);
        const std::string& first = lines.front();
        // iTunes begins its export with the title column; older versions
        // call it "曲名", newer ones "名前".
        if (first.starts_with("曲名") || first.starts_with("名前"))
            ReadItunesText(lines, *this);
        else if (first.starts_with("<?xm"))
            ReadItunesXml(text, *this);
        else if (SameText(first.substr(0, 4), "<ASX"))
            ReadAsx(lines, *this);
        else
            ReadM3u(lines, *this);
    } catch (const std::exception&) {
        clear();
        return false;
    }
    return !Entries.empty();
}

const TM3UFileInfo::TEntry* TM3UFileInfo::entry(int index) const
{
    if (index < 1 || index > EntryCount())
        return nullptr;
    return &Entries[std::size_t(index - 1)];
}

std::string TM3UFileInfo::Path(int index) const
{
    return entry(index) ? entry(index)->Path : std::string();
}
std::string TM3UFileInfo::EntryTitle(int index) const
{
    return entry(index) ? entry(index)->Title : std::string();
}
std::string TM3UFileInfo::EntryArtist(int index) const
{
    return entry(index) ? entry(index)->Artist : std::string();
}
std::string TM3UFileInfo::EntryAlbum(int index) const
{
    return entry(index) ? entry(index)->Album : std::string();
}

int TM3UFileInfo::Duration(int index) const
{
    const TEntry* found = entry(index);
    if (!found)
        return 0;
    try {
        return std::stoi(found->Duration);
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace orvella
