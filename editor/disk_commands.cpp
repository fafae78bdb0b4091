// The open sheet's file and the previewed page, changed by other programs:
// watching them, saying so, reloading, and Save over a changed file.
#include <QFileInfo>
#include <QStatusBar>
#include <algorithm>
#include <utility>

#include "css/file_io.h"
#include "css/style_sheet_reader.h"
#include "css/unified_diff.h"
#include "editor/editor_dlg.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

QString FileName(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

enum DiskChoice { kReload, kShowDifference, kKeepMine };

}  // namespace

void CEditorDlg::SetFileWatcher(std::unique_ptr<FileWatcher> watcher) {
    watcher_ = std::move(watcher);
    watcher_->onChanged = [this](const std::string&) { FileChangedOnDisk(); };
    for (const std::string& path : watched_) watcher_->Watch(path);
}

void CEditorDlg::UpdateWatches() {
    std::vector<std::string> wanted;
    for (const std::string* path : {&currentFile_, &previewedPage_})
        if (!path->empty() && std::find(wanted.begin(), wanted.end(), *path) == wanted.end()) wanted.push_back(*path);
    for (const std::string& path : watched_)
        if (std::find(wanted.begin(), wanted.end(), path) == wanted.end()) watcher_->Unwatch(path);
    // Watched again each time: a file replaced by a rename is a new file.
    for (const std::string& path : wanted) watcher_->Watch(path);
    watched_ = std::move(wanted);
}

void CEditorDlg::TrackSheetFile(const std::string& path, const FileStamp& stamp) {
    currentFile_ = path;
    readStamp_ = path.empty() ? FileStamp{} : stamp;
    seenStamp_ = {};
    UpdateWatches();
}

void CEditorDlg::FileChangedOnDisk() {
    // One question at a time, none about our own save; a change meanwhile
    // is looked at once the question is answered or the save done.
    diskCheckPending_ = true;
    if (checkingDisk_ || writing_) return;
    checkingDisk_ = true;
    while (std::exchange(diskCheckPending_, false)) {
        CheckSheetOnDisk();
        CheckPageOnDisk();
    }
    checkingDisk_ = false;
    UpdateWatches();
}

void CEditorDlg::CheckSheetOnDisk() {
    if (currentFile_.empty()) return;
    FileStamp now;
    if (!ChangedSince(readStamp_, currentFile_, &now)) {
        seenStamp_ = {};  // back as it was read
        return;
    }
    if (seenStamp_.known && !ChangedSince(seenStamp_, currentFile_)) return;  // already said
    seenStamp_ = now;
    if (!now.exists) {
        // The sheet now lives in the window alone: closing must offer to save it.
        dialogs_.ShowMessage(Quoted(currentFile_) + " was deleted or moved away.\n\nSave writes it anew.", kTitle);
        doc_.SetModified(true);
        history_.MarkUnsaved();
        return;
    }
    SheetFileChanged();
}

void CEditorDlg::SheetFileChanged() {
    const std::string changed = Quoted(currentFile_) + " was changed by another program.";
    if (!doc_.Modified()) {
        if (dialogs_.AskYesNo(changed + "\n\nReload it?", kTitle, Answer::Yes) == Answer::Yes) ReloadSheetFile();
        return;
    }
    // Enter keeps the user's own changes.
    for (;;) {
        switch (dialogs_.AskChoice(changed + "\n\nReload it and lose your changes, or keep yours?", kTitle,
                                   {"&Reload", "Show &Difference", "&Keep Mine"}, kKeepMine)) {
        case kReload: ReloadSheetFile(); return;
        case kShowDifference: ShowDifferenceFromDisk(); break;
        default: return;
        }
    }
}

void CEditorDlg::ReloadSheetFile() {
    const std::string path = currentFile_;
    const FileStamp stamp = StampFile(path);
    if (!ReadSheet([&] { return doc_.ReadStyleSheet(path); })) return;
    doc_.SetModified(false);
    TrackSheetFile(path, stamp);
    UpdateTitle();
}

void CEditorDlg::ShowDifferenceFromDisk() {
    std::string disk;
    std::string_view sheet;
    if (!ShowIfFailed(ReadTextFile(currentFile_, disk, kBinaryDataMessage)) ||
        !ShowIfFailed(FindSheetText(disk, currentFile_, sheet)))
        return;
    const std::string diff = UnifiedDiff(sheet, doc_.StyleSheetText(), FileName(currentFile_).toStdString());
    dialogs_.ShowText(diff.empty() ? "The file holds the sheet as the window has it."
                                   : "- on disk\n+ in the window\n\n" + diff,
                      "Difference");
}

void CEditorDlg::CheckPageOnDisk() {
    if (previewedPage_.empty()) return;
    FileStamp now;
    if (!ChangedSince(pageStamp_, previewedPage_, &now)) return;
    pageStamp_ = now;
    const QString name = FileName(previewedPage_);
    if (!now.exists) {
        statusBar_->showMessage(name + QStringLiteral(" was deleted or moved away"));
        return;
    }
    ShowPreview(previewedPage_, true);
    statusBar_->showMessage(name + QStringLiteral(" changed on disk: the preview shows it as it is now"));
}

bool CEditorDlg::MayOverwriteCurrentFile() {
    FileStamp now;
    // A file gone since is written anew; it was reported when it went.
    if (!ChangedSince(readStamp_, currentFile_, &now) || !now.exists) return true;
    return dialogs_.AskYesNo(Quoted(currentFile_) +
                                 " was changed by another program since it was read.\n\nSave over it?",
                             kTitle, Answer::No) == Answer::Yes;
}

bool CEditorDlg::WriteCurrentSheet(const std::string& path, bool cssFile) {
    writing_ = true;
    const bool written = SaveTo(path, cssFile, false);
    if (written) {
        TrackSheetFile(path, StampFile(path));
        if (path == previewedPage_) pageStamp_ = readStamp_;
    }
    writing_ = false;
    if (diskCheckPending_) FileChangedOnDisk();
    return written;
}

}  // namespace larkspur
