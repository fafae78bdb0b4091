// New, Copy, Rename, Clear and Delete rule.
#include "css/file_kinds.h"
#include "editor/editor_dlg.h"
#include "editor/rule_check_list.h"
#include "platform/user_dialogs.h"

namespace larkspur {

namespace {

// Asks until the answer names a valid rule or the user cancels. The dialogs
// refuse such names themselves; this keeps any other answer out of the sheet.
template <typename Ask, typename Selector>
std::optional<std::string> AskRuleName(UserDialogs& dialogs, Ask ask, Selector selector) {
    while (auto answer = ask()) {
        std::string name = selector(*answer);
        const std::string problem = RuleNameProblem(name);
        if (problem.empty()) return name;
        dialogs.ShowMessage(problem, CEditorDlg::kTitle);
    }
    return std::nullopt;
}

}  // namespace

void CEditorDlg::OnNewRule() {
    const int selected = doc_.SelectedIndex();
    const std::string context = doc_.IsValidIndex(selected) ? doc_.ContextOf(selected) : std::string();
    bool inside = false;
    const std::optional<std::string> name = AskRuleName(
        dialogs_, [&] { return dialogs_.AskNewRule(context); },
        [&](const NewRuleChoice& choice) {
            inside = choice.inside && !context.empty();
            return NewRuleSelector(choice.name, choice.kind);
        });
    if (!name) return;
    history_.Begin(QStringLiteral("New Tag ") + QString::fromStdString(*name));
    const int index = inside ? doc_.AppendRuleAfter(selected, *name) : doc_.AppendRule(*name);
    doc_.SetChecked(index, true);
    RuleCheckChanged(index, true);
    ruleList_->setCurrentRow(index);  // runs SelectRule, which lists the new rule
    history_.End();
}

void CEditorDlg::OnCopyRule() {
    const int from = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(from)) return;
    // The page state is copied too, so it must be the one the pages show now.
    StorePages();
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(doc_.RuleCount()));
    // As the rule list names them: a selector may stand in several blocks.
    for (int i = 0; i < doc_.RuleCount(); ++i) names.push_back(labels_.Label(doc_, i));
    const std::optional<int> target = dialogs_.AskCopyTarget(names);
    if (!target || !doc_.IsValidIndex(*target) || *target == from) return;
    history_.Begin(QStringLiteral("Copy %1 to %2").arg(RuleName(from), RuleName(*target)));
    doc_.CopyRuleValues(from, *target);
    history_.End();
    FollowInCode(*target);
}

void CEditorDlg::OnRenameRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    const std::optional<std::string> name =
        AskRuleName(dialogs_, [this] { return dialogs_.AskRenameRule(); }, [](const std::string& typed) { return typed; });
    if (!name) return;
    history_.Begin(QStringLiteral("Rename ") + RuleName(index));
    doc_.RenameRule(index, *name);
    history_.End();
    FollowInCode(index);
}

void CEditorDlg::OnClearRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    history_.Begin(QStringLiteral("Clear ") + RuleName(index));
    doc_.ClearRule(index);
    LoadPages();
    history_.End();
    FollowInCode(index);
}

void CEditorDlg::OnDeleteRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    if (dialogs_.AskYesNo("Delete currently selected Tag? " + doc_.Rule(index).selector, "Confirm Delete",
                          Answer::No) != Answer::Yes)
        return;
    history_.Begin(QStringLiteral("Delete ") + RuleName(index));
    doc_.RemoveRule(index);
    ShowRuleAfterRemoval();
    history_.End();
}

}  // namespace larkspur
