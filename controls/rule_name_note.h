#pragma once
#include <QLabel>

namespace larkspur {

// The line under a rule-name box that says why a name is refused; the dialog
// stays open until the name would make a valid rule.
class CRuleNameNote : public QLabel {
    Q_OBJECT
public:
    explicit CRuleNameNote(QWidget* parent = nullptr);
    // True when the selector can head a rule; otherwise shows why and puts
    // the focus back on the name box, if one is given.
    bool Accepts(const QString& selector, QWidget* nameBox = nullptr);
};

}  // namespace larkspur
