#include "pages/margin_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <array>

#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "controls/property_switch.h"

namespace larkspur {
namespace {

struct MarginSide {
    const char* caption;
    int check, valueRadio, autoRadio, edit, unit, autoCombo;
    int property;
    FlagField on;
    FlagField kind;
    TextField value;
    TextField unitField;
    const char* tip;
};

// Top to bottom as the page shows them.
const std::array<MarginSide, 4> kSides = {{
    {"Top Margin", 1144, 1145, 1146, 1147, 1148, 1164, kMarginTop, &PageState::marginTopOn,
     &PageState::marginTopKind, &PageState::marginTopValue, &PageState::marginTopUnit,
     "margin-top - Sets the width of the top margin"},
    {"Bottom Margin", 1149, 1150, 1151, 1152, 1153, 1165, kMarginBottom, &PageState::marginBottomOn,
     &PageState::marginBottomKind, &PageState::marginBottomValue, &PageState::marginBottomUnit,
     "margin-bottom - Sets the width of the bottom margin"},
    {"Left Margin", 1154, 1155, 1156, 1157, 1158, 1166, kMarginLeft, &PageState::marginLeftOn,
     &PageState::marginLeftKind, &PageState::marginLeftValue, &PageState::marginLeftUnit,
     "margin-left - Sets the width of the left margin"},
    {"Right Margin", 1159, 1160, 1161, 1162, 1163, 1167, kMarginRight, &PageState::marginRightOn,
     &PageState::marginRightKind, &PageState::marginRightValue, &PageState::marginRightUnit,
     "margin-right - Sets the width of the right margin"},
}};

}  // namespace

CMarginPage::CMarginPage(PageHost& host, QWidget* parent) : CPropertyPage(host, kResourceId, "Margins", parent) {
    auto* page = new QVBoxLayout(this);
    for (const MarginSide& s : kSides) {
        CreateCheck(s.check, s.caption);
        CreateRadio(s.valueRadio, "Value", s.check, 0);
        CreateEdit(s.edit);
        CreateUnitCombo(s.unit);
        CreateRadio(s.autoRadio, "Auto", s.check, 1);
        CreateCombo(s.autoCombo, kAutoKeywords, true);

        auto* frame = new QGroupBox(this);
        auto* grid = new QGridLayout(frame);
        grid->addWidget(Control(s.check), 0, 0, 1, 3);
        grid->addWidget(Control(s.valueRadio), 1, 0);
        grid->addWidget(Control(s.edit), 1, 1);
        grid->addWidget(Control(s.unit), 1, 2);
        grid->addWidget(Control(s.autoRadio), 2, 0);
        grid->addWidget(Control(s.autoCombo), 2, 1, 1, 2);
        grid->setColumnStretch(1, 1);
        page->addWidget(frame);
    }
    page->addStretch(1);

    for (const MarginSide& s : kSides) {
        BindGroup(s.check, s.property, s.on, s.kind, s.valueRadio);
        BindEdit(s.valueRadio, s.edit, s.property, nullptr, s.value, "1", {.unitId = s.unit, .unit = s.unitField});
    }
    for (const MarginSide& s : kSides) {
        // The auto keyword is no part of the rule's page state: the box only
        // ever holds "auto".
        CPropertySwitch* sw = Switch(s.autoRadio);
        CPropertyCombo* combo = Combo(s.autoCombo);
        sw->Bind(s.property, CPropertySwitch::Kind::Combo);
        sw->SetCompanionCombo(combo);
        sw->SetLinked(Switch(s.check));
        combo->Bind(host_, s.property, sw->Button());
        Route(static_cast<CListCombo*>(combo), &CListCombo::ClosedUp, [combo] { combo->Store(); });
    }
    // Every side has a "Value" and an "Auto": the side's caption tells them apart.
    for (const MarginSide& s : kSides) {
        const QString side = s.caption;
        Describe(s.valueRadio, side + " Value");
        Describe(s.edit, side + " Value number");
        Describe(s.unit, side + " Value unit");
        Describe(s.autoRadio, side + " Auto");
        Describe(s.autoCombo, side + " Auto keyword");
    }

    // Per side Value radio, edit and unit; then the Auto radios; then the auto boxes.
    SetEnablingOrder({1145, 1147, 1148, 1150, 1152, 1153, 1155, 1157, 1158, 1160, 1162, 1163,
                      1146, 1151, 1156, 1161, 1164, 1165, 1166, 1167});

    for (const MarginSide& s : kSides)
        SetToolTips({{s.check, s.tip},
                     {s.valueRadio, "Value - Sets the value directly"},
                     {s.autoRadio, "Auto - Sets the width automatically"}});
}

}  // namespace larkspur
