#include "pages/code_page.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace larkspur {
namespace {
}  // namespace

CCodePage::CCodePage(QWidget* parent) : QWidget(parent) {
    list_ = new QListWidget(this);
    list_->setAccessibleName(QStringLiteral("Code"));
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Long lines are cut at the right edge rather than shortened with dots.
    list_->setTextElideMode(Qt::ElideNone);
    list_->setWordWrap(false);
    list_->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
}

void CCodePage::ShowListing(const Listing& listing) {
    list_->clear();
    for (const std::string& line : listing.Lines()) list_->addItem(QString::fromStdString(line));
}

void CCodePage::LineInserted(int index, const std::string& text) { list_->insertItem(index, QString::fromStdString(text)); }

void CCodePage::LinesRemoved(int first, int count) {
    for (int i = 0; i < count && first < list_->count(); ++i) delete list_->takeItem(first);
}

void CCodePage::LineReplaced(int index, const std::string& text) {
    if (QListWidgetItem* item = list_->item(index)) item->setText(QString::fromStdString(text));
}

void CCodePage::LinesCleared() { list_->clear(); }

}  // namespace larkspur
