#include "pages/code_page.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QIcon>
#include <QListView>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <map>
#include <string>

#include "css/sheet_check.h"

namespace larkspur {

// Rows as the listing's lines. The listing has already changed when it tells
// of a change, so the model keeps its own row count and follows one step
// behind; a row it is asked for that the listing no longer has shows nothing.
// Lines holding a declaration browsers drop are marked; the marks move with
// the lines and are found again a moment after the last change.
class ListingModel : public QAbstractListModel {
public:
    explicit ListingModel(QObject* parent) : QAbstractListModel(parent) {
        recheck_.setSingleShot(true);
        recheck_.setInterval(300);
        QObject::connect(&recheck_, &QTimer::timeout, this, [this] {
            // A hidden page checks when it is next shown.
            if (shown_)
                Recheck();
            else
                stale_ = true;
        });
    }

    void Show(const Listing* listing) {
        beginResetModel();
        listing_ = listing;
        rows_ = listing ? listing->Count() : 0;
        problems_.clear();
        endResetModel();
        recheck_.start();
    }
    void Inserted(int index) {
        beginInsertRows({}, index, index);
        ++rows_;
        Shift(index, 1);
        endInsertRows();
        recheck_.start();
    }
    void Removed(int first, int count) {
        count = std::min(count, rows_ - first);
        if (first < 0 || count <= 0) return;
        beginRemoveRows({}, first, first + count - 1);
        rows_ -= count;
        problems_.erase(problems_.lower_bound(first), problems_.lower_bound(first + count));
        Shift(first + count, -count);
        endRemoveRows();
        recheck_.start();
    }
    void Replaced(int index) {
        const QModelIndex at = this->index(index);
        emit dataChanged(at, at, {Qt::DisplayRole});
        recheck_.start();
    }
    void Cleared() { Show(listing_); }

    void SetIconSize(QSize size) { iconSize_ = size; }
    void SetShown(bool shown) {
        shown_ = shown;
        if (shown && stale_) Recheck();
    }
    // The marks for the listing as it is now.
    void Recheck() {
        recheck_.stop();
        stale_ = false;
        std::map<int, std::string> found;
        if (listing_) {
            for (const ValueProblem& p : CheckSheetText(listing_->Text())) {
                if (p.check.verdict != ValueVerdict::Invalid) continue;
                std::string& line = found[listing_->LineAt(p.offset)];
                line += line.empty() ? p.check.message : "\n" + p.check.message;
            }
        }
        if (found == problems_) return;
        problems_ = std::move(found);
        if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1), {Qt::DecorationRole, Qt::ToolTipRole});
    }
    QString Problem(int row) const {
        auto it = problems_.find(row);
        return it == problems_.end() ? QString() : QString::fromStdString(it->second);
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!listing_ || index.row() >= listing_->Count()) return {};
        if (role == Qt::DecorationRole && !problems_.empty()) {
            // Unmarked lines keep the mark's room, so the text stays in line.
            if (problems_.count(index.row())) return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            QPixmap blank(iconSize_);
            blank.fill(Qt::transparent);
            return blank;
        }
        if (role == Qt::ToolTipRole) {
            const QString problem = Problem(index.row());
            return problem.isEmpty() ? QVariant() : QVariant(QStringLiteral("Browsers drop: ") + problem);
        }
        if (role != Qt::DisplayRole) return {};
        const std::string_view line = listing_->Line(index.row());
        QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        // The decoder takes a leading byte-order mark for its own; it is the file's.
        if (line.starts_with("\xEF\xBB\xBF") && !text.startsWith(QChar(0xFEFF))) text.prepend(QChar(0xFEFF));
        return text;
    }

private:
    void Shift(int from, int by) {
        std::map<int, std::string> moved;
        for (auto it = problems_.lower_bound(from); it != problems_.end();)
            moved.emplace(it->first + by, std::move(it->second)), it = problems_.erase(it);
        problems_.merge(moved);
    }

    const Listing* listing_ = nullptr;
    int rows_ = 0;
    std::map<int, std::string> problems_;  // line: why browsers drop what it holds
    QTimer recheck_;
    QSize iconSize_;
    bool shown_ = false;
    bool stale_ = false;
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
    const int line = list_->fontMetrics().height();
    list_->setIconSize(QSize(line, line));
    model_->SetIconSize(list_->iconSize());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
}

void CCodePage::ShowListing(const Listing& listing) { model_->Show(&listing); }

QString CCodePage::LineProblem(int row) const { return model_->Problem(row); }

void CCodePage::CheckNow() { model_->Recheck(); }

QString CCodePage::LineText(int row) const { return model_->data(model_->index(row), Qt::DisplayRole).toString(); }

int CCodePage::LineCount() const { return model_->rowCount(); }

void CCodePage::ShowLines(int first, int count) {
    showFirst_ = first;
    showCount_ = std::max(count, 1);
    if (isVisible()) ScrollToShown();
}

void CCodePage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    model_->SetShown(false);
}

void CCodePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    model_->SetShown(true);
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
