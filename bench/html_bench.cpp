#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "css/apply_journal.h"
#include "css/apply_pages.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"
#include "css/unified_diff.h"
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

// 1,000 pages of 20 KB on disk that do not hold the sheet yet, and a journal
// folder beside them.
class Site {
public:
    explicit Site(const char* name)
        : dir_(fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()))), page_(SamplePage()) {
        fs::create_directories(dir_ / "pages");
        for (int i = 0; i < kPages; ++i) paths_.push_back((dir_ / "pages" / ("page" + std::to_string(i) + ".html")).string());
        Reset();
        BuildSheet(doc_);
        block_ = doc_.BuildStyleBlock();
    }
    ~Site() { fs::remove_all(dir_); }
    // The pages rewritten and flushed, so that the timed part does not pay
    // for writing them back.
    void Reset() {
        for (const std::string& path : paths_) std::ofstream(path, std::ios::binary) << page_;
        ::sync();
    }
    ApplyReport Apply() const {
        ApplyOptions options;
        options.journalFolder = Journal();
        return ApplyToPages(block_, paths_, options);
    }
    std::string Journal() const { return (dir_ / "journal").string(); }
    const std::vector<std::string>& Paths() const { return paths_; }
    const std::string& Block() const { return block_; }
    void Count(benchmark::State& state) const {
        state.SetItemsProcessed(state.iterations() * kPages);
        state.SetBytesProcessed(state.iterations() * kPages * static_cast<int64_t>(page_.size()));
    }

private:
    fs::path dir_;
    std::string page_;
    std::vector<std::string> paths_;
    SheetDocument doc_;
    std::string block_;
};

// larkspur-cli apply --dry-run: every page read, placed and diffed.
void BM_DryRunWithDiffs(benchmark::State& state) {
    Site site("larkspur-dry-run-bench");
    for (auto _ : state) {
        std::size_t out = 0;
        for (const std::string& path : site.Paths()) {
            const PagePlan plan = PlanPage(path, site.Block());
            out += UnifiedDiff(plan.before, plan.after, path).size();
        }
        benchmark::DoNotOptimize(out);
    }
    site.Count(state);
}
BENCHMARK(BM_DryRunWithDiffs)->Unit(benchmark::kMillisecond)->UseRealTime();

// A real run: the journal written and synced, then every page replaced.
void BM_JournaledRun(benchmark::State& state) {
    Site site("larkspur-run-bench");
    for (auto _ : state) {
        state.PauseTiming();
        site.Reset();
        state.ResumeTiming();
        const ApplyReport report = site.Apply();
        if (report.written != kPages) state.SkipWithError("not every page was written");
    }
    site.Count(state);
}
BENCHMARK(BM_JournaledRun)->Unit(benchmark::kMillisecond)->UseRealTime();

// larkspur-cli undo-apply of such a run.
void BM_UndoRun(benchmark::State& state) {
    Site site("larkspur-undo-bench");
    for (auto _ : state) {
        state.PauseTiming();
        site.Reset();
        const ApplyReport run = site.Apply();
        state.ResumeTiming();
        const UndoReport undo = UndoApplyRun(site.Journal(), run.runId);
        if (undo.Count(UndoOutcome::kPutBack) != kPages) state.SkipWithError("not every page was put back");
    }
    site.Count(state);
}
BENCHMARK(BM_UndoRun)->Unit(benchmark::kMillisecond)->UseRealTime();

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
