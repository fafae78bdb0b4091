// The live listing with a large sheet: one declaration change must touch only
// the lines concerned, and writing the sheet must stay linear.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

#include "bench/large_sheets.h"
#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace {

using namespace larkspur;

void SetEntry(SheetDocument& doc, int entry, const std::string& value) {
    doc.SetValue(doc.SelectedIndex(), entry, value);
}

// 10,000 listed rules of four declarations each.
SheetDocument& LargeSheet() {
    static SheetDocument doc = [] {
        SheetDocument d;
        d.CreateStartRules();
        for (int i = 0; i < 10000 - 56; ++i) d.AppendRule(".rule" + std::to_string(i));
        for (int i = 0; i < d.RuleCount(); ++i) {
            d.SetSelectedIndex(i);
            d.ListRule();
            SetEntry(d, kColor, "#102030");
            SetEntry(d, kFontSize, "12pt");
            SetEntry(d, kMarginTop, "1em");
            SetEntry(d, kBorderTop, "thin solid #FF0000");
        }
        return d;
    }();
    return doc;
}

void BM_ReplaceDeclarationOnFirstRule(benchmark::State& state) {
    SheetDocument& doc = LargeSheet();
    doc.SetSelectedIndex(0);
    int n = 0;
    for (auto _ : state) SetEntry(doc, kColor, (++n & 1) ? "#FFFFFF" : "#000000");
    state.counters["lines"] = doc.GetListing().Count();
}
BENCHMARK(BM_ReplaceDeclarationOnFirstRule);

// Adding and removing a declaration on the first rule moves every rule below.
void BM_AddAndRemoveDeclarationOnFirstRule(benchmark::State& state) {
    SheetDocument& doc = LargeSheet();
    doc.SetSelectedIndex(0);
    for (auto _ : state) {
        SetEntry(doc, kTextAlign, "center");
        doc.UnlistDeclaration(kTextAlign);
    }
    state.counters["lines"] = doc.GetListing().Count();
}
BENCHMARK(BM_AddAndRemoveDeclarationOnFirstRule);

// The Declarations page's switch on the first rule of a 10 MB mix of
// framework sheets (LARKSPUR_BENCH_CSS): off and on again, each one edit of
// the listing.
void BM_SwitchDeclarationOffAndOnInARealMix(benchmark::State& state) {
    static SheetDocument doc = [] {
        SheetDocument d;
        d.CreateStartRules();
        std::vector<std::string> parts = bench::FrameworkSheets();
        if (parts.empty()) parts.push_back(bench::DistinctRules(size_t{1} << 20));
        d.ReadStyleSheetText(bench::RepeatToSize(parts, size_t{10} << 20), "mix.css");
        return d;
    }();
    int rule = 0;
    while (doc.Declarations(rule).empty()) ++rule;
    for (auto _ : state) {
        doc.SwitchDeclaration(rule, 0, false);
        doc.SwitchDeclaration(rule, 0, true);
    }
    state.counters["rules"] = doc.RuleCount();
}
BENCHMARK(BM_SwitchDeclarationOffAndOnInARealMix)->Unit(benchmark::kMicrosecond);

void BM_WriteWholeSheet(benchmark::State& state) {
    SheetDocument& doc = LargeSheet();
    std::string path = (std::filesystem::temp_directory_path() /
                        ("larkspur-bench-" + std::to_string(::getpid()) + ".css"))
                           .string();
    size_t bytes = 0;
    for (auto _ : state) {
        IoResult r = doc.WriteStyleSheetFile(path);
        if (!r) state.SkipWithError(r.error.c_str());
        bytes += doc.StyleSheetText().size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteWholeSheet)->Unit(benchmark::kMillisecond);

void BM_BuildStyleBlock(benchmark::State& state) {
    SheetDocument& doc = LargeSheet();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string block = doc.BuildStyleBlock();
        bytes += block.size();
        benchmark::DoNotOptimize(block);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_BuildStyleBlock)->Unit(benchmark::kMillisecond);

}  // namespace
