// New sheet, Open, Save, Save As and Save into several pages.
#include <QStatusBar>
#include <QString>

#include "css/file_io.h"
#include "css/file_kinds.h"
#include "editor/editor_dlg.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

constexpr const char* kOpenFilter = "Web Pages, Style Sheets | *.html; *.htm; *.css|All Files | *.*||";
constexpr const char* kCssFilter = "Style Sheets | *.css||";
constexpr const char* kHtmlFilter = "Web Pages | *.htm; *.html||";

}  // namespace

void CEditorDlg::OnNewSheet() {
    // A sheet that was not saved is kept.
    if (!OfferToSave()) return;
    history_.Pause();
    doc_.ResetAllRules();
    LoadPages();
    history_.Resume();
    history_.Clear();
    doc_.SetModified(false);
    hexCase_ = HexCase::Upper;
    savedPath_.clear();
    TrackSheetFile({}, {});
    UpdateTitle();
}

void CEditorDlg::OnOpen() {
    // The sheet read replaces the one being edited.
    if (!OfferToSave()) return;
    if (const std::optional<std::string> path = dialogs_.ChooseOpenFile(kOpenFilter)) OpenFile(*path);
}

bool CEditorDlg::OpenDocumentFile(const std::string& path) {
    if (path.empty() || !OfferToSave()) return false;
    const bool opened = OpenFile(path);
    // A page without a style element of its own is still worth previewing.
    if (!IsStyleSheetFileName(path) && (opened || FileExists(path))) PreviewPageFile(path);
    return opened;
}

// Open and Load page: the file's sheet replaces the one being edited, with a
// fresh history; a failure is shown and changes nothing.
bool CEditorDlg::ReadSheetFile(const std::string& path) {
    return ReadSheet([&] { return doc_.ReadStyleSheet(path); });
}

bool CEditorDlg::ReadSheet(const std::function<IoResult()>& readSheet) {
    history_.Pause();
    reading_ = true;
    const IoResult read = readSheet();
    reading_ = false;
    FillRuleList();
    history_.Resume();
    if (!ShowIfFailed(read)) return false;
    history_.Clear();
    hexCase_ = HexCaseOf(doc_.Rules());
    ShowKeptSummary();
    return true;
}

bool CEditorDlg::OpenFile(const std::string& path) {
    // Taken before reading: a change made meanwhile is caught, not missed.
    const FileStamp stamp = StampFile(path);
    if (!ReadSheetFile(path)) return false;
    savedPath_ = path;
    TrackSheetFile(path, stamp);
    doc_.SetModified(false);
    UpdateTitle();
    AddRecent(path);
    return true;
}

void CEditorDlg::ShowKeptSummary() {
    const std::string summary = KeptSummary(doc_.KeptByLastRead());
    if (summary.empty())
        statusBar_->clearMessage();
    else
        statusBar_->showMessage(QString::fromStdString(summary));
}

void CEditorDlg::OnSave() { Save(); }
void CEditorDlg::OnSaveAs() { SaveAs(); }

bool CEditorDlg::Save() {
    if (currentFile_.empty()) return SaveAs();
    // A file the user may not write is never replaced; another name may do.
    if (const IoResult writable = CheckWritable(currentFile_); writable.readOnly) {
        if (dialogs_.AskYesNo(writable.error + "\n\nSave the sheet under another name?", kTitle, Answer::Yes) !=
            Answer::Yes)
            return false;
        return SaveAs();
    }
    if (!MayOverwriteCurrentFile() || !WriteCurrentSheet(currentFile_, IsStyleSheetFileName(currentFile_)))
        return false;
    doc_.SetModified(false);
    history_.MarkSaved();
    return true;
}

bool CEditorDlg::SaveAs() {
    const std::optional<int> kind = dialogs_.AskSaveAsKind();
    if (!kind) return false;
    const bool cssFile = *kind == 1;
    const std::optional<std::string> path =
        dialogs_.ChooseSaveFile(cssFile ? kCssFilter : kHtmlFilter, cssFile ? "css" : "html");
    // Nothing was written, so the sheet stays marked as changed.
    if (!path) return false;
    if (!WriteCurrentSheet(*path, cssFile)) return false;
    savedPath_ = *path;
    doc_.SetModified(false);
    history_.MarkSaved();
    UpdateTitle();
    AddRecent(*path);
    return true;
}

bool CEditorDlg::SaveTo(const std::string& path, bool cssFile, bool silent) {
    if (cssFile) return ShowIfFailed(doc_.WriteStyleSheetFile(path));
    return EmbedInPage(path, silent);
}

}  // namespace larkspur
