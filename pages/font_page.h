#pragma once
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
    // Lists the family declaration from the parts that are set, or takes it
    // out when none is.
    void ListFamily();

    CSampleText* sample_ = nullptr;
};

}  // namespace larkspur
