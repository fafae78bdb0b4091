#include "editor/editor_toolbar.h"

#include <QAction>

#include "controls/flat_toolbar.h"

namespace larkspur {

QWidget* BuildCommandToolbar(const QList<QAction*>& actions, QWidget* parent) {
    auto* toolbar = new CDialogToolBar(parent);
    toolbar->setObjectName(QStringLiteral("commandToolbar"));
    for (QAction* action : actions) {
        if (!action) {
            toolbar->addSeparator();
            continue;
        }
        toolbar->addAction(action);
    }
    return toolbar;
}

}  // namespace larkspur
