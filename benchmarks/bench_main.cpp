// orvalis-bench: Google Benchmark's own main; every flag of it applies.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
