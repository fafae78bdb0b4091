// The Declarations page driven as a user would: keys and clicks into its
// table, every change one step of the history, the listing and the saved
// file following, and the property pages showing the same entries.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "editor_fixture.h"
#include "page_driving.h"
#include "pages/declarations_page.h"

namespace larkspur::testing {
namespace {

class DeclarationsPageTest : public EditorTest {
public:
    void SetUp() override {
        EditorTest::SetUp();
        path = dir.filePath("site.css").toStdString();
        WriteText(path, "/* site */\nh1 {\n  display: flex;\n  font-style: normal;\n  --gap: 2px;\n}\n.note { color: red }\n");
        ASSERT_TRUE(editor->OpenFile(path));
        Select(Doc().FindRule("H1"));
        editor->ViewSheet()->setCurrentWidget(Page());
        editor->show();
        // An editor of the table closes when the focus leaves it: the window must have it.
        QApplication::setActiveWindow(editor.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    CDeclarationsPage* Page() { return editor->DeclarationsPage(); }
    QTableView* Table() { return Page()->Table(); }
    DeclarationsModel* Model() { return Page()->Model(); }
    // "name: value" a row, "-" before one switched off, "!" after an important one.
    std::vector<std::string> Rows() {
        std::vector<std::string> out;
        for (int r = 0; r < Model()->rowCount(); ++r) {
            const Declaration& d = Model()->At(r);
            out.push_back((d.on ? "" : "-") + d.name + ": " + d.value + (d.important ? "!" : ""));
        }
        return out;
    }
    // Opens the cell's editor as a double click or F2 would.
    QLineEdit* EditCell(int row, int column) {
        const QModelIndex at = Model()->index(row, column);
        Table()->setCurrentIndex(at);
        Table()->edit(at);
        return Editor(row, column);
    }
    QLineEdit* Editor(int row, int column) {
        return qobject_cast<QLineEdit*>(Table()->indexWidget(Model()->index(row, column)));
    }
    // Types into an open editor and leaves it with a key.
    static void TypeAndLeave(QLineEdit* edit, const QString& text, Qt::Key key) {
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        TypeText(edit, text);
        Leave(edit, key);
    }
    // Enter closes an editor from the event loop, after the editor's own use of the key.
    // The key goes where a user's would: to the completer's list while it shows.
    static void Leave(QLineEdit* edit, Qt::Key key) {
        ASSERT_NE(edit, nullptr);
        QAbstractItemView* popup = edit->completer() ? edit->completer()->popup() : nullptr;
        if (popup && popup->isVisible()) {
            PressKey(popup, key);
            QApplication::processEvents();
            if (key == Qt::Key_Tab) return;
        }
        // Enter in the list only took the completion; the next one leaves.
        PressKey(edit, key);
        QApplication::processEvents();
    }
    std::string Saved() {
        editor->OnSave();
        return ReadText(path);
    }
    void Undo() { editor->CommandAction(kCmdUndo)->trigger(); }
    void Redo() { editor->CommandAction(kCmdRedo)->trigger(); }

    QTemporaryDir dir;
    std::string path;
};

struct Step {
    const char* name;
    std::function<void(DeclarationsPageTest&)> act;
    std::vector<std::string> rows;
    const char* rule;  // the rule's text in the saved file
};

TEST_F(DeclarationsPageTest, EachEditIsOneStepUndoneAndRedoneInTheListingAndTheFile) {
    EXPECT_EQ(Rows(), (std::vector<std::string>{"display: flex", "font-style: normal", "--gap: 2px"}));
    const std::vector<Step> steps = {
        {"edit a value",
         [](DeclarationsPageTest& t) {
             TypeAndLeave(t.EditCell(0, DeclarationsModel::kValue), "grid", Qt::Key_Return);
             Leave(t.Editor(1, DeclarationsModel::kName), Qt::Key_Escape);  // Enter went on to the next name
         },
         {"display: grid", "font-style: normal", "--gap: 2px"},
         "h1 {\n  display: grid;\n  font-style: normal;\n  --gap: 2px;\n}"},
        {"add after the selected row: name, Tab, value, Enter",
         [](DeclarationsPageTest& t) {
             t.Table()->setCurrentIndex(t.Model()->index(1, 0));
             t.Page()->AddButton()->click();
             TypeAndLeave(t.Editor(2, DeclarationsModel::kName), "border-radius", Qt::Key_Tab);
             TypeAndLeave(t.Editor(2, DeclarationsModel::kValue), "4px", Qt::Key_Return);
             // Enter went on to the next row's name; Escape leaves it.
             Leave(t.Editor(3, DeclarationsModel::kName), Qt::Key_Escape);
         },
         {"display: flex", "font-style: normal", "border-radius: 4px", "--gap: 2px"},
         "h1 {\n  display: flex;\n  font-style: normal;\n  border-radius: 4px;\n  --gap: 2px;\n}"},
        {"switch off with Space on its check box",
         [](DeclarationsPageTest& t) {
             t.Table()->setCurrentIndex(t.Model()->index(0, DeclarationsModel::kName));
             PressKey(t.Table(), Qt::Key_Space, Qt::NoModifier, " ");
         },
         {"-display: flex", "font-style: normal", "--gap: 2px"},
         "h1 {\n  font-style: normal;\n  --gap: 2px;\n}"},
        {"mark important",
         [](DeclarationsPageTest& t) {
             t.Model()->setData(t.Model()->index(2, DeclarationsModel::kImportant), Qt::Checked, Qt::CheckStateRole);
         },
         {"display: flex", "font-style: normal", "--gap: 2px!"},
         "h1 {\n  display: flex;\n  font-style: normal;\n  --gap: 2px !important;\n}"},
        {"remove with Delete",
         [](DeclarationsPageTest& t) {
             t.Table()->setCurrentIndex(t.Model()->index(1, DeclarationsModel::kValue));
             PressKey(t.Table(), Qt::Key_Delete);
         },
         {"display: flex", "--gap: 2px"},
         "h1 {\n  display: flex;\n  --gap: 2px;\n}"},
    };
    const std::string start = Saved();
    const std::vector<std::string> startRows = Rows();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(*this);
        EXPECT_EQ(Rows(), step.rows);
        EXPECT_EQ(CodeLines(), ListingLines());
        const std::string after = Saved();
        EXPECT_EQ(after, "/* site */\n" + std::string(step.rule) + "\n.note { color: red }\n");
        Undo();
        EXPECT_EQ(Rows(), startRows);
        EXPECT_EQ(Saved(), start);
        Redo();
        EXPECT_EQ(Rows(), step.rows);
        EXPECT_EQ(Saved(), after);
        Undo();
    }
}

// A value of the 41 edited here shows on its page, and a page edit here.
TEST_F(DeclarationsPageTest, TheFontPageAndTheRowsShowOneEntry) {
    TypeAndLeave(EditCell(1, DeclarationsModel::kValue), "italic", Qt::Key_Tab);
    Leave(Editor(2, DeclarationsModel::kName), Qt::Key_Escape);
    EXPECT_TRUE(Checked(FontPage(), CFontPage::kStyle));
    EXPECT_EQ(Text(FontPage(), CFontPage::kStyleCombo), "italic");
    ASSERT_TRUE(Pick(FontPage(), CFontPage::kStyleCombo, "oblique"));
    EXPECT_EQ(Rows()[1], "font-style: oblique");
    Click(FontPage(), CFontPage::kStyle);  // off on the page: out of the rule
    EXPECT_EQ(Rows(), (std::vector<std::string>{"display: flex", "--gap: 2px"}));
    Undo();
    EXPECT_EQ(Rows()[1], "font-style: oblique");
    Page()->Table()->setCurrentIndex(Model()->index(1, 0));
    PressKey(Table(), Qt::Key_Delete);
    EXPECT_FALSE(Checked(FontPage(), CFontPage::kStyle));
}

TEST_F(DeclarationsPageTest, NamesCompleteValuesOfferKeywordsAndColours) {
    Page()->AddButton()->click();
    QLineEdit* name = Editor(3, DeclarationsModel::kName);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->accessibleName(), "Property name");
    TypeText(name, "border-r");
    QStringList offered;
    QAbstractItemModel* completions = name->completer()->completionModel();
    for (int i = 0; i < completions->rowCount(); ++i) offered << completions->index(i, 0).data().toString();
    EXPECT_TRUE(offered.contains("border-radius")) << offered.join(' ').toStdString();
    EXPECT_FALSE(offered.contains("border-top"));
    TypeAndLeave(name, "outline-color", Qt::Key_Tab);
    QLineEdit* value = Editor(3, DeclarationsModel::kValue);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->accessibleName(), "Value of outline-color");
    TypeAndLeave(value, "teal", Qt::Key_Return);
    Leave(Editor(4, DeclarationsModel::kName), Qt::Key_Escape);
    EXPECT_EQ(Model()->rowCount(), 4);  // the empty new row went
    EXPECT_EQ(Model()->index(3, DeclarationsModel::kValue).data(Qt::DecorationRole).value<QColor>(), QColor("teal"));

    // The colour dialog gives the row its colour, in the sheet's case.
    Table()->setCurrentIndex(Model()->index(3, DeclarationsModel::kValue));
    ASSERT_TRUE(Page()->ColourButton()->isEnabled());
    dialogs.colours.push_back(MakeColour(0, 0x80, 0xFF));
    Page()->ColourButton()->click();
    EXPECT_EQ(Rows()[3], "outline-color: #0080FF");

    // Unknown names are kept and shown as such; custom properties are named.
    EXPECT_EQ(Model()->index(2, DeclarationsModel::kName).data(Qt::ToolTipRole).toString(), "Custom property");
    TypeAndLeave(EditCell(0, DeclarationsModel::kName), "-foo-display", Qt::Key_Return);
    Leave(Editor(0, DeclarationsModel::kValue), Qt::Key_Escape);
    EXPECT_EQ(Rows()[0], "-foo-display: flex");
    EXPECT_TRUE(Model()->index(0, DeclarationsModel::kName).data(Qt::FontRole).value<QFont>().italic());
    EXPECT_EQ(Model()->index(0, DeclarationsModel::kName).data(Qt::ToolTipRole).toString(),
              "Not a property browsers know");

    // Every control a screen reader reaches has a name.
    for (QWidget* w : Page()->findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && w->isVisible())
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
}

// Rules inside @media are rows of the rule list like any other; their
// declarations edit in place.
TEST_F(DeclarationsPageTest, ARuleInsideMediaEditsInPlace) {
    WriteText(path, "@media print {\n  h1 { color: red }\n}\nh1 { color: blue }\n");
    ASSERT_TRUE(editor->OpenFile(path));
    int inside = -1;
    for (int i = 0; i < Doc().RuleCount(); ++i)
        if (!Doc().ContextOf(i).empty()) inside = i;
    Select(inside);
    TypeAndLeave(EditCell(0, DeclarationsModel::kValue), "green", Qt::Key_Return);
    Leave(Editor(1, DeclarationsModel::kName), Qt::Key_Escape);
    EXPECT_EQ(Saved(), "@media print {\n  h1 { color: green }\n}\nh1 { color: blue }\n");
}

}  // namespace
}  // namespace larkspur::testing
