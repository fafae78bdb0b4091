#pragma once
// A main window wired to scripted fakes, with helpers that read its state.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <QDir>
#include <QTemporaryDir>
#include <QStatusBar>
#include <QTabWidget>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/editor_commands.h"
#include "editor/editor_dlg.h"
#include "editor/recovery_keeper.h"
#include "editor/rule_check_list.h"
#include "pages/code_page.h"
#include "pages/font_page.h"
#include "pages/property_page.h"
#include "fake_browser.h"
#include "fake_platform.h"
#include "model/vocabulary.h"
#include "pages/code_page.h"

namespace larkspur::testing {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { MakeEditor(); }

    void MakeEditor() {
        editor.reset();
        editor = std::make_unique<CEditorDlg>(dialogs, settings, desktop, FakeBrowserFactory(browser));
        // Files change only when a test says so, and recovery files stay in
        // the test's own folder.
        auto fake = std::make_unique<FakeFileWatcher>();
        watcher = fake.get();
        editor->SetFileWatcher(std::move(fake));
        editor->Recovery().SetFolder(RecoveryFolder());
        dialogs.Clear();
        browser.calls.clear();
    }

    SheetDocument& Doc() { return editor->Document(); }
    std::string RecoveryFolder() const { return recoveryRoot.filePath(QStringLiteral("recovery")).toStdString(); }

    // Selects a row as a click on the item's text would.
    void Select(int row) { editor->RuleListBox()->setCurrentRow(row); }
    // Checks a row's mark as the user would, without selecting it.
    void Check(int row, bool checked = true) {
        editor->RuleListBox()->SetChecked(row, checked);
        emit editor->RuleListBox()->CheckToggled(row, checked);
    }
    // Checks and selects a row: the rule joins the listing.
    void ListRow(int row) {
        Check(row);
        if (editor->RuleListBox()->currentRow() == row) Select(row == 0 ? 1 : 0);
        Select(row);
    }

    // Lists the row and gives it a declaration, as a page switch would.
    void Declare(int row, int property, const std::string& value) {
        ListRow(row);
        Doc().SetValue(Doc().SelectedIndex(), property, value);
    }

    // The page with this resource id (CFontPage::kResourceId ...).
    CPropertyPage& Page(int resourceId) const {
        for (CPropertyPage* page : editor->Pages())
            if (page->ResourceId() == resourceId) return *page;
        throw std::logic_error("no page " + std::to_string(resourceId));
    }
    CPropertyPage& FontPage() const { return Page(CFontPage::kResourceId); }

    std::vector<std::string> CodeLines() const {
        std::vector<std::string> lines;
        const CCodePage* page = editor->CodePage();
        for (int i = 0; i < page->LineCount(); ++i) lines.push_back(page->LineText(i).toStdString());
        return lines;
    }
    std::vector<std::string> ListingLines() { return Doc().GetListing().Lines(); }
    std::vector<std::string> RuleNames() const {
        std::vector<std::string> names;
        const CRuleCheckList* list = editor->RuleListBox();
        for (int i = 0; i < list->count(); ++i) names.push_back(list->Text(i).toStdString());
        return names;
    }
    // The rule list, the rules and the Code page agree.
    void ExpectViewsInStep() {
        std::vector<std::string> selectors, tips;
        for (const StyleRule& rule : Doc().Rules()) selectors.push_back(rule.selector);
        // The item shows the selector on one line; its tool tip holds it whole.
        const CRuleCheckList* list = editor->RuleListBox();
        for (int i = 0; i < list->count(); ++i) tips.push_back(list->ToolTip(i).toStdString());
        EXPECT_EQ(tips, selectors);
        EXPECT_EQ(CodeLines(), ListingLines());
        EXPECT_EQ(editor->RuleListBox()->currentRow(), Doc().SelectedIndex());
        for (int i = 0; i < Doc().RuleCount(); ++i)
            EXPECT_EQ(editor->RuleListBox()->IsChecked(i), Doc().IsChecked(i)) << "row " << i;
    }

    FakeDialogs dialogs;
    FakeSettings settings;
    FakeDesktop desktop;
    BrowserLog browser;
    QTemporaryDir recoveryRoot;  // before the editor: it outlives it
    std::unique_ptr<CEditorDlg> editor;
    FakeFileWatcher* watcher = nullptr;  // owned by the editor
};

}  // namespace larkspur::testing
