#include "editor/help_window.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace larkspur {

CHelpWindow::CHelpWindow(const QString& page, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Larkspur Quick Start"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    browser_ = new QTextBrowser(this);
    browser_->setAccessibleName(QStringLiteral("Quick Start"));
    browser_->setOpenExternalLinks(true);
    const QUrl source = page.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + page)
                                                          : QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath());
    browser_->setSource(source);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addWidget(buttons);
    resize(640, 600);
}

}  // namespace larkspur
