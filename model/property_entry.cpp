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
    AppendDeclaration(out);
    return out;
}

}  // namespace larkspur
