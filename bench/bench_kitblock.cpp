// The kit's block stream must compress and decompress 1 MiB in under 50 ms each.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "kit/engine/kitblock.h"

namespace {

// Text-like data with repeats (what the kit's lists store), plus a share of noise.
std::string Sample() {
    static const char* words[] = {"mine", "flag", "board", "clock", "3BV", "expert", "0.47", "win", "\r\n"};
    std::mt19937 rng(1);
    std::string s;
    while (s.size() < (1u << 20)) {
        if (rng() % 8 == 0)
            s += static_cast<char>(rng() & 0xFF);
        else
            s += std::string(words[rng() % 9]) + ' ';
    }
    s.resize(1u << 20);
    return s;
}

void BM_CompressStream1MiB(benchmark::State& state) {
    const std::string source = Sample();
    for (auto _ : state) benchmark::DoNotOptimize(quorlet::CompressStream(source));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(source.size()));
}
BENCHMARK(BM_CompressStream1MiB)->Unit(benchmark::kMillisecond);

void BM_DecompressStream1MiB(benchmark::State& state) {
    const std::string stream = quorlet::CompressStream(Sample());
    std::string out;
    for (auto _ : state) {
        if (!quorlet::DecompressStream(stream, out)) state.SkipWithError("stream does not decode");
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["ratio"] = static_cast<double>(stream.size()) / static_cast<double>(1u << 20);
}
BENCHMARK(BM_DecompressStream1MiB)->Unit(benchmark::kMillisecond);

} // namespace
