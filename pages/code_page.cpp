#include "pages/code_page.h"

#include <QAbstractListModel>
#include <QListView>
#include <QTimer>
#include <QVBoxLayout>

namespace larkspur {

// Rows as the listing's lines. The listing has already changed when it tells
// of a change, so the model keeps its own row count and follows one step
// behind; a row it is asked for that the listing no longer has shows nothing.
class ListingModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void Show(const Listing* listing) {
        beginResetModel();
        listing_ = listing;
        rows_ = listing ? listing->Count() : 0;
        endResetModel();
    }
    void Inserted(int index) {
        beginInsertRows({}, index, index);
        ++rows_;
        endInsertRows();
    }
    void Removed(int first, int count) {
        count = std::min(count, rows_ - first);
        if (first < 0 || count <= 0) return;
        beginRemoveRows({}, first, first + count - 1);
        rows_ -= count;
        endRemoveRows();
    }
    void Replaced(int index) {
        const QModelIndex at = this->index(index);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
    void Cleared() { Show(listing_); }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !listing_ || index.row() >= listing_->Count()) return {};
        const std::string_view line = listing_->Line(index.row());
        QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        // The decoder takes a leading byte-order mark for its own; it is the file's.
        if (line.starts_with("\xEF\xBB\xBF") && !text.startsWith(QChar(0xFEFF))) text.prepend(QChar(0xFEFF));
        return text;
    }

private:
    const Listing* listing_ = nullptr;
    int rows_ = 0;
};

CCodePage::CCodePage(QWidget* parent) : QWidget(parent), model_(new ListingModel(this)) {
    list_ = new QListView(this);
    list_->setModel(model_);
    list_->setAccessibleName(QStringLiteral("Code"));
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
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

void CCodePage::ShowListing(const Listing& listing) { model_->Show(&listing); }

QString CCodePage::LineText(int row) const { return model_->data(model_->index(row), Qt::DisplayRole).toString(); }

int CCodePage::LineCount() const { return model_->rowCount(); }

void CCodePage::ShowLines(int first, int count) {
    showFirst_ = first;
    showCount_ = std::max(count, 1);
    if (isVisible()) ScrollToShown();
}

void CCodePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Once the list has its size for the page just shown.
    QTimer::singleShot(0, this, &CCodePage::ScrollToShown);
}

void CCodePage::ScrollToShown() {
    const int rows = model_->rowCount();
    if (showFirst_ < 0 || showFirst_ >= rows) return;
    // The last line first, then the first: a block taller than the view
    // shows from its header.
    list_->scrollTo(model_->index(std::min(showFirst_ + showCount_, rows) - 1), QAbstractItemView::EnsureVisible);
    list_->scrollTo(model_->index(showFirst_), QAbstractItemView::EnsureVisible);
}

void CCodePage::LineInserted(int index, std::string_view) { model_->Inserted(index); }

void CCodePage::LinesRemoved(int first, int count) { model_->Removed(first, count); }

void CCodePage::LineReplaced(int index, std::string_view) { model_->Replaced(index); }

void CCodePage::LinesCleared() { model_->Cleared(); }

}  // namespace larkspur
