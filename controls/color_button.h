#pragma once
#include <QPushButton>
#include <functional>
#include <string>

#include "model/colour.h"

class QAbstractButton;

namespace larkspur {

class CSampleText;
class PageHost;

// A swatch button bound to one colour property: Choose (the page routes the
// click to it) asks for a colour, starting from its own, and stores it as
// "#RRGGBB" (in the sheet's letter case) into the selected rule.
class CColorButton : public QPushButton {
    Q_OBJECT
public:
    enum class SampleMode { Background = 0, Text = 1 };

    explicit CColorButton(QWidget* parent = nullptr);

    void Bind(PageHost& host, ColourValue colour, CSampleText* sample, QAbstractButton* owner,
              int property, SampleMode mode, std::function<void()> callback = nullptr);
    // Gives the selected rule's entry the starting colour when it has no value
    // (not marked changed, so nothing is listed); a value is left alone.
    void SeedEntry();

    bool IsBound() const { return host_ != nullptr; }
    int Property() const { return property_; }
    ColourValue Color() const { return colour_; }
    void SetColor(ColourValue colour);
    // "#RRGGBB" in the sheet's case, or empty while the button is disabled.
    std::string GetColorText() const;
    // Enabled exactly while its check box is checked; the sample follows.
    void UpdateEnabled();

    // The click: colour dialog, then Apply whether or not it was confirmed.
    void Choose();
    // Value into the entry, callback, listing, sample.
    void Apply();
    // Value into the entry only (the switch lists it itself).
    void StoreColour();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DriveSample(ColourValue colour);

    PageHost* host_ = nullptr;
    int property_ = -1;
    ColourValue colour_ = 0;
    CSampleText* sample_ = nullptr;
    QAbstractButton* owner_ = nullptr;
    SampleMode mode_ = SampleMode::Background;
    std::function<void()> callback_;
};

}  // namespace larkspur
