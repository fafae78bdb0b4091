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

enum : int {
    kFirstCheck = 1034, kFirstCombo = 1032, kSecondCheck = 1037, kSecondCombo = 1038,
    kGenericCheck = 1039, kGenericCombo = 1021, kStyle = 1035, kStyleCombo = 1036,
    kVariant = 1041, kVariantCombo = 1042, kWeight = 1044, kWeightCombo = 1031, kSize = 1059,
    kAbsolute = 1046, kAbsoluteCombo = 1051, kRelative = 1047, kRelativeCombo = 1055,
    kValue = 1049, kValueEdit = 1053, kValueUnit = 1143, kPercent = 1050, kPercentEdit = 1054,
    kColour = 1058, kColourButton = 1030, kBack = 1076, kBackButton = 1074, kSampleId = 1026
};

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

// A part's flag goes up only with a text to go with it: a set flag on an
// empty part would write "font-family: , serif;".

void CFontPage::ListFamily() {
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (!e) return;
    SheetDocument& doc = host_.Document();
    // The second choice is written only behind a first one.
    const int keepAlternate = e->alternateSet;
    if (!e->valueSet) e->alternateSet = 0;
    if ((e->valueSet && !e->value.empty()) || (e->genericSet && !e->generic.empty()))
        doc.ListDeclaration(kFontFamily);
    else
        doc.UnlistDeclaration(kFontFamily);
    e->alternateSet = keepAlternate;
}

void CFontPage::FirstFamilyPicked() {
    const QString family = ListCombo(kFirstCombo)->SelectedItemText();
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (e && !family.isEmpty()) {
        e->value = ToBytes(family);
        e->valueSet = 1;
        e->changed = 1;
        ListFamily();
    }
    sample_->SetFontFace(ListCombo(kFirstCombo)->SelectedItemText());
}

void CFontPage::SecondFamilyPicked() {
    const QString family = ListCombo(kSecondCombo)->SelectedItemText();
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (!e || family.isEmpty()) return;
    e->alternate = ToBytes(family);
    e->alternateSet = 1;
    e->changed = 1;
    ListFamily();
}

void CFontPage::GenericFamilyPicked() {
    const QString family = ListCombo(kGenericCombo)->SelectedItemText();
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (!e || family.isEmpty()) return;
    e->generic = ToBytes(family);
    e->genericSet = 1;
    e->changed = 1;
    ListFamily();
}

void CFontPage::FirstChoiceClicked() {
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (!e) return;
    if (Button(kFirstCheck)->isChecked()) {
        e->valueSet = e->value.empty() ? 0 : 1;
        if (e->changed) ListFamily();
    } else {
        e->valueSet = 0;
        ListFamily();
    }
}

void CFontPage::SecondChoiceClicked() {
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (!e) return;
    if (Button(kSecondCheck)->isChecked()) {
        if (ListCombo(kSecondCombo)->currentText().isEmpty() || e->alternate.empty()) return;
        e->alternateSet = 1;
        if (e->changed) ListFamily();
    } else {
        e->alternateSet = 0;
        ListFamily();
    }
}

void CFontPage::GenericClicked() {
    PropertyEntry* e = SelectedEntry(host_, kFontFamily);
    if (!e) return;
    if (Button(kGenericCheck)->isChecked()) {
        if (ListCombo(kGenericCombo)->currentText().isEmpty() || e->generic.empty()) return;
        e->genericSet = 1;
        if (e->changed) ListFamily();
    } else {
        e->genericSet = 0;
        ListFamily();
    }
}

}  // namespace larkspur
