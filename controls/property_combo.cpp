#include "controls/property_combo.h"

#include <QAbstractButton>
#include <QLineEdit>

#include "controls/bound_store.h"
#include "controls/property_edit.h"

namespace larkspur {

CPropertyCombo::CPropertyCombo(QWidget* parent) : CListCombo(parent) {}

void CPropertyCombo::Bind(PageHost& host, int property, QAbstractButton* tied,
                          std::span<const std::string_view> valueMap, CPropertyEdit* companion,
                          bool numberLast, std::string separator) {
    host_ = &host;
    property_ = property;
    tied_ = tied;
    valueMap_.clear();
    for (std::string_view v : valueMap)
        valueMap_.push_back(QString::fromUtf8(v));
    companion_ = companion;
    link_ = companion ? Link::UnitOfEdit : Link::None;
    numberLast_ = numberLast;
    separator_ = std::move(separator);
    callback_ = nullptr;
}

void CPropertyCombo::BindSecondValue(PageHost& host, int property, QAbstractButton* tied,
                                     CPropertyEdit* pairEdit) {
    Bind(host, property, tied, {}, pairEdit);
    link_ = Link::UnitOfPair;
}

void CPropertyCombo::RefreshEnabling() {
    if (!tied_) return;
    setEnabled(tied_->isChecked() && IsOwnEnabled(tied_));
}

std::string CPropertyCombo::GetValue() const {
    if (!IsOwnEnabled(this)) return {};
    if (link_ == Link::UnitOfPair) return companion_ ? companion_->GetJoinedValue() : std::string();
    return currentText().toStdString();
}

void CPropertyCombo::Store() {
    if (!host_) return;
    const int index = currentIndex();
    const QString item = SelectedItemText();
    // Whatever was typed gives way to the chosen item.
    if (lineEdit() && lineEdit()->text() != item) lineEdit()->setText(item);
    if (callback_) {
        callback_();
        return;
    }
    std::string value = item.toStdString();
    if (link_ == Link::UnitOfEdit) {
        const std::string number = companion_ ? companion_->text().toStdString() : std::string();
        // A unit without its number is no value; the entry keeps what it had.
        if (number.empty()) return;
        value = numberLast_ ? value + separator_ + number : number + separator_ + value;
    } else if (link_ == Link::UnitOfPair) {
        value = companion_ ? companion_->GetJoinedValue() : std::string();
    }
    if (value.empty()) return;
    if (!valueMap_.isEmpty() && index >= 0 && index < valueMap_.size()) value = valueMap_[index].toStdString();
    StoreValue(*host_, property_, value);
}

}  // namespace larkspur
