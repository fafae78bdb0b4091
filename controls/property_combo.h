#pragma once
#include <QStringList>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "controls/list_combo.h"

class QAbstractButton;

namespace larkspur {

class CPropertyEdit;
class PageHost;

// A keyword or unit box bound to one property: closing its list stores the
// chosen item (or, for a unit box, the companion number with the new unit).
class CPropertyCombo : public CListCombo {
    Q_OBJECT
public:
    enum class Link { None, UnitOfEdit, UnitOfPair };

    explicit CPropertyCombo(QWidget* parent = nullptr);

    // tied: the check box or radio button that enables the box. valueMap: the
    // value to store for each item, by item index (empty: the item's text).
    void Bind(PageHost& host, int property, QAbstractButton* tied,
              std::span<const std::string_view> valueMap = {}, CPropertyEdit* companion = nullptr,
              bool numberLast = false, std::string separator = {});
    // Unit box of one edit of a two-value pair: stores the pair's joined value.
    void BindSecondValue(PageHost& host, int property, QAbstractButton* tied, CPropertyEdit* pairEdit);
    void SetCallback(std::function<void()> callback) { callback_ = std::move(callback); }

    bool IsBound() const { return host_ != nullptr; }
    int Property() const { return property_; }
    QAbstractButton* Tied() const { return tied_; }
    Link LinkKind() const { return link_; }

    void RefreshEnabling();
    // Empty while disabled; the pair's joined value for a pair unit box;
    // otherwise the text of the edit field as it stands.
    std::string GetValue() const;
    // The close-up handling.
    void Store();

private:
    PageHost* host_ = nullptr;
    int property_ = -1;
    QAbstractButton* tied_ = nullptr;
    QStringList valueMap_;
    CPropertyEdit* companion_ = nullptr;
    Link link_ = Link::None;
    bool numberLast_ = false;
    std::string separator_;
    std::function<void()> callback_;
};

}  // namespace larkspur
