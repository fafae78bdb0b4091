#include "controls/save_as_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace larkspur {

CSaveAsDlg::CSaveAsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save as"));
    group_ = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    const char* kinds[] = {"HTML Page", "CSS File"};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kinds[i]), this);
        group_->addButton(radio, i);
        layout->addWidget(radio);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Checked when it opens; the caller may choose otherwise.
    SetChoice(0);
}

int CSaveAsDlg::Choice() const { return group_->checkedId(); }

void CSaveAsDlg::SetChoice(int choice) {
    if (QAbstractButton* button = group_->button(choice)) {
        button->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QAbstractButton* button : group_->buttons()) button->setChecked(false);
    group_->setExclusive(true);
}

}  // namespace larkspur
