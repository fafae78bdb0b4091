#pragma once
#include <QWidget>
#include <string>

namespace larkspur {

class PageHost;
struct PropertyEntry;

// The selected rule's entry at a property index, looked up afresh; null when
// no rule is selected.
const PropertyEntry* SelectedEntry(PageHost& host, int property);

// A bound control's text into the selected rule (the document marks and lists it).
void StoreValue(PageHost& host, int property, const std::string& value);

// Enabled as far as the page is concerned: a control keeps its own state even
// while the window around it is disabled.
inline bool IsOwnEnabled(const QWidget* widget) { return widget->isEnabledTo(widget->window()); }


}  // namespace larkspur
