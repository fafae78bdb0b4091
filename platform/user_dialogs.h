#pragma once
#include <optional>
#include <string>
#include <vector>

#include "css/apply_pages.h"
#include "model/colour.h"

namespace larkspur {

enum class Answer { Yes, No, Cancel };

// What the user chose in the "Add New Tag/Class" dialog.
struct NewRuleChoice {
    std::string name;
    int kind = -1;  // 0 Tag, 1 Class, 2 ID, -1 none chosen
    bool inside = false;  // in the at-rules of the selected rule, after it
};

// One page of Save into several pages in the list shown before writing.
struct PageChangeRow {
    std::string path;
    PageChange change = PageChange::kChanged;
    std::string detail;  // the lines added and removed, or why it cannot be written
};

// Every question the program asks the user. The window implements it with
// real dialogs; tests script the answers so nothing ever blocks.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Plain OK box with the given caption.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // byDefault is the button Enter presses: for a question whose Yes or No
    // loses work, the other one.
    virtual Answer AskYesNo(const std::string& text, const std::string& caption, Answer byDefault) = 0;
    virtual Answer AskYesNoCancel(const std::string& text, const std::string& caption, Answer byDefault) = 0;
    // A question answered by one of the named buttons ("&Reload", "&Keep
    // Mine"...): the index of the one pressed. byDefault is the index Enter
    // presses; Escape presses the last one, so it should lose nothing.
    virtual int AskChoice(const std::string& text, const std::string& caption,
                          const std::vector<std::string>& choices, int byDefault) = 0;
    // A long text to read (a difference between two files), in a window of
    // its own with a Close button.
    virtual void ShowText(const std::string& text, const std::string& caption) = 0;

    // Filters in the classic form "Web Pages | *.html; *.htm||".
    virtual std::optional<std::string> ChooseOpenFile(const std::string& filter) = 0;
    virtual std::vector<std::string> ChooseOpenFiles(const std::string& filter) = 0;
    // Asks before overwriting; the default extension is added when missing.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& filter,
                                                      const std::string& defaultExtension) = 0;
    // Standard colour dialog; nothing when cancelled.
    virtual std::optional<ColourValue> ChooseColour(ColourValue initial) = 0;

    // The program's own small dialogs; nothing when cancelled.
    // `context`: the at-rules the selected rule stands in ("@media print"),
    // offered as the place of the new rule; empty for none.
    virtual std::optional<NewRuleChoice> AskNewRule(const std::string& context) = 0;
    virtual std::optional<std::string> AskRenameRule() = 0;
    // Index chosen in "Copy To" (-1 when OK was pressed with no choice).
    virtual std::optional<int> AskCopyTarget(const std::vector<std::string>& names) = 0;
    // "Save as": 0 HTML Page, 1 CSS File.
    virtual std::optional<int> AskSaveAsKind() = 0;
    // Save into several pages, before anything is written: every page and
    // what will become of it. True to write them.
    virtual bool ConfirmPageChanges(const std::vector<PageChangeRow>& pages) = 0;
};

}  // namespace larkspur
