// What assistive tools see of the main window's self-drawn toolbar.
#include <QAccessible>
#include <QAction>
#include <QKeyEvent>

#include "controls/flat_toolbar.h"
#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class ToolbarAccessibility : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        bar = qobject_cast<CToolBarEx*>(editor->Toolbar());
        ASSERT_NE(bar, nullptr);
        iface = QAccessible::queryAccessibleInterface(bar);
        ASSERT_NE(iface, nullptr);
        // Events the bar raised, as "Focus 3" or "State 7".
        bar->SetAccessibleEventTap([this](QAccessibleEvent* event) {
            const char* kind = event->type() == QAccessible::Focus          ? "Focus "
                               : event->type() == QAccessible::StateChanged ? "State "
                                                                            : "Other ";
            events.push_back(kind + std::to_string(event->child()));
        });
    }

    QAccessibleInterface* Child(const char* name) const {
        for (int i = 0; i < iface->childCount(); ++i)
            if (iface->child(i)->text(QAccessible::Name) == QLatin1String(name)) return iface->child(i);
        ADD_FAILURE() << "no button " << name;
        return nullptr;
    }
    static void Press(QAccessibleInterface* button) {
        ASSERT_NE(button->actionInterface(), nullptr);
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    // "name" for an enabled button, "(name)" for a disabled one.
    std::vector<std::string> Buttons() const {
        std::vector<std::string> out;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            if (child->role() != QAccessible::Button) continue;
            const std::string name = child->text(QAccessible::Name).toStdString();
            out.push_back(child->state().disabled ? "(" + name + ")" : name);
        }
        return out;
    }

    CToolBarEx* bar = nullptr;
    QAccessibleInterface* iface = nullptr;
    std::vector<std::string> events;
};

TEST_F(ToolbarAccessibility, EveryEntryIsAChildNamedByItsToolTipInBarOrder) {
    editor->show();
    EXPECT_EQ(iface->role(), QAccessible::ToolBar);
    std::vector<std::string> expected;
    for (const EditorCommand& command : EditorCommands())
        if (command.id == kCmdSeparator || command.OnToolbar())
            expected.push_back(command.id == kCmdSeparator ? "|" : command.toolTip);

    std::vector<std::string> seen;
    const QRect barRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    ASSERT_EQ(iface->childCount(), 17);
    for (int i = 0; i < iface->childCount(); ++i) {
        SCOPED_TRACE(i);
        QAccessibleInterface* child = iface->child(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(iface->child(i), child);  // the same object every time
        EXPECT_EQ(child->parent(), iface);
        EXPECT_EQ(iface->indexOfChild(child), i);
        const bool separator = child->role() == QAccessible::Separator;
        seen.push_back(separator ? "|" : child->text(QAccessible::Name).toStdString());
        if (separator) {
            EXPECT_EQ(child->actionInterface(), nullptr);
            continue;
        }
        EXPECT_EQ(child->role(), QAccessible::Button);
        EXPECT_EQ(child->text(QAccessible::Name), bar->ButtonAction(i)->toolTip());
        // Where a pointer at the button's middle lands, in screen coordinates.
        const QRect r = child->rect();
        EXPECT_EQ(r.size(), bar->ButtonRect(i).size());
        EXPECT_TRUE(barRect.contains(r));
        EXPECT_EQ(iface->childAt(r.center().x(), r.center().y()), child);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(iface->child(17), nullptr);
    EXPECT_EQ(Child("Save")->text(QAccessible::Accelerator), QKeySequence(QStringLiteral("Ctrl+S")).toString(QKeySequence::NativeText));
    EXPECT_EQ(Child("Help")->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList{QKeySequence(Qt::Key_F1).toString(QKeySequence::NativeText)});
}

TEST_F(ToolbarAccessibility, DisabledStateFollowsTheActionsAndIsAnnounced) {
    ASSERT_NE(Doc().SelectedRule(), nullptr);
    auto disabledCount = [&] {
        const std::vector<std::string> names = Buttons();
        return std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == '('; });
    };
    EXPECT_EQ(disabledCount(), 0);
    Select(-1);
    ASSERT_EQ(Doc().SelectedRule(), nullptr);
    EXPECT_THAT(events, ElementsAre("State 7", "State 8", "State 9", "State 10"));
    EXPECT_THAT(Buttons(), ElementsAre("New Style Sheet", "Open an existing style sheet", "Save", "Save As",
                                       "Saves the current style into more than one page", "Create a new tag or class",
                                       "(Copies the currently selected tag)", "(Renames the currently selected tag)",
                                       "(Clears the currently selected tag)", "(Deletes the currently selected tag)",
                                       "Load a page into the editor and preview",
                                       "Refreshes the currently previewed page", "Changes the page in the preview",
                                       "Help"));
    QAccessibleInterface* remove = Child("Deletes the currently selected tag");
    EXPECT_TRUE(remove->actionInterface()->actionNames().isEmpty());
    // Pressing a disabled button does nothing, now or later.
    const int rules = Doc().RuleCount();
    Press(remove);
    QCoreApplication::processEvents();
    EXPECT_EQ(Doc().RuleCount(), rules);

    events.clear();
    Select(0);
    EXPECT_THAT(events, ElementsAre("State 7", "State 8", "State 9", "State 10"));
    EXPECT_FALSE(remove->state().disabled);
    EXPECT_THAT(remove->actionInterface()->actionNames(), ElementsAre(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(disabledCount(), 0);

    // The whole bar disabled disables every button.
    bar->setEnabled(false);
    EXPECT_EQ(disabledCount(), 14);
}

TEST_F(ToolbarAccessibility, PressRunsTheCommandOnceTheRequestHasReturned) {
    // A changed sheet: New asks first, and "No" lets it reset.
    Declare(1, kColor, "red");
    ASSERT_FALSE(CodeLines().empty());
    dialogs.Clear();
    dialogs.answers.push_back(Answer::No);
    Press(Child("New Style Sheet"));
    EXPECT_TRUE(dialogs.asked.empty());  // not inside the request
    QCoreApplication::processEvents();
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("YesNoCancel: Save Changes: Do you want to save your changes"));
    EXPECT_TRUE(CodeLines().empty());
    EXPECT_FALSE(Doc().Modified());

    dialogs.Clear();
    Press(Child("Open an existing style sheet"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.Count("OpenFile"), 1);

    // Disabled between the press and its turn: nothing runs.
    dialogs.Clear();
    Press(Child("Save As"));
    editor->CommandAction(kCmdSaveAs)->setEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.asked.empty());

    // Names other than press are refused.
    editor->CommandAction(kCmdSaveAs)->setEnabled(true);
    Child("Save As")->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ToolbarAccessibility, KeyboardFocusIsReportedButtonByButton) {
    editor->show();
    QApplication::setActiveWindow(editor.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    Select(-1);  // the rule buttons go out of use
    events.clear();
    auto focused = [&] {
        std::vector<int> out;
        for (int i = 0; i < iface->childCount(); ++i)
            if (iface->child(i)->state().focused) out.push_back(i);
        return out;
    };
    EXPECT_TRUE(focused().empty());
    EXPECT_EQ(iface->focusChild(), nullptr);

    bar->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(bar->hasFocus());
    EXPECT_THAT(focused(), ElementsAre(0));
    EXPECT_EQ(iface->focusChild(), iface->child(0));
    // The window reports the bar after the focus event; the button has to
    // come later still, so it is what is heard.
    EXPECT_TRUE(events.empty());
    QCoreApplication::processEvents();
    EXPECT_THAT(events, ElementsAre("Focus 0"));

    auto keys = [&](std::initializer_list<int> list) {
        events.clear();
        for (int k : list) {
            QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
            QCoreApplication::sendEvent(bar, &e);
        }
        return events;
    };
    EXPECT_THAT(keys({Qt::Key_Right, Qt::Key_End, Qt::Key_Left, Qt::Key_Left}),
                ElementsAre("Focus 1", "Focus 16", "Focus 14", "Focus 13"));  // over a separator
    EXPECT_THAT(focused(), ElementsAre(13));
    EXPECT_EQ(iface->focusChild(), iface->child(13));
    // The disabled rule buttons are passed over, with no event for them.
    EXPECT_THAT(keys({Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                      Qt::Key_Right}),
                ElementsAreArray({"Focus 0", "Focus 1", "Focus 2", "Focus 3", "Focus 4", "Focus 6", "Focus 12"}));
    EXPECT_THAT(keys({Qt::Key_Right, Qt::Key_Left}), ElementsAre("Focus 13", "Focus 12"));
    EXPECT_THAT(focused(), ElementsAre(12));

    // Focus leaving the bar leaves no button focused; coming back reports it.
    editor->RuleListBox()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(focused().empty());
    EXPECT_EQ(iface->focusChild(), nullptr);
    events.clear();
    bar->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_THAT(focused(), ElementsAre(12));
    EXPECT_THAT(events, ElementsAre("Focus 12"));
}

}  // namespace
}  // namespace larkspur::testing
