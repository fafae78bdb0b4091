// What `larkspur-cli export` does with large sheets: read the file, write the
// .css file. Two kinds of input (see large_sheets.h): a real-world mix of
// framework sheets, and sheets of distinct one-declaration rules.
//
// Peak memory is measured on the command-line tool with the kept inputs:
//   LARKSPUR_BENCH_CSS=DIR LARKSPUR_BENCH_KEEP=OUT export_bench
//   /usr/bin/time -v larkspur-cli export OUT/mix-10mb.css /tmp/out.css
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>

#include "bench/large_sheets.h"
#include "css/sheet_document.h"

namespace {

using namespace larkspur;
using namespace larkspur::bench;

const std::string& DistinctOfSize(size_t megabytes) {
    static std::map<size_t, std::string> made;
    std::string& text = made[megabytes];
    if (text.empty()) {
        text = DistinctRules(megabytes << 20);
        KeepInput("distinct-" + std::to_string(megabytes) + "mb.css", text);
    }
    return text;
}

void Export(benchmark::State& state, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / ("larkspur-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "in.css").string(), out = (dir / "out.css").string();
    std::ofstream(in, std::ios::binary) << text;
    int rules = 0;
    for (auto _ : state) {
        SheetDocument doc;
        doc.CreateStartRules();
        if (!doc.ReadStyleSheet(in) || !doc.WriteStyleSheetFile(out)) state.SkipWithError("failed");
        rules = doc.RuleCount();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["rules"] = rules;
    std::filesystem::remove_all(dir);
}

void BM_ExportRealWorldMix(benchmark::State& state) { Export(state, RealWorldMix(static_cast<size_t>(state.range(0)))); }
BENCHMARK(BM_ExportRealWorldMix)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_ExportDistinctRules(benchmark::State& state) {
    Export(state, DistinctOfSize(static_cast<size_t>(state.range(0))));
}
BENCHMARK(BM_ExportDistinctRules)->Arg(1)->Arg(10)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
