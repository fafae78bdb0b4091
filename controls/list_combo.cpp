#include "controls/list_combo.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <algorithm>

#include "controls/combo_list.h"

namespace larkspur {

CListCombo::CListCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Typed text must stay as typed; completion would silently extend it.
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    // A keyboard choice on the closed box is a choice as final as a click in
    // the list; while the list is open hidePopup reports it.
    connect(this, &QComboBox::activated, this, [this](int) {
        if (!view()->isVisible()) emit ClosedUp();
    });
}

void CListCombo::AddItem(const QString& item) {
    if (!sorted_) {
        addItem(item);
        return;
    }
    insertItem(SortedInsertPosition(Items(), item), item);
}

void CListCombo::AddItems(std::span<const std::string_view> items) {
    for (std::string_view item : items)
        AddItem(QString::fromUtf8(item));
}

void CListCombo::AddItems(const QStringList& items) {
    if (!sorted_) {
        addItems(items);
        return;
    }
    // One sort for a long list (installed font families) instead of a
    // search per item.
    QStringList all = Items() + items;
    std::stable_sort(all.begin(), all.end(), ComboItemLess);
    const QString text = currentText();
    clear();
    addItems(all);
    if (!text.isEmpty()) SelectString(text);
}

QStringList CListCombo::Items() const {
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i) items.push_back(itemText(i));
    return items;
}

void CListCombo::ShowTextWithoutItem(const QString& text) {
    setCurrentIndex(-1);
    if (lineEdit()) lineEdit()->setText(text);
}

int CListCombo::ShowItemOrText(int index, const QString& text) {
    if (index < 0) {
        ShowTextWithoutItem(text);
        return -1;
    }
    setCurrentIndex(index);
    // An editable box keeps a typed text when the index does not change.
    if (lineEdit()) lineEdit()->setText(itemText(index));
    return index;
}

int CListCombo::SelectString(const QString& text) {
    return ShowItemOrText(FindItemWithPrefix(Items(), text), text);
}

int CListCombo::TransferText(const QString& text) {
    return ShowItemOrText(text.isEmpty() ? (count() > 0 ? 0 : -1) : FindItemExact(Items(), text), text);
}

QString CListCombo::SelectedItemText() const {
    const int index = currentIndex();
    return index >= 0 ? itemText(index) : QString();
}

void CListCombo::hidePopup() {
    const bool wasOpen = view() && view()->isVisible();
    QComboBox::hidePopup();
    if (wasOpen) emit ClosedUp();
}

}  // namespace larkspur
