#include "pages/position_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <array>

namespace larkspur {
namespace {

enum : int {
    cVisibility = 1185, cVisibilityCombo = 1186, cZIndex = 1187, cZIndexEdit = 1188,
    cPosition = 1189, cPositionCombo = 1190, cOverflow = 1191, cOverflowCombo = 1192,
    cLeft = 1193, cLeftEdit = 1194, cLeftUnit = 1195, cTop = 1196, cTopEdit = 1197, cTopUnit = 1198,
    cWidth = 1199, cWidthEdit = 1200, cWidthUnit = 1201, cHeight = 1130, cHeightEdit = 1203,
    cHeightUnit = 1204, cFloat = 1202, cFloatCombo = 1205, cClear = 1206, cClearCombo = 1016,
};

struct KeywordRow {
    int check, combo;
    const char* caption;
    Words items;
    int property;
    FlagField on;
    TextField value;
};

struct LengthRow {
    int check, edit, unit;
    const char* caption;
    int property;
    FlagField on;
    TextField value;
    TextField unitField;
};

const std::array<KeywordRow, 5> kKeywordRows = {{
    {cVisibility, cVisibilityCombo, "Visibility", kVisibilities, kVisibility, &PageState::visibilityOn,
     &PageState::visibility},
    {cPosition, cPositionCombo, "Position", kPositions, kPosition, &PageState::positionOn, &PageState::position},
    {cOverflow, cOverflowCombo, "Overflow", kOverflows, kOverflow, &PageState::overflowOn, &PageState::overflow},
    {cClear, cClearCombo, "Clear", kClears, kClear, &PageState::clearOn, &PageState::clear},
    {cFloat, cFloatCombo, "Float", kFloats, kFloat, &PageState::floatOn, &PageState::cssFloat},
}};

// Width is shown above Height, but each keeps its own entry.
const std::array<LengthRow, 4> kLengthRows = {{
    {cLeft, cLeftEdit, cLeftUnit, "Left", kLeft, &PageState::leftOn, &PageState::leftValue, &PageState::leftUnit},
    {cTop, cTopEdit, cTopUnit, "Top", kTop, &PageState::topOn, &PageState::topValue, &PageState::topUnit},
    {cWidth, cWidthEdit, cWidthUnit, "Width", kWidth, &PageState::widthOn, &PageState::widthValue,
     &PageState::widthUnit},
    {cHeight, cHeightEdit, cHeightUnit, "Height", kHeight, &PageState::heightOn, &PageState::heightValue,
     &PageState::heightUnit},
}};

}  // namespace

CPositionPage::CPositionPage(PageHost& host, QWidget* parent)
    : CPropertyPage(host, kResourceId, "Positioning", parent) {
    for (const KeywordRow& r : kKeywordRows) {
        CreateCheck(r.check, r.caption);
        CreateCombo(r.combo, r.items, true);
    }
    CreateCheck(cZIndex, "Z-Index");
    CreateEdit(cZIndexEdit);
    for (const LengthRow& r : kLengthRows) {
        CreateCheck(r.check, r.caption);
        CreateEdit(r.edit);
        CreateUnitCombo(r.unit);
    }

    auto* top = new QGridLayout;
    top->addWidget(Control(cVisibility), 0, 0);
    top->addWidget(Control(cVisibilityCombo), 0, 1);
    top->addWidget(Control(cZIndex), 0, 2);
    top->addWidget(Control(cZIndexEdit), 0, 3);
    top->addWidget(Control(cPosition), 1, 0);
    top->addWidget(Control(cPositionCombo), 1, 1);
    top->addWidget(Control(cOverflow), 1, 2);
    top->addWidget(Control(cOverflowCombo), 1, 3);

    auto* box = new QGroupBox("Position", this);
    auto* bg = new QGridLayout(box);
    int row = 0;
    for (const LengthRow& r : kLengthRows) {
        bg->addWidget(Control(r.check), row, 0);
        bg->addWidget(Control(r.edit), row, 1);
        bg->addWidget(Control(r.unit), row, 2);
        ++row;
    }
    bg->setColumnStretch(1, 1);

    auto* flow = new QGroupBox(this);
    auto* fg = new QGridLayout(flow);
    fg->addWidget(Control(cFloat), 0, 0);
    fg->addWidget(Control(cFloatCombo), 0, 1);
    fg->addWidget(Control(cClear), 1, 0);
    fg->addWidget(Control(cClearCombo), 1, 1);
    fg->setColumnStretch(1, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(box);
    page->addWidget(flow);
    page->addStretch(1);

    // Bound in the order Visibility, Z-Index, Position, Overflow, Left, Top,
    // Width, Height, Clear, Float.
    auto bindKeyword = [this](const KeywordRow& r) { BindCombo(r.check, r.combo, r.property, r.on, r.value); };
    bindKeyword(kKeywordRows[0]);
    BindEdit(cZIndex, cZIndexEdit, kZIndex, &PageState::zIndexOn, &PageState::zIndex, "1");
    bindKeyword(kKeywordRows[1]);
    bindKeyword(kKeywordRows[2]);
    for (const LengthRow& r : kLengthRows)
        BindEdit(r.check, r.edit, r.property, r.on, r.value, "1", {.unitId = r.unit, .unit = r.unitField});
    bindKeyword(kKeywordRows[3]);
    bindKeyword(kKeywordRows[4]);

    SetEnablingOrder({cLeftEdit, cLeftUnit, cLeft, cTopEdit, cTopUnit, cTop, cWidthEdit, cWidthUnit, cWidth,
                      cHeightEdit, cHeightUnit, cHeight, cZIndexEdit, cZIndex, cPositionCombo, cPosition,
                      cOverflowCombo, cOverflow, cVisibilityCombo, cVisibility, cClear, cFloat, cFloatCombo,
                      cClearCombo});
    SetToolTips({
        {cLeft, "left - Positions the left hand edge of the element"},
        {cTop, "top - Positions the top edge of the element"},
        {cWidth, "width - Sets the width of the element"},
        {cHeight, "height - Sets the height of the element"},
        {cZIndex, "z-index - Sets the position of the element in the page's z-index"},
        {cPosition,
         "position - Sets the position of an element (Note. to use left and top this must be set to absolute)"},
        {cOverflow, "overflow - Sets how the overflow of the elemnt will behave"},
        {cVisibility, "visibility - Sets whether an element is visble or not"},
        {cClear, "clear - defines what floating elements are allowed either side of the element"},
        {cFloat, "float - Sets the float of an element"},
    });
}

}  // namespace larkspur
