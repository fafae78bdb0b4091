#pragma once
#include <QElapsedTimer>
#include <QListWidget>

namespace larkspur {

// The rule list: one checkable item per rule, its selector on one line. A click on a check box changes
// the mark before the item becomes current, so selecting a rule through its
// check box lists it at once. Space changes the mark of the current item,
// except while a type-ahead search is under way, where it is part of the
// search (".btn p").
class CRuleCheckList : public QListWidget {
    Q_OBJECT
public:
    explicit CRuleCheckList(QWidget* parent = nullptr);

    void AddRule(const QString& name, bool checked);
    void InsertRule(int row, const QString& name, bool checked);
    void RenameRule(int row, const QString& name);
    // The width the window gives the list at first.
    void SetPreferredWidth(int width) { preferredWidth_ = width; }
    QSize sizeHint() const override { return {preferredWidth_, QListWidget::sizeHint().height()}; }
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);
    // True when the point (viewport coordinates) is on a check box.
    bool IsOnCheckBox(const QPoint& point) const;
    void keyboardSearch(const QString& search) override;

signals:
    // From the user only.
    void CheckToggled(int row, bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Toggle(int row);
    bool Searching() const;
    int preferredWidth_ = 120;
    QElapsedTimer lastSearchKey_;
};

}  // namespace larkspur
