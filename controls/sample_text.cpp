#include "controls/sample_text.h"

namespace larkspur {

QColor ToQColor(ColourValue colour) { return QColor(int(RedOf(colour)), int(GreenOf(colour)), int(BlueOf(colour))); }
ColourValue FromQColor(const QColor& colour) {
    return MakeColour(unsigned(colour.red()), unsigned(colour.green()), unsigned(colour.blue()));
}

CSampleText::CSampleText(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAutoFillBackground(true);
    ApplyPalette();
}

void CSampleText::ApplyPalette() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(text_));
    p.setColor(QPalette::Window, ToQColor(background_));
    setPalette(p);
}

void CSampleText::SetColours(ColourValue text, ColourValue background) {
    text_ = text;
    background_ = background;
    ApplyPalette();
}

void CSampleText::SetTextColour(ColourValue colour) {
    text_ = colour;
    ApplyPalette();
}

void CSampleText::SetBackground(ColourValue colour) {
    background_ = colour;
    ApplyPalette();
}

void CSampleText::SetFontFace(const QString& face) {
    QFont f(face);
    f.setPointSize(24);
    setFont(f);
}

}  // namespace larkspur
