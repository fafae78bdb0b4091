#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// One CSS property of one rule.
struct PropertyEntry {
    PropertyEntry() = default;
    explicit PropertyEntry(std::string_view propertyName) : name(propertyName) {}

    int line = 0;  // declaration line within the rule's listing, header = 0
    int genericSet = 0;
    int valueSet = 0;
    std::string generic;
    int alternateSet = 0;
    std::string alternate;
    int listed = 0;
    std::string name;
    std::string value;
    int textOffset = 0;
    int changed = 0;

    void ResetEntry();

    // "name: value, alternate, generic" without the terminating ";".
    std::string ComposeDeclaration() const;
    void AppendDeclaration(std::string& out) const;
    bool HasAnyValueText() const { return !value.empty() || !alternate.empty() || !generic.empty(); }
};

}  // namespace larkspur
