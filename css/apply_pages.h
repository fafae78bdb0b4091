#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "css/apply_journal.h"
#include "css/html_embed.h"

namespace larkspur {

// Placing one style block into many pages, as Save into several pages and
// "larkspur-cli apply" do: first what would change, then a run recorded in
// the journal so that it can be taken back.

enum class PageChange { kChanged, kUnchanged, kCannotWrite };

struct PagePlan {
    std::string path;
    PageChange change = PageChange::kCannotWrite;
    std::string error;   // why it cannot be written
    std::string before;  // the page now
    std::string after;   // the page with the block
};

// What placing the block would make of the page; nothing is written.
PagePlan PlanPage(const std::string& path, std::string_view block);

struct ApplyOptions {
    std::string journalFolder;
    std::string sheetPath;  // noted in the journal, to say what the run was
    int keepRuns = kKeptRuns;
    // Pages are read, noted in the journal and synced in batches of about
    // this many bytes (old and new), then replaced.
    std::size_t batchBytes = std::size_t{64} << 20;
    // Called after each page replaced, with the count so far (tests).
    std::function<void(std::size_t written)> afterPageWritten;
};

struct ApplyReport {
    // The journal could not be written: no page after that point was
    // replaced (with none before it either, when the run is empty).
    IoResult journal;
    std::string runId;  // empty when no page needed a change
    std::vector<PageFailure> failures;
    std::size_t written = 0;
    std::size_t unchanged = 0;  // already held the block, left alone
};

// Places the block into every page: a page that would not change is left
// untouched, a failing page does not stop the others, and every page is
// noted (and synced) in the journal before it is replaced.
ApplyReport ApplyToPages(std::string_view block, const std::vector<std::string>& paths,
                         const ApplyOptions& options);

}  // namespace larkspur
