#pragma once
// Driving real widgets from tests without the Qt test module: key presses
// are sent as events, the way the window system would deliver them.
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace larkspur::testing {

inline void PressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(widget, &release);
}

// Types each character as its own key press, so every keystroke is a change.
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const int code = c.isLetter() ? c.toUpper().unicode() : c.unicode();
        PressKey(widget, Qt::Key(code), Qt::NoModifier, QString(c));
    }
}

}  // namespace larkspur::testing
