#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// One CSS property of one rule.
struct PropertyEntry {
    PropertyEntry() = default;
    // The name must outlive the entry: the property name table does.
    explicit PropertyEntry(std::string_view propertyName) : name(propertyName) {}

    // The texts first and the flags together keep the record small: a sheet
    // holds 41 of these per rule.
    std::string_view name;  // one of the static property names, never changed
    std::string value;
    std::string alternate;
    std::string generic;
    int line = 0;  // declaration line within the rule's listing, header = 0
    int genericSet = 0;
    int valueSet = 0;
    int alternateSet = 0;
    int listed = 0;
    int changed = 0;

    bool operator==(const PropertyEntry&) const = default;

    void ResetEntry();

    // "name: value, alternate, generic" without the terminating ";".
    std::string ComposeDeclaration() const;
    void AppendDeclaration(std::string& out) const;
    bool HasAnyValueText() const { return !value.empty() || !alternate.empty() || !generic.empty(); }
};

}  // namespace larkspur
