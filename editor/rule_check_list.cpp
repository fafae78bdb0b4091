#include "editor/rule_check_list.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace larkspur {

CRuleCheckList::CRuleCheckList(QWidget* parent) : QListWidget(parent) {
    setAccessibleName(QStringLiteral("Rules"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CRuleCheckList::AddRule(const QString& name, bool checked) { InsertRule(count(), name, checked); }

namespace {

// A grouped or hand-written selector may run over several lines; the list
// shows it on one, and the tool tip keeps it whole.
void ShowSelector(QListWidgetItem& item, const QString& selector) {
    const QString line = selector.simplified();
    item.setText(line);
    item.setToolTip(selector);
}

}  // namespace

void CRuleCheckList::InsertRule(int row, const QString& name, bool checked) {
    auto* item = new QListWidgetItem;
    ShowSelector(*item, name);
    // Not user-checkable for the view: this list toggles marks itself, so the
    // mark changes before the selection does.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    insertItem(row, item);
}

void CRuleCheckList::RenameRule(int row, const QString& name) {
    if (QListWidgetItem* it = item(row)) ShowSelector(*it, name);
}

bool CRuleCheckList::IsChecked(int row) const {
    const QListWidgetItem* it = item(row);
    return it && it->checkState() == Qt::Checked;
}

void CRuleCheckList::SetChecked(int row, bool checked) {
    if (QListWidgetItem* it = item(row)) it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

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

void CRuleCheckList::Toggle(int row) {
    if (!item(row)) return;
    const bool checked = !IsChecked(row);
    SetChecked(row, checked);
    emit CheckToggled(row, checked);
}

void CRuleCheckList::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && IsOnCheckBox(event->position().toPoint()))
        Toggle(indexAt(event->position().toPoint()).row());
    QListWidget::mousePressEvent(event);
}

void CRuleCheckList::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click on a check box is a second toggle.
    if (event->button() == Qt::LeftButton && IsOnCheckBox(event->position().toPoint())) {
        Toggle(indexAt(event->position().toPoint()).row());
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void CRuleCheckList::keyboardSearch(const QString& search) {
    lastSearchKey_.start();
    QListWidget::keyboardSearch(search);
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
    QListWidget::keyPressEvent(event);
}

}  // namespace larkspur
