#include "editor/rule_check_list.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace larkspur {

CRuleCheckList::CRuleCheckList(QWidget* parent) : QListView(parent), model_(this) {
    setAccessibleName(QStringLiteral("Rules"));
    setModel(&model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
}

void CRuleCheckList::SetRules(std::vector<Rule> rules) {
    current_ = -1;
    model_.SetRules(std::move(rules));
}

void CRuleCheckList::InsertRule(int index, Rule rule) {
    if (current_ >= index) ++current_;
    model_.Insert(index, std::move(rule));
}

void CRuleCheckList::RemoveRule(int index) {
    const int current = current_;
    {
        const QSignalBlocker block(this);
        model_.Remove(index);
    }
    // The view moves its current row off a removed one by itself.
    if (current == index)
        current_ = model_.RuleAt(currentIndex().row());
    else
        current_ = current > index ? current - 1 : current;
}

void CRuleCheckList::ChangeRule(int index, Rule rule) { model_.Change(index, std::move(rule)); }

bool CRuleCheckList::IsChecked(int index) const {
    return index >= 0 && index < count() && model_.At(index).checked;
}

void CRuleCheckList::SetChecked(int index, bool checked) { model_.SetChecked(index, checked); }

void CRuleCheckList::setCurrentRow(int index) {
    if (index >= 0 && index < count() && model_.RowOf(index) < 0) SetFilter({});
    const int row = model_.RowOf(index);
    setCurrentIndex(row >= 0 ? model_.index(row) : QModelIndex());
    if (row < 0) {
        // No row to stand on: tell the window, as a change of row would.
        const bool changed = current_ != -1 || index != -1;
        current_ = -1;
        if (changed) emit currentRowChanged(-1);
    }
}

void CRuleCheckList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    const int rule = model_.RuleAt(current.row());
    // A filter that hides the current rule leaves it the window's rule.
    if (rule < 0 || rule == current_) return;
    current_ = rule;
    emit currentRowChanged(rule);
}

void CRuleCheckList::SetFilter(const QString& filter) {
    if (filter == model_.Filter()) return;
    {
        const QSignalBlocker block(this);
        model_.SetFilter(filter);
    }
    ShowCurrent();
    if (filterBox_ && filterBox_->text() != filter) {
        const QSignalBlocker block(filterBox_.data());
        filterBox_->setText(filter);
    }
}

void CRuleCheckList::SetKeep(std::function<bool(int)> keep) {
    {
        const QSignalBlocker block(this);
        model_.SetKeep(std::move(keep));
    }
    ShowCurrent();
}

void CRuleCheckList::AttachFilterBox(QLineEdit* box) {
    filterBox_ = box;
    connect(box, &QLineEdit::textChanged, this, &CRuleCheckList::SetFilter);
}

void CRuleCheckList::ShowCurrent() {
    const int row = model_.RowOf(current_);
    if (row < 0) return;
    const QSignalBlocker block(this);
    const QModelIndex index = model_.index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QRect CRuleCheckList::RuleRect(int index) const {
    const int row = model_.RowOf(index);
    return row >= 0 ? visualRect(model_.index(row)) : QRect();
}

int CRuleCheckList::RuleAtPoint(const QPoint& point) const { return model_.RuleAt(indexAt(point).row()); }

bool CRuleCheckList::IsOnCheckBox(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    if (!index.isValid()) return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    return box.contains(point);
}

void CRuleCheckList::Toggle(int index) {
    if (index < 0 || index >= count()) return;
    const bool checked = !IsChecked(index);
    SetChecked(index, checked);
    emit CheckToggled(index, checked);
}

void CRuleCheckList::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && IsOnCheckBox(point)) Toggle(RuleAtPoint(point));
    QListView::mousePressEvent(event);
}

void CRuleCheckList::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click on a check box is a second toggle.
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && IsOnCheckBox(point)) {
        Toggle(RuleAtPoint(point));
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void CRuleCheckList::keyboardSearch(const QString& search) {
    lastSearchKey_.start();
    QListView::keyboardSearch(search);
}

bool CRuleCheckList::Searching() const {
    // The view itself starts a new search after the same interval.
    return lastSearchKey_.isValid() && lastSearchKey_.elapsed() < QApplication::keyboardInputInterval();
}

void CRuleCheckList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (Searching())
            keyboardSearch(event->text());
        else
            Toggle(currentRow());
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace larkspur
