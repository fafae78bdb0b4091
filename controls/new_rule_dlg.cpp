#include "controls/new_rule_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/rule_name_note.h"
#include "css/file_kinds.h"

namespace larkspur {

CNewRuleDlg::CNewRuleDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Add New Tag/Class"));

    auto* nameBox = new QGroupBox(QStringLiteral("Name"), this);
    name_ = new QLineEdit(nameBox);
    name_->setAccessibleName(QStringLiteral("Name"));
    (new QVBoxLayout(nameBox))->addWidget(name_);

    auto* typeBox = new QGroupBox(QStringLiteral("Type"), this);
    auto* typeLayout = new QHBoxLayout(typeBox);
    // Exclusive groups refuse to uncheck, so none checked stays possible only
    // until the user picks one, as intended.
    kind_ = new QButtonGroup(this);
    const char* kinds[] = {"Tag", "Class", "ID"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kinds[i]), typeBox);
        kind_->addButton(radio, i);
        typeLayout->addWidget(radio);
    }

    inside_ = new QCheckBox(this);
    inside_->setChecked(true);
    inside_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    note_ = new CRuleNameNote(this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameBox);
    layout->addWidget(typeBox);
    layout->addWidget(inside_);
    layout->addWidget(note_);
    layout->addWidget(buttons);
}

QString CNewRuleDlg::Name() const { return name_->text(); }
int CNewRuleDlg::Kind() const { return kind_->checkedId(); }

void CNewRuleDlg::SetContext(const QString& context) {
    inside_->setText(QStringLiteral("Inside ") + context);
    inside_->setVisible(!context.isEmpty());
}

bool CNewRuleDlg::Inside() const { return !inside_->isHidden() && inside_->isChecked(); }

void CNewRuleDlg::accept() {
    if (note_->Accepts(QString::fromStdString(NewRuleSelector(Name().toStdString(), Kind())), name_)) QDialog::accept();
}

}  // namespace larkspur
