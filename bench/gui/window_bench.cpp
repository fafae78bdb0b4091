// The window with 1,000 listed rules: what one keystroke in a page's edit box
// costs until the Code page shows it, and what undoing a Delete costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <memory>
#include <string>

#include "editor/editor_commands.h"
#include "controls/property_edit.h"
#include "editor/editor_dlg.h"
#include "editor/rule_check_list.h"
#include "fake_browser.h"
#include "fake_platform.h"
#include "model/vocabulary.h"
#include "pages/font_page.h"
#include "widget_driving.h"

namespace {

using namespace larkspur;
using namespace larkspur::testing;

constexpr int kRules = 1000;

struct Window {
    FakeDialogs dialogs;
    FakeSettings settings;
    FakeDesktop desktop;
    BrowserLog browser;
    std::unique_ptr<CEditorDlg> editor;

    // 1,000 listed rules of three declarations; `full` gets every property.
    Window() {
        editor = std::make_unique<CEditorDlg>(dialogs, settings, desktop, FakeBrowserFactory(browser));
        SheetDocument& doc = editor->Document();
        for (int i = doc.RuleCount(); i < kRules; ++i) doc.AppendRule(".rule" + std::to_string(i));
        for (int i = 0; i < kRules; ++i) {
            doc.SetChecked(i, true);
            doc.ListRule(i);
            doc.SetValue(i, kColor, "#102030");
            doc.SetValue(i, kMarginTop, "1em");
            doc.SetValue(i, kBorderTop, "thin solid #FF0000");
        }
        editor->History().Clear();
    }
    CPropertyPage& Page(int id) {
        for (CPropertyPage* page : editor->Pages())
            if (page->ResourceId() == id) return *page;
        std::abort();
    }
    void Select(int row) {
        editor->RuleListBox()->setCurrentRow(row);
    }
};

void BM_KeystrokeInFontSizeWith1000Rules(benchmark::State& state) {
    Window w;
    w.Select(kRules / 2);
    CPropertyPage& font = w.Page(CFontPage::kResourceId);
    font.Button(CFontPage::kSize)->click();
    font.Button(CFontPage::kValue)->click();
    QLineEdit* edit = font.Edit(CFontPage::kValueEdit);
    edit->end(false);
    int n = 0;
    for (auto _ : state) {
        // One key: a digit, or a backspace taking it out again.
        if (++n % 2)
            PressKey(edit, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        else
            PressKey(edit, Qt::Key_Backspace);
    }
    state.counters["lines"] = w.editor->Document().GetListing().Count();
}
BENCHMARK(BM_KeystrokeInFontSizeWith1000Rules)->Unit(benchmark::kMillisecond);

void BM_UndoDeleteOfRuleWith41Declarations(benchmark::State& state) {
    Window w;
    const int row = kRules / 2;
    SheetDocument& doc = w.editor->Document();
    for (int p = 0; p < kPropertyCount; ++p) doc.SetValue(row, p, "1px");
    w.editor->History().Clear();
    w.Select(row);
    for (auto _ : state) {
        state.PauseTiming();
        w.dialogs.answers.push_back(Answer::Yes);
        w.editor->OnDeleteRule();
        state.ResumeTiming();
        w.editor->OnUndo();
    }
    state.counters["declarations"] = doc.RuleLines(row).second - 2;
}
BENCHMARK(BM_UndoDeleteOfRuleWith41Declarations)->Unit(benchmark::kMillisecond);

}  // namespace
