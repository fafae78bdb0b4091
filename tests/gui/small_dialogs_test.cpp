#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTimer>
#include <QApplication>

#include "controls/copy_to_dlg.h"
#include "controls/info_dlg.h"
#include "controls/new_rule_dlg.h"
#include "controls/page_changes_dlg.h"
#include "controls/rename_rule_dlg.h"
#include "controls/save_as_dlg.h"
#include "platform/qt_user_dialogs.h"

namespace larkspur {
namespace {

QStringList ButtonTexts(const QButtonGroup* group) {
    QStringList texts;
    for (int id = 0; group->button(id); ++id) texts << group->button(id)->text();
    return texts;
}

TEST(SmallDialogs, NewRuleOpensEmptyWithNoKindAndHandsBackWhatWasEntered) {
    CNewRuleDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add New Tag/Class");
    EXPECT_EQ(ButtonTexts(dialog.KindGroup()), (QStringList{"Tag", "Class", "ID"}));
    EXPECT_EQ(dialog.Name(), "");
    EXPECT_EQ(dialog.Kind(), -1);
    EXPECT_EQ(dialog.NameEdit()->accessibleName(), "Name");
    QTest::keyClicks(dialog.NameEdit(), "note");
    dialog.KindGroup()->button(2)->click();
    EXPECT_EQ(dialog.Name(), "note");
    EXPECT_EQ(dialog.Kind(), 2);
}

TEST(SmallDialogs, PageChangesListEveryPageAndSaveOnlyWhenOneChanges) {
    const std::vector<PageChangeRow> rows = {{"/site/a.html", PageChange::kChanged, "+9 -1 lines"},
                                             {"/site/b.html", PageChange::kUnchanged, ""},
                                             {"/site/c.html", PageChange::kCannotWrite, "Cannot open \"/site/c.html\""}};
    CPageChangesDlg dialog(rows);
    EXPECT_EQ(dialog.windowTitle(), "Save into several pages");
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 3);
    const char* const changes[] = {"Changed", "Unchanged", "Cannot write"};
    for (int i = 0; i < 3; ++i) {
        const QTreeWidgetItem* item = dialog.List()->topLevelItem(i);
        EXPECT_EQ(item->text(0).toStdString(), rows[static_cast<std::size_t>(i)].path);
        EXPECT_EQ(item->text(1), changes[i]);
        EXPECT_EQ(item->text(2).toStdString(), rows[static_cast<std::size_t>(i)].detail);
    }
    EXPECT_TRUE(dialog.Summary()->text().startsWith("1 will change, 1 unchanged, 1 cannot be written."));
    EXPECT_TRUE(dialog.SaveButton()->isEnabled());
    CPageChangesDlg nothing({rows[1], rows[2]});
    EXPECT_FALSE(nothing.SaveButton()->isEnabled());
}

TEST(SmallDialogs, RenameOpensEmpty) {
    CRenameRuleDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Rename Tag");
    EXPECT_EQ(dialog.Name(), "");
    EXPECT_EQ(dialog.NameEdit()->accessibleName(), "Tag Name");
}

TEST(SmallDialogs, CopyToListsInOrderAndReturnsTheChosenIndexOrNone) {
    const QStringList names{"BODY", "A", ".note", "#main"};
    {
        CCopyToDlg dialog(names);
        EXPECT_EQ(dialog.windowTitle(), "Copy To");
        ASSERT_EQ(dialog.List()->count(), 4);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog.List()->item(i)->text(), names[i]);
        EXPECT_EQ(dialog.List()->selectionMode(), QAbstractItemView::SingleSelection);
        dialog.accept();
        EXPECT_EQ(dialog.Selection(), -1);
    }
    {
        CCopyToDlg dialog(names);
        dialog.List()->setCurrentRow(2);
        dialog.accept();
        EXPECT_EQ(dialog.Selection(), 2);
    }
}

TEST(SmallDialogs, SaveAsOpensWithHtmlPageChecked) {
    CSaveAsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Save as");
    EXPECT_EQ(ButtonTexts(dialog.Group()), (QStringList{"HTML Page", "CSS File"}));
    EXPECT_EQ(dialog.Choice(), 0);
    dialog.Group()->button(1)->click();
    EXPECT_EQ(dialog.Choice(), 1);
    dialog.SetChoice(-1);
    EXPECT_EQ(dialog.Choice(), -1);
}

TEST(SmallDialogs, InfoShowsWrappedPlainTextBlackOnPaleYellow) {
    CInfoDlg info;
    EXPECT_EQ(info.windowTitle(), "Info");
    EXPECT_FALSE(info.isModal());
    QLabel* label = info.Label();
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 255, 128));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    info.show();
    info.SetText(QString("Letter Spacing - the space between letters ").repeated(6));
    EXPECT_LE(label->width(), info.width());
    const QImage shot = label->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 2, shot.height() - 2)), QColor(255, 255, 128));
}

// The Qt dialogs behind the interface, answered by a timer once they are up.
TEST(QtUserDialogsTest, AnswersComeBackThroughTheInterface) {
    QtUserDialogs dialogs;
    auto answer = [](auto&& act) {
        QTimer::singleShot(0, [act] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            act(modal);
        });
    };
    answer([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Save as");
        modal->findChild<QButtonGroup*>()->button(1)->click();
        static_cast<QDialog*>(modal)->accept();
    });
    EXPECT_EQ(dialogs.AskSaveAsKind(), 1);

    answer([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Confirm Delete");
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Yes)->click();
    });
    EXPECT_EQ(dialogs.AskYesNo("Delete currently selected Tag?", "Confirm Delete", Answer::No), Answer::Yes);

    // Enter presses the default button the question names.
    for (Answer byDefault : {Answer::No, Answer::Cancel, Answer::Yes}) {
        answer([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
        EXPECT_EQ(dialogs.AskYesNoCancel("Do you want to save your changes", "Save Changes", byDefault), byDefault);
    }

    answer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(dialogs.AskNewRule(""), std::nullopt);

    // Named buttons: Enter presses the default, Escape the last, a click its own.
    const std::vector<std::string> choices{"&Restore", "&Discard", "&Later"};
    struct Press {
        std::function<void(QWidget*)> act;
        int expected;
    };
    for (const Press& press : {Press{[](QWidget* m) { QTest::keyClick(m, Qt::Key_Return); }, 1},
                               Press{[](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); }, 2},
                               Press{[](QWidget* m) {
                                         for (QPushButton* b : m->findChildren<QPushButton*>())
                                             if (b->text() == "&Restore") b->click();
                                     },
                                     0}}) {
        answer([act = press.act](QWidget* modal) {
            EXPECT_EQ(modal->windowTitle(), "Recover Changes");
            act(modal);
        });
        EXPECT_EQ(dialogs.AskChoice("Restore it?", "Recover Changes", choices, 1), press.expected);
    }

    // A text to read: whole, not editable, closed by its button.
    answer([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Difference");
        auto* view = modal->findChild<QPlainTextEdit*>();
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->isReadOnly());
        EXPECT_EQ(view->toPlainText(), "--- a.css\n+++ a.css\n<b>&amp;</b>");
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
    });
    dialogs.ShowText("--- a.css\n+++ a.css\n<b>&amp;</b>", "Difference");
}

struct FilterCase {
    const char* classic;
    const char* qt;
};

class FilterTranslation : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTranslation, ClassicFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFilterFromClassic(GetParam().classic).toStdString(), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterTranslation,
    ::testing::Values(
        FilterCase{"Web Pages, Style Sheets | *.html; *.htm; *.css|All Files | *.*||",
                   "Web Pages, Style Sheets (*.html *.htm *.css);;All Files (*)"},
        FilterCase{"Style Sheets | *.css||", "Style Sheets (*.css)"},
        FilterCase{"Web Pages| *.html; *.htm||", "Web Pages (*.html *.htm)"},
        FilterCase{"Web Pages | *.html; *.htm; *.htm ||", "Web Pages (*.html *.htm)"},
        FilterCase{"Web Pages | *.html; *.htm|All Files | *.*||", "Web Pages (*.html *.htm);;All Files (*)"}),
    [](const auto& info) { return "Filter" + std::to_string(info.index); });

}  // namespace
}  // namespace larkspur
