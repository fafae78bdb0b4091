#include "pages/font_page.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/bound_store.h"
#include "controls/list_combo.h"
#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "controls/property_switch.h"
#include "controls/sample_text.h"
#include "css/sheet_document.h"
#include "pages/page_host.h"

namespace larkspur {
namespace {

constexpr ColourValue kRed = MakeColour(255, 0, 0);
constexpr ColourValue kWhite = MakeColour(255, 255, 255);

}  // namespace

CFontPage::CFontPage(PageHost& host, QWidget* parent) : CPropertyPage(host, kResourceId, "Font", parent) {
    CreatePlainCheck(kFirstCheck, "&First Choice Font");
    CreatePlainCombo(kFirstCombo, {}, true);
    CreatePlainCheck(kSecondCheck, "S&econd Choice Font");
    CreatePlainCombo(kSecondCombo, {}, true);
    CreatePlainCheck(kGenericCheck, "&Generic Font");
    CreatePlainCombo(kGenericCombo, kGenericFamilies, false);
    CreateCheck(kStyle, "St&yle");
    CreateCombo(kStyleCombo, kFontStyles, true);
    CreateCheck(kVariant, "&Variant");
    CreateCombo(kVariantCombo, kFontVariants, true);
    CreateCheck(kWeight, "&Weight");
    CreateCombo(kWeightCombo, kFontWeightNames, false);
    CreateCheck(kSize, "Si&ze");
    CreateRadio(kAbsolute, "&Absolute", kSize, 0);
    CreateCombo(kAbsoluteCombo, kAbsoluteSizes, false);
    CreateRadio(kRelative, "&Relative", kSize, 1);
    CreateCombo(kRelativeCombo, kRelativeSizes, false);
    CreateRadio(kValue, "Va&lue", kSize, 2);
    CreateEdit(kValueEdit);
    CreateUnitCombo(kValueUnit);
    CreateRadio(kPercent, "&Percentage", kSize, 3);
    CreateEdit(kPercentEdit);
    CreateCheck(kColour, "&Color");
    CreateColourButton(kColourButton);
    CreateCheck(kBack, "&Background");
    CreateColourButton(kBackButton);
    sample_ = new CSampleText("AaBbYyZz", this);
    sample_->setObjectName(QStringLiteral("c%1").arg(kSampleId));
    Describe(sample_, "Sample");

    BuildLayout();
    Bind();
    FillFontFamilies();
}

void CFontPage::BuildLayout() {
    auto* families = new QGroupBox("Font Family", this);
    auto* fg = new QGridLayout(families);
    fg->addWidget(Control(kFirstCheck), 0, 0);
    fg->addWidget(Control(kFirstCombo), 0, 1);
    fg->addWidget(Control(kSecondCheck), 1, 0);
    fg->addWidget(Control(kSecondCombo), 1, 1);
    fg->addWidget(Control(kGenericCheck), 2, 0);
    fg->addWidget(Control(kGenericCombo), 2, 1);
    fg->setColumnStretch(1, 1);

    auto* look = new QGridLayout;
    look->addWidget(Control(kStyle), 0, 0);
    look->addWidget(Control(kStyleCombo), 0, 1);
    look->addWidget(Control(kVariant), 1, 0);
    look->addWidget(Control(kVariantCombo), 1, 1);
    look->addWidget(Control(kWeight), 2, 0);
    look->addWidget(Control(kWeightCombo), 2, 1);
    look->addWidget(Control(kColour), 3, 0);
    look->addWidget(Control(kColourButton), 3, 1, Qt::AlignLeft);
    look->addWidget(Control(kBack), 4, 0);
    look->addWidget(Control(kBackButton), 4, 1, Qt::AlignLeft);
    look->setColumnStretch(1, 1);

    auto* size = new QGroupBox(this);
    auto* sg = new QGridLayout(size);
    sg->addWidget(Control(kSize), 0, 0, 1, 3);
    sg->addWidget(Control(kAbsolute), 1, 0);
    sg->addWidget(Control(kAbsoluteCombo), 1, 1, 1, 2);
    sg->addWidget(Control(kRelative), 2, 0);
    sg->addWidget(Control(kRelativeCombo), 2, 1, 1, 2);
    sg->addWidget(Control(kValue), 3, 0);
    sg->addWidget(Control(kValueEdit), 3, 1);
    sg->addWidget(Control(kValueUnit), 3, 2);
    sg->addWidget(Control(kPercent), 4, 0);
    sg->addWidget(Control(kPercentEdit), 4, 1);
    sg->setColumnStretch(1, 1);
    // Part of the page and kept up to date, but not shown.
    Control(kPercent)->hide();
    Control(kPercentEdit)->hide();
    sample_->hide();

    auto* lower = new QHBoxLayout;
    lower->addLayout(look, 1);
    lower->addWidget(size, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(families);
    page->addLayout(lower);
    page->addWidget(sample_);
    page->addStretch(1);
}

void CFontPage::Bind() {
    BindFlag(kFirstCheck, &PageState::fontFamily1On);
    BindText(kFirstCombo, &PageState::fontFamily1);
    BindFlag(kSecondCheck, &PageState::fontFamily2On);
    BindText(kSecondCombo, &PageState::fontFamily2);
    BindFlag(kGenericCheck, &PageState::fontGenericOn);
    BindText(kGenericCombo, &PageState::fontGeneric);
    Describe(kFirstCombo, "First Choice Font keyword");
    Describe(kSecondCombo, "Second Choice Font keyword");
    Describe(kGenericCombo, "Generic Font keyword");

    BindCombo(kStyle, kStyleCombo, kFontStyle, &PageState::fontStyleOn, &PageState::fontStyle);
    BindCombo(kVariant, kVariantCombo, kFontVariant, &PageState::fontVariantOn, &PageState::fontVariant);
    BindCombo(kWeight, kWeightCombo, kFontWeight, &PageState::fontWeightOn, &PageState::fontWeight,
              kFontWeightValues);
    BindGroup(kSize, kFontSize, &PageState::fontSizeOn, &PageState::fontSizeKind, kAbsolute);
    BindCombo(kAbsolute, kAbsoluteCombo, kFontSize, nullptr, &PageState::fontSizeAbsolute);
    BindCombo(kRelative, kRelativeCombo, kFontSize, nullptr, &PageState::fontSizeRelative);
    BindEdit(kValue, kValueEdit, kFontSize, nullptr, &PageState::fontSizeValue, "12",
             {.unitId = kValueUnit, .unit = &PageState::fontSizeUnit});
    BindEdit(kPercent, kPercentEdit, kFontSize, nullptr, &PageState::fontSizePercent, "100",
             {.suffix = "%"});
    sample_->SetColours(kRed, kWhite);
    BindColour(kColour, kColourButton, kColor, &PageState::colorOn, &PageState::color, kRed, sample_,
               CColorButton::SampleMode::Text);
    BindColour(kBack, kBackButton, kBackgroundColor, &PageState::backgroundColorOn,
               &PageState::backgroundColor, kRed, sample_, CColorButton::SampleMode::Background);

    SetEnablingOrder({kAbsolute, kRelative, kValue, kPercent, kStyleCombo, kVariantCombo, kWeightCombo,
                      kRelativeCombo, kAbsoluteCombo, kValueEdit, kValueUnit, kPercentEdit,
                      kColourButton, kBackButton});
    SetToolTips({
        {kBack, "background-color - Sets the background color of the selected tag"},
        {kColour, "color - Sets the foreground color of the selected tag"},
        {kSize, "font-size - Sets the font size of the selected tag"},
        {kRelative, "Relative value - sets the size relative to the surrounding elements"},
        {kAbsolute, "Absolute value - Sets the value no matter what the surrounding values are"},
        {kValue, "Value - Sets the size to a specific size"},
        {kPercent, ""},
        {kWeight, "font-weight - Sets the weight of the font, making it darker or lighter"},
        {kStyle, "font-style - Sets the style of the font (ie Italic)"},
        {kVariant, "font-variant - Enables you to select the font to \"small-caps\""},
        {kSecondCheck, "font-family - Selects the second choice font"},
        {kGenericCheck, "font-family - Selects the generic font"},
        {kFirstCheck, "font-family - Selects the first choice font"},
    });

    Route(ListCombo(kFirstCombo), &CListCombo::ClosedUp, [this] { FirstFamilyPicked(); });
    Route(ListCombo(kSecondCombo), &CListCombo::ClosedUp, [this] { SecondFamilyPicked(); });
    Route(ListCombo(kGenericCombo), &CListCombo::ClosedUp, [this] { GenericFamilyPicked(); });
    Route(Button(kFirstCheck), &QAbstractButton::clicked, [this] { FirstChoiceClicked(); });
    Route(Button(kSecondCheck), &QAbstractButton::clicked, [this] { SecondChoiceClicked(); });
    Route(Button(kGenericCheck), &QAbstractButton::clicked, [this] { GenericClicked(); });
}

QStringList CssFamilyNames(const QStringList& installed) {
    QStringList names;
    for (QString family : installed) {
        if (family.endsWith(QLatin1Char(']'))) {
            const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
            if (open > 0) family.truncate(open);
        }
        names.append(family);
    }
    names.removeDuplicates();
    return names;
}

void CFontPage::FillFontFamilies() {
    const QStringList families = CssFamilyNames(QFontDatabase::families());
    ListCombo(kFirstCombo)->AddItems(families);
    ListCombo(kSecondCombo)->AddItems(families);
}

void CFontPage::RefreshExtra() {
    const QString first = ListCombo(kFirstCombo)->currentText();
    if (!first.isEmpty()) sample_->SetFontFace(first);
    const bool firstOn = Button(kFirstCheck)->isChecked();
    Control(kFirstCombo)->setEnabled(firstOn);
    Control(kSecondCheck)->setEnabled(firstOn);
    Control(kSecondCombo)->setEnabled(firstOn && Button(kSecondCheck)->isChecked());
    Control(kGenericCombo)->setEnabled(Button(kGenericCheck)->isChecked());
}

void CFontPage::SetFamilyPart(SheetDocument::FamilyPart part, const QString& family) {
    SheetDocument& doc = host_.Document();
    if (doc.SelectedRule() && !family.isEmpty()) doc.SetFamilyPart(doc.SelectedIndex(), part, family.toStdString());
}

void CFontPage::SwitchFamilyPart(SheetDocument::FamilyPart part, bool on) {
    SheetDocument& doc = host_.Document();
    if (doc.SelectedRule()) doc.SwitchFamilyPart(doc.SelectedIndex(), part, on);
}

void CFontPage::FirstFamilyPicked() {
    SetFamilyPart(SheetDocument::FamilyPart::First, ListCombo(kFirstCombo)->SelectedItemText());
    sample_->SetFontFace(ListCombo(kFirstCombo)->SelectedItemText());
}

void CFontPage::SecondFamilyPicked() {
    SetFamilyPart(SheetDocument::FamilyPart::Second, ListCombo(kSecondCombo)->SelectedItemText());
}

void CFontPage::GenericFamilyPicked() {
    SetFamilyPart(SheetDocument::FamilyPart::Generic, ListCombo(kGenericCombo)->SelectedItemText());
}

void CFontPage::FirstChoiceClicked() {
    SwitchFamilyPart(SheetDocument::FamilyPart::First, Button(kFirstCheck)->isChecked());
}

void CFontPage::SecondChoiceClicked() {
    const bool on = Button(kSecondCheck)->isChecked();
    if (on && ListCombo(kSecondCombo)->currentText().isEmpty()) return;
    SwitchFamilyPart(SheetDocument::FamilyPart::Second, on);
}

void CFontPage::GenericClicked() {
    const bool on = Button(kGenericCheck)->isChecked();
    if (on && ListCombo(kGenericCombo)->currentText().isEmpty()) return;
    SwitchFamilyPart(SheetDocument::FamilyPart::Generic, on);
}

}  // namespace larkspur
