#include "pages/border_page.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/bound_store.h"
#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "controls/property_switch.h"
#include "css/sheet_document.h"
#include "model/style_rule.h"
#include "pages/border_value.h"
#include "pages/page_host.h"

namespace larkspur {
namespace {

struct BorderSide {
    const char* caption;
    int style, styleCombo, colour, colourButton, width, valueRadio, valueEdit, unit, keywordRadio,
        keywordCombo;
    int property;
    TextField styleText;
    TextField widthValue;
    TextField widthUnit;
    TextField widthKeyword;
    FlagField widthKind;
    FlagField styleOn;
    FlagField colourOn;
    FlagField widthOn;
    ColourField colourValue;
    const char* name;  // the property name in the tool tips
};

const std::array<BorderSide, 4> kSides = {{
    {"Top Border", 1174, 1175, 1176, 1177, 1184, 1181, 1179, 1180, 1182, 1183, kBorderTop,
     &PageState::borderTopStyle, &PageState::borderTopWidthValue, &PageState::borderTopWidthUnit,
     &PageState::borderTopWidthKeyword, &PageState::borderTopWidthKind, &PageState::borderTopStyleOn,
     &PageState::borderTopColorOn, &PageState::borderTopWidthOn, &PageState::borderTopColor, "border-top"},
    {"Bottom Border", 1178, 1185, 1186, 1187, 1193, 1190, 1188, 1189, 1191, 1192, kBorderBottom,
     &PageState::borderBottomStyle, &PageState::borderBottomWidthValue, &PageState::borderBottomWidthUnit,
     &PageState::borderBottomWidthKeyword, &PageState::borderBottomWidthKind, &PageState::borderBottomStyleOn,
     &PageState::borderBottomColorOn, &PageState::borderBottomWidthOn, &PageState::borderBottomColor,
     "border-bottom"},
    {"Left Border", 1194, 1195, 1196, 1197, 1203, 1200, 1198, 1199, 1201, 1202, kBorderLeft,
     &PageState::borderLeftStyle, &PageState::borderLeftWidthValue, &PageState::borderLeftWidthUnit,
     &PageState::borderLeftWidthKeyword, &PageState::borderLeftWidthKind, &PageState::borderLeftStyleOn,
     &PageState::borderLeftColorOn, &PageState::borderLeftWidthOn, &PageState::borderLeftColor, "border-left"},
    {"Right Border", 1204, 1205, 1206, 1207, 1213, 1210, 1208, 1209, 1211, 1212, kBorderRight,
     &PageState::borderRightStyle, &PageState::borderRightWidthValue, &PageState::borderRightWidthUnit,
     &PageState::borderRightWidthKeyword, &PageState::borderRightWidthKind, &PageState::borderRightStyleOn,
     &PageState::borderRightColorOn, &PageState::borderRightWidthOn, &PageState::borderRightColor,
     "border-right"},
}};

constexpr ColourValue kRed = MakeColour(255, 0, 0);

}  // namespace

CBorderPage::CBorderPage(PageHost& host, QWidget* parent) : CPropertyPage(host, kResourceId, "Border", parent) {
    auto* page = new QVBoxLayout(this);
    for (const BorderSide& s : kSides) {
        CreateCheck(s.style, "Style");
        CreateCombo(s.styleCombo, kBorderStyles, true);
        CreateCheck(s.colour, "Color");
        CreateColourButton(s.colourButton);
        CreateCheck(s.width, "Width");
        CreateRadio(s.valueRadio, "Value", s.width, 0);
        CreateEdit(s.valueEdit);
        CreateUnitCombo(s.unit);
        CreateRadio(s.keywordRadio, "Keyword", s.width, 1);
        CreateCombo(s.keywordCombo, kBorderWidths, false);

        auto* frame = new QGroupBox(s.caption, this);
        auto* grid = new QGridLayout(frame);
        grid->addWidget(Control(s.style), 0, 0);
        grid->addWidget(Control(s.styleCombo), 0, 1, 1, 2);
        grid->addWidget(Control(s.colour), 1, 0);
        grid->addWidget(Control(s.colourButton), 1, 1, Qt::AlignLeft);
        grid->addWidget(Control(s.width), 0, 3, 1, 3);
        grid->addWidget(Control(s.valueRadio), 1, 3);
        grid->addWidget(Control(s.valueEdit), 1, 4);
        grid->addWidget(Control(s.unit), 1, 5);
        grid->addWidget(Control(s.keywordRadio), 2, 3);
        grid->addWidget(Control(s.keywordCombo), 2, 4, 1, 2);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(4, 1);
        page->addWidget(frame);
    }
    page->addStretch(1);

    for (int i = 0; i < 4; ++i) {
        const BorderSide& s = kSides[i];
        const auto side = static_cast<Side>(i);
        auto compose = [this, side] { ComposeSide(side); };

        BindColour(s.colour, s.colourButton, s.property, s.colourOn, s.colourValue, kRed);
        ColourButton(s.colourButton)
            ->Bind(host_, kRed, nullptr, Button(s.colour), s.property, CColorButton::SampleMode::Background,
                   compose);
        Switch(s.colour)->SetCallback(compose);
        BindCombo(s.style, s.styleCombo, s.property, s.styleOn, s.styleText);
        Switch(s.style)->SetCallback(compose);
        Combo(s.styleCombo)->SetCallback(compose);
        BindEdit(s.valueRadio, s.valueEdit, s.property, nullptr, s.widthValue, "1",
                 {.unitId = s.unit, .unit = s.widthUnit});
        Switch(s.valueRadio)->SetCallback(compose);
        Edit(s.valueEdit)->SetCallback(compose);
        Combo(s.unit)->SetCallback(compose);
        BindCombo(s.keywordRadio, s.keywordCombo, s.property, nullptr, s.widthKeyword);
        Switch(s.keywordRadio)->SetCallback(compose);
        Combo(s.keywordCombo)->SetCallback(compose);

        // The Width box has no callback: it heads the width choice, and its
        // own click either fills in a width or takes the side out of the
        // listing.
        BindGroup(s.width, s.property, s.widthOn, s.widthKind, s.valueRadio);
        disconnect(Button(s.width), &QAbstractButton::clicked, this, nullptr);
        Route(Button(s.width), &QAbstractButton::clicked, [this, side] { WidthClicked(side); });

        // The four frames repeat the same captions: the frame's caption comes first.
        const QString frame = s.caption;
        Describe(s.style, frame + " Style");
        Describe(s.styleCombo, frame + " Style keyword");
        Describe(s.colour, frame + " Color");
        Describe(s.colourButton, frame + " Color colour");
        Describe(s.width, frame + " Width");
        Describe(s.valueRadio, frame + " Value");
        Describe(s.valueEdit, frame + " Value number");
        Describe(s.unit, frame + " Value unit");
        Describe(s.keywordRadio, frame + " Keyword");
        Describe(s.keywordCombo, frame + " Keyword keyword");

        const std::string name = s.name;
        const std::string styleTip = name + " - Sets the style of the border";
        const std::string colourTip = name + " - Sets the color of the border";
        const std::string widthTip = name + " - Sets the width of the border";
        SetToolTips({{s.style, styleTip.c_str()},
                     {s.colour, colourTip.c_str()},
                     {s.valueRadio, "Value - Sets the width with a certain value"},
                     {s.keywordRadio, "Keyword - Sets the width with a keyword"},
                     {s.width, widthTip.c_str()}});
    }

    // Per side: Style, style box, Color, colour button, Value, edit, unit,
    // Keyword, keyword box.
    SetEnablingOrder({1174, 1175, 1176, 1177, 1181, 1179, 1180, 1182, 1183,
                      1178, 1185, 1186, 1187, 1190, 1188, 1189, 1191, 1192,
                      1194, 1195, 1196, 1197, 1200, 1198, 1199, 1201, 1202,
                      1204, 1205, 1206, 1207, 1210, 1208, 1209, 1211, 1212});
}

std::string CBorderPage::WidthPart(Side side) const {
    const BorderSide& s = kSides[side];
    // A part whose control is disabled is switched off and left out; that
    // holds for the width keyword too, so an unchecked Width never writes one.
    return Button(s.valueRadio)->isChecked() ? Edit(s.valueEdit)->GetValue() : Combo(s.keywordCombo)->GetValue();
}

void CBorderPage::ComposeSide(Side side) {
    const BorderSide& s = kSides[side];
    SheetDocument& document = host_.Document();
    if (!document.SelectedRule()) return;
    const std::string width = WidthPart(side);
    lastWidth_[side] = width;
    document.SetValue(document.SelectedIndex(), s.property,
                      JoinBorderParts(width, Combo(s.styleCombo)->GetValue(),
                                      ColourButton(s.colourButton)->GetColorText()));
}

void CBorderPage::WidthClicked(Side side) {
    const BorderSide& s = kSides[side];
    SheetDocument& document = host_.Document();
    if (!document.SelectedRule()) return;
    if (!Button(s.width)->isChecked()) {
        document.RemoveValue(document.SelectedIndex(), s.property);
        return;
    }
    if (lastWidth_[side].empty() && WidthPart(side).empty()) {
        // Nothing given yet: the Value choice with its default number.
        Button(s.valueRadio)->setChecked(true);
        RefreshEnabling();
        CPropertyEdit* edit = Edit(s.valueEdit);
        if (edit->text().isEmpty() || edit->text().startsWith(QLatin1Char(' '))) {
            const QSignalBlocker quiet(edit);
            edit->setText(edit->DefaultText());
        }
    }
    // The width given before (a keyword, or a number left in the edit) comes
    // back with the box.
    ComposeSide(side);
}

void CBorderPage::LoadExtra() {
    // The width a side was last composed with belongs to the rule on show: a
    // width composed for another rule must not stop Width from filling one in.
    const StyleRule* rule = host_.Document().SelectedRule();
    if (!rule) return;
    for (int i = 0; i < 4; ++i) {
        const BorderSide& s = kSides[i];
        std::string width;
        if (rule->*s.widthOn) {
            if (rule->*s.widthKind == 1)
                width = rule->*s.widthKeyword;
            else if (!(rule->*s.widthValue).empty())
                width = rule->*s.widthValue + rule->*s.widthUnit;
        }
        lastWidth_[i] = width;
    }
}

}  // namespace larkspur
