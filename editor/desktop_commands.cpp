// Help, Copy to Clipboard and the Info window.
#include <QDir>

#include "controls/info_dlg.h"
#include "editor/editor_dlg.h"
#include "platform/desktop_services.h"

namespace larkspur {

void CEditorDlg::OnHelp() {
    desktop_.OpenDocument(QDir::current().filePath(QStringLiteral("qstart.html")).toStdString());
}

void CEditorDlg::OnCopyToClipboard() { desktop_.SetClipboardText(doc_.StyleSheetText()); }

void CEditorDlg::OnInfo() {
    delete info_.data();
    info_ = new CInfoDlg(this);
    info_->setAttribute(Qt::WA_DeleteOnClose);
    info_->show();
}

}  // namespace larkspur
