#include "editor/rule_list_model.h"

#include <algorithm>

namespace larkspur {

int RuleListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return Filtered() ? static_cast<int>(shown_.size()) : RuleCount();
}

QVariant RuleListModel::data(const QModelIndex& index, int role) const {
    const int rule = RuleAt(index.row());
    if (rule < 0) return {};
    const Rule& r = At(rule);
    switch (role) {
    case Qt::DisplayRole: return r.label;
    case Qt::ToolTipRole: return ToolTipOf(rule);
    case Qt::CheckStateRole: return r.checked ? Qt::Checked : Qt::Unchecked;
    default: return {};
    }
}

Qt::ItemFlags RuleListModel::flags(const QModelIndex& index) const {
    // Not user-checkable for the view: the list toggles marks itself, so the
    // mark changes before the selection does.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int RuleListModel::RowOf(int rule) const {
    if (rule < 0 || rule >= RuleCount()) return -1;
    if (!Filtered()) return rule;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), rule);
    return at != shown_.end() && *at == rule ? static_cast<int>(at - shown_.begin()) : -1;
}

int RuleListModel::RuleAt(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    return Filtered() ? shown_[static_cast<size_t>(row)] : row;
}

void RuleListModel::SetRules(std::vector<Rule> rules) {
    beginResetModel();
    rules_ = std::move(rules);
    Refilter();
    endResetModel();
}

void RuleListModel::Refilter() {
    shown_.clear();
    if (!Filtered()) return;
    for (int i = 0; i < RuleCount(); ++i)
        if (Matches(i, At(i))) shown_.push_back(i);
}

void RuleListModel::SetFilter(const QString& filter) {
    if (filter == filter_) return;
    beginResetModel();
    filter_ = filter;
    Refilter();
    endResetModel();
}

void RuleListModel::SetKeep(std::function<bool(int)> keep) {
    beginResetModel();
    keep_ = std::move(keep);
    Refilter();
    endResetModel();
}

void RuleListModel::Insert(int rule, Rule value) {
    rule = std::clamp(rule, 0, RuleCount());
    if (!Filtered()) {
        beginInsertRows({}, rule, rule);
        rules_.insert(rules_.begin() + rule, std::move(value));
        endInsertRows();
        return;
    }
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), rule);
    for (auto it = at; it != shown_.end(); ++it) ++*it;
    const bool shown = Matches(rule, value);
    rules_.insert(rules_.begin() + rule, std::move(value));
    if (!shown) return;
    const int row = static_cast<int>(at - shown_.begin());
    beginInsertRows({}, row, row);
    shown_.insert(shown_.begin() + row, rule);
    endInsertRows();
}

void RuleListModel::Remove(int rule) {
    if (rule < 0 || rule >= RuleCount()) return;
    const int row = RowOf(rule);
    if (row >= 0) beginRemoveRows({}, row, row);
    rules_.erase(rules_.begin() + rule);
    if (Filtered()) {
        auto at = std::lower_bound(shown_.begin(), shown_.end(), rule);
        if (row >= 0) at = shown_.erase(at);
        for (auto it = at; it != shown_.end(); ++it) --*it;
    }
    if (row >= 0) endRemoveRows();
}

void RuleListModel::Change(int rule, Rule value) {
    if (rule < 0 || rule >= RuleCount()) return;
    rules_[static_cast<size_t>(rule)] = std::move(value);
    // A renamed rule stays in view until the filter changes: it should not
    // vanish from under the user.
    ChangedRow(rule);
}

void RuleListModel::SetChecked(int rule, bool checked) {
    if (rule < 0 || rule >= RuleCount() || At(rule).checked == checked) return;
    rules_[static_cast<size_t>(rule)].checked = checked;
    ChangedRow(rule);
}

void RuleListModel::ChangedRow(int rule) {
    if (const int row = RowOf(rule); row >= 0) emit dataChanged(index(row), index(row));
}

}  // namespace larkspur
