#include "controls/rename_rule_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace larkspur {

CRenameRuleDlg::CRenameRuleDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rename Tag"));
    auto* box = new QGroupBox(QStringLiteral("Tag Name"), this);
    name_ = new QLineEdit(box);
    name_->setAccessibleName(QStringLiteral("Tag Name"));
    (new QVBoxLayout(box))->addWidget(name_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
}

QString CRenameRuleDlg::Name() const { return name_->text(); }

}  // namespace larkspur
