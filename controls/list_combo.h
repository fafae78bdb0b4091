#pragma once
#include <QComboBox>
#include <QStringList>
#include <span>
#include <string_view>

namespace larkspur {

// A drop-down combo box with an edit field that behaves like the classic
// list boxes the pages are built on:
// - a sorted box shows its items sorted however they were added;
// - TransferText / SelectString pick an item by text;
// - ClosedUp is emitted when the drop-down list closes, and also when the
//   user picks an item with the keyboard while the list is closed, so every
//   user choice ends in exactly the notification the pages store on.
class CListCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CListCombo(QWidget* parent = nullptr);

    void SetSorted(bool sorted) { sorted_ = sorted; }
    bool IsSorted() const { return sorted_; }

    // Adds items, each at its sorted place when the box is sorted.
    void AddItem(const QString& item);
    void AddItems(std::span<const std::string_view> items);
    void AddItems(const QStringList& items);
    QStringList Items() const;

    // Selects the first item beginning with the text, ignoring ASCII case (an
    // empty text selects the first item); with no such item the text becomes
    // the box's text and no item is selected. Returns the selected index.
    int SelectString(const QString& text);

    // Shows a stored value: an item equal to it (ignoring ASCII case), the
    // first item for an empty value, otherwise the value itself as the text.
    // Unlike SelectString it never shows a longer item for a shorter value.
    int TransferText(const QString& text);

    // Text of the selected item, empty when none is selected.
    QString SelectedItemText() const;

    void hidePopup() override;

signals:
    void ClosedUp();

private:
    void ShowTextWithoutItem(const QString& text);
    // Selects the item, or shows the text when there is none (index -1).
    int ShowItemOrText(int index, const QString& text);

    bool sorted_ = false;
};

}  // namespace larkspur
