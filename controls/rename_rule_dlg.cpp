#include "controls/rename_rule_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/rule_name_note.h"

namespace larkspur {

CRenameRuleDlg::CRenameRuleDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rename Tag"));
    auto* box = new QGroupBox(QStringLiteral("Tag Name"), this);
    name_ = new QLineEdit(box);
    name_->setAccessibleName(QStringLiteral("Tag Name"));
    (new QVBoxLayout(box))->addWidget(name_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    note_ = new CRuleNameNote(this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(note_);
    layout->addWidget(buttons);
}

QString CRenameRuleDlg::Name() const { return name_->text(); }

void CRenameRuleDlg::accept() {
    if (note_->Accepts(Name(), name_)) QDialog::accept();
}

}  // namespace larkspur
