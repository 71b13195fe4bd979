// Reading the tags and playing times of a folder of 500 MP3 files (each with
// an ID3v2.3 tag, a cover picture and 100 frames of 128 kbit/s), and
// building the album of that folder, warm.

#include "music/album_build.h"
#include "music/mp3_file_info.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace orvella;
namespace fs = std::filesystem;

std::string Be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Frame(const std::string& id, const std::string& body)
{
    return id + Be32(std::uint32_t(body.size())) + std::string(2, '\0') + body;
}

std::string Mp3(int index)
{
    const std::string number = std::to_string(index + 1);
    std::string frames = Frame("TIT2", std::string(1, '\0') + number + " Track title")
        + Frame("TPE1", std::string(1, '\0') + "Artist") + Frame("TALB", std::string(1, '\0') + "Album")
        + Frame("APIC", std::string("\0image/jpeg\0\x03\0\xFF\xD8", 16) + std::string(2048, 'j'));
    const auto size = std::uint32_t(frames.size());
    std::string tag = std::string("ID3\x03\0\0", 6)
        + std::string {char(size >> 21 & 0x7F), char(size >> 14 & 0x7F), char(size >> 7 & 0x7F), char(size & 0x7F)}
        + frames;
    std::string frame = std::string("\xFF\xFB\x90\x00", 4);
    frame.resize(417, '\0');
    for (int i = 0; i < 100; ++i)
        tag += frame;
    return tag;
}

const fs::path& Folder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / ("orvella-music-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        for (int i = 0; i < 500; ++i)
            std::ofstream(path / ("track" + std::to_string(i) + ".mp3"), std::ios::binary) << Mp3(i);
        std::atexit([] { fs::remove_all(Folder()); });
        return path;
    }();
    return folder;
}

void BM_ReadTagsOf500Files(benchmark::State& state)
{
    const std::vector<std::string> names = ListFolderFiles(Folder().string());
    for (auto _ : state) {
        int total = 0;
        for (const std::string& name : names) {
            TMP3FileInfo info;
            info.FileName = (Folder() / name).string();
            if (info.Read())
                total += info.Duration;
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadTagsOf500Files)->Unit(benchmark::kMillisecond);

void BM_AlbumFromFolderOf500Files(benchmark::State& state)
{
    for (auto _ : state) {
        TAlbumInfo album;
        AlbumFromFolder(Folder().string(), ListFolderFiles(Folder().string()), album);
        benchmark::DoNotOptimize(album.TrackCount());
    }
}
BENCHMARK(BM_AlbumFromFolderOf500Files)->Unit(benchmark::kMillisecond);

} // namespace
