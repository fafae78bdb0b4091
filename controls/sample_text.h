#pragma once
#include <QLabel>

#include "model/colour.h"

namespace larkspur {

// The sample the Font page and its colour buttons paint into: text colour,
// background colour and a 24-point font face.
class CSampleText : public QLabel {
    Q_OBJECT
public:
    explicit CSampleText(const QString& text = QString(), QWidget* parent = nullptr);

    void SetColours(ColourValue text, ColourValue background);
    void SetTextColour(ColourValue colour);
    void SetBackground(ColourValue colour);
    void SetFontFace(const QString& face);

    ColourValue TextColour() const { return text_; }
    ColourValue Background() const { return background_; }

private:
    void ApplyPalette();

    ColourValue text_ = 0x000000;
    ColourValue background_ = 0xFFFFFF;
};

QColor ToQColor(ColourValue colour);
ColourValue FromQColor(const QColor& colour);

}  // namespace larkspur
