#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "css/html_embed.h"
#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace {

namespace fs = std::filesystem;
using namespace larkspur;

constexpr int kPages = 1000;
constexpr size_t kPageSize = 20 * 1024;

void BuildSheet(SheetDocument& doc) {
    doc.CreateStartRules();
    for (const char* selector : {"BODY", "H1", "H2", "P", "A", "TABLE"}) {
        doc.SetSelectedIndex(doc.FindRule(selector));
        doc.ListRule();
        for (int entry : {kColor, kFontSize, kMarginTop}) {
            doc.SetValue(doc.SelectedIndex(), entry, entry == kColor ? "#336699" : "12pt");
        }
    }
}

std::string SamplePage() {
    std::string page =
        "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>Sample</title>\r\n"
        "<style type=\"text/css\">\r\np { margin: 0 }\r\n</style>\r\n</head>\r\n<body>\r\n";
    while (page.size() < kPageSize - 32)
        page += "<p class=\"note\">Some paragraph text with <b>markup</b> in it.</p>\r\n";
    page += "</body>\r\n</html>\r\n";
    return page;
}

// The sheet applied to 1,000 pages of 20 KB on disk, as Save into several
// pages does; each page is written beside itself and renamed.
void BM_ApplyToPagesOnDisk(benchmark::State& state) {
    SheetDocument doc;
    BuildSheet(doc);
    fs::path dir = fs::temp_directory_path() / ("larkspur-html-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string page = SamplePage();
    std::vector<std::string> paths;
    for (int i = 0; i < kPages; ++i) {
        paths.push_back((dir / ("page" + std::to_string(i) + ".html")).string());
        std::ofstream(paths.back(), std::ios::binary) << page;
    }
    for (auto _ : state) {
        std::vector<PageFailure> failures = SaveIntoPages(doc, paths);
        if (!failures.empty()) state.SkipWithError(failures.front().error.c_str());
    }
    state.SetItemsProcessed(state.iterations() * kPages);
    state.SetBytesProcessed(state.iterations() * kPages * static_cast<int64_t>(page.size()));
    fs::remove_all(dir);
}
BENCHMARK(BM_ApplyToPagesOnDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same work in memory, to separate the text handling from the disk.
void BM_PlaceInMemory(benchmark::State& state) {
    SheetDocument doc;
    BuildSheet(doc);
    const std::string block = doc.BuildStyleBlock();
    const std::string page = SamplePage();
    for (auto _ : state) benchmark::DoNotOptimize(PlaceStyleBlock(page, block));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlaceInMemory);

}  // namespace
