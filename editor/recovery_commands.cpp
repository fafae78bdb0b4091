// Unsaved work kept for recovery, and offered back after a crash.
#include <unistd.h>

#include <QDateTime>

#include "editor/editor_dlg.h"
#include "editor/recovery_keeper.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

// Read as a .css file is: the text is the sheet as Save writes one.
constexpr const char* kRecoveredSheetName = "recovered.css";

enum RecoveryChoice { kRestore, kDiscard, kLater };

}  // namespace

RecoveryRecord CEditorDlg::RecoverySnapshot() const {
    RecoveryRecord record;
    record.path = currentFile_;
    record.stamp = readStamp_;
    record.text = doc_.StyleSheetText();
    return record;
}

bool CEditorDlg::OfferRecovery() {
    for (const FoundRecovery& found : FindLeftRecoveries(recovery_->Folder())) {
        const RecoveryRecord& record = found.record;
        const std::string name = record.path.empty() ? "a new sheet" : "\"" + record.path + "\"";
        const std::string time =
            QDateTime::fromSecsSinceEpoch(record.savedAt).toString(QStringLiteral("d MMM yyyy, HH:mm")).toStdString();
        const int choice = dialogs_.AskChoice("Larkspur stopped without saving " + name + ". The sheet as it was at " +
                                                  time + " was kept.\n\nRestore it?",
                                              "Recover Changes", {"&Restore", "&Discard", "&Later"}, kRestore);
        if (choice == kDiscard) ::unlink(found.file.c_str());
        if (choice != kRestore || !RestoreRecovered(record)) continue;
        // Kept as this run's own before the old copy goes.
        if (recovery_->Keep()) ::unlink(found.file.c_str());
        return true;
    }
    return false;
}

bool CEditorDlg::RestoreRecovered(const RecoveryRecord& record) {
    if (!ReadSheet([&] { return doc_.ReadStyleSheetText(record.text, kRecoveredSheetName); })) return false;
    savedPath_ = record.path;
    // Save goes to the file, and asks first when it changed since the
    // stopped run read it.
    TrackSheetFile(record.path, record.stamp);
    doc_.SetModified(true);
    history_.MarkUnsaved();
    UpdateTitle();
    return true;
}

}  // namespace larkspur
