#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/info_dlg.h"
#include "css/listing_fan_out.h"
#include "css/rule_labels.h"
#include "css/sheet_document.h"
#include "editor/file_stamp.h"
#include "editor/sheet_history.h"
#include "editor/editor_commands.h"
#include "editor/recent_files.h"
#include "editor/rule_list_model.h"
#include "model/colour_case.h"
#include "pages/browser.h"
#include "pages/page_host.h"
#include "platform/file_watcher.h"

class QAction;
class QComboBox;
class QMenu;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QTabWidget;

namespace larkspur {

class CCodePage;
class CDeclarationsPage;
class CRuleFilterBox;
class LivePreview;
class CPreviewPage;
class CPropertyPage;
class CRuleCheckList;
class DesktopServices;
class RecoveryKeeper;
struct RecoveryRecord;
class SettingsStore;
struct IoResult;

// The main window: the rule list, the property sheet, the view sheet (Preview,
// Code), the toolbar and status bar, and every command. It owns the sheet.
class CEditorDlg : public QDialog, public PageHost, public SheetObserver {
    Q_OBJECT
public:
    CEditorDlg(UserDialogs& dialogs, SettingsStore& settings, DesktopServices& desktop,
               const BrowserFactory& browserFactory, QWidget* parent = nullptr);
    ~CEditorDlg() override;

    // PageHost
    SheetDocument& Document() override { return doc_; }
    UserDialogs& Dialogs() override { return dialogs_; }
    void ShowHelpLine(const std::string& text) override;
    std::string SavedPath() const override { return savedPath_; }
    void RunSaveAs() override { SaveAs(); }
    bool IsLoading() const override { return loading_; }
    void BeginChange(const std::string& page, int typingKey) override;
    void EndChange() override;
    void DeclarationsChanged() override { LoadPages(); }
    HexCase ColourCase() const override { return hexCase_; }

    // SheetObserver
    void RuleAppended(int index) override;
    void RuleRemoved(int index) override;
    void RulesReset() override;
    void RuleRenamed(int index) override;
    void RuleCheckChanged(int index, bool checked) override;
    void RuleSelected(int index) override;
    void PagesNeedReload() override;
    void RuleChanging(int index) override { history_.RuleChanging(index); }
    void RuleRemoving(int index) override { history_.RuleRemoving(index); }
    void ModifiedChanged(bool modified) override;

    // The rule list's selection changed to index.
    void SelectRule(int index);
    void StorePages();
    void LoadPages();

    // Open and Load page without asking for the file; true when the sheet was read.
    bool OpenFile(const std::string& path);
    bool LoadPage(const std::string& path);
    // Shows the page, with the current sheet, in the preview.
    void PreviewPageFile(const std::string& path);
    // A file named at start, dropped on the window or chosen from Open Recent:
    // after the save prompt, opened as Open does; a page is also previewed.
    bool OpenDocumentFile(const std::string& path);

    // Commands (see editor_commands.cpp).
    void OnNewSheet();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnSaveSeveral();
    void OnNewRule();
    void OnCopyRule();
    void OnRenameRule();
    void OnClearRule();
    void OnDeleteRule();
    void OnLoadPage();
    void OnRefreshPreview();
    void OnChangePreview();
    void OnLivePreview();
    void OnHelp();
    void OnCopyToClipboard();
    void OnInfo();
    void OnQuit();
    void OnUndo() { history_.Undo(); }
    void OnRedo() { history_.Redo(); }
    SheetHistory& History() { return history_; }

    // Every way of closing ends here; false while the window stays open.
    void done(int result) override;

    // The open sheet's file and the previewed page are watched for changes
    // made by other programs; tests put a scripted watcher in place.
    void SetFileWatcher(std::unique_ptr<FileWatcher> watcher);
    FileWatcher& Watcher() const { return *watcher_; }
    // A watched file changed on disk: says so, and offers to read it again.
    void FileChangedOnDisk();
    // Keeps the unsaved sheet in the recovery folder while the window runs.
    RecoveryKeeper& Recovery() const { return *recovery_; }
    // At start: offers back what runs that stopped without saving left in
    // the recovery folder, newest first. True when a sheet was restored.
    bool OfferRecovery();
    std::string PreviewedPage() const { return previewedPage_; }

    // Parts, for the application and tests.
    CRuleCheckList* RuleListBox() const { return ruleList_; }
    CRuleFilterBox* RuleFilterBox() const { return ruleFilter_; }
    QTabWidget* PropertySheet() const { return propertySheet_; }
    QTabWidget* ViewSheet() const { return viewSheet_; }
    const std::vector<CPropertyPage*>& Pages() const { return pages_; }
    CCodePage* CodePage() const { return codePage_; }
    CDeclarationsPage* DeclarationsPage() const { return declarationsPage_; }
    CPreviewPage* PreviewPage() const { return previewPage_; }
    LivePreview* Live() const { return live_; }
    QWidget* Toolbar() const { return toolbar_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    QComboBox* DevelopingCombo() const { return developing_; }
    QAction* CommandAction(int id) const;
    QMenuBar* MenuBar() const { return menuBar_; }
    QMenu* Menu(EditorMenu menu) const { return menus_[static_cast<int>(menu)]; }
    QSplitter* Splitter() const { return splitter_; }
    QMenu* RecentMenu() const { return recentMenu_; }
    const RecentFiles& Recent() const { return recent_; }
    QWidget* HelpWindow() const { return help_.data(); }
    CInfoDlg* InfoWindow() const { return info_.data(); }
    std::string CurrentFile() const { return currentFile_; }
    std::string PageFolder() const { return pageFolder_; }
    // Where Save into several pages keeps its runs, beside the command-line
    // tool's.
    static std::string JournalFolder();
    bool SkipStore() const { return skipStore_; }

    static constexpr const char* kTitle = "Larkspur";
    // The rule list's width, kept between runs.
    static constexpr const char* kRuleListWidthKey = "RuleListWidth";

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout(const BrowserFactory& browserFactory);
    void BuildCommands();
    void FillRuleList();
    RuleListModel::Rule RuleListEntry(int index) const;
    // Ctrl+F: the filter box above the rule list.
    void FindRuleInList();
    void BuildMenus();
    void BuildRecentMenu();
    void AddRecent(const std::string& path);
    void UpdateTitle();
    int DefaultRuleListWidth() const;
    void UpdateCommandEnabling();
    void ShowRuleAfterRemoval();
    // Selects and shows the rule an undo or redo was about; nothing is stored
    // from the pages, which still show the state before it.
    void ShowRule(int index);
    void ConnectHistory();
    // The rule's selector for a step's name.
    QString RuleName(int index) const;
    // Where the rule stands in the listing: its first line and how many
    // (header to closing brace); nothing while it is not listed.
    struct ListingLines {
        int first = 0;
        int count = 0;
    };
    std::optional<ListingLines> LinesOf(int index) const;
    // Scrolls the Code page to the rule's lines, leaving the focus alone.
    void FollowInCode(int index);

    // Closing: store the settings, offer to save; false keeps the window open.
    bool QueryClose();
    // Asks "Save Changes" when modified (New sheet, closing); false when the
    // caller must stop: cancelled, or the sheet could not be saved.
    bool OfferToSave();
    // Save and Save As; true once the sheet is on disk.
    bool Save();
    bool SaveAs();
    bool SaveTo(const std::string& path, bool cssFile, bool silent);
    // Shows the error, or the warning of a success; false on failure.
    bool ShowIfFailed(const IoResult& result);
    // Once after a sheet is read: how much of it was kept as written.
    void ShowKeptSummary();
    bool ReadSheetFile(const std::string& path);
    // Reads a sheet as Open does, the text coming from `read`.
    bool ReadSheet(const std::function<IoResult()>& read);

    // The files on disk (disk_commands.cpp). The sheet's file as last read
    // or written, and what was last said about it.
    void TrackSheetFile(const std::string& path, const FileStamp& stamp);
    void UpdateWatches();
    void CheckSheetOnDisk();
    void CheckPageOnDisk();
    void SheetFileChanged();
    void ReloadSheetFile();
    void ShowDifferenceFromDisk();
    // Before Save writes over the current file: asks when another program
    // changed it since it was read. False when the user says No.
    bool MayOverwriteCurrentFile();
    // Save and Save As: the write, with the watch's notices held back.
    bool WriteCurrentSheet(const std::string& path, bool cssFile);
    bool RestoreRecovered(const RecoveryRecord& record);
    RecoveryRecord RecoverySnapshot() const;

    // The sheet into an HTML page's head; false (after saying why) when not done.
    bool EmbedInPage(const std::string& path, bool silent);
    // Writes the preview copy of the page beside it and shows it.
    void ShowPreview(const std::string& pagePath, bool silent);
    // Follows the listing into the shown preview copy, as the settings say.
    void StartLivePreview();

    SheetDocument doc_;
    SheetHistory history_{doc_};
    UserDialogs& dialogs_;
    SettingsStore& settings_;
    DesktopServices& desktop_;

    CRuleCheckList* ruleList_ = nullptr;
    CRuleFilterBox* ruleFilter_ = nullptr;
    RuleLabels labels_;
    bool reading_ = false;  // a sheet being read: the rule list waits
    QTabWidget* propertySheet_ = nullptr;
    QTabWidget* viewSheet_ = nullptr;
    std::vector<CPropertyPage*> pages_;
    CCodePage* codePage_ = nullptr;
    CDeclarationsPage* declarationsPage_ = nullptr;
    CPreviewPage* previewPage_ = nullptr;
    LivePreview* live_ = nullptr;
    ListingFanOut listingObservers_;
    QWidget* toolbar_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QMenu* menus_[std::size(kMenuTitles)] = {};
    QSplitter* splitter_ = nullptr;
    QPointer<QWidget> help_;
    QStatusBar* statusBar_ = nullptr;
    QComboBox* developing_ = nullptr;
    std::vector<std::pair<int, QAction*>> actions_;
    RecentFiles recent_;
    QMenu* recentMenu_ = nullptr;
    QPointer<CInfoDlg> info_;

    bool skipStore_ = true;
    bool loading_ = false;
    bool closing_ = false;
    bool ruleListMoved_ = false;
    HexCase hexCase_ = HexCase::Upper;
    std::string currentFile_;
    std::string savedPath_;
    std::string pageFolder_;

    std::unique_ptr<FileWatcher> watcher_;
    std::vector<std::string> watched_;
    FileStamp readStamp_;  // the current file as last read or written
    FileStamp seenStamp_;  // as last reported changed
    std::string previewedPage_;
    FileStamp pageStamp_;
    bool checkingDisk_ = false;
    bool diskCheckPending_ = false;
    bool writing_ = false;
    RecoveryKeeper* recovery_ = nullptr;
};

}  // namespace larkspur
