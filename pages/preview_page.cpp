#include "pages/preview_page.h"

#include <QLabel>
#include <QVBoxLayout>

#include "platform/user_dialogs.h"

namespace larkspur {

const char* const CPreviewPage::kMissingNote =
    "You need Qt WebEngine to use the preview function.  Install your system's Qt 6 WebEngine "
    "package (for example libqt6webenginewidgets6 or qt6-webengine) and start Larkspur again.";

const char* const CPreviewPage::kCreateFailed =
    "The preview browser could not be started: the Qt WebEngine package (libqt6webenginewidgets6 or "
    "qt6-webengine) may be missing. Everything else works; install it to preview pages.";

CPreviewPage::CPreviewPage(const BrowserFactory& factory, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    note_ = new QLabel(QString::fromLatin1(kMissingNote), this);
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignCenter);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    note_->hide();
    layout->addWidget(note_);

    if (factory) browser_ = factory(this);
    if (browser_) {
        layout->addWidget(browser_->Widget());
        setFocusProxy(browser_->Widget());
    } else {
        dialogs.ShowMessage(kCreateFailed, "Larkspur");
    }
}

CPreviewPage::~CPreviewPage() = default;

void CPreviewPage::Navigate(const QString& pathOrUrl) {
    if (browser_)
        browser_->Navigate(pathOrUrl);
    else
        note_->show();
}

void CPreviewPage::Reload() {
    if (browser_) browser_->Reload();
}

void CPreviewPage::Stop() {
    if (browser_) browser_->Stop();
}

void CPreviewPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Bringing the page to the front puts the keyboard into the browser.
    if (browser_ && isActiveWindow()) browser_->Widget()->setFocus();
}

}  // namespace larkspur
