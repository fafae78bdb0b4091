#include "controls/bound_store.h"

#include "css/sheet_document.h"
#include "model/vocabulary.h"
#include "pages/page_host.h"

namespace larkspur {

const PropertyEntry* SelectedEntry(PageHost& host, int property) {
    const StyleRule* rule = host.Document().SelectedRule();
    if (!rule || property < 0 || property >= kPropertyCount) return nullptr;
    return &rule->properties[static_cast<size_t>(property)];
}

void StoreValue(PageHost& host, int property, const std::string& value) {
    SheetDocument& document = host.Document();
    document.SetValue(document.SelectedIndex(), property, value);
}

}  // namespace larkspur
