#include "editor/editor_commands.h"

#include "editor/editor_dlg.h"

namespace larkspur {

namespace {

using D = CEditorDlg;
constexpr EditorCommand kSeparator{kCmdSeparator, "", "", "", -1, false, nullptr};

const EditorCommand kCommands[] = {
    {kCmdNewSheet, "Ctrl+N", "New Style Sheet", "New", 0, false, &D::OnNewSheet},
    {kCmdOpen, "Ctrl+O", "Open an existing style sheet", "Open", 1, false, &D::OnOpen},
    {kCmdSave, "Ctrl+S", "Save", "Save", 2, false, &D::OnSave},
    {kCmdSaveAs, "F12", "Save As", "Save As", 3, false, &D::OnSaveAs},
    {kCmdSaveSeveral, "", "Saves the current style into more than one page", "Save Pages", 4, false,
     &D::OnSaveSeveral},
    kSeparator,
    {kCmdNewRule, "Ctrl+Shift+N", "Create a new tag or class", "New Tag", 5, false, &D::OnNewRule},
    {kCmdCopyRule, "Ctrl+C", "Copies the currently selected tag", "Copy", 6, true, &D::OnCopyRule},
    {kCmdRenameRule, "Ctrl+R", "Renames the currently selected tag", "Rename", 7, true, &D::OnRenameRule},
    {kCmdClearRule, "Ctrl+Z", "Clears the currently selected tag", "Clear", 8, true, &D::OnClearRule},
    {kCmdDeleteRule, "Delete", "Deletes the currently selected tag", "Delete", 9, true, &D::OnDeleteRule},
    kSeparator,
    {kCmdLoadPage, "Ctrl+B", "Load a page into the editor and preview", "Load Page", 10, false, &D::OnLoadPage},
    {kCmdRefreshPreview, "Ctrl+Shift+R", "Refreshes the currently previewed page", "Refresh", 11, false,
     &D::OnRefreshPreview},
    {kCmdChangePreview, "F10", "Changes the page in the preview", "Change", 12, false, &D::OnChangePreview},
    {kCmdLivePreview, "", "Shows each change in the preview at once", "Live Preview", -1, false, &D::OnLivePreview,
     true},
    kSeparator,
    {kCmdHelp, "", "Help", "Help", 13, false, &D::OnHelp},
    // Not on the toolbar: reached from the window's context menu.
    {kCmdCopyToClipboard, "", "Copy to Clipboard", "Copy to Clipboard", -1, false, &D::OnCopyToClipboard},
    {kCmdInfo, "", "Info", "Info", -1, false, &D::OnInfo},
};

}  // namespace

std::span<const EditorCommand> EditorCommands() { return kCommands; }

const EditorCommand* FindEditorCommand(int id) {
    for (const EditorCommand& command : kCommands)
        if (command.id == id && id != kCmdSeparator) return &command;
    return nullptr;
}

}  // namespace larkspur
