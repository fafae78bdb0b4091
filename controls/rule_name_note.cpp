#include "controls/rule_name_note.h"

#include <QAccessible>

#include "css/file_kinds.h"

namespace larkspur {

CRuleNameNote::CRuleNameNote(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setForegroundRole(QPalette::BrightText);
    QPalette warning = palette();
    warning.setColor(QPalette::BrightText, QColor(0xb0, 0x00, 0x00));
    setPalette(warning);
    hide();
}

bool CRuleNameNote::Accepts(const QString& selector, QWidget* nameBox) {
    const std::string problem = RuleNameProblem(selector.toStdString());
    setText(QString::fromStdString(problem));
    setVisible(!problem.empty());
    if (problem.empty()) return true;
    QAccessibleEvent event(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
    if (nameBox) nameBox->setFocus();
    return false;
}

}  // namespace larkspur
