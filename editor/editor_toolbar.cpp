#include "editor/editor_toolbar.h"

#include <QAction>
#include <QToolBar>

namespace larkspur {

QWidget* BuildCommandToolbar(const QList<QAction*>& actions, QWidget* parent) {
    auto* toolbar = new QToolBar(parent);
    toolbar->setObjectName(QStringLiteral("commandToolbar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->setFloatable(false);
    toolbar->setMovable(false);
    for (QAction* action : actions) {
        if (!action) {
            toolbar->addSeparator();
            continue;
        }
        toolbar->addAction(action);
        if (QWidget* button = toolbar->widgetForAction(action)) button->setAccessibleName(action->toolTip());
    }
    return toolbar;
}

}  // namespace larkspur
