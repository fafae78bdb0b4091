// Load page, Change and Refresh preview, and placing the sheet into pages.
#include <QString>

#include "css/file_io.h"
#include "editor/editor_dlg.h"
#include "pages/preview_page.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

constexpr const char* kLoadPageFilter = "Web Pages | *.html; *.htm|All Files | *.*||";
constexpr const char* kPreviewPageFilter = "Web Pages | *.html; *.htm; *.htm ||";

}  // namespace

void CEditorDlg::OnLoadPage() {
    const std::optional<std::string> path = dialogs_.ChooseOpenFile(kLoadPageFilter);
    if (!path) return;
    pageFolder_ = FolderOf(*path);
    if (!ShowIfFailed(doc_.ReadStyleSheet(*path))) return;
    ShowPreview(*path, true);
}

void CEditorDlg::OnChangePreview() {
    const std::optional<std::string> path = dialogs_.ChooseOpenFile(kPreviewPageFilter);
    if (!path) return;
    pageFolder_ = FolderOf(*path);
    ShowPreview(*path, false);
}

void CEditorDlg::OnRefreshPreview() {
    // Before any page was chosen there is no preview copy to refresh.
    if (pageFolder_.empty()) return;
    if (!EmbedInPage(pageFolder_ + "~styletemp.html", true)) return;
    previewPage_->Reload();
}

bool CEditorDlg::EmbedInPage(const std::string&, bool) {
    return ShowIfFailed(IoResult::Failure("Saving into HTML pages is not available yet"));
}

void CEditorDlg::ShowPreview(const std::string&, bool) {
    ShowIfFailed(IoResult::Failure("The preview is not available yet"));
}

}  // namespace larkspur
