#include "controls/property_edit.h"

#include "controls/bound_store.h"
#include "controls/property_combo.h"
#include "controls/property_switch.h"

namespace larkspur {

void CPropertyEdit::Bind(PageHost& host, int property, QString defaultText, CPropertySwitch* owner,
                         CPropertyCombo* unitCombo, bool unitAfter, std::string prefix,
                         std::string suffix, std::string separator) {
    host_ = &host;
    property_ = property;
    defaultText_ = std::move(defaultText);
    owner_ = owner;
    unitCombo_ = unitCombo;
    second_ = nullptr;
    link_ = unitCombo ? Link::UnitCombo : Link::None;
    unitAfter_ = unitAfter;
    prefix_ = std::move(prefix);
    suffix_ = std::move(suffix);
    separator_ = std::move(separator);
    callback_ = nullptr;
}

void CPropertyEdit::BindSecondValue(PageHost& host, int property, QString defaultText,
                                    CPropertySwitch* owner, CPropertyEdit* second,
                                    CPropertyCombo* unitCombo, bool thisFirst, std::string prefix,
                                    std::string suffix, std::string separator) {
    Bind(host, property, std::move(defaultText), owner, unitCombo, thisFirst, std::move(prefix),
         std::move(suffix), std::move(separator));
    second_ = second;
    link_ = Link::SecondValue;
}

void CPropertyEdit::RefreshEnabling() {
    if (!owner_) return;
    setEnabled(owner_->IsChecked() && owner_->IsEnabled());
}

std::string CPropertyEdit::GetValue() const {
    if (!IsOwnEnabled(this) || link_ == Link::None || text().isEmpty()) return {};
    std::string value = text().toStdString();
    if (unitCombo_) value += unitCombo_->currentText().toStdString();
    return value;
}

std::string CPropertyEdit::GetJoinedValue() const {
    const std::string mine = GetValue();
    const std::string other = second_ ? second_->GetValue() : std::string();
    return unitAfter_ ? mine + separator_ + other : other + separator_ + mine;
}

void CPropertyEdit::Store() {
    if (!host_) return;
    if (callback_) {
        callback_();
        return;
    }
    if (text().isEmpty()) return;
    std::string value = text().toStdString();
    if (link_ == Link::SecondValue) {
        value = GetJoinedValue();
    } else {
        if (link_ == Link::UnitCombo) {
            // The suffix is already placed around the unit; adding it once
            // more at the end would double it.
            const std::string unit = unitCombo_ ? unitCombo_->currentText().toStdString() : std::string();
            value = unitAfter_ ? value + suffix_ + separator_ + unit + suffix_
                               : unit + suffix_ + separator_ + suffix_ + value;
            value = prefix_ + value;
        } else {
            value = prefix_ + value + suffix_;
        }
    }
    StoreValue(*host_, property_, value);
}

}  // namespace larkspur
