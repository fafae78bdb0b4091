#pragma once
#include <gtest/gtest.h>
// A window stand-in for page tests: a real sheet document, scripted dialogs
// that never block, and a record of what the pages asked of the window.
#include <functional>
#include <string>
#include <vector>

#include "css/sheet_document.h"
#include "pages/page_host.h"
#include "fake_platform.h"

namespace larkspur::testing {

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
        const auto [first, count] = document.RuleLines(document.SelectedIndex());
        for (int i = 1; i + 1 < count; ++i) out.emplace_back(document.GetListing().Line(first + i));
        return out;
    }
    std::string Lines() const {
        std::string all;
        for (const std::string& line : RuleLines()) all += line + "\n";
        return all;
    }
    const PropertyEntry& Entry(int property) const { return document.SelectedRule()->properties[size_t(property)]; }

    SheetDocument document;
    FakeDialogs dialogs;
    std::vector<std::string> helpLines;
    std::string savedPath;
    std::function<void()> onSaveAs;
    int saveAsRuns = 0;
    bool loading = false;
};

// A page of type Page on rule 0 of a fresh sheet, the rule checked and listed.
template <typename Page>
class PageFixture : public ::testing::Test {
protected:
    PageFixture() : page(host) {
        host.SelectListedRule(0);
        page.LoadFromRule();
        page.RefreshEnabling();
    }
    std::string Lines() const { return host.Lines(); }

    FakePageHost host;
    Page page;
};

}  // namespace larkspur::testing
