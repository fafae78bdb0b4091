#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace larkspur {

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/larkspur-%1.png").arg(size), QSize(size, size));
    return icon;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog100"));
    setWindowTitle(QStringLiteral("About Larkspur"));

    auto* picture = new QLabel(this);
    picture->setPixmap(ApplicationIcon().pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto* text = new QLabel(this);
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral("<p><b style=\"font-size:large\">Larkspur</b> version %1</p>"
                                 "<p>An editor for CSS style sheets: set each rule's properties "
                                 "on property pages, watch the CSS listing as it changes and "
                                 "preview HTML pages with the sheet.</p>"
                                 "<p>Copyright &copy; Fernhollow</p>")
                      .arg(QStringLiteral(LARKSPUR_VERSION)));
    text->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

}  // namespace larkspur
