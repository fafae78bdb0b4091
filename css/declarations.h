#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace larkspur {

// One declaration of a rule as the Declarations page shows it.
struct Declaration {
    std::string name;
    std::string value;  // without "!important"
    bool important = false;
    bool on = true;  // false: switched off, out of the sheet's text

    bool operator==(const Declaration&) const = default;
};

// "name: value" or "name: value !important", without the ";".
std::string DeclarationText(const Declaration& declaration);
// A declaration's text as written (no ";"): name before the first colon,
// the value trimmed and a trailing "!important" (any case, blanks allowed
// after the "!") taken off. Text without a colon is none: false.
bool ParseDeclaration(std::string_view text, Declaration& out);

// A declaration switched off: its text, with what went with it so that it
// comes back byte for byte, and its place as the number of items (of any
// kind) of the rule's block that stand before it.
struct OffDeclaration {
    unsigned before = 0;
    std::string text;  // as written, without the ";"
    std::string lead;  // the blank before it that left with it
    std::string tail;  // from its end past its ";"
    unsigned gap = 0;  // bytes between the item before and `lead`: blanks and stray ";"

    bool operator==(const OffDeclaration&) const = default;
};

// A rule's switched-off declarations in the order of their places. Nearly
// every rule has none: it costs one pointer until it holds one.
class OffDeclarations {
public:
    OffDeclarations() = default;
    OffDeclarations(const OffDeclarations& other)
        : list_(other.list_ && !other.list_->empty() ? std::make_unique<std::vector<OffDeclaration>>(*other.list_)
                                                     : nullptr) {}
    OffDeclarations& operator=(const OffDeclarations& other) {
        if (this != &other) *this = OffDeclarations(other);
        return *this;
    }
    OffDeclarations(OffDeclarations&&) noexcept = default;
    OffDeclarations& operator=(OffDeclarations&&) noexcept = default;

    bool operator==(const OffDeclarations& other) const { return View() == other.View(); }
    bool empty() const { return !list_ || list_->empty(); }
    const std::vector<OffDeclaration>& View() const {
        static const std::vector<OffDeclaration> kNone;
        return list_ ? *list_ : kNone;
    }
    std::vector<OffDeclaration>& Edit() {
        if (!list_) list_ = std::make_unique<std::vector<OffDeclaration>>();
        return *list_;
    }

private:
    std::unique_ptr<std::vector<OffDeclaration>> list_;
};

}  // namespace larkspur
