// Save into several pages: the list of what will change, the run, and the
// offer to take it back.
#include <QStandardPaths>
#include <QStatusBar>
#include <QString>

#include "css/apply_pages.h"
#include "css/unified_diff.h"
#include "editor/editor_dlg.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

std::vector<PageChangeRow> PlannedChanges(const std::vector<std::string>& paths, std::string_view block) {
    std::vector<PageChangeRow> rows;
    for (const std::string& path : paths) {
        const PagePlan plan = PlanPage(path, block);
        PageChangeRow row{path, plan.change, plan.error};
        if (plan.change == PageChange::kChanged) {
            const LineCounts lines = CountChangedLines(plan.before, plan.after);
            row.detail = "+" + std::to_string(lines.added) + " -" + std::to_string(lines.removed) + " lines";
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string PageCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " page" : " pages"); }

}  // namespace

std::string CEditorDlg::JournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/larkspur/journal";
}

void CEditorDlg::OnSaveSeveral() {
    const std::vector<std::string> paths = dialogs_.ChooseOpenFiles("Web Pages| *.html; *.htm||");
    if (paths.empty()) return;
    const std::string block = doc_.BuildStyleBlock();
    if (!dialogs_.ConfirmPageChanges(PlannedChanges(paths, block))) return;

    ApplyOptions options;
    options.journalFolder = JournalFolder();
    options.sheetPath = savedPath_;
    const ApplyReport run = ApplyToPages(block, paths, options);
    std::string errors;
    for (const PageFailure& failure : run.failures) errors += failure.error + "\n";
    if (!run.journal) errors += run.journal.error + "\nNo page after that was written.\n";
    if (run.written == 0) {
        if (!errors.empty()) dialogs_.ShowMessage(errors.substr(0, errors.size() - 1), kTitle);
        return;
    }
    const std::string done = "The sheet was placed into " + PageCount(run.written) + " (run " + run.runId + ").";
    if (dialogs_.AskYesNo(errors + (errors.empty() ? "" : "\n") + done +
                              "\n\nTake the run back and put those pages as they were?",
                          kTitle, Answer::No) != Answer::Yes) {
        statusBar_->showMessage(QString::fromStdString(done));
        return;
    }
    const UndoReport undo = UndoApplyRun(options.journalFolder, run.runId);
    std::string problems = undo.io ? "" : undo.io.error + "\n";
    for (const UndoPage& page : undo.pages)
        if (page.outcome == UndoOutcome::kSkipped || page.outcome == UndoOutcome::kFailed) problems += page.message + "\n";
    if (!problems.empty()) dialogs_.ShowMessage(problems.substr(0, problems.size() - 1), kTitle);
    statusBar_->showMessage(QString::fromStdString("Run " + run.runId + " taken back: " +
                                                   PageCount(undo.Count(UndoOutcome::kPutBack)) + " put back."));
}

}  // namespace larkspur
