// The editor with a large sheet: opening it until the rule list and the Code
// page show it, and what the user then does with 20,000 rules (selecting,
// checking, scrolling). Runs offscreen with the test stand-ins for the
// platform; inputs as in large_sheets.h.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/large_sheets.h"
#include "bench/site_sheet.h"
#include "editor/editor_dlg.h"
#include "editor/rule_check_list.h"
#include "editor/rule_filter_box.h"
#include "pages/code_page.h"
#include "tests/gui/fake_browser.h"
#include "tests/gui/fake_platform.h"

namespace {

using namespace larkspur;
using namespace larkspur::bench;

struct Editor {
    testing::FakeDialogs dialogs;
    testing::FakeSettings settings;
    testing::FakeDesktop desktop;
    testing::BrowserLog browser;
    std::unique_ptr<CEditorDlg> dlg =
        std::make_unique<CEditorDlg>(dialogs, settings, desktop, testing::FakeBrowserFactory(browser));

    void Open(const std::string& path) {
        if (dlg->Document().Modified()) dialogs.answers.push_back(Answer::No);  // Open offers to save
        dialogs.openFiles.push_back(path);
        dlg->OnOpen();
        QApplication::processEvents();
    }
};

std::string TempSheet(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + ".css");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

const std::string& MixPath(size_t megabytes) {
    static std::string path = [&] {
        std::vector<std::string> parts = FrameworkSheets();
        if (parts.empty())
            for (unsigned seed = 1; seed <= 4; ++seed) parts.push_back(SiteSheet(seed).Make(2500));
        return TempSheet("editor-mix", RepeatToSize(parts, megabytes << 20));
    }();
    return path;
}

// 20,000 rules of three declarations each.
const std::string& TwentyThousandPath() {
    static std::string path = [] {
        std::string text;
        for (int i = 0; i < 20000 - 56; ++i)
            text += ".rule" + std::to_string(i) + " {color: red; margin-top: 2px; float: left}\n";
        return TempSheet("editor-20k", text);
    }();
    return path;
}

// 50,000 blocks as a modern sheet writes them: rules, each selector written
// again under a breakpoint and under print.
const std::string& FiftyThousandBlocksPath() {
    static std::string path = [] {
        std::string text;
        for (int i = 0; i < 50000 / 5; ++i) {
            const std::string name = ".card-" + std::to_string(i);
            text += name + " {display: flex; color: #333}\n" + name + " a {color: blue}\n";
            text += "@media (min-width: 768px) {\n  " + name + " {margin-left: 2em}\n  " + name +
                    " a {float: left}\n}\n";
            text += "@media print {\n  " + name + " {color: black}\n}\n";
        }
        return TempSheet("editor-50k-blocks", text);
    }();
    return path;
}

void BM_EditorOpensSheet(benchmark::State& state, const std::string& path) {
    Editor editor;
    editor.dlg->show();
    for (auto _ : state) editor.Open(path);
    state.counters["rules"] = editor.dlg->RuleListBox()->count();
    state.counters["code_lines"] = editor.dlg->CodePage()->LineCount();
}
void BM_EditorOpensMix10MB(benchmark::State& state) { BM_EditorOpensSheet(state, MixPath(10)); }
BENCHMARK(BM_EditorOpensMix10MB)->Unit(benchmark::kMillisecond)->Iterations(3);
void BM_EditorOpens20000Rules(benchmark::State& state) { BM_EditorOpensSheet(state, TwentyThousandPath()); }
BENCHMARK(BM_EditorOpens20000Rules)->Unit(benchmark::kMillisecond)->Iterations(3);
void BM_EditorOpens50000Blocks(benchmark::State& state) { BM_EditorOpensSheet(state, FiftyThousandBlocksPath()); }
BENCHMARK(BM_EditorOpens50000Blocks)->Unit(benchmark::kMillisecond)->Iterations(3);

// Typing a filter over 50,000 blocks key by key, and emptying it: the list
// redrawn after every key.
void BM_FilterKeysOver50000Blocks(benchmark::State& state) {
    static Editor* editor = [] {
        auto* e = new Editor;
        e->dlg->show();
        e->Open(FiftyThousandBlocksPath());
        return e;
    }();
    CRuleFilterBox* box = editor->dlg->RuleFilterBox();
    const QString typed = QStringLiteral("card-123 a");
    for (auto _ : state) {
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            box->setText(typed.left(n));
            editor->dlg->RuleListBox()->viewport()->repaint();
        }
        box->clear();
        editor->dlg->RuleListBox()->viewport()->repaint();
    }
    state.counters["keys"] = benchmark::Counter(static_cast<double>(state.iterations() * (typed.size() + 1)),
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["blocks"] = editor->dlg->RuleListBox()->count();
}
BENCHMARK(BM_FilterKeysOver50000Blocks)->Unit(benchmark::kMillisecond);

Editor& OpenTwentyThousand() {
    static Editor* editor = [] {
        auto* e = new Editor;
        e->dlg->show();
        e->Open(TwentyThousandPath());
        return e;
    }();
    return *editor;
}

// Selecting rows far apart: pages stored and loaded, the list follows.
void BM_Select20000Rules(benchmark::State& state) {
    Editor& e = OpenTwentyThousand();
    CRuleCheckList* list = e.dlg->RuleListBox();
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % list->count();
        list->setCurrentRow(row);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Select20000Rules)->Unit(benchmark::kMicrosecond);

// Unchecking and checking the selected rule takes its lines out of the
// listing and back in at the end, moving the rules below.
void BM_CheckRuleOf20000(benchmark::State& state) {
    Editor& e = OpenTwentyThousand();
    CRuleCheckList* list = e.dlg->RuleListBox();
    list->setCurrentRow(100);
    QApplication::processEvents();
    for (auto _ : state) {
        for (bool checked : {false, true}) {
            list->SetChecked(100, checked);
            emit list->CheckToggled(100, checked);
        }
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CheckRuleOf20000)->Unit(benchmark::kMicrosecond);

// A page of scrolling in the rule list and in the Code page, painted.
void BM_Scroll20000Rules(benchmark::State& state) {
    Editor& e = OpenTwentyThousand();
    QAbstractItemView* lists[] = {e.dlg->RuleListBox(), e.dlg->CodePage()->List()};
    int step = 0;
    for (auto _ : state) {
        for (QAbstractItemView* l : lists) {
            QScrollBar* bar = l->verticalScrollBar();
            bar->setValue((bar->value() + bar->pageStep() * 37 + step) % (bar->maximum() + 1));
            l->viewport()->repaint();
        }
        ++step;
    }
}
BENCHMARK(BM_Scroll20000Rules)->Unit(benchmark::kMicrosecond);

}  // namespace
