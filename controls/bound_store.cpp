#include "controls/bound_store.h"

#include "css/sheet_document.h"
#include "model/vocabulary.h"
#include "pages/page_host.h"

namespace larkspur {

PropertyEntry* SelectedEntry(PageHost& host, int property) {
    StyleRule* rule = host.Document().SelectedRule();
    if (!rule || property < 0 || property >= kPropertyCount) return nullptr;
    return &rule->properties[static_cast<size_t>(property)];
}

void StoreValue(PageHost& host, int property, const std::string& value) {
    PropertyEntry* entry = SelectedEntry(host, property);
    if (!entry) return;
    entry->value = value;
    entry->valueSet = 1;
    entry->changed = 1;
    host.Document().ListDeclaration(property);
}

}  // namespace larkspur
