#pragma once
// Acting on a property page the way a user would, through its real widgets.
#include <QAbstractButton>
#include <QLineEdit>
#include <string>

#include "controls/list_combo.h"
#include "pages/property_page.h"
#include "widget_driving.h"

namespace larkspur::testing {

// Picks an item from a box's list: the same notification as a click in the
// open list or an arrow key on the closed box.
inline bool Pick(CListCombo* combo, const QString& item) {
    const int index = combo->findText(item);
    if (index < 0 || !combo->isEnabled()) return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

inline void Click(CPropertyPage& page, int id) { page.Button(id)->click(); }

inline bool Pick(CPropertyPage& page, int id, const char* item) { return Pick(page.ListCombo(id), item); }

// Empties an edit with backspaces and types the text key by key.
inline void Retype(QLineEdit* edit, const QString& text) {
    edit->end(false);
    while (!edit->text().isEmpty()) PressKey(edit, Qt::Key_Backspace);
    TypeText(edit, text);
}

inline std::string Text(CPropertyPage& page, int id) {
    QWidget* w = page.Control(id);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    return {};
}

inline bool Checked(CPropertyPage& page, int id) { return page.Button(id)->isChecked(); }
inline bool Enabled(CPropertyPage& page, int id) { return page.Control(id)->isEnabled(); }

}  // namespace larkspur::testing
