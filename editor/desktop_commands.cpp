// Help, Copy to Clipboard and the Info window.
#include <QFileInfo>

#include "app/data_files.h"

#include "controls/info_dlg.h"
#include "editor/editor_dlg.h"
#include "platform/desktop_services.h"

namespace larkspur {

// The quick-start page in the current folder, else the one installed with the program.
void CEditorDlg::OnHelp() {
    desktop_.OpenDocument(QFileInfo(QString::fromStdString(FindDataFile("qstart.html"))).absoluteFilePath().toStdString());
}

void CEditorDlg::OnCopyToClipboard() { desktop_.SetClipboardText(doc_.StyleSheetText()); }

void CEditorDlg::OnInfo() {
    delete info_.data();
    info_ = new CInfoDlg(this);
    info_->setAttribute(Qt::WA_DeleteOnClose);
    info_->show();
}

}  // namespace larkspur
