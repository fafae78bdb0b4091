// Load page, Change and Refresh preview, the live preview, and placing the
// sheet into a page.
#include <QAction>
#include <QStatusBar>

#include "css/html_embed.h"
#include "editor/editor_commands.h"
#include "editor/editor_dlg.h"
#include "pages/live_preview.h"
#include "pages/preview_page.h"
#include "platform/settings_store.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

constexpr const char* kLoadPageFilter = "Web Pages | *.html; *.htm|All Files | *.*||";
constexpr const char* kPreviewPageFilter = "Web Pages | *.html; *.htm; *.htm ||";
constexpr const char* kLiveSection = "Settings";
constexpr const char* kLiveKey = "LivePreview";

// The page writer's questions, put to the user. Yes replaces the page's own
// style, so Enter keeps it.
class DialogQuestion : public StyleQuestion {
public:
    explicit DialogQuestion(UserDialogs& dialogs) : dialogs_(dialogs) {}
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        return dialogs_.AskYesNo(text, caption, Answer::No) == Answer::Yes;
    }

private:
    UserDialogs& dialogs_;
};

}  // namespace

void CEditorDlg::OnLoadPage() {
    if (!OfferToSave()) return;
    if (const std::optional<std::string> path = dialogs_.ChooseOpenFile(kLoadPageFilter)) LoadPage(*path);
}

bool CEditorDlg::LoadPage(const std::string& path) {
    pageFolder_ = PageFolderOf(path);
    const bool read = ReadSheetFile(path);
    // A page without a style sheet of its own is still worth previewing.
    if (read || FileExists(path)) ShowPreview(path, true);
    return read;
}

void CEditorDlg::PreviewPageFile(const std::string& path) {
    pageFolder_ = PageFolderOf(path);
    ShowPreview(path, true);
}

void CEditorDlg::OnChangePreview() {
    const std::optional<std::string> path = dialogs_.ChooseOpenFile(kPreviewPageFilter);
    if (!path) return;
    pageFolder_ = PageFolderOf(*path);
    ShowPreview(*path, false);
}

void CEditorDlg::OnRefreshPreview() {
    // Before any page was chosen there is no preview copy to refresh.
    if (pageFolder_.empty()) return;
    if (!ShowIfFailed(RefreshPreview(doc_, pageFolder_))) return;
    live_->SetCopyShown(true);
    previewPage_->Reload();
}

void CEditorDlg::StartLivePreview() {
    LivePreview::Sheet sheet;
    sheet.text = [this] { return doc_.StyleSheetText(); };
    sheet.rewriteCopy = [this] {
        // Not a message box: this runs while the user types.
        const IoResult result = RefreshPreview(doc_, pageFolder_);
        if (!result) statusBar_->showMessage(QString::fromStdString(result.error));
        return result.ok;
    };
    live_ = new LivePreview(*previewPage_, std::move(sheet), this);
    listingObservers_.Add(live_);
    const bool on = settings_.GetInt(kLiveSection, kLiveKey, 1) != 0;
    live_->SetEnabled(on);
    if (QAction* toggle = CommandAction(kCmdLivePreview)) toggle->setChecked(on);
}

void CEditorDlg::OnLivePreview() {
    const bool on = CommandAction(kCmdLivePreview)->isChecked();
    live_->SetEnabled(on);
    settings_.SetInt(kLiveSection, kLiveKey, on ? 1 : 0);
}

bool CEditorDlg::EmbedInPage(const std::string& path, bool silent) {
    DialogQuestion question(dialogs_);
    // Save As may name a page that does not exist yet: it is made.
    const EmbedResult result = EmbedStyleBlock(doc_, path, silent, &question, MissingPage::kCreate);
    if (!ShowIfFailed(result.io)) return false;
    return !result.declined;
}

void CEditorDlg::ShowPreview(const std::string& pagePath, bool silent) {
    DialogQuestion question(dialogs_);
    const PreviewResult result = LoadPreview(doc_, pagePath, pageFolder_, silent, &question);
    // The copy just written holds the sheet; anything pending is in it.
    live_->SetCopyShown(result.io.ok);
    if (!ShowIfFailed(result.io)) return;
    if (pagePath != previewedPage_) {
        previewedPage_ = pagePath;
        UpdateWatches();
    }
    pageStamp_ = StampFile(pagePath);
    previewPage_->Navigate(QString::fromStdString(result.copyPath));
}

}  // namespace larkspur
