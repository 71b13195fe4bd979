// Text conversions on the file boundary: every string of a component stream
// passes through the CP932 codec.

#include "frame/macro_string.h"
#include "platform/cp932.h"

#include <benchmark/benchmark.h>

namespace {

const std::string kJapanese = "ジャケット表面ラベル（ＣＤ／ＤＶＤ）① ｱｲｳ Orvella 2026";

void BM_EncodeCp932(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(orvella::EncodeCp932(kJapanese));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kJapanese.size()));
}
BENCHMARK(BM_EncodeCp932);

void BM_DecodeCp932(benchmark::State& state)
{
    const std::string bytes = orvella::EncodeCp932(kJapanese);
    for (auto _ : state)
        benchmark::DoNotOptimize(orvella::DecodeCp932(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_DecodeCp932);

void BM_ExpandNested(benchmark::State& state)
{
    orvella::TMacroString table;
    for (int i = 0; i < 60; ++i)
        table.Add("Filler" + std::to_string(i) + "=x");
    table.SetText(table.Text() + "AppName=Orvella\nShortVer=1.0\nSysRegistryKey=Software\\Tessmark\\$(AppName)\\$(ShortVer)\\Settings\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(table.Expand("$(SysRegistryKey)\\OpenFileHistory"));
}
BENCHMARK(BM_ExpandNested);

}  // namespace
