#include "controls/combo_list.h"

namespace larkspur {
namespace {

QChar FoldAscii(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(char16_t(u - 'A' + 'a')) : c;
}

int CompareFolded(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = FoldAscii(a[i]).unicode(), y = FoldAscii(b[i]).unicode();
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithFolded(const QString& text, const QString& prefix) {
    if (prefix.size() > text.size()) return false;
    for (qsizetype i = 0; i < prefix.size(); ++i)
        if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
    return true;
}

}  // namespace

bool ComboItemLess(const QString& a, const QString& b) {
    const int folded = CompareFolded(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

int SortedInsertPosition(const QStringList& items, const QString& item) {
    int pos = 0;
    while (pos < items.size() && !ComboItemLess(item, items[pos])) ++pos;
    return pos;
}

int FindItemWithPrefix(const QStringList& items, const QString& text) {
    for (int i = 0; i < items.size(); ++i)
        if (StartsWithFolded(items[i], text)) return i;
    return -1;
}

int FindItemExact(const QStringList& items, const QString& text) {
    for (int i = 0; i < items.size(); ++i)
        if (CompareFolded(items[i], text) == 0) return i;
    return -1;
}

}  // namespace larkspur
