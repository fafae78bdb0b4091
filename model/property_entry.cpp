#include "model/property_entry.h"

namespace larkspur {

void PropertyEntry::ResetEntry() {
    value.clear();
    alternate.clear();
    generic.clear();
    changed = listed = valueSet = alternateSet = genericSet = 0;
}

void PropertyEntry::AppendDeclaration(std::string& out) const {
    out += name;
    out += ':';
    if (valueSet) {
        out += ' ';
        out += value;
    }
    if (alternateSet) {
        out += ", ";
        out += alternate;
    }
    if (genericSet) {
        if (valueSet) out += ',';
        out += ' ';
        out += generic;
    }
}

std::string PropertyEntry::ComposeDeclaration() const {
    std::string out;
    // One allocation at most, with room for the ";" the listing adds.
    out.reserve(name.size() + 2 + (valueSet ? value.size() : 0) + (alternateSet ? alternate.size() + 2 : 0) +
                (genericSet ? generic.size() + 2 : 0) + 1);
    AppendDeclaration(out);
    return out;
}

}  // namespace larkspur
