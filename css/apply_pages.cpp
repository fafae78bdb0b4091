#include "css/apply_pages.h"

#include <utility>

namespace larkspur {

PagePlan PlanPage(const std::string& path, std::string_view block) {
    PagePlan plan;
    plan.path = path;
    if (IoResult r = PlaceStyleBlockInPage(path, block, plan.before, plan.after); !r) {
        plan.error = r.error;
        plan.before.clear();
        return plan;
    }
    plan.change = plan.before == plan.after ? PageChange::kUnchanged : PageChange::kChanged;
    return plan;
}

ApplyReport ApplyToPages(std::string_view block, const std::vector<std::string>& paths,
                         const ApplyOptions& options) {
    ApplyReport report;
    JournalWriter journal;
    std::size_t next = 0;
    while (next < paths.size()) {
        std::vector<PagePlan> batch;
        std::size_t bytes = 0;
        while (next < paths.size() && (batch.empty() || bytes < options.batchBytes)) {
            PagePlan plan = PlanPage(paths[next++], block);
            if (plan.change == PageChange::kCannotWrite) {
                report.failures.push_back({plan.path, plan.error});
            } else if (plan.change == PageChange::kUnchanged) {
                ++report.unchanged;
            } else {
                bytes += plan.before.size() + plan.after.size();
                batch.push_back(std::move(plan));
            }
        }
        if (batch.empty()) continue;
        if (report.runId.empty()) {
            if (report.journal = journal.Start(options.journalFolder, options.sheetPath, options.keepRuns);
                !report.journal)
                return report;
            report.runId = journal.RunId();
        }
        for (const PagePlan& plan : batch) journal.Add(plan.path, plan.before, plan.after);
        if (report.journal = journal.Sync(); !report.journal) return report;
        for (PagePlan& plan : batch) {
            IoResult r = ReplaceFileContents(plan.path, plan.after);
            if (!r) {
                report.failures.push_back({plan.path, r.error});
                continue;
            }
            if (!r.warning.empty()) report.failures.push_back({plan.path, r.warning, true});
            ++report.written;
            if (options.afterPageWritten) options.afterPageWritten(report.written);
            // The batch's bytes go as soon as they are on disk.
            plan = {};
        }
    }
    return report;
}

}  // namespace larkspur
