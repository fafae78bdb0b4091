#include "controls/page_changes_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace larkspur {

CPageChangesDlg::CPageChangesDlg(const std::vector<PageChangeRow>& pages, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save into several pages"));
    static const char* const kChanges[] = {"Changed", "Unchanged", "Cannot write"};
    int counts[3] = {};
    list_ = new QTreeWidget(this);
    list_->setAccessibleName(QStringLiteral("Pages"));
    list_->setRootIsDecorated(false);
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Page"), QStringLiteral("Change"), QStringLiteral("Details")});
    for (const PageChangeRow& page : pages) {
        const int change = static_cast<int>(page.change);
        ++counts[change];
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(page.path));
        item->setText(1, QString::fromLatin1(kChanges[change]));
        item->setText(2, QString::fromStdString(page.detail));
        item->setToolTip(0, item->text(0));
        item->setToolTip(2, item->text(2));
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    summary_ = new QLabel(QStringLiteral("%1 will change, %2 unchanged, %3 cannot be written. "
                                         "The pages' old text is kept, so the run can be taken back.")
                              .arg(counts[0])
                              .arg(counts[1])
                              .arg(counts[2]),
                          this);
    summary_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    save_ = buttons->addButton(QStringLiteral("Save"), QDialogButtonBox::AcceptRole);
    // Nothing to write: only Cancel makes sense.
    save_->setEnabled(counts[0] > 0);
    save_->setDefault(counts[0] > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(640, 360);
}

}  // namespace larkspur
