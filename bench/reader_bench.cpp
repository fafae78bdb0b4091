// Reading and writing style sheets of 1, 10 and 50 MB. The sheets are made
// the way large real-world sheets are: several site sheets with thousands of
// selectors, hand-written spacing, comments, properties the editor does not
// know, concatenated again and again so selectors repeat many times.
//
// Set LARKSPUR_BENCH_KEEP=DIR to keep the generated files (sheet-1mb.css ...)
// for measuring the command-line tool.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "bench/site_sheet.h"
#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace {

using namespace larkspur;

using bench::SiteSheet;

// Four site sheets of about 250 KB each, repeated until the size is reached.
const std::string& SheetOfSize(size_t megabytes) {
    static std::map<size_t, std::string> made;
    std::string& text = made[megabytes];
    if (!text.empty()) return text;
    static const std::array<std::string, 4> sites = {SiteSheet(1).Make(2500), SiteSheet(2).Make(2500),
                                                     SiteSheet(3).Make(2500), SiteSheet(4).Make(2500)};
    const size_t size = megabytes << 20;
    text.reserve(size + sites[0].size());
    for (size_t i = 0; text.size() < size; ++i) text += sites[i % sites.size()];
    if (const char* keep = std::getenv("LARKSPUR_BENCH_KEEP")) {
        std::ofstream(std::filesystem::path(keep) / ("sheet-" + std::to_string(megabytes) + "mb.css"),
                      std::ios::binary)
            << text;
    }
    return text;
}

void BM_ReadAndWriteInMemory(benchmark::State& state) {
    const std::string& text = SheetOfSize(static_cast<size_t>(state.range(0)));
    size_t written = 0;
    for (auto _ : state) {
        SheetDocument doc;
        doc.CreateStartRules();
        if (!doc.ReadStyleSheetText(text, "sheet.css")) state.SkipWithError("rejected");
        std::string out = doc.StyleSheetText();
        written = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["output_kb"] = static_cast<double>(written) / 1024.0;
}
BENCHMARK(BM_ReadAndWriteInMemory)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// What `larkspur-cli export` does: read the file, write the .css file.
void BM_ExportFileToFile(benchmark::State& state) {
    const std::string& text = SheetOfSize(static_cast<size_t>(state.range(0)));
    const auto dir = std::filesystem::temp_directory_path() / ("larkspur-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "in.css").string(), out = (dir / "out.css").string();
    std::ofstream(in, std::ios::binary) << text;
    for (auto _ : state) {
        SheetDocument doc;
        doc.CreateStartRules();
        if (!doc.ReadStyleSheet(in) || !doc.WriteStyleSheetFile(out)) state.SkipWithError("failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ExportFileToFile)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// Shapes made to cost more than their size: at-rules nested as deep as the
// text allows, and one block of many declarations of two properties, each
// half after the other. The same bytes a second at 1 and 10 MB is linear.
std::string HostileShape(int shape, size_t megabytes) {
    const size_t size = megabytes << 20;
    std::string text;
    if (shape == 0) {
        const size_t depth = size / 13;
        for (size_t i = 0; i < depth; ++i) text += "@media all {";
        text += "a{color:red}" + std::string(depth, '}');
    } else {
        text = "a{";
        while (text.size() < size / 2) text += "color:red;";
        while (text.size() < size) text += "top:0;";
        text += "}";
    }
    return text;
}

void BM_ReadHostileShape(benchmark::State& state) {
    const std::string text = HostileShape(static_cast<int>(state.range(0)), static_cast<size_t>(state.range(1)));
    for (auto _ : state) {
        SheetDocument doc;
        doc.CreateStartRules();
        if (!doc.ReadStyleSheetText(text, "sheet.css")) state.SkipWithError("rejected");
        benchmark::DoNotOptimize(doc.RuleCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadHostileShape)->ArgsProduct({{0, 1}, {1, 10}})->ArgNames({"shape", "mb"})->Unit(benchmark::kMillisecond);

}  // namespace
