#pragma once
#include <QLineEdit>
#include <functional>
#include <string>

namespace larkspur {

class CPropertyCombo;
class CPropertySwitch;
class PageHost;

// An edit box bound to one property: every change of its text (typed or set)
// stores the composed value into the selected rule.
class CPropertyEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Link { None, UnitCombo, SecondValue };

    explicit CPropertyEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

    // Number (with the unit of unitCombo when given) of one property.
    void Bind(PageHost& host, int property, QString defaultText, CPropertySwitch* owner,
              CPropertyCombo* unitCombo = nullptr, bool unitAfter = true, std::string prefix = {},
              std::string suffix = {}, std::string separator = {});
    // One of two values joined into one property ("5px 10em"); thisFirst says
    // which of the two is written first.
    void BindSecondValue(PageHost& host, int property, QString defaultText, CPropertySwitch* owner,
                         CPropertyEdit* second, CPropertyCombo* unitCombo, bool thisFirst,
                         std::string prefix = {}, std::string suffix = {}, std::string separator = " ");
    // When set, a change calls it instead of storing.
    void SetCallback(std::function<void()> callback) { callback_ = std::move(callback); }

    bool IsBound() const { return host_ != nullptr; }
    int Property() const { return property_; }
    const QString& DefaultText() const { return defaultText_; }
    CPropertySwitch* Owner() const { return owner_; }
    CPropertyCombo* UnitCombo() const { return unitCombo_; }
    Link LinkKind() const { return link_; }

    void RefreshEnabling();
    // Text plus unit; empty while disabled, unlinked or empty.
    std::string GetValue() const;
    // Both values of a pair joined by the separator, in their written order.
    std::string GetJoinedValue() const;
    // Stores the current text (the change handling).
    void Store();

private:
    PageHost* host_ = nullptr;
    int property_ = -1;
    QString defaultText_;
    CPropertySwitch* owner_ = nullptr;
    CPropertyCombo* unitCombo_ = nullptr;
    CPropertyEdit* second_ = nullptr;
    Link link_ = Link::None;
    bool unitAfter_ = true;
    std::string prefix_, suffix_, separator_;
    std::function<void()> callback_;
};

}  // namespace larkspur
