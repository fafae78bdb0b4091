// Declarations a browser would drop, marked where the user sees them: the
// Declarations page's row, the Code page's line, and the rule list's filter.
#include <QAction>
#include <QIcon>
#include <QTableView>
#include <QTemporaryDir>

#include "editor/rule_filter_box.h"
#include "editor_fixture.h"
#include "pages/declarations_page.h"

namespace larkspur::testing {
namespace {

class ValueMarksTest : public EditorTest {
public:
    void SetUp() override {
        EditorTest::SetUp();
        path = dir.filePath("site.css").toStdString();
        WriteText(path, "h1 {\n  display: fixed;\n  color: teal;\n}\n.note { margin: 0 auto }\n"
                        "p { grid-template-columns: repeat(3 1fr) }\n");
        ASSERT_TRUE(editor->OpenFile(path));
        editor->show();
    }
    DeclarationsModel* Model() { return editor->DeclarationsPage()->Model(); }
    QVariant Cell(int row, int role) { return Model()->data(Model()->index(row, DeclarationsModel::kValue), role); }
    std::vector<QString> Listed() {
        std::vector<QString> out;
        for (int r = 0; r < editor->RuleListBox()->count(); ++r)
            if (editor->RuleListBox()->RuleRect(r).isValid()) out.push_back(editor->RuleListBox()->Text(r));
        return out;
    }

    QTemporaryDir dir;
    std::string path;
};

TEST_F(ValueMarksTest, TheDeclarationsPageMarksTheRowAndSaysWhatWasExpected) {
    Select(Doc().FindRule("h1"));
    ASSERT_EQ(Model()->rowCount(), 2);
    EXPECT_EQ(Model()->Problem(0), "display: expected a display keyword, found fixed");
    EXPECT_EQ(Cell(0, Qt::DecorationRole).typeId(), QMetaType::QIcon);
    EXPECT_TRUE(Cell(0, Qt::ToolTipRole).toString().contains("display: expected a display keyword, found fixed"));
    // A valid colour keeps its swatch.
    EXPECT_EQ(Model()->Problem(1), "");
    EXPECT_EQ(Cell(1, Qt::DecorationRole).typeId(), QMetaType::QColor);

    // Mended, the mark goes.
    Model()->setData(Model()->index(0, DeclarationsModel::kValue), "flex", Qt::EditRole);
    EXPECT_EQ(Doc().Declarations(Doc().FindRule("h1"))[0].value, "flex");
    EXPECT_EQ(Model()->Problem(0), "");
    EXPECT_FALSE(Cell(0, Qt::DecorationRole).isValid());
    // A new row is not judged before it has a value.
    Model()->AddNewRow(2);
    Model()->setData(Model()->index(2, DeclarationsModel::kName), "width", Qt::EditRole);
    EXPECT_EQ(Model()->Problem(2), "");
}

TEST_F(ValueMarksTest, TheCodePageMarksTheLinesAndFollowsEdits) {
    CCodePage* code = editor->CodePage();
    code->CheckNow();
    std::vector<int> marked;
    for (int line = 0; line < code->LineCount(); ++line)
        if (!code->LineProblem(line).isEmpty()) marked.push_back(line);
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(code->LineText(marked[0]), "  display: fixed;");
    EXPECT_EQ(code->LineProblem(marked[0]), "display: expected a display keyword, found fixed");
    EXPECT_TRUE(code->LineText(marked[1]).startsWith("p {"));

    Select(Doc().FindRule("h1"));
    Model()->setData(Model()->index(0, DeclarationsModel::kValue), "block", Qt::EditRole);
    code->CheckNow();
    for (int line = 0; line < code->LineCount(); ++line)
        EXPECT_EQ(code->LineProblem(line).isEmpty(), !code->LineText(line).startsWith("p {")) << line;
}

TEST_F(ValueMarksTest, TheRuleListFiltersToRulesWithInvalidDeclarations) {
    const std::vector<QString> all = Listed();
    QAction* invalidOnly = editor->RuleFilterBox()->InvalidOnly();
    invalidOnly->setChecked(true);
    EXPECT_EQ(Listed(), (std::vector<QString>{"h1", "p"}));  // tag rules named as the file writes them
    // With the text filter too.
    editor->RuleListBox()->SetFilter("p");
    EXPECT_EQ(Listed(), (std::vector<QString>{"p"}));
    editor->RuleListBox()->SetFilter("");
    invalidOnly->setChecked(false);
    EXPECT_EQ(Listed(), all);
    EXPECT_GT(all.size(), 3u);
}

}  // namespace
}  // namespace larkspur::testing
