#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// One CSS property of one rule.
struct PropertyEntry {
    PropertyEntry() = default;
    // The name must outlive the entry: the property name table does.
    explicit PropertyEntry(std::string_view propertyName) : name(propertyName) {}

    // The texts first and the one-byte flags together keep the record small:
    // a large sheet holds one per declaration.
    using Flag = unsigned char;  // 0 or 1
    std::string_view name;  // one of the static property names, never changed
    std::string value;
    std::string alternate;
    std::string generic;
    int line = 0;  // declaration line within the rule's listing, header = 0
    Flag genericSet = 0;
    Flag valueSet = 0;
    Flag alternateSet = 0;
    Flag listed = 0;
    Flag changed = 0;

    bool operator==(const PropertyEntry&) const = default;

    void ResetEntry();

    // "name: value, alternate, generic" without the terminating ";".
    std::string ComposeDeclaration() const;
    void AppendDeclaration(std::string& out) const;
    // Listed once its rule is in the sheet: changed, with a text that is set.
    bool WouldList() const { return changed && HasAnyValueText() && (valueSet || alternateSet || genericSet); }
    bool HasAnyValueText() const { return !value.empty() || !alternate.empty() || !generic.empty(); }
};

}  // namespace larkspur
