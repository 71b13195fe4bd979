// Opening a 20 MB document of 2,000 streams, reading every stream and saving
// it, next to copying the same file as the floor.

#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "formats/doc_stream.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace orvella;
namespace fs = std::filesystem;

const fs::path& sampleFile()
{
    static const fs::path path = [] {
        const fs::path file = fs::temp_directory_path() / ("orvella-bench-" + std::to_string(::getpid()) + ".ovd");
        TTemporaryStorage root;
        for (int i = 0; i < 2000; ++i) {
            // Mostly face streams of 10 KB, some small enough for the mini stream.
            const std::size_t size = i % 10 == 0 ? 1500 : 10400;
            std::string bytes(size, char('a' + i % 26));
            TDocStream(root, dmCreate, "Sheets\\NameList" + std::to_string(i / 20) + "\\Face" + std::to_string(i % 20))
                .WriteAll(bytes);
        }
        root.SaveToFile(file.string());
        return file;
    }();
    return path;
}

void BM_OpenReadEveryStreamSave(benchmark::State& state)
{
    const fs::path source = sampleFile();
    const fs::path target = source.string() + ".saved";
    for (auto _ : state) {
        TTemporaryStorage root;
        root.LoadFromFile(source.string());
        std::vector<std::string> sheets;
        TDocStorage(root, false, "Sheets").ListStorages(sheets);
        std::size_t bytes = 0;
        for (const std::string& sheet : sheets) {
            TDocStorage storage(root, false, "Sheets\\" + sheet);
            std::vector<std::string> faces;
            storage.ListStreams(faces);
            for (const std::string& face : faces)
                bytes += TDocStream(storage, dmRead, face).ReadAll().size();
        }
        benchmark::DoNotOptimize(bytes);
        root.SaveToFile(target.string());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(source)));
    fs::remove(target);
}
BENCHMARK(BM_OpenReadEveryStreamSave)->Unit(benchmark::kMillisecond);

void BM_CopyFileFloor(benchmark::State& state)
{
    const fs::path source = sampleFile();
    const fs::path target = source.string() + ".copy";
    for (auto _ : state)
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(source)));
    fs::remove(target);
}
BENCHMARK(BM_CopyFileFloor)->Unit(benchmark::kMillisecond);

}  // namespace
