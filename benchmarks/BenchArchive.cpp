// Reading large record trees from memory: an archive index of 200,000 entries and a million
// empty records, with a plain copy of the same bytes for scale.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "storage/BlockFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/ResourceArchive.h"

namespace {

// 200,000 resources "sound"/"nNNNNNN" of four bytes each: about 7 MB.
std::vector<uint8_t> ArchiveBytes(int count) {
    std::vector<std::string> names(static_cast<size_t>(count));
    std::vector<kx::ArchiveSource> sources;
    static const uint8_t kBytes[4] = {1, 2, 3, 4};
    for (int i = 0; i < count; ++i) {
        names[static_cast<size_t>(i)] = "n" + std::to_string(1000000 + i);
        sources.push_back({"sound", names[static_cast<size_t>(i)], kBytes, 4});
    }
    kx::CMemBlock block;
    {
        kx::CMemSerializer out(block, true);
        kx::WriteArchive(out, sources);
    }
    return std::vector<uint8_t>(block.data, block.data + block.size);
}

// A root with a million empty children: 12 MB.
std::vector<uint8_t> EmptyRecordsBytes(int count) {
    kx::CBlockFile root;
    for (int i = 0; i < count; ++i) {
        root.AddChild().type = 1;
    }
    kx::CMemBlock block;
    {
        kx::CMemSerializer out(block, true);
        root.Save(out);
    }
    return std::vector<uint8_t>(block.data, block.data + block.size);
}

void CopyOfTheBytes(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}

void BM_ArchiveIndex200k_Load(benchmark::State& state) {
    const std::vector<uint8_t> bytes = ArchiveBytes(200000);
    for (auto _ : state) {
        kx::CMemBlock block;
        block.Attach(const_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                     false);
        kx::CResourceArchive archive;
        benchmark::DoNotOptimize(archive.LoadFromMemory(block));
        benchmark::DoNotOptimize(archive.GetCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ArchiveIndex200k_Load)->Unit(benchmark::kMillisecond);

void BM_ArchiveIndex200k_Memcpy(benchmark::State& state) {
    CopyOfTheBytes(state, ArchiveBytes(200000));
}
BENCHMARK(BM_ArchiveIndex200k_Memcpy)->Unit(benchmark::kMillisecond);

void BM_MillionEmptyRecords_Load(benchmark::State& state) {
    const std::vector<uint8_t> bytes = EmptyRecordsBytes(1000000);
    for (auto _ : state) {
        kx::CMemBlock block;
        block.Attach(const_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                     false);
        kx::CMemSerializer reader(block, false);
        kx::CBlockFile root;
        benchmark::DoNotOptimize(root.Load(reader));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_MillionEmptyRecords_Load)->Unit(benchmark::kMillisecond);

void BM_MillionEmptyRecords_Memcpy(benchmark::State& state) {
    CopyOfTheBytes(state, EmptyRecordsBytes(1000000));
}
BENCHMARK(BM_MillionEmptyRecords_Memcpy)->Unit(benchmark::kMillisecond);

} // namespace
