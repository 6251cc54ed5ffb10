// Compression and decompression throughput on the benchmark blobs, with the
// index (keyed afresh each time, as in the tool, or with FIXED_KEY) and with
// the plain scan. Run by hand, never by CTest.
#include "compressor.hpp"
#include "inputs.hpp"
#include "memory_streams.hpp"
#include "plain_scan.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace venk::bench {
namespace {

// With a fresh random key for the index when `key` is null.
ResultCode compress(BlockSearch search, const Bytes& blob, Bytes& stream, const HashKey* key = nullptr) {
    stream.clear();
    SpanInputStream input(blob);
    VectorOutputStream output(stream);
    return key != nullptr ? compress_tiles_with_key(*key, search, input, output, FORMAT_VENK16)
                          : compress_tiles_with(search, input, output, FORMAT_VENK16);
}

void compress_throughput(benchmark::State& state, const Bytes& blob, BlockSearch search, const HashKey* key) {
    Bytes stream;
    for (auto _ : state) {
        benchmark::DoNotOptimize(compress(search, blob, stream, key));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(blob.size()));
}

// Measured in bytes of tiles written.
void decompress_throughput(benchmark::State& state, const Bytes& stream) {
    Bytes blob;
    for (auto _ : state) {
        blob.clear();
        benchmark::DoNotOptimize(decompress_memory(stream, FORMAT_VENK16, blob));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(blob.size()));
}

void register_benchmarks() {
    // The blobs must outlive the benchmarks, which run after this returns.
    static std::vector<Bytes> blobs;
    static std::vector<Bytes> streams;
    blobs.reserve(std::size(INPUTS));
    streams.reserve(std::size(INPUTS));
    for (const auto& input : INPUTS) {
        const std::string name(input.name);
        const Bytes& blob = blobs.emplace_back(input.make());
        benchmark::RegisterBenchmark(("compress/" + name + "/index").c_str(), compress_throughput, blob,
                                     find_or_append_block, nullptr)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("compress/" + name + "/index_fixed_key").c_str(), compress_throughput, blob,
                                     find_or_append_block, &FIXED_KEY)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("compress/" + name + "/plain_scan").c_str(), compress_throughput, blob,
                                     plain_scan_find_or_append_block, nullptr)
            ->Unit(benchmark::kMillisecond);
        Bytes& stream = streams.emplace_back();
        if (compress(find_or_append_block, blob, stream) == RESULT_OK) {
            benchmark::RegisterBenchmark(("decompress/" + name).c_str(), decompress_throughput, stream)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace
}  // namespace venk::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    venk::bench::register_benchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
