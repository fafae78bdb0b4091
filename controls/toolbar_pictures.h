#pragma once
#include <QIcon>

namespace larkspur {

// The 16 x 16 picture of a toolbar command, by command id; a null icon for
// a command without a button.
QIcon ToolbarPicture(int commandId);

}  // namespace larkspur
