#pragma once
#include <string>

#include "model/colour_case.h"

namespace larkspur {

class SheetDocument;
class UserDialogs;

// What a property page needs of the main window. Pages never hold a rule: they
// look the selected rule up through the document at every event.
class PageHost {
public:
    virtual ~PageHost() = default;
    virtual SheetDocument& Document() = 0;
    virtual UserDialogs& Dialogs() = 0;
    // Shows a help text in the information window and status bar (while the
    // information window is open).
    virtual void ShowHelpLine(const std::string& text) = 0;
    // Full path of the file last opened or saved; empty for a new sheet.
    virtual std::string SavedPath() const = 0;
    // Runs the Save As command.
    virtual void RunSaveAs() = 0;
    // True while the window refills or stores the pages.
    virtual bool IsLoading() const = 0;
    // Around one user action on a page, so it can be undone as one step;
    // typingKey names the edit box of a keystroke (0: not typing).
    virtual void BeginChange(const std::string& /*page*/, int /*typingKey*/) {}
    virtual void EndChange() {}
    // The Declarations page changed the rule: the pages show it again.
    virtual void DeclarationsChanged() {}
    // The letter case new hex colours are written in: the sheet's own.
    virtual HexCase ColourCase() const { return HexCase::Upper; }
};

}  // namespace larkspur
