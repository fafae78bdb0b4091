#include "model/style_rule.h"

namespace larkspur {

StyleRule::StyleRule(const StyleRule& other)
    : listed(other.listed), selector(other.selector), properties(other.properties) {
    CopyPageStateFrom(other);
}

StyleRule& StyleRule::operator=(const StyleRule& other) {
    if (this != &other) {
        CopyPageStateFrom(other);
        selector = other.selector;
        properties = other.properties;
        listed = other.listed;
    }
    return *this;
}

// The built fields follow from the entries, which are copied alongside.
void StyleRule::CopyPageStateFrom(const StyleRule& other) {
    if (other.state_) {
        if (state_)
            *state_ = *other.state_;
        else
            state_ = std::make_unique<PageState>(*other.state_);
    } else {
        state_.reset();
    }
    built_ = other.built_;
}

void StyleRule::ResetToDefaults() {
    state_.reset();
    built_ = 0;
    listed = 0;
    properties.ResetEntries();
}

void StyleRule::CopyValuesFrom(const StyleRule& source) {
    if (this == &source) return;
    CopyPageStateFrom(source);
    properties = source.properties;
    if (!listed)
        for (PropertyEntry& entry : properties) entry.listed = 0;
}

void StyleRule::TakeValuesFrom(StyleRule&& source) {
    if (this != &source) TakeValuesFrom(source.TakeValues());
}

StyleRule::Values StyleRule::TakeValues() {
    Values values{std::move(properties), std::move(state_), built_};
    properties = PropertyList();
    built_ = 0;
    return values;
}

void StyleRule::TakeValuesFrom(Values&& source) {
    state_ = std::move(source.state);
    built_ = source.built;
    properties = std::move(source.properties);
    if (!listed)
        for (PropertyEntry& entry : properties) entry.listed = 0;
}

PageState& StyleRule::HeldPageState() const {
    if (!state_) {
        state_ = std::make_unique<PageState>();
        for (auto it = properties.begin(); built_ && it != properties.end(); ++it) {
            const uint64_t bit = uint64_t{1} << it.index();
            if (!(built_ & bit)) continue;
            builder_(*state_, it.index(), *it);
            built_ &= ~bit;
        }
        built_ = 0;
    }
    return *state_;
}

PageState* StyleRule::PageStateForDeclaration(int entryIndex, PageStateBuilder build) {
    const uint64_t bit = uint64_t{1} << entryIndex;
    if (!state_ && !(built_ & bit)) {
        builder_ = build;
        built_ |= bit;
        return nullptr;
    }
    return &HeldPageState();
}

}  // namespace larkspur
