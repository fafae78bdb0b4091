#include "controls/copy_to_dlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace larkspur {

CCopyToDlg::CCopyToDlg(const QStringList& names, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Copy To"));
    list_ = new QListWidget(this);
    list_->setAccessibleName(QStringLiteral("Copy To"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(false);
    list_->addItems(names);
    list_->setCurrentRow(-1);
    list_->clearSelection();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void CCopyToDlg::accept() {
    // The current row alone is not a choice: focus can move it without a click.
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    selection_ = chosen.isEmpty() ? -1 : list_->row(chosen.constFirst());
    QDialog::accept();
}

}  // namespace larkspur
