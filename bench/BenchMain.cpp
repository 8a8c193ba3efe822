// The one entry point of the benchmark binary; every bench/*.cpp only
// registers its benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
