// Help, Copy to Clipboard and the Info window.
#include <QFileInfo>

#include "app/data_files.h"
#include "controls/info_dlg.h"
#include "editor/editor_dlg.h"
#include "editor/help_window.h"
#include "platform/desktop_services.h"

namespace larkspur {

// The quick-start page in the current folder, else the one installed with
// the program, else the copy built into it.
void CEditorDlg::OnHelp() {
    if (!help_) {
        const QString file = QString::fromStdString(FindDataFile("qstart.html"));
        auto* window = new CHelpWindow(QFileInfo::exists(file) ? file : QStringLiteral(":/qstart.html"), this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        help_ = window;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void CEditorDlg::OnCopyToClipboard() { desktop_.SetClipboardText(doc_.StyleSheetText()); }

void CEditorDlg::OnInfo() {
    delete info_.data();
    info_ = new CInfoDlg(this);
    info_->setAttribute(Qt::WA_DeleteOnClose);
    info_->show();
}

}  // namespace larkspur
