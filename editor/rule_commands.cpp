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
    const int index = doc_.AppendRule(name);
    doc_.SetChecked(index, true);
    RuleCheckChanged(index, true);
    ruleList_->setCurrentRow(index);  // runs SelectRule, which lists the new rule
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
    doc_.CopyRuleValues(from, *target);
}

void CEditorDlg::OnRenameRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    const std::optional<std::string> name = dialogs_.AskRenameRule();
    if (!name) return;
    doc_.RenameRule(index, *name);
}

void CEditorDlg::OnClearRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    doc_.ClearRule(index);
    LoadPages();
}

void CEditorDlg::OnDeleteRule() {
    const int index = doc_.SelectedIndex();
    if (!doc_.IsValidIndex(index)) return;
    if (dialogs_.AskYesNo("Delete currently selected Tag?", "Confirm Delete") != Answer::Yes) return;
    doc_.RemoveRule(index);
    ShowRuleAfterRemoval();
}

}  // namespace larkspur
