// orvella-tool music tags FILE...
// orvella-tool music album FOLDER|PLAYLIST
// "tags" prints one tab-separated line per file: the file name, title,
// artist, album and playing time in whole seconds (only the file name for a
// file that does not read as music). "album" prints the album built from a
// folder of music files or from a playlist, as the lines a label would get.

#include "commands.h"

#include "music/album_build.h"
#include "music/mp3_file_info.h"

#include <filesystem>
#include <iostream>

namespace orvella::tool {

namespace {

int RunTags(const Arguments& args)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        TMP3FileInfo info;
        info.FileName = args[i];
        if (info.Read())
            std::cout << args[i] << '\t' << info.Title << '\t' << info.Artist << '\t' << info.Album << '\t'
                      << info.Duration << '\n';
        else
            std::cout << args[i] << "\t\t\t\t\n";
    }
    return 0;
}

int RunAlbum(const std::string& source)
{
    TAlbumInfo album;
    std::error_code error;
    if (std::filesystem::is_directory(source, error)) {
        AlbumFromFolder(source, ListFolderFiles(source), album);
    } else if (!AlbumFromPlaylist(source, album)) {
        std::cerr << "orvella-tool: プレイリストの読み込みに失敗したか、内容が正しくありません: " << source << '\n';
        return 1;
    }
    std::vector<std::string> lines;
    AlbumToLines(album, lines);
    for (const std::string& line : lines)
        std::cout << line << '\n';
    return 0;
}

} // namespace

int RunMusic(const Arguments& args)
{
    if (args.size() >= 2 && args[0] == "tags")
        return RunTags(args);
    if (args.size() == 2 && args[0] == "album")
        return RunAlbum(args[1]);
    return UsageError("music");
}

} // namespace orvella::tool
