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

bool CRuleNameNote::Accepts(const QString& selector) {
    const std::string problem = RuleNameProblem(selector.toStdString());
    setText(QString::fromStdString(problem));
    setVisible(!problem.empty());
    if (!problem.empty()) {
        QAccessibleEvent event(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&event);
    }
    return problem.empty();
}

}  // namespace larkspur
