#include "pages/padding_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <array>

namespace larkspur {
namespace {

struct PaddingSide {
    const char* caption;
    int check, edit, unit;
    int property;
    FlagField on;
    TextField value;
    TextField unitField;
    const char* tip;
};

const std::array<PaddingSide, 4> kSides = {{
    {"Top Padding", 1165, 1166, 1167, kPaddingTop, &PageState::paddingTopOn, &PageState::paddingTopValue,
     &PageState::paddingTopUnit, "padding-top - Sets the size of the elements top padding"},
    {"Bottom Padding", 1168, 1169, 1170, kPaddingBottom, &PageState::paddingBottomOn,
     &PageState::paddingBottomValue, &PageState::paddingBottomUnit,
     "padding-bottom - Sets the size of the elements bottom padding"},
    {"Left Padding", 1171, 1172, 1173, kPaddingLeft, &PageState::paddingLeftOn, &PageState::paddingLeftValue,
     &PageState::paddingLeftUnit, "padding-left - Sets the size of the elements left padding"},
    {"Right Padding", 1174, 1175, 1176, kPaddingRight, &PageState::paddingRightOn,
     &PageState::paddingRightValue, &PageState::paddingRightUnit,
     "padding-right - Sets the size of the elements right padding"},
}};

}  // namespace

CPaddingPage::CPaddingPage(PageHost& host, QWidget* parent) : CPropertyPage(host, kResourceId, "Padding", parent) {
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    int row = 0;
    for (const PaddingSide& s : kSides) {
        CreateCheck(s.check, s.caption);
        CreateEdit(s.edit);
        CreateUnitCombo(s.unit);
        grid->addWidget(Control(s.check), row, 0);
        grid->addWidget(Control(s.edit), row, 1);
        grid->addWidget(Control(s.unit), row, 2);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(frame);
    page->addStretch(1);

    for (const PaddingSide& s : kSides)
        BindEdit(s.check, s.edit, s.property, s.on, s.value, "1", {.unitId = s.unit, .unit = s.unitField});
    // Per side the edit, then its unit box.
    SetEnablingOrder({1166, 1167, 1169, 1170, 1172, 1173, 1175, 1176});
    for (const PaddingSide& s : kSides) SetToolTips({{s.check, s.tip}});
}

}  // namespace larkspur
