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
    kCmdUndo = 57643,
    kCmdRedo = 57644,
    kCmdQuit = 57665,
};

// The window's menus, in menu bar order.
enum class EditorMenu : int { kFile, kEdit, kView, kHelp };
inline constexpr const char* kMenuTitles[] = {"&File", "&Edit", "&View", "&Help"};

// One command of the main window, in toolbar and menu order. A separator row
// separates both; a command without an icon has no toolbar button.
struct EditorCommand {
    CommandId id;
    const char* keys;      // QKeySequence texts separated by "; ", empty for none
    const char* toolTip;   // also the button's accessible name
    const char* label;     // the menu entry, with its mnemonic
    const char* icon;      // resource path of the button's picture; nullptr: no button
    EditorMenu menu;
    bool needsRule;        // works on the selected rule
    void (CEditorDlg::*handler)();
    bool checkable = false;  // an on/off switch; the handler reads the action's state

    bool OnToolbar() const { return icon != nullptr; }
};

std::span<const EditorCommand> EditorCommands();
const EditorCommand* FindEditorCommand(int id);

}  // namespace larkspur
