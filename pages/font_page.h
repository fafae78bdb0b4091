#pragma once
#include "css/sheet_document.h"
#include "pages/property_page.h"

class QCheckBox;

namespace larkspur {

class CListCombo;
class CSampleText;

// Family names as a style sheet names them: the installed families without
// the " [foundry]" that tells same-named families apart, each once.
QStringList CssFamilyNames(const QStringList& installed);

// Font family (first, second and generic choice), style, variant, weight,
// size, colour and background colour.
class CFontPage : public CPropertyPage {
    Q_OBJECT
public:
    // Control ids.
    enum ControlId : int {
        kFirstCheck = 1034, kFirstCombo = 1032, kSecondCheck = 1037, kSecondCombo = 1038,
        kGenericCheck = 1039, kGenericCombo = 1021, kStyle = 1035, kStyleCombo = 1036,
        kVariant = 1041, kVariantCombo = 1042, kWeight = 1044, kWeightCombo = 1031, kSize = 1059,
        kAbsolute = 1046, kAbsoluteCombo = 1051, kRelative = 1047, kRelativeCombo = 1055,
        kValue = 1049, kValueEdit = 1053, kValueUnit = 1143, kPercent = 1050, kPercentEdit = 1054,
        kColour = 1058, kColourButton = 1030, kBack = 1076, kBackButton = 1074, kSampleId = 1026
    };
    static constexpr int kResourceId = 129;
    explicit CFontPage(PageHost& host, QWidget* parent = nullptr);

    CSampleText* Sample() const { return sample_; }

protected:
    void RefreshExtra() override;

private:
    void BuildLayout();
    void Bind();
    void FillFontFamilies();

    // Font-family handling: three parts of one entry.
    void FirstFamilyPicked();
    void SecondFamilyPicked();
    void GenericFamilyPicked();
    void FirstChoiceClicked();
    void SecondChoiceClicked();
    void GenericClicked();
    // Through the document, for the selected rule.
    void SetFamilyPart(SheetDocument::FamilyPart part, const QString& family);
    void SwitchFamilyPart(SheetDocument::FamilyPart part, bool on);

    CSampleText* sample_ = nullptr;
};

}  // namespace larkspur
