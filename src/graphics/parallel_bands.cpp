#include "graphics/parallel_bands.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace orvella {

namespace {

// Below this many byte operations a thread costs more than it saves.
constexpr int64_t kMinimumWorkPerThread = 1 << 20;
constexpr unsigned kMaximumThreads = 8;

}  // namespace

void ForEachBand(int32_t count, int64_t costPerItem, const std::function<void(int32_t, int32_t)>& work)
{
    if (count <= 0)
        return;
    const int64_t total = int64_t(count) * std::max<int64_t>(costPerItem, 1);
    const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
    const int64_t byWork = total / kMinimumWorkPerThread;
    const int32_t bands = int32_t(std::clamp<int64_t>(std::min<int64_t>(byWork, count), 1,
                                                      std::min(hardware, kMaximumThreads)));
    if (bands == 1) {
        work(0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(bands));
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(bands) - 1);
    auto runBand = [&](int32_t band) {
        const int32_t first = int32_t(int64_t(count) * band / bands);
        const int32_t last = int32_t(int64_t(count) * (band + 1) / bands);
        try {
            work(first, last);
        } catch (...) {
            failures[std::size_t(band)] = std::current_exception();
        }
    };
    try {
        for (int32_t band = 1; band < bands; ++band)
            threads.emplace_back(runBand, band);
    } catch (...) {
        // Could not start every thread: the ones that did not start run here.
        for (int32_t band = int32_t(threads.size()) + 1; band < bands; ++band)
            runBand(band);
    }
    runBand(0);
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

}  // namespace orvella
