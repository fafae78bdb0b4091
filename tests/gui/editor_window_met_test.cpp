// The window as a person meets it: messages, check marks, the rule list,
// menus and help, what screen readers are told, rule names, the title.
#include <QAccessible>
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <set>

#include "app/tip_dialog.h"
#include "controls/info_dlg.h"
#include "controls/new_rule_dlg.h"
#include "controls/rename_rule_dlg.h"
#include "controls/rule_name_note.h"
#include "editor/help_window.h"
#include "editor_fixture.h"
#include "pages/preview_page.h"
#include "pages/property_page.h"
#include "platform/qt_user_dialogs.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

QString AccessibleName(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// ---- 1. text from the program or the user is never read as markup ----

TEST(PlainText, MessageBoxesAndLabelsShowTextAsItIs) {
    const std::string text = "Invalid Style Sheet: No <STYLE> tag in R&D <b>notes</b>.html";
    QtUserDialogs dialogs;
    std::vector<std::pair<Qt::TextFormat, QString>> seen;
    auto readAndClose = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen.emplace_back(box->textFormat(), box->text());
            box->reject();
        });
    };
    readAndClose();
    dialogs.ShowMessage(text, "Larkspur");
    readAndClose();
    dialogs.AskYesNo(text, "Larkspur", Answer::Yes);
    readAndClose();
    dialogs.AskYesNoCancel(text, "Larkspur", Answer::Cancel);
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [format, shown] : seen) {
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(shown.toStdString(), text);
    }

    // Labels that show help texts, tips, notes and refusals.
    FakeDialogs fake;
    FakeSettings settings;
    CInfoDlg info;
    CPreviewPage preview(FailingBrowserFactory(), fake, nullptr);
    CTipDlg tip(settings, fake, "");
    CRuleNameNote note;
    const QLabel* labels[] = {info.Label(), preview.MissingNote(), &note, tip.findChild<QLabel*>("tipHeading")};
    for (const QLabel* label : labels) {
        ASSERT_NE(label, nullptr);
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
}

// ---- 2. check marks ----

TEST_F(EditorTest, SaveNeverWritesAnUncheckedRule) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("sheet.css").toStdString();
    Declare(2, kColor, "red");
    Declare(5, kColor, "blue");
    Check(5, false);  // the selected rule, unticked
    Check(2, false);  // another rule, unticked
    Check(2, true);   // and ticked again: back with its declaration
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    editor->OnSave();
    const std::string saved = ReadText(path);
    EXPECT_NE(saved.find(Doc().Rules()[2].selector), std::string::npos) << saved;
    EXPECT_NE(saved.find("color: red;"), std::string::npos);
    EXPECT_EQ(saved.find(Doc().Rules()[5].selector), std::string::npos);
    EXPECT_EQ(saved.find("blue"), std::string::npos);
    ExpectViewsInStep();
}

// ---- 3. the rule list ----

TEST_F(EditorTest, RuleListShowsEachSelectorOnOneLineWithTheWholeAsTip) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("grouped.css").toStdString();
    WriteText(path, "H1,\r\n  H2\t.intro {\r\ncolor: red;\r\n}\r\n");
    ASSERT_TRUE(editor->OpenFile(path));
    const int row = Doc().FindRule(Doc().Rules().back().selector);
    CRuleCheckList* list = editor->RuleListBox();
    EXPECT_EQ(list->Text(row), "H1, H2 .intro");
    EXPECT_EQ(list->ToolTip(row).toStdString(), Doc().Rules()[row].selector);
    Doc().RenameRule(row, "UL\r\n LI");
    EXPECT_EQ(list->Text(row), "UL LI");
    EXPECT_EQ(list->ToolTip(row), "UL\r\n LI");
}

TEST_F(EditorTest, RuleListFitsTheTagsCanBeWidenedAndKeepsItsWidth) {
    editor->resize(1200, 700);
    editor->show();
    QApplication::processEvents();
    CRuleCheckList* list = editor->RuleListBox();
    // At the default width no built-in tag is cut.
    for (int row = 0; row < 56; ++row) {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->RuleRect(row);
        option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = list->Text(row);
        const QRect text = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, list);
        EXPECT_GE(text.width(), list->fontMetrics().horizontalAdvance(option.text)) << option.text.toStdString();
    }
    QSplitter* splitter = editor->Splitter();
    ASSERT_EQ(splitter->widget(0), list->parentWidget());
    EXPECT_FALSE(splitter->childrenCollapsible());
    const int before = list->width();
    // As a drag of the bar does.
    splitter->setSizes({before + 150, splitter->sizes()[1] - 150});
    emit splitter->splitterMoved(before + 150, 1);
    EXPECT_EQ(list->width(), before + 150);
    editor->close();
    EXPECT_EQ(settings.ints["Settings/RuleListWidth"], before + 150);

    MakeEditor();
    editor->resize(1200, 700);
    editor->show();
    QApplication::processEvents();
    EXPECT_EQ(editor->RuleListBox()->width(), before + 150);
    editor->hide();
}

// ---- 4. menus and help ----

TEST_F(EditorTest, MenusHoldEveryCommandOfTheTableWithItsKeys) {
    QMenuBar* bar = editor->MenuBar();
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Help"}));

    std::set<QAction*> inMenus;
    for (QAction* top : bar->actions())
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator()) { EXPECT_TRUE(inMenus.insert(a).second) << a->text().toStdString(); }
    for (const EditorCommand& command : EditorCommands()) {
        if (command.id == kCmdSeparator) continue;
        SCOPED_TRACE(command.toolTip);
        QAction* action = editor->CommandAction(command.id);
        EXPECT_TRUE(inMenus.count(action));
        EXPECT_TRUE(editor->Menu(command.menu)->actions().contains(action));
        if (*command.keys)
            EXPECT_EQ(action->shortcuts(), QKeySequence::listFromString(QString::fromLatin1(command.keys)));
        else
            EXPECT_TRUE(action->shortcuts().isEmpty());
        EXPECT_EQ(action->icon().isNull(), !command.OnToolbar());
    }
    // Reached from the keyboard as well as from the context menu.
    for (int id : {kCmdCopyToClipboard, kCmdInfo}) EXPECT_FALSE(editor->CommandAction(id)->shortcut().isEmpty());
    QStringList edit;
    for (QAction* a : editor->Menu(EditorMenu::kEdit)->actions()) edit << (a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(edit, QStringList({"New &Tag or Class...", "&Copy Tag To...", "&Rename Tag...", "C&lear Tag",
                                 "&Delete Tag", "|", "&Undo", "&Redo", "Copy to Clip&board"}));
    QStringList file;
    for (QAction* a : editor->Menu(EditorMenu::kFile)->actions()) file << (a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(file, QStringList({"&New", "&Open...", "Open &Recent", "&Save", "Save &As...", "Save into &Pages...",
                                 "|", "&Quit"}));
}

TEST_F(EditorTest, HelpShowsTheQuickStartPageInAWindowOfItsOwn) {
    desktop.openSucceeds = false;  // no desktop handler for HTML files
    auto* toolbar = editor->Toolbar();
    ASSERT_TRUE(toolbar->actions().contains(editor->CommandAction(kCmdHelp)));  // the same command
    editor->CommandAction(kCmdHelp)->trigger();
    auto* help = qobject_cast<CHelpWindow*>(editor->HelpWindow());
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->Browser()->toPlainText().contains("Larkspur"));
    // It names each page as its tab does.
    for (QTabWidget* sheet : {editor->PropertySheet(), editor->ViewSheet()})
        for (int i = 0; i < sheet->count(); ++i)
            EXPECT_TRUE(help->Browser()->toPlainText().contains(sheet->tabText(i))) << sheet->tabText(i).toStdString();
    EXPECT_TRUE(help->Browser()->source().toString().endsWith("qstart.html"));
    editor->CommandAction(kCmdHelp)->trigger();  // one window, raised again
    EXPECT_EQ(editor->HelpWindow(), help);
    EXPECT_EQ(editor->findChildren<CHelpWindow*>().size(), 1);
    EXPECT_TRUE(dialogs.asked.empty());
    help->close();
}

// ---- 5. what screen readers are told ----

TEST_F(EditorTest, ScreenReadersGetTheInfoTextRadioPropertiesFramesAndTipHeading) {
    editor->CommandAction(kCmdInfo)->trigger();
    ASSERT_NE(editor->InfoWindow(), nullptr);
    editor->InfoWindow()->SetText("Line Height - the distance between lines");
    EXPECT_EQ(AccessibleName(editor->InfoWindow()->Label()), "Line Height - the distance between lines");

    QStringList radios;
    for (CPropertyPage* page : editor->Pages()) {
        for (QRadioButton* radio : page->findChildren<QRadioButton*>()) {
            const QString name = AccessibleName(radio);
            radios << name;
            // The property comes first, then the button's own words.
            EXPECT_TRUE(name.endsWith(QLatin1Char(' ') + radio->text().remove(QLatin1Char('&'))))
                << name.toStdString();
        }
        for (QGroupBox* box : page->findChildren<QGroupBox*>())
            EXPECT_FALSE(AccessibleName(box).isEmpty()) << page->Caption().toStdString();
    }
    EXPECT_TRUE(radios.contains("Line Height Number"));
    EXPECT_TRUE(radios.contains("Line Height Value"));
    EXPECT_TRUE(radios.contains("Vertical Align Percentage")) << radios.join(", ").toStdString();

    FakeSettings tipSettings;
    CTipDlg tip(tipSettings, dialogs, "");
    tip.show();
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&tip);
    QStringList texts;
    std::vector<QAccessibleInterface*> todo{root};
    while (!todo.empty()) {
        QAccessibleInterface* at = todo.back();
        todo.pop_back();
        if (at->role() == QAccessible::StaticText) texts << at->text(QAccessible::Name);
        for (int i = 0; i < at->childCount(); ++i) todo.push_back(at->child(i));
    }
    EXPECT_TRUE(texts.contains(QString::fromLatin1(CTipDlg::kHeading))) << texts.join("|").toStdString();
}

// ---- 6. rule names ----

TEST_F(EditorTest, NewRuleAndRenameRefuseNamesThatWouldBreakTheSheet) {
    // Scripted answers: a refused name is explained and the question asked again.
    dialogs.newRules = {NewRuleChoice{"", 1}, NewRuleChoice{"a{b", 0}, NewRuleChoice{"note", 1}};
    editor->OnNewRule();
    EXPECT_EQ(dialogs.Count("NewRule"), 3);
    EXPECT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(RuleNames().back(), ".note");
    dialogs.Clear();
    dialogs.renames = {std::string("x;y"), std::nullopt};
    editor->OnRenameRule();
    EXPECT_EQ(dialogs.Count("Rename"), 2);
    EXPECT_EQ(RuleNames().back(), ".note");
    EXPECT_EQ(Doc().RuleCount(), 57);
    ExpectViewsInStep();

    // The real dialogs stay open and say why.
    struct Case {
        const char* name;
        int kind;
        bool accepted;
    };
    const Case cases[] = {{"", 0, false}, {"", 1, false}, {"  ", 0, false}, {"p}", 0, false},
                          {"a;b", 2, false}, {"note", 1, true}, {"UL LI", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNewRuleDlg added;
        added.NameEdit()->setText(QString::fromLatin1(c.name));
        if (c.kind >= 0) added.KindGroup()->button(c.kind)->click();
        added.accept();
        EXPECT_EQ(added.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(added.Note()->isVisibleTo(&added), !c.accepted);
        EXPECT_EQ(added.Note()->text().isEmpty(), c.accepted);
        CRenameRuleDlg renamed;
        renamed.NameEdit()->setText(QString::fromLatin1(c.name));
        renamed.accept();
        EXPECT_EQ(renamed.result() == QDialog::Accepted, c.accepted);
    }
}

// ---- 8. title, size, sample page ----

TEST_F(EditorTest, TitleNamesTheFileAndMarksChanges) {
    EXPECT_EQ(editor->windowTitle(), "Larkspur[*]");
    EXPECT_FALSE(editor->isWindowModified());
    Declare(1, kColor, "red");
    EXPECT_TRUE(editor->isWindowModified());
    QTemporaryDir dir;
    const std::string path = dir.filePath("a&b <site>.css").toStdString();
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    editor->OnSave();
    EXPECT_EQ(editor->windowTitle(), "a&b <site>.css[*] - Larkspur");
    EXPECT_FALSE(editor->isWindowModified());
    Check(4);
    EXPECT_TRUE(editor->isWindowModified());
    dialogs.answers.push_back(Answer::No);
    editor->OnNewSheet();
    EXPECT_EQ(editor->windowTitle(), "Larkspur[*]");
    EXPECT_FALSE(editor->isWindowModified());
    EXPECT_TRUE(editor->OpenFile(path));
    EXPECT_EQ(editor->windowTitle(), "a&b <site>.css[*] - Larkspur");
}

TEST_F(EditorTest, AtItsSmallestThePartsOfTheWindowDoNotOverlap) {
    editor->show();
    editor->resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(editor->width(), editor->minimumWidth());
    auto place = [this](QWidget* w) { return QRect(w->mapTo(editor.get(), QPoint(0, 0)), w->size()); };
    const QRect rules = place(editor->RuleListBox());
    const QRect properties = place(editor->PropertySheet());
    const QRect view = place(editor->ViewSheet());
    const QRect status = place(editor->StatusBar());
    EXPECT_FALSE(rules.intersects(properties));
    EXPECT_FALSE(properties.intersects(view))
        << properties.x() << "+" << properties.width() << " view " << view.x() << "+" << view.width() << " window "
        << editor->width() << " min " << editor->minimumWidth() << " area " << editor->Splitter()->widget(1)->width()
        << " areamin " << editor->Splitter()->widget(1)->minimumSizeHint().width() << " list " << rules.width();
    EXPECT_FALSE(view.intersects(status));
    EXPECT_TRUE(editor->rect().contains(view));
    EXPECT_GE(view.width(), editor->ViewSheet()->minimumWidth());
    editor->hide();
}

TEST(SamplePage, DirectionsNameThePageThatHoldsBackgroundColour) {
    std::string root = LARKSPUR_TEST_DATA;
    root.erase(root.rfind("/tests/"));
    const std::string page = ReadText(root + "/res/sample/index.html");
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page.find("on the Background page"), std::string::npos);
    EXPECT_NE(page.find("background colour on the Font page"), std::string::npos);
}

}  // namespace
}  // namespace larkspur::testing
