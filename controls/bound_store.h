#pragma once
#include <QString>
#include <QWidget>
#include <string>

namespace larkspur {

class PageHost;
struct PropertyEntry;

// The selected rule's entry at a property index, looked up afresh; null when
// no rule is selected.
PropertyEntry* SelectedEntry(PageHost& host, int property);

// The one way a bound control stores a text: value, valueSet, changed, then
// the listing (which only shows it while the rule is listed).
void StoreValue(PageHost& host, int property, const std::string& value);

// Enabled as far as the page is concerned: a control keeps its own state even
// while the window around it is disabled.
inline bool IsOwnEnabled(const QWidget* widget) { return widget->isEnabledTo(widget->window()); }

inline std::string ToBytes(const QString& text) { return text.toUtf8().toStdString(); }
inline QString FromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace larkspur
