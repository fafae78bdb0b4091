#pragma once
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <vector>

#include "editor/rule_list_model.h"

namespace larkspur {

// The rule list: one checkable row per rule, its label on one line, the
// selector whole in the tool tip. Rules are addressed by their index in the
// sheet even while a filter hides some of them.
//
// A click on a check box changes the mark before the row becomes current, so
// selecting a rule through its check box lists it at once. Space changes the
// mark of the current row, except while a type-ahead search is under way,
// where it is part of the search (".btn p").
class CRuleCheckList : public QListView {
    Q_OBJECT
public:
    explicit CRuleCheckList(QWidget* parent = nullptr);

    using Rule = RuleListModel::Rule;
    void SetRules(std::vector<Rule> rules);
    void InsertRule(int index, Rule rule);
    void RemoveRule(int index);
    void ChangeRule(int index, Rule rule);

    int count() const { return model_.RuleCount(); }
    QString Text(int index) const { return model_.At(index).label; }
    QString ToolTip(int index) const { return model_.ToolTipOf(index); }
    bool IsChecked(int index) const;
    void SetChecked(int index, bool checked);

    // The current rule, also while the filter hides its row; -1 for none.
    int currentRow() const { return current_; }
    // Makes the rule current, showing it again if the filter hid it.
    void setCurrentRow(int index);

    void SetFilter(const QString& filter);
    // Only the rules this keeps are listed as well (see RuleListModel::SetKeep).
    void SetKeep(std::function<bool(int)> keep);
    bool Keeps() const { return model_.Keeps(); }
    // The box the user types the filter into; it follows a filter set here.
    void AttachFilterBox(QLineEdit* box);
    QString Filter() const { return model_.Filter(); }
    int ShownCount() const { return model_.rowCount(); }
    // Where the rule's row is drawn (viewport coordinates); empty while hidden.
    QRect RuleRect(int index) const;

    // The width the window gives the list at first.
    void SetPreferredWidth(int width) {
        preferredWidth_ = width;
        updateGeometry();
    }
    QSize sizeHint() const override { return {preferredWidth_, QListView::sizeHint().height()}; }
    // True when the point (viewport coordinates) is on a check box.
    bool IsOnCheckBox(const QPoint& point) const;
    void keyboardSearch(const QString& search) override;

signals:
    // From the user only, with the rule's index.
    void currentRowChanged(int index);
    void CheckToggled(int index, bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void Toggle(int index);
    int RuleAtPoint(const QPoint& point) const;
    bool Searching() const;
    // The current row put back on the current rule without telling anyone.
    void ShowCurrent();

    RuleListModel model_;
    QPointer<QLineEdit> filterBox_;
    int current_ = -1;
    int preferredWidth_ = 120;
    QElapsedTimer lastSearchKey_;
};

}  // namespace larkspur
