// New sheet, Open, Save, Save As and Save into several pages.
#include <QString>

#include "editor/editor_dlg.h"
#include "model/text_util.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

constexpr const char* kOpenFilter = "Web Pages, Style Sheets | *.html; *.htm; *.css|All Files | *.*||";
constexpr const char* kCssFilter = "Style Sheets | *.css||";
constexpr const char* kHtmlFilter = "Web Pages | *.htm; *.html||";

bool IsCssName(const std::string& path) {
    return path.size() >= 3 && EqualsIgnoreCase(std::string_view(path).substr(path.size() - 3), "CSS");
}

}  // namespace

void CEditorDlg::OnNewSheet() {
    if (doc_.Modified()) {
        switch (dialogs_.AskYesNoCancel("Do you want to save your changes", "Save Changes")) {
        case Answer::Cancel: return;
        case Answer::Yes:
            if (currentFile_.empty()) {
                SaveAs();
                return;
            }
            if (!Save()) return;  // a sheet that could not be written is kept
            break;
        case Answer::No: break;
        }
    }
    doc_.ResetAllRules();
    LoadPages();
    doc_.SetModified(false);
    savedPath_.clear();
    currentFile_.clear();
}

void CEditorDlg::OnOpen() {
    const std::optional<std::string> path = dialogs_.ChooseOpenFile(kOpenFilter);
    if (!path) return;
    if (!ShowIfFailed(doc_.ReadStyleSheet(*path))) return;
    currentFile_ = savedPath_ = *path;
    doc_.SetModified(false);
}

void CEditorDlg::OnSave() { Save(); }
void CEditorDlg::OnSaveAs() { SaveAs(); }

bool CEditorDlg::Save() {
    if (currentFile_.empty()) return SaveAs();
    // A file the user may not write is never replaced; another name may do.
    if (const IoResult writable = CheckWritable(currentFile_); writable.readOnly) {
        if (dialogs_.AskYesNo(writable.error + "\n\nSave the sheet under another name?", kTitle) != Answer::Yes)
            return false;
        return SaveAs();
    }
    if (!SaveTo(currentFile_, IsCssName(currentFile_), false)) return false;
    doc_.SetModified(false);
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
    if (!SaveTo(*path, cssFile, false)) return false;
    currentFile_ = savedPath_ = *path;
    doc_.SetModified(false);
    return true;
}

bool CEditorDlg::SaveTo(const std::string& path, bool cssFile, bool silent) {
    if (cssFile) return ShowIfFailed(doc_.WriteStyleSheetFile(path));
    return EmbedInPage(path, silent);
}

}  // namespace larkspur
