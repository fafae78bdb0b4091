#pragma once
#include <QString>
#include <QStringList>

namespace larkspur {

// List rules of the keyword and unit boxes, kept apart from the widget so
// they can be checked on plain string lists. All comparisons are ASCII
// case-blind: the lists hold CSS keywords, units and font family names.

// Order of a sorted list: case-blind first, exact bytes to break ties.
bool ComboItemLess(const QString& a, const QString& b);

// Where a new item goes in a list kept in ComboItemLess order (after equal ones).
int SortedInsertPosition(const QStringList& items, const QString& item);

// First item that begins with the text ignoring ASCII case; an empty text
// matches the first item. -1 when nothing matches.
int FindItemWithPrefix(const QStringList& items, const QString& text);

// First item equal to the text ignoring ASCII case; -1 when none.
int FindItemExact(const QStringList& items, const QString& text);

}  // namespace larkspur
