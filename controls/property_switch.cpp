#include "controls/property_switch.h"

#include <QAbstractButton>
#include <QEvent>
#include <QSignalBlocker>

#include "controls/bound_store.h"
#include "controls/color_button.h"
#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "css/sheet_document.h"
#include "model/style_rule.h"
#include "pages/page_host.h"

namespace larkspur {

CPropertySwitch::CPropertySwitch(QAbstractButton* button, PageHost& host)
    : QObject(button), button_(button), host_(host) {
    button_->setMouseTracking(true);
    button_->installEventFilter(this);
}

QString CPropertySwitch::Caption() const {
    QString caption = button_->text();
    caption.remove(QLatin1Char('&'));
    return caption;
}

void CPropertySwitch::Bind(int property, Kind kind) {
    property_ = property;
    kind_ = kind;
}

bool CPropertySwitch::IsChecked() const { return button_->isChecked(); }
bool CPropertySwitch::IsEnabled() const { return IsOwnEnabled(button_); }

void CPropertySwitch::RefreshEnabling() {
    if (kind_ == Kind::Group || !linked_) return;
    button_->setEnabled(linked_->IsChecked());
}

void CPropertySwitch::HandleClick() {
    const PropertyEntry* entry = SelectedEntry(host_, property_);
    if (!entry) return;
    SheetDocument& document = host_.Document();
    const int rule = document.SelectedIndex();
    if (!IsChecked()) {
        if (callback_)
            callback_();
        else
            document.RemoveValue(rule, property_);
        return;
    }
    document.MarkValueSet(rule, property_);
    switch (kind_) {
    case Kind::Combo:
        if (combo_) {
            if (combo_->currentText().isEmpty() || combo_->SelectedItemText().startsWith(QLatin1Char(' ')))
                combo_->setCurrentIndex(combo_->count() > 0 ? 0 : -1);
            combo_->Store();
        }
        break;
    case Kind::Edit:
        if (edit_) {
            if (edit_->text().isEmpty() || edit_->text().startsWith(QLatin1Char(' '))) {
                // One store below, not a second one from the change signal.
                const QSignalBlocker quiet(edit_);
                edit_->setText(edit_->DefaultText());
            }
            edit_->Store();
        }
        break;
    case Kind::Group:
        if (entry->value.empty() && linked_) {
            linked_->Button()->setChecked(true);
            linked_->RefreshEnabling();
            linked_->HandleClick();
        }
        break;
    case Kind::Colour:
        break;
    }
    if (callback_) {
        callback_();
        return;
    }
    if (kind_ == Kind::Colour && colour_)
        colour_->StoreColour();
    else
        document.ListValue(rule, property_);
}

bool CPropertySwitch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == button_ && event->type() == QEvent::MouseMove) host_.ShowHelpLine(helpText_);
    return QObject::eventFilter(watched, event);
}

}  // namespace larkspur
