#pragma once
#include <string>
#include <string_view>

#include "model/style_rule.h"

namespace larkspur {

struct BlockItem;

// Entry index of a property name, matched exactly (case-sensitive); -1 if the
// name is none of the 41.
int PropertyIndexOfName(std::string_view name);

// Stores one declaration read from a sheet into the rule: the entry's value
// texts and the page state that shows it. The caller has set valueSet and
// changed; `value` is already trimmed.
void ReadPropertyValue(StyleRule& rule, int entryIndex, std::string_view value);

// The page-state fields of one property as reading its entry's declaration
// sets them.
void BuildPageStateFromEntry(PageState& state, int entryIndex, const PropertyEntry& entry);

// Stores a declaration item of one of the 41 into a rule whose entry holds
// nothing yet: set, changed, and listed when it has a value.
void ReadItemValue(StyleRule& rule, const BlockItem& item);

// The property's switches on the pages off (its declaration went).
void SwitchOffPageState(PageState& state, int entryIndex);

// Number and unit without checking the unit: the number is the leading run up
// to the first letter or "%", the unit the rest.
void SplitNumberAndUnit(std::string_view text, std::string& number, std::string& unit);

}  // namespace larkspur
