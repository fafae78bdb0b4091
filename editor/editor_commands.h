#pragma once
#include <array>
#include <span>

namespace larkspur {

class CEditorDlg;

enum CommandId : int {
    kCmdSeparator = 0,
    kCmdNewSheet = 32804,
    kCmdOpen = 32786,
    kCmdSave = 32793,
    kCmdSaveAs = 32794,
    kCmdSaveSeveral = 32783,
    kCmdNewRule = 32795,
    kCmdCopyRule = 32796,
    kCmdRenameRule = 32798,
    kCmdClearRule = 32797,
    kCmdDeleteRule = 32802,
    kCmdLoadPage = 32803,
    kCmdRefreshPreview = 32800,
    kCmdChangePreview = 32801,
    kCmdLivePreview = 32830,
    kCmdHelp = 57670,
    kCmdCopyToClipboard = 1017,
    kCmdInfo = 1169,
};

// One command of the main window. Toolbar entries come in toolbar order;
// image is the button's index in the toolbar bitmap (-1: not on the toolbar).
struct EditorCommand {
    CommandId id;
    const char* keys;      // QKeySequence text, empty for none
    const char* toolTip;   // also the button's accessible name
    const char* label;     // short text for a text-only toolbar or a menu
    int image;
    bool needsRule;        // works on the selected rule
    void (CEditorDlg::*handler)();
    bool checkable = false;  // an on/off switch; the handler reads the action's state
};

std::span<const EditorCommand> EditorCommands();
const EditorCommand* FindEditorCommand(int id);

}  // namespace larkspur
