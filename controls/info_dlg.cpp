#include "controls/info_dlg.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace larkspur {

CInfoDlg::CInfoDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Info"));
    setModal(false);
    label_ = new QLabel(this);
    // Unnamed, so assistive tools read the help text itself.
    label_->setAccessibleDescription(QStringLiteral("Help text"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setAutoFillBackground(true);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 128));
    palette.setColor(QPalette::WindowText, Qt::black);
    label_->setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    resize(255, 93);
}

void CInfoDlg::SetText(const QString& text) { label_->setText(text); }
QString CInfoDlg::Text() const { return label_->text(); }

}  // namespace larkspur
