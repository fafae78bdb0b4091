// New, Copy, Rename, Clear and Delete rule.
#include "editor/editor_dlg.h"
#include "editor/rule_check_list.h"
#include "platform/user_dialogs.h"

namespace larkspur {

void CEditorDlg::OnNewRule() {
    const std::optional<NewRuleChoice> choice = dialogs_.AskNewRule();
    if (!choice) return;
    std::string name = choice->name;
    const char prefix = choice->kind == 1 ? '.' : choice->kind == 2 ? '#' : '\0';
    if (prefix && (name.empty() || name.front() != prefix)) name.insert(name.begin(), prefix);
    history_.Begin(QStringLiteral("New Tag ") + QString::fromStdString(name));
    const int index = doc_.AppendRule(name);
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
    for (const StyleRule& rule : doc_.Rules()) names.push_back(rule.selector);
    const std::optional<int> target = dialogs_.AskCopyTarget(names);
    if (!target || !doc_.IsValidIndex(*target) || *target == from) return;
    history_.Begin(QStringLiteral("Copy %1 to %2").arg(RuleName(from), RuleName(*target)));
    doc_.CopyRuleValues(from, *target);
    history_.End();
}

void CEditorDlg::OnRenameRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    const std::optional<std::string> name = dialogs_.AskRenameRule();
    if (!name) return;
    history_.Begin(QStringLiteral("Rename ") + RuleName(index));
    doc_.RenameRule(index, *name);
    history_.End();
}

void CEditorDlg::OnClearRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    history_.Begin(QStringLiteral("Clear ") + RuleName(index));
    doc_.ClearRule(index);
    LoadPages();
    history_.End();
}

void CEditorDlg::OnDeleteRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    if (dialogs_.AskYesNo("Delete currently selected Tag?", "Confirm Delete") != Answer::Yes) return;
    history_.Begin(QStringLiteral("Delete ") + RuleName(index));
    doc_.RemoveRule(index);
    ShowRuleAfterRemoval();
    history_.End();
}

}  // namespace larkspur
