// The vocabulary functions per call, against a plain copy of the input string.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/Various_utils.h"
#include "vocabulary/manufacturer_names.h"
#include "vocabulary/memory_type.h"
#include "vocabulary/size_format.h"

namespace orvalis {
namespace {

// Raw manufacturer texts as WMI gives them: names, JEDEC codes, placeholders, unknowns.
const std::vector<std::string> kMakers = {"Kingston", "80CE000080CE",     "Manufacturer00",
                                          "0198",     "AD00000000000000", "Undefined",
                                          "Samsung",  "7F7F7F7F43000000"};
const std::string kKeyword = "Kingston 99U5471-020.A00LF";

void BM_CopyMaker(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        std::string copy = kMakers[i++ % kMakers.size()];
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyMaker);

void BM_GetManufacturerName(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        std::string name = GetManufacturerName(kMakers[i++ % kMakers.size()]);
        benchmark::DoNotOptimize(name);
    }
}
BENCHMARK(BM_GetManufacturerName);

void BM_CopyKeyword(benchmark::State& state) {
    for (auto _ : state) {
        std::string copy = kKeyword;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyKeyword);

void BM_UrlEncode(benchmark::State& state) {
    for (auto _ : state) {
        std::string encoded = UrlEncode(kKeyword);
        benchmark::DoNotOptimize(encoded);
    }
}
BENCHMARK(BM_UrlEncode);

// A short text, as the labels and sizes are.
void BM_CopyShort(benchmark::State& state) {
    const std::string text = "DDR3 / PC3-12800";
    for (auto _ : state) {
        std::string copy = text;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyShort);

void BM_GetMemoryTypeLabel(benchmark::State& state) {
    const uint16_t types[] = {24, 21, 0, 20, 26};
    const uint32_t speeds[] = {1600, 800, 1333, 400, 2666};
    size_t i = 0;
    for (auto _ : state) {
        std::string label = GetMemoryTypeLabel(types[i % 5], speeds[i % 5]);
        ++i;
        benchmark::DoNotOptimize(label);
    }
}
BENCHMARK(BM_GetMemoryTypeLabel);

void BM_FormatSize(benchmark::State& state) {
    const int64_t counts[] = {512, 1536, 8110LL << 20, 17179869184LL, 1LL << 40};
    size_t i = 0;
    for (auto _ : state) {
        std::string text = FormatSize(counts[i++ % 5], ".");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatSize);

// What the memory monitor calls: with the user's decimal separator looked up.
void BM_FormatSizeUserSeparator(benchmark::State& state) {
    const int64_t counts[] = {512, 1536, 8110LL << 20, 17179869184LL, 1LL << 40};
    size_t i = 0;
    for (auto _ : state) {
        std::string text = FormatSize(counts[i++ % 5]);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatSizeUserSeparator);

}  // namespace
}  // namespace orvalis
