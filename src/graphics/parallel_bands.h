#pragma once
// Splitting a large pixel job into bands of rows (or columns) worked on by a
// few threads. Every band computes exactly what one thread would, so the
// result does not depend on the number of threads.

#include <cstdint>
#include <functional>

namespace orvella {

// Calls work(first, last) for consecutive ranges covering [0, count). Runs
// on several threads when count * costPerItem is large enough to pay for
// them; the first exception thrown by a band is rethrown after all joined.
void ForEachBand(int32_t count, int64_t costPerItem, const std::function<void(int32_t first, int32_t last)>& work);

}  // namespace orvella
