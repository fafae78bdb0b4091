#include "model/style_rule.h"

#include "model/vocabulary.h"

namespace larkspur {

// The member initialisers already hold the defaults, so a new rule needs no
// reset; entries are built straight into their index slots.
StyleRule::StyleRule(std::string_view selectorText) : selector(selectorText) {
    properties.reserve(kPropertyCount);
    for (int index = 0; index < kPropertyCount; ++index) properties.emplace_back(PropertyName(index));
}

StyleRule::StyleRule(const StyleRule& other)
    : PageState(other), selector(other.selector), properties(other.properties), listed(other.listed) {}

StyleRule& StyleRule::operator=(const StyleRule& other) {
    if (this != &other) {
        pageState() = other.pageState();
        selector = other.selector;
        properties = other.properties;
        listed = other.listed;
    }
    return *this;
}

void StyleRule::ResetToDefaults() {
    pageState() = PageState{};
    listed = 0;
    for (PropertyEntry& entry : properties) entry.ResetEntry();
}

void StyleRule::CopyValuesFrom(const StyleRule& source) {
    if (this == &source) return;
    pageState() = source.pageState();
    for (size_t i = 0; i < properties.size() && i < source.properties.size(); ++i) {
        properties[i] = source.properties[i];
        if (!listed) properties[i].listed = 0;
    }
}

}  // namespace larkspur
