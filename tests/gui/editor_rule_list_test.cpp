// The rule list of a sheet read from a file: every block a row, told apart by
// its at-rules and, for a repeated selector, its line; the filter box above.
#include <QAction>
#include <QTemporaryDir>

#include "editor/rule_filter_box.h"
#include "editor_fixture.h"
#include "page_driving.h"
#include "pages/font_page.h"

namespace larkspur::testing {
namespace {

constexpr char kSheet[] =
    ".btn { color: blue }\n"
    ".field { color: red }\n"
    "@media print {\n"
    "  .btn:visited { color: black }\n"
    "  .field { font-size: 10pt }\n"
    "}\n"
    "#main { margin: 0 }\n"
    ".field { background-color: white }\n";

class RuleListTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        path = dir.filePath("site.css").toStdString();
        WriteText(path, kSheet);
        ASSERT_TRUE(editor->OpenFile(path));
    }
    // The row of the block read at this line of the file.
    int RowAtLine(uint32_t line) {
        for (int i = 0; i < Doc().RuleCount(); ++i)
            if (Doc().PlaceOf(i).line == line) return i;
        ADD_FAILURE() << "no block at line " << line;
        return -1;
    }
    CRuleCheckList& List() { return *editor->RuleListBox(); }

    QTemporaryDir dir;
    std::string path;
};

TEST_F(RuleListTest, EveryBlockIsARowToldApartByContextAndLine) {
    const std::pair<uint32_t, const char*> rows[] = {
        {1, ".btn"}, {2, ".field (line 2)"}, {4, ".btn:visited (@media print)"}, {5, ".field (@media print)"},
        {7, "#main"}, {8, ".field (line 8)"}};
    for (const auto& [line, label] : rows) {
        SCOPED_TRACE(line);
        const int row = RowAtLine(line);
        EXPECT_EQ(List().Text(row), label);
        // The tool tip is the selector alone, as the sheet writes it.
        EXPECT_EQ(List().ToolTip(row).toStdString(), Doc().Rule(row).selector);
        EXPECT_TRUE(List().IsChecked(row));
    }
    // Copy to names the blocks as the list does.
    Select(RowAtLine(1));
    editor->CommandAction(kCmdCopyRule)->trigger();
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_THAT(dialogs.asked.back().text, ::testing::HasSubstr(",.field (line 2),"));
    EXPECT_THAT(dialogs.asked.back().text, ::testing::EndsWith(",.field (line 8)"));

    // The blocks inside at-rules leave with the sheet, the list in step.
    Select(RowAtLine(5));
    editor->CommandAction(kCmdNewSheet)->trigger();
    EXPECT_EQ(List().count(), Doc().RuleCount());
    ExpectViewsInStep();
}

TEST_F(RuleListTest, FilterNarrowsTheListAndKeepsTheRuleBeingEdited) {
    editor->show();
    const int last = RowAtLine(8);
    Select(last);
    QTest::keyClicks(editor->RuleFilterBox(), "FIELD");
    EXPECT_EQ(List().ShownCount(), 3);
    EXPECT_EQ(List().currentRow(), last);
    EXPECT_FALSE(List().RuleRect(last).isEmpty());

    // The rule being edited may leave the view; it stays the rule edited.
    QTest::keyClicks(editor->RuleFilterBox(), " (@media");
    EXPECT_EQ(List().ShownCount(), 1);
    EXPECT_TRUE(List().RuleRect(last).isEmpty());
    EXPECT_EQ(List().currentRow(), last);
    EXPECT_EQ(Doc().SelectedIndex(), last);

    // Rows keep addressing rules by their index while filtered.
    const int shown = RowAtLine(5);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().RuleRect(shown).center());
    EXPECT_EQ(Doc().SelectedIndex(), shown);
    Check(shown, false);
    EXPECT_FALSE(Doc().IsChecked(shown));

    // A rule shown by another way (undo here) brings the whole list back.
    Select(last);
    EXPECT_EQ(editor->RuleFilterBox()->text(), "");
    EXPECT_EQ(List().ShownCount(), Doc().RuleCount());

    // Ctrl+F goes to the box, Escape empties it, Down goes on to the list.
    QApplication::setActiveWindow(editor.get());
    QTest::keyClick(&List(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(editor->RuleFilterBox()->hasFocus());
    QTest::keyClicks(editor->RuleFilterBox(), "#main");
    EXPECT_EQ(List().ShownCount(), 1);
    QTest::keyClick(editor->RuleFilterBox(), Qt::Key_Escape);
    EXPECT_EQ(List().ShownCount(), Doc().RuleCount());
    QTest::keyClick(editor->RuleFilterBox(), Qt::Key_Down);
    EXPECT_TRUE(List().hasFocus());
    ExpectViewsInStep();
}

TEST_F(RuleListTest, AnEditInsideMediaPrintChangesOnlyThatBlockAndUndoesExactly) {
    const int print = RowAtLine(5);
    QTest::keyClicks(editor->RuleFilterBox(), "print");
    Select(print);
    ASSERT_TRUE(Checked(FontPage(), CFontPage::kSize));
    Click(FontPage(), CFontPage::kSize);  // font-size off for this block only

    Listing original;
    original.Assign(kSheet);
    const std::vector<std::string> before = original.Lines();
    const std::vector<std::string> after = Doc().GetListing().Lines();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        if (i != 4) EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
    EXPECT_EQ(after[4].find("font-size"), std::string::npos);
    EXPECT_EQ(CodeLines(), ListingLines());

    const std::string edited = Doc().StyleSheetText();
    editor->CommandAction(kCmdUndo)->trigger();
    EXPECT_EQ(Doc().StyleSheetText(), kSheet);
    EXPECT_EQ(Doc().SelectedIndex(), print);
    EXPECT_TRUE(Checked(FontPage(), CFontPage::kSize));
    editor->CommandAction(kCmdRedo)->trigger();
    EXPECT_EQ(Doc().StyleSheetText(), edited);
    ExpectViewsInStep();
}

// New rule with a rule inside @media print selected offers to put the new
// one there, after it; Undo takes it out to the byte.
TEST_F(RuleListTest, NewRuleGoesInsideTheSelectedRulesAtRules) {
    Select(RowAtLine(4));
    dialogs.newRules.push_back(NewRuleChoice{"note", 1, true});
    editor->CommandAction(kCmdNewRule)->trigger();
    EXPECT_EQ(dialogs.asked.back(), (AskedQuestion{"NewRule", "Add New Tag/Class", "@media print"}));
    const int added = Doc().LastIndex();
    EXPECT_EQ(List().Text(added), ".note (@media print)");
    EXPECT_EQ(Doc().SelectedIndex(), added);
    const std::string inside = std::string(kSheet).insert(std::string(kSheet).find("  .field { font-size"), "  .note {\n  }\n");
    EXPECT_EQ(Doc().StyleSheetText(), inside);
    ExpectViewsInStep();
    editor->CommandAction(kCmdUndo)->trigger();
    EXPECT_EQ(Doc().StyleSheetText(), kSheet);
    editor->CommandAction(kCmdRedo)->trigger();
    EXPECT_EQ(Doc().StyleSheetText(), inside);
    ExpectViewsInStep();
    // Not chosen: at the end, outside any at-rule, as before.
    Select(RowAtLine(4));
    dialogs.newRules.push_back(NewRuleChoice{"tail", 1, false});
    editor->CommandAction(kCmdNewRule)->trigger();
    EXPECT_EQ(Doc().StyleSheetText(), inside + ".tail {\n}\n");
}

}  // namespace
}  // namespace larkspur::testing
