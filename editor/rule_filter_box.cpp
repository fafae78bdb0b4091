#include "editor/rule_filter_box.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QKeyEvent>
#include <QStyle>

namespace larkspur {

CRuleFilterBox::CRuleFilterBox(QWidget* list, QWidget* parent) : QLineEdit(parent), list_(list) {
    setAccessibleName(QStringLiteral("Filter rules"));
    setPlaceholderText(QStringLiteral("Filter rules"));
    setToolTip(QStringLiteral("Shows only the rules whose selector holds the text typed (Ctrl+F)"));
    setClearButtonEnabled(true);
    // Greyed while off, in colour while on: the box's buttons show no checked state.
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QIcon off(warning.pixmap(QSize(16, 16), QIcon::Disabled));
    invalidOnly_ = addAction(off, TrailingPosition);
    connect(invalidOnly_, &QAction::toggled, this, [this, warning, off](bool on) { invalidOnly_->setIcon(on ? warning : off); });
    invalidOnly_->setCheckable(true);
    invalidOnly_->setText(QStringLiteral("Invalid only"));
    invalidOnly_->setToolTip(QStringLiteral("Shows only the rules with a declaration browsers drop"));
}

QSize CRuleFilterBox::sizeHint() const {
    QSize size = QLineEdit::sizeHint();
    size.setWidth(std::min(size.width(), list_->sizeHint().width()));
    return size;
}

QSize CRuleFilterBox::minimumSizeHint() const {
    QSize size = QLineEdit::minimumSizeHint();
    if (list_->minimumWidth() > 0) size.setWidth(std::min(size.width(), list_->minimumWidth()));
    return size;
}

void CRuleFilterBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter must not reach a button of the window.
        list_->setFocus(Qt::TabFocusReason);
        event->accept();
        return;
    case Qt::Key_Escape:
        if (!text().isEmpty()) {
            clear();
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace larkspur
