#include "editor/editor_commands.h"

#include "editor/editor_dlg.h"

namespace larkspur {

namespace {

using D = CEditorDlg;
using M = EditorMenu;
constexpr EditorCommand kSeparator{kCmdSeparator, "", "", "", nullptr, M::kFile, false, nullptr};

const EditorCommand kCommands[] = {
    {kCmdNewSheet, "Ctrl+N", "New Style Sheet", "&New", ":/tool-new.png", M::kFile, false, &D::OnNewSheet},
    {kCmdOpen, "Ctrl+O", "Open an existing style sheet", "&Open...", ":/tool-open.png", M::kFile, false, &D::OnOpen},
    {kCmdSave, "Ctrl+S", "Save", "&Save", ":/tool-save.png", M::kFile, false, &D::OnSave},
    {kCmdSaveAs, "F12", "Save As", "Save &As...", ":/tool-saveas.png", M::kFile, false, &D::OnSaveAs},
    {kCmdSaveSeveral, "", "Saves the current style into more than one page", "Save into &Pages...",
     ":/tool-savemany.png", M::kFile, false, &D::OnSaveSeveral},
    {kCmdQuit, "Ctrl+Q", "Closes the editor, offering to save changes", "&Quit", nullptr, M::kFile, false,
     &D::OnQuit},
    kSeparator,
    {kCmdNewRule, "Ctrl+Shift+N", "Create a new tag or class", "New &Tag or Class...", ":/tool-newrule.png",
     M::kEdit, false, &D::OnNewRule},
    {kCmdCopyRule, "Ctrl+C", "Copies the currently selected tag", "&Copy Tag To...", ":/tool-copyrule.png",
     M::kEdit, true, &D::OnCopyRule},
    {kCmdRenameRule, "Ctrl+R", "Renames the currently selected tag", "&Rename Tag...", ":/tool-rename.png",
     M::kEdit, true, &D::OnRenameRule},
    {kCmdClearRule, "Ctrl+Shift+Delete", "Clears the currently selected tag", "C&lear Tag", ":/tool-clear.png", M::kEdit,
     true, &D::OnClearRule},
    {kCmdDeleteRule, "Delete", "Deletes the currently selected tag", "&Delete Tag", ":/tool-delete.png", M::kEdit,
     true, &D::OnDeleteRule},
    kSeparator,
    {kCmdLoadPage, "Ctrl+B", "Load a page into the editor and preview", "&Load Page...", ":/tool-loadpage.png",
     M::kView, false, &D::OnLoadPage},
    {kCmdRefreshPreview, "Ctrl+Shift+R", "Refreshes the currently previewed page", "&Refresh Preview",
     ":/tool-refresh.png", M::kView, false, &D::OnRefreshPreview},
    {kCmdChangePreview, "F10", "Changes the page in the preview", "C&hange Preview Page...",
     ":/tool-changepage.png", M::kView, false, &D::OnChangePreview},
    {kCmdLivePreview, "", "Shows each change in the preview at once", "Live Preview", nullptr, M::kView, false,
     &D::OnLivePreview, true},
    kSeparator,
    {kCmdHelp, "F1", "Help", "&Quick Start", ":/tool-help.png", M::kHelp, false, &D::OnHelp},
    // No buttons: reached from the menus, their keys and the context menu.
    {kCmdUndo, "Ctrl+Z; Alt+Backspace", "Undoes the last change to the sheet", "&Undo", nullptr, M::kEdit, false,
     &D::OnUndo},
    {kCmdRedo, "Ctrl+Shift+Z; Ctrl+Y; Shift+Alt+Backspace", "Redoes the change undone last", "&Redo", nullptr, M::kEdit, false,
     &D::OnRedo},
    {kCmdCopyToClipboard, "Ctrl+Shift+C", "Copy the style sheet to the clipboard", "Copy to Clip&board",
     nullptr, M::kEdit, false, &D::OnCopyToClipboard},
    {kCmdInfo, "Ctrl+I", "Show help texts in the Info window", "&Info", nullptr, M::kView, false,
     &D::OnInfo},
};

}  // namespace

std::span<const EditorCommand> EditorCommands() { return kCommands; }

const EditorCommand* FindEditorCommand(int id) {
    for (const EditorCommand& command : kCommands)
        if (command.id == id && id != kCmdSeparator) return &command;
    return nullptr;
}

}  // namespace larkspur
