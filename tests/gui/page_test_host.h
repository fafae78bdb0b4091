#pragma once
// A window stand-in for page tests: a real sheet document, scripted dialogs
// that never block, and a record of what the pages asked of the window.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "css/sheet_document.h"
#include "pages/page_host.h"
#include "platform/user_dialogs.h"

namespace larkspur::testing {

class ScriptedPageDialogs : public UserDialogs {
public:
    std::vector<std::string> messages;  // "caption: text"
    std::deque<std::optional<std::string>> openFiles;
    std::deque<std::optional<ColourValue>> colours;
    std::vector<ColourValue> colourStarts;

    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    Answer AskYesNo(const std::string&, const std::string&) override { return Answer::No; }
    Answer AskYesNoCancel(const std::string&, const std::string&) override { return Answer::Cancel; }
    std::optional<std::string> ChooseOpenFile(const std::string& filter) override {
        lastFilter = filter;
        return Next(openFiles);
    }
    std::vector<std::string> ChooseOpenFiles(const std::string&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override { return {}; }
    std::optional<ColourValue> ChooseColour(ColourValue initial) override {
        colourStarts.push_back(initial);
        return Next(colours);
    }
    std::optional<NewRuleChoice> AskNewRule() override { return {}; }
    std::optional<std::string> AskRenameRule() override { return {}; }
    std::optional<int> AskCopyTarget(const std::vector<std::string>&) override { return {}; }
    std::optional<int> AskSaveAsKind() override { return {}; }

    std::string lastFilter;

private:
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) return std::nullopt;
        std::optional<T> v = queue.front();
        queue.pop_front();
        return v;
    }
};

class FakePageHost : public PageHost {
public:
    FakePageHost() { document.CreateStartRules(); }

    SheetDocument& Document() override { return document; }
    UserDialogs& Dialogs() override { return dialogs; }
    void ShowHelpLine(const std::string& text) override { helpLines.push_back(text); }
    std::string SavedPath() const override { return savedPath; }
    void RunSaveAs() override {
        ++saveAsRuns;
        if (onSaveAs) onSaveAs();
    }
    bool IsLoading() const override { return loading; }

    // Checks rule `index` in the list, selects it and lists it, as a click
    // on its check mark would.
    void SelectListedRule(int index) {
        document.SetSelectedIndex(index);
        document.SetChecked(index, true);
        document.ListRule();
    }
    // The listed lines of the selected rule between its braces.
    std::vector<std::string> RuleLines() const {
        std::vector<std::string> out;
        const StyleRule* rule = document.SelectedRule();
        if (!rule || !rule->listed) return out;
        for (int i = 1; i < rule->lineCount; ++i) out.push_back(document.GetListing().Line(rule->firstLine + i));
        return out;
    }
    std::string Lines() const {
        std::string all;
        for (const std::string& line : RuleLines()) all += line + "\n";
        return all;
    }
    PropertyEntry& Entry(int property) { return document.SelectedRule()->properties[size_t(property)]; }

    SheetDocument document;
    ScriptedPageDialogs dialogs;
    std::vector<std::string> helpLines;
    std::string savedPath;
    std::function<void()> onSaveAs;
    int saveAsRuns = 0;
    bool loading = false;
};

}  // namespace larkspur::testing
