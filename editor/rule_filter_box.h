#pragma once
#include <QLineEdit>

namespace larkspur {

// The box above the rule list that narrows it to the rules whose label holds
// the text typed. Down, Enter and Page Down go on to the list; Escape empties
// the box.
class CRuleFilterBox : public QLineEdit {
    Q_OBJECT
public:
    explicit CRuleFilterBox(QWidget* list, QWidget* parent = nullptr);

    // Checked: only the rules holding a declaration browsers drop are listed.
    QAction* InvalidOnly() const { return invalidOnly_; }

    // No wider than the list asks to be: the button in the box must not
    // widen the rule column.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* list_;
    QAction* invalidOnly_;
};

}  // namespace larkspur
