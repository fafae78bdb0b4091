#include "controls/color_button.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleOptionButton>

#include "controls/bound_store.h"
#include "controls/sample_text.h"
#include "css/sheet_document.h"
#include "model/style_rule.h"
#include "pages/page_host.h"
#include "platform/user_dialogs.h"

namespace larkspur {

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    setMinimumSize(40, 22);
}

void CColorButton::Bind(PageHost& host, ColourValue colour, CSampleText* sample, QAbstractButton* owner,
                        int property, SampleMode mode, std::function<void()> callback) {
    host_ = &host;
    colour_ = colour;
    property_ = property;
    sample_ = sample;
    owner_ = owner;
    mode_ = mode;
    callback_ = std::move(callback);
    update();
}

void CColorButton::SeedEntry() {
    if (!host_) return;
    // A rule read from a file already carries its colour; overwriting it here
    // would change what is written without the user touching it.
    SheetDocument& document = host_->Document();
    document.SeedValue(document.SelectedIndex(), property_, ColourText(colour_, host_->ColourCase()));
}

void CColorButton::SetColor(ColourValue colour) {
    colour_ = colour;
    update();
}

std::string CColorButton::GetColorText() const {
    if (!IsOwnEnabled(this) || !host_) return {};
    return ColourText(colour_, host_->ColourCase());
}

void CColorButton::UpdateEnabled() {
    const bool on = owner_ && owner_->isChecked();
    setEnabled(on);
    DriveSample(on ? colour_ : (mode_ == SampleMode::Text ? 0x000000 : 0xFFFFFF));
    update();
}

void CColorButton::DriveSample(ColourValue colour) {
    if (!sample_) return;
    if (mode_ == SampleMode::Text)
        sample_->SetTextColour(colour);
    else
        sample_->SetBackground(colour);
}

void CColorButton::Choose() {
    if (!host_) return;
    if (std::optional<ColourValue> chosen = host_->Dialogs().ChooseColour(colour_)) SetColor(*chosen);
    Apply();
}

void CColorButton::StoreColour() {
    if (!host_) return;
    StoreValue(*host_, property_, ColourText(colour_, host_->ColourCase()));
}

void CColorButton::Apply() {
    if (!host_ || !SelectedEntry(*host_, property_)) return;
    StoreColour();
    if (callback_) callback_();
    DriveSample(colour_);
}

void CColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    const bool on = owner_ && owner_->isChecked();
    QPainter painter(this);
    const QRect swatch = rect().adjusted(5, 5, -5, -5);
    painter.fillRect(swatch, on ? ToQColor(colour_) : QColor(Qt::black));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

}  // namespace larkspur
