// apply (and its dry run) and undo-apply.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "css/apply_journal.h"
#include "css/apply_pages.h"
#include "css/sheet_document.h"
#include "css/unified_diff.h"

namespace larkspur::cli {
namespace {

bool Has(const Options& options, const char* option) {
    return std::find(options.begin(), options.end(), option) != options.end();
}

bool Print(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

// One line a page ("changed +3 -1 PAGE", "unchanged PAGE", "cannot-write
// PAGE", the reason on stderr), and unless `stat` the change as a diff.
int DryRun(const std::string& block, const std::vector<std::string>& pages, bool stat) {
    bool failed = false, printed = true;
    for (const std::string& path : pages) {
        const PagePlan plan = PlanPage(path, block);
        std::string out;
        switch (plan.change) {
        case PageChange::kCannotWrite:
            PrintError(plan.error);
            failed = true;
            out = "cannot-write " + path + "\n";
            break;
        case PageChange::kUnchanged: out = "unchanged " + path + "\n"; break;
        case PageChange::kChanged: {
            const LineCounts counts = CountChangedLines(plan.before, plan.after);
            out = "changed +" + std::to_string(counts.added) + " -" + std::to_string(counts.removed) + " " + path + "\n";
            if (!stat) out += UnifiedDiff(plan.before, plan.after, path);
            break;
        }
        }
        printed = printed && Print(out);
    }
    if (!printed || std::fflush(stdout) != 0) {
        std::perror("larkspur-cli: cannot write the changes");
        return 1;
    }
    return failed ? 1 : 0;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

int RunApply(const Args& args, const Options& options) {
    const bool dryRun = Has(options, "--dry-run"), stat = Has(options, "--stat");
    if (args.size() < 2 || (stat && !dryRun)) {
        std::fputs("Usage: larkspur-cli apply [--dry-run [--stat]] SHEET PAGE...\n", stderr);
        return 2;
    }
    SheetDocument& doc = RunDocument();
    if (!OpenSheet(doc, args[0])) return 1;
    const std::vector<std::string> pages(args.begin() + 1, args.end());
    const std::string block = doc.BuildStyleBlock();
    if (dryRun) return DryRun(block, pages, stat);

    ApplyOptions apply;
    apply.journalFolder = DefaultJournalFolder();
    apply.sheetPath = Absolute(args[0]);
    const ApplyReport report = ApplyToPages(block, pages, apply);
    for (const PageFailure& f : report.failures) PrintError(f.error);
    if (!report.journal) PrintError(report.journal.error + "\nNo page after that was written.");
    std::string summary = Plural(report.written, "page", "pages") + " written, " +
                          std::to_string(report.unchanged) + " unchanged";
    const auto failed = std::count_if(report.failures.begin(), report.failures.end(),
                                      [](const PageFailure& f) { return !f.saved; });
    if (failed > 0) summary += ", " + std::to_string(failed) + " failed";
    if (report.written > 0)
        summary = "Run " + report.runId + ": " + summary + " (\"larkspur-cli undo-apply " + report.runId +
                  "\" takes it back)";
    std::printf("%s\n", summary.c_str());
    return failed == 0 && report.journal.ok ? 0 : 1;
}

int RunUndoApply(const Args& args, const Options&) {
    if (args.size() > 1) {
        std::fputs("Usage: larkspur-cli undo-apply [RUN]\n", stderr);
        return 2;
    }
    const UndoReport report = UndoApplyRun(DefaultJournalFolder(), args.empty() ? std::string() : args[0]);
    if (!report.io) {
        PrintError(report.io.error);
        return 1;
    }
    for (const UndoPage& page : report.pages) {
        if (page.outcome == UndoOutcome::kSkipped || page.outcome == UndoOutcome::kFailed)
            PrintError(page.message);
        else
            std::printf("%s\n", page.message.c_str());
    }
    std::printf("Run %s: %s put back, %zu already as before, %zu skipped, %zu failed\n", report.runId.c_str(),
                Plural(report.Count(UndoOutcome::kPutBack), "page", "pages").c_str(),
                report.Count(UndoOutcome::kAlreadyBefore), report.Count(UndoOutcome::kSkipped),
                report.Count(UndoOutcome::kFailed));
    return report.Complete() ? 0 : 1;
}

}  // namespace larkspur::cli
