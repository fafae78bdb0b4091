#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

struct NewRuleCase {
    const char* typed;
    int kind;
    const char* selector;
};

class NewRuleNames : public EditorTest, public ::testing::WithParamInterface<NewRuleCase> {};

TEST_P(NewRuleNames, PrefixFollowsTheKindAndTheRuleIsListedAtOnce) {
    const NewRuleCase& c = GetParam();
    dialogs.newRules.push_back(NewRuleChoice{c.typed, c.kind});
    editor->OnNewRule();
    ASSERT_EQ(Doc().RuleCount(), 57);
    EXPECT_EQ(Doc().Rules()[56].selector, c.selector);
    EXPECT_EQ(Doc().SelectedIndex(), 56);
    EXPECT_TRUE(Doc().IsChecked(56));
    EXPECT_THAT(CodeLines(), ElementsAre(std::string(c.selector) + " {", "}"));
    ExpectViewsInStep();
}

INSTANTIATE_TEST_SUITE_P(Kinds, NewRuleNames,
                         ::testing::Values(NewRuleCase{"main", 1, ".main"}, NewRuleCase{".main", 1, ".main"},
                                           NewRuleCase{"x", 2, "#x"}, NewRuleCase{"#x", 2, "#x"},
                                           NewRuleCase{"H1", 0, "H1"}, NewRuleCase{"note", -1, "note"},
                                           NewRuleCase{".a", 2, "#.a"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(EditorTest, CancelledRuleDialogsChangeNothing) {
    Declare(2, kColor, "red");
    const auto before = ListingLines();
    editor->OnNewRule();
    editor->OnRenameRule();
    editor->OnCopyRule();
    editor->OnDeleteRule();  // the fake answers No
    EXPECT_EQ(dialogs.Count("NewRule") + dialogs.Count("Rename") + dialogs.Count("CopyTo") +
                  dialogs.Count("YesNo"),
              4);
    EXPECT_EQ(Doc().RuleCount(), 56);
    EXPECT_EQ(ListingLines(), before);
    ExpectViewsInStep();
}

TEST_F(EditorTest, RenameTakesTheNameAsTypedAndFollowsInTheListing) {
    Declare(1, kColor, "red");
    dialogs.renames.push_back("main");
    editor->OnRenameRule();
    EXPECT_EQ(Doc().Rules()[1].selector, "main");
    EXPECT_THAT(CodeLines(), ElementsAre("main {", "color: red;", "}"));
    EXPECT_EQ(dialogs.asked.back(), (AskedQuestion{"Rename", "Rename Tag", ""}));

    Select(3);  // unlisted rule: only the list item changes
    dialogs.renames.push_back(".x");
    editor->OnRenameRule();
    EXPECT_EQ(RuleNames()[3], ".x");
    EXPECT_THAT(CodeLines(), ElementsAre("main {", "color: red;", "}"));
    ExpectViewsInStep();
}

TEST_F(EditorTest, CopyOffersEveryRuleInListOrderAndCopiesIntoTheChosenOne) {
    Declare(5, kColor, "red");
    Declare(2, kFontSize, "12pt");  // listed target, with a declaration of its own
    Select(5);
    dialogs.copyTargets.push_back(2);
    editor->OnCopyRule();
    std::string names;
    for (const StyleRule& rule : Doc().Rules()) names += (names.empty() ? "" : ",") + rule.selector;
    EXPECT_EQ(dialogs.asked.back().text, names);

    const std::string s2 = Doc().Rules()[2].selector, s5 = Doc().Rules()[5].selector;
    EXPECT_EQ(Doc().Rules()[2].properties[kColor].value, "red");
    // The target keeps its name and listing, now showing the copied values.
    EXPECT_THAT(CodeLines(), ElementsAre(s2 + " {", "color: red;", "}", s5 + " {", "color: red;", "}"));
    ExpectViewsInStep();
}

TEST_F(EditorTest, CopyToNothingOrToItselfCopiesNothing) {
    Declare(5, kColor, "red");
    const auto before = ListingLines();
    for (int target : {-1, 5}) {
        SCOPED_TRACE(target);
        dialogs.copyTargets.push_back(target);
        editor->OnCopyRule();
        EXPECT_EQ(ListingLines(), before);
        EXPECT_EQ(Doc().Rules()[4].properties[kColor].value, "");
    }
}

TEST_F(EditorTest, ClearUnlistsTheDeclarationsButKeepsTheRuleListed) {
    Declare(1, kColor, "red");
    Declare(3, kColor, "blue");
    Select(1);
    editor->OnClearRule();
    const std::string s1 = Doc().Rules()[1].selector, s3 = Doc().Rules()[3].selector;
    EXPECT_THAT(CodeLines(), ElementsAre(s1 + " {", "}", s3 + " {", "color: blue;", "}"));
    EXPECT_EQ(Doc().Rules()[1].properties[kColor].value, "");
    EXPECT_TRUE(Doc().Rules()[1].listed);
}

TEST_F(EditorTest, DeletingAListedRuleMovesTheRulesBelowUp) {
    Declare(1, kColor, "red");
    Declare(2, kColor, "green");
    Declare(3, kColor, "blue");
    const std::string s1 = Doc().Rules()[1].selector, s3 = Doc().Rules()[3].selector;
    Select(2);
    dialogs.answers.push_back(Answer::Yes);
    const std::string s2 = Doc().Rules()[2].selector;
    editor->OnDeleteRule();
    EXPECT_EQ(dialogs.asked.back(), (AskedQuestion{"YesNo", "Confirm Delete", "Delete currently selected Tag? " + s2}));
    EXPECT_EQ(dialogs.defaults.back(), Answer::No);
    EXPECT_EQ(Doc().RuleCount(), 55);
    EXPECT_THAT(CodeLines(), ElementsAre(s1 + " {", "color: red;", "}", s3 + " {", "color: blue;", "}"));
    // The rule that took the place is selected, and the listing stays true to
    // the rules when it is edited next.
    EXPECT_EQ(Doc().SelectedIndex(), 2);
    EXPECT_EQ(Doc().Rules()[2].selector, s3);
    Doc().SetValue(Doc().SelectedIndex(), kColor, "navy");
    EXPECT_THAT(CodeLines(), ElementsAre(s1 + " {", "color: red;", "}", s3 + " {", "color: navy;", "}"));
    ExpectViewsInStep();
}

TEST_F(EditorTest, DeletingTheLastAndThenEveryRuleKeepsTheSelectionValid) {
    Select(55);
    dialogs.answers.push_back(Answer::Yes);
    editor->OnDeleteRule();
    EXPECT_EQ(Doc().SelectedIndex(), 54);
    ExpectViewsInStep();

    while (Doc().RuleCount() > 0) {
        dialogs.answers.push_back(Answer::Yes);
        editor->OnDeleteRule();
    }
    EXPECT_EQ(Doc().SelectedIndex(), -1);
    EXPECT_EQ(editor->RuleListBox()->count(), 0);
    EXPECT_FALSE(editor->CommandAction(kCmdDeleteRule)->isEnabled());
    EXPECT_FALSE(editor->PropertySheet()->isEnabled());
    // Rule commands without a rule ask nothing and do nothing.
    dialogs.Clear();
    editor->OnRenameRule();
    editor->OnCopyRule();
    editor->OnClearRule();
    editor->OnDeleteRule();
    EXPECT_TRUE(dialogs.asked.empty());

    dialogs.newRules.push_back(NewRuleChoice{"P", 0});
    editor->OnNewRule();
    EXPECT_EQ(Doc().SelectedIndex(), 0);
    EXPECT_TRUE(editor->CommandAction(kCmdDeleteRule)->isEnabled());
    EXPECT_TRUE(editor->PropertySheet()->isEnabled());
    EXPECT_THAT(CodeLines(), ElementsAre("P {", "}"));
    ExpectViewsInStep();
}

}  // namespace
}  // namespace larkspur::testing
