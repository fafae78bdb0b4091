// `larkspur-cli check` against reading: the same real-world mix (see
// large_sheets.h) read into a document, and every declaration of its text
// checked against its property's grammar.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/large_sheets.h"
#include "css/sheet_check.h"
#include "css/sheet_document.h"

namespace {

using namespace larkspur;
using namespace larkspur::bench;

void BM_ReadRealWorldMix(benchmark::State& state) {
    const std::string& text = RealWorldMix(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        SheetDocument doc;
        doc.CreateStartRules();
        if (!doc.ReadStyleSheetText(text, "mix.css")) state.SkipWithError("failed");
        benchmark::DoNotOptimize(doc.RuleCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadRealWorldMix)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_CheckRealWorldMix(benchmark::State& state) {
    const std::string& text = RealWorldMix(static_cast<size_t>(state.range(0)));
    size_t problems = 0;
    for (auto _ : state) problems = CheckSheetText(text).size();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(BM_CheckRealWorldMix)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
