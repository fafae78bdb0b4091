#include "editor/editor_toolbar.h"

#include <QAction>

#include "controls/flat_toolbar.h"
#include "controls/toolbar_pictures.h"
#include "editor/editor_commands.h"

namespace larkspur {

QWidget* BuildCommandToolbar(const QList<QAction*>& actions, QWidget* parent) {
    auto* toolbar = new CDialogToolBar(parent);
    toolbar->setObjectName(QStringLiteral("commandToolbar"));
    for (QAction* action : actions) {
        if (!action) {
            toolbar->addSeparator();
            continue;
        }
        // The command table's tool tips are unique, so they name the picture.
        for (const EditorCommand& command : EditorCommands())
            if (command.image >= 0 && action->toolTip() == QLatin1String(command.toolTip))
                action->setIcon(ToolbarPicture(command.id));
        toolbar->addAction(action);
    }
    return toolbar;
}

}  // namespace larkspur
