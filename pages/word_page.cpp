#include "pages/word_page.h"

#include <QGridLayout>
#include <array>
#include <utility>
#include <QGroupBox>
#include <QVBoxLayout>

#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "controls/property_switch.h"

namespace larkspur {
namespace {

enum : int {
    cWordSpacing = 1104, cWordEdit = 1105, cWordUnit = 1106,
    cLetterSpacing = 1109, cLetterEdit = 1110, cLetterUnit = 1111,
    cDecoration = 1107, cDecorationCombo = 1108,
    cVertical = 1112, cVerticalKeyword = 1113, cVerticalCombo = 1115, cVerticalPercent = 1114,
    cVerticalEdit = 1116,
    cTransform = 1117, cTransformCombo = 1118,
    cAlign = 1119, cAlignCombo = 1120,
    cIndent = 1125, cIndentEdit = 1128, cIndentUnit = 1129,
    cLineHeight = 1130, cLineNumber = 1131, cLineNumberEdit = 1137, cLineValue = 1132,
    cLineValueEdit = 1136, cLineValueUnit = 1135, cLineKeyword = 1133, cLineKeywordCombo = 1134,
};

}  // namespace

CWordPage::CWordPage(PageHost& host, QWidget* parent)
    : CPropertyPage(host, kResourceId, "Word Spacing", parent) {
    CreateCheck(cWordSpacing, "Word Spacing");
    CreateEdit(cWordEdit);
    CreateUnitCombo(cWordUnit);
    CreateCheck(cLetterSpacing, "Letter Spacing");
    CreateEdit(cLetterEdit);
    CreateUnitCombo(cLetterUnit);
    CreateCheck(cDecoration, "Text Decoration");
    CreateCombo(cDecorationCombo, kTextDecorations, false);
    CreateCheck(cVertical, "Vertical Align");
    CreateRadio(cVerticalKeyword, "Keyword", cVertical, 0);
    CreateCombo(cVerticalCombo, kVerticalAligns, true);
    CreateRadio(cVerticalPercent, "Percentage", cVertical, 1);
    CreateEdit(cVerticalEdit);
    CreateCheck(cTransform, "Text Transform");
    CreateCombo(cTransformCombo, kTextTransforms, false);
    CreateCheck(cAlign, "Text Align");
    CreateCombo(cAlignCombo, kTextAligns, false);
    CreateCheck(cIndent, "Text Indent");
    CreateEdit(cIndentEdit);
    CreateUnitCombo(cIndentUnit);
    CreateCheck(cLineHeight, "Line Height");
    CreateRadio(cLineNumber, "Number", cLineHeight, 0);
    CreateEdit(cLineNumberEdit);
    CreateRadio(cLineValue, "Value", cLineHeight, 1);
    CreateEdit(cLineValueEdit);
    // The one unit list kept in the order the units are given.
    CreateUnitCombo(cLineValueUnit, false);
    CreateRadio(cLineKeyword, "Keyword", cLineHeight, 2);
    CreateCombo(cLineKeywordCombo, kLineHeightKeywords, true);

    BuildLayout();
    Bind();
}

void CWordPage::BuildLayout() {
    auto* spacing = new QGridLayout;
    int row = 0;
    for (auto [check, edit, unit] : {std::array{cWordSpacing, cWordEdit, cWordUnit},
                                     std::array{cLetterSpacing, cLetterEdit, cLetterUnit},
                                     std::array{cIndent, cIndentEdit, cIndentUnit}}) {
        spacing->addWidget(Control(check), row, 0);
        spacing->addWidget(Control(edit), row, 1);
        spacing->addWidget(Control(unit), row, 2);
        ++row;
    }
    for (auto [check, combo] : {std::pair{cDecoration, cDecorationCombo}, std::pair{cTransform, cTransformCombo},
                                std::pair{cAlign, cAlignCombo}}) {
        spacing->addWidget(Control(check), row, 0);
        spacing->addWidget(Control(combo), row, 1, 1, 2);
        ++row;
    }
    spacing->setColumnStretch(1, 1);

    auto* vertical = new QGroupBox(this);
    auto* vg = new QGridLayout(vertical);
    vg->addWidget(Control(cVertical), 0, 0, 1, 2);
    vg->addWidget(Control(cVerticalKeyword), 1, 0);
    vg->addWidget(Control(cVerticalCombo), 1, 1);
    vg->addWidget(Control(cVerticalPercent), 2, 0);
    vg->addWidget(Control(cVerticalEdit), 2, 1);
    vg->setColumnStretch(1, 1);

    auto* line = new QGroupBox(this);
    auto* lg = new QGridLayout(line);
    lg->addWidget(Control(cLineHeight), 0, 0, 1, 3);
    lg->addWidget(Control(cLineNumber), 1, 0);
    lg->addWidget(Control(cLineNumberEdit), 1, 1);
    lg->addWidget(Control(cLineValue), 2, 0);
    lg->addWidget(Control(cLineValueEdit), 2, 1);
    lg->addWidget(Control(cLineValueUnit), 2, 2);
    lg->addWidget(Control(cLineKeyword), 3, 0);
    lg->addWidget(Control(cLineKeywordCombo), 3, 1, 1, 2);
    lg->setColumnStretch(1, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(spacing);
    page->addWidget(vertical);
    page->addWidget(line);
    page->addStretch(1);
}

void CWordPage::Bind() {
    BindEdit(cWordSpacing, cWordEdit, kWordSpacing, &PageState::wordSpacingOn, &PageState::wordSpacingValue, "1",
             {.unitId = cWordUnit, .unit = &PageState::wordSpacingUnit});
    BindCombo(cTransform, cTransformCombo, kTextTransform, &PageState::textTransformOn, &PageState::textTransform);
    BindCombo(cAlign, cAlignCombo, kTextAlign, &PageState::textAlignOn, &PageState::textAlign);
    BindEdit(cLetterSpacing, cLetterEdit, kLetterSpacing, &PageState::letterSpacingOn,
             &PageState::letterSpacingValue, "1", {.unitId = cLetterUnit, .unit = &PageState::letterSpacingUnit});
    BindEdit(cIndent, cIndentEdit, kTextIndent, &PageState::textIndentOn, &PageState::textIndentValue, "1",
             {.unitId = cIndentUnit, .unit = &PageState::textIndentUnit});
    BindCombo(cDecoration, cDecorationCombo, kTextDecoration, &PageState::textDecorationOn,
              &PageState::textDecoration);

    BindGroup(cVertical, kVerticalAlign, &PageState::verticalAlignOn, &PageState::verticalAlignKind,
              cVerticalKeyword);
    BindCombo(cVerticalKeyword, cVerticalCombo, kVerticalAlign, nullptr, &PageState::verticalAlignKeyword);
    BindEdit(cVerticalPercent, cVerticalEdit, kVerticalAlign, nullptr, &PageState::verticalAlignPercent, "0",
             {.suffix = "%"});

    BindGroup(cLineHeight, kLineHeight, &PageState::lineHeightOn, &PageState::lineHeightKind, cLineNumber);
    BindEdit(cLineNumber, cLineNumberEdit, kLineHeight, nullptr, &PageState::lineHeightNumber, "0");
    BindEdit(cLineValue, cLineValueEdit, kLineHeight, nullptr, &PageState::lineHeightValue, "1",
             {.unitId = cLineValueUnit, .unit = &PageState::lineHeightUnit});
    BindCombo(cLineKeyword, cLineKeywordCombo, kLineHeight, nullptr, &PageState::lineHeightKeyword);

    // Both groups offer a "Keyword" choice; the group's caption tells them apart.
    Describe(cVerticalKeyword, "Vertical Align Keyword");
    Describe(cVerticalCombo, "Vertical Align Keyword keyword");
    Describe(cLineKeyword, "Line Height Keyword");
    Describe(cLineKeywordCombo, "Line Height Keyword keyword");

    SetEnablingOrder({cDecorationCombo, cTransformCombo, cAlignCombo, cVerticalPercent, cVerticalEdit,
                      cVerticalKeyword, cVerticalCombo, cWordUnit, cWordEdit, cLetterUnit, cLetterEdit,
                      cIndentUnit, cIndentEdit, cLineValue, cLineValueEdit, cLineValueUnit, cLineNumber,
                      cLineNumberEdit, cLineKeyword, cLineKeywordCombo});
    SetToolTips({
        {cTransform, "text-transform - Changes the case of the letters in the selected tag"},
        {cAlign, "text-align - Sets the horizontal alignment of the text in the selected tag"},
        {cVerticalPercent, "Percentage - Sets the value via a percentage"},
        {cVerticalKeyword, "Keyword - Uses a keyword for the value"},
        {cVertical, "vertical-align - Sets the vertical alignment of the selected tag"},
        {cWordSpacing, "word-spacing - Sets the distance between words"},
        {cLetterSpacing, "letter-spacing - Sets the distance between letters"},
        {cIndent, "text-indent - Sets the indent value for the first line of the selected tag"},
        {cLineValue, "Value - Sets the value exactly"},
        {cLineNumber, "Number - Sets the value with a generic number"},
        {cLineKeyword, "Keyword - Sets the value with a keyword"},
        {cDecoration, "text-decoration - Sets the decoration for the text in the selected tag"},
        {cLineHeight, "line-height - Sets the vertical distance between lines in the selected tag"},
    });
}

}  // namespace larkspur
