#pragma once
#include <QList>

class QAction;
class QWidget;

namespace larkspur {

// Builds the main window's toolbar from the command actions in toolbar order;
// a null entry is a separator. Returns the widget the window places on top.
QWidget* BuildCommandToolbar(const QList<QAction*>& actions, QWidget* parent);

}  // namespace larkspur
