// The main of the core benchmarks: the heap set up as the command-line tool
// sets it, so the figures are the tool's.
#include <benchmark/benchmark.h>

#include "css/heap_pages.h"

int main(int argc, char** argv) {
    larkspur::StartWithHugePageHeap(argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
