#pragma once
#include <QAbstractListModel>
#include <QString>
#include <functional>
#include <vector>

namespace larkspur {

// The rows of the rule list: every rule, or while a filter is set only the
// rules whose label holds it. Rules are addressed by their index in the
// sheet, rows by their place in the view.
class RuleListModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Rule {
        QString label;
        QString toolTip;  // empty: the label says it all
        bool checked = false;
    };

    explicit RuleListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int RuleCount() const { return static_cast<int>(rules_.size()); }
    const Rule& At(int rule) const { return rules_[static_cast<size_t>(rule)]; }
    const QString& ToolTipOf(int rule) const {
        const Rule& r = At(rule);
        return r.toolTip.isEmpty() ? r.label : r.toolTip;
    }
    void SetRules(std::vector<Rule> rules);
    void Insert(int rule, Rule value);
    void Remove(int rule);
    void Change(int rule, Rule value);
    void SetChecked(int rule, bool checked);

    // Part of a label, matched without regard to case; empty shows every rule.
    void SetFilter(const QString& filter);
    const QString& Filter() const { return filter_; }
    // Besides, only the rules (by index) this keeps; none: every rule. It is
    // asked when set and of rules inserted after.
    void SetKeep(std::function<bool(int)> keep);
    bool Keeps() const { return static_cast<bool>(keep_); }

    // -1 for a rule the filter hides, or a row out of range.
    int RowOf(int rule) const;
    int RuleAt(int row) const;

private:
    bool Filtered() const { return !filter_.isEmpty() || keep_; }
    bool Matches(int index, const Rule& rule) const {
        return rule.label.contains(filter_, Qt::CaseInsensitive) && (!keep_ || keep_(index));
    }
    void ChangedRow(int rule);
    void Refilter();

    std::vector<Rule> rules_;
    QString filter_;
    std::function<bool(int)> keep_;
    std::vector<int> shown_;  // while filtered: the rules shown, in order
};

}  // namespace larkspur
