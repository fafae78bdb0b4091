#include "layout_sheet.h"

#include <array>
#include <string_view>

#include "model/vocabulary.h"

namespace larkspur {
namespace {

// Values per property, by entry index; one column per rule.
constexpr int kVariants = 4;
using Row = std::array<std::string_view, kVariants>;

constexpr std::array<Row, kPropertyCount> kValues = {{
    {"Arial", "Times New Roman, Georgia, serif", "monospace", "Verdana, sans-serif"},
    {"italic", "normal", "oblique", "italic"},
    {"small-caps", "normal", "small-caps", "normal"},
    {"12pt", "xx-large", "smaller", "150%"},
    {"bold", "700", "lighter", "100"},
    {"#FF0000", "#00FF00", "#000080", "#C0C0C0"},
    {"repeat-x", "no-repeat", "repeat", "repeat-y"},
    {"fixed", "scroll", "fixed", "scroll"},
    {"#FFFFFF", "#008080", "#FFFF00", "#800000"},
    {"url(img/back.gif)", "url(../a.png)", "url(tile.jpg)", "url(x/y/z.gif)"},
    {"top left", "10px 20%", "bottom center", "1em 2em"},
    {"2px", "1em", "0.5cm", "3%"},
    {"underline", "none", "line-through", "overline"},
    {"1pt", "0.1em", "2mm", "4px"},
    {"sub", "50%", "text-top", "baseline"},
    {"uppercase", "capitalize", "none", "lowercase"},
    {"center", "justify", "left", "right"},
    {"2em", "10%", "1in", "3ex"},
    {"1.5", "120%", "none", "2em"},
    {"auto", "2px", "1.5em", "10%"},
    {"3pt", "auto", "4mm", "1ex"},
    {"1cm", "5%", "auto", "7px"},
    {"0.5in", "2em", "12pt", "auto"},
    {"1px", "2em", "3%", "4mm"},
    {"5pt", "6px", "7ex", "8cm"},
    {"9in", "10%", "11em", "12px"},
    {"13mm", "14pt", "15%", "16em"},
    {"thick solid #FF0000", "2px dashed", "#00FF00", "medium"},
    {"1em groove #0000FF", "thin", "dotted", "3px #123456"},
    {"double", "4pt ridge", "thick #ABCDEF", "5% inset #000000"},
    {"outset #FFFFFF", "none", "6mm", "medium solid"},
    {"hidden", "visible", "hidden", "visible"},
    {"1", "10", "-2", "100"},
    {"absolute", "relative", "static", "absolute"},
    {"auto", "hidden", "scroll", "visible"},
    {"10px", "5%", "1em", "2cm"},
    {"20px", "3em", "0", "15%"},
    {"100px", "50%", "12em", "4in"},
    {"200px", "80%", "30em", "5cm"},
    {"both", "left", "right", "none"},
    {"left", "right", "none", "left"},
}};

// Rule-list order: tags in the order of the start list, then added rules.
constexpr std::array<std::string_view, kVariants> kSelectors = {"H1", "P", ".note", "#main"};

}  // namespace

std::string EveryPropertySheet() {
    std::string out;
    for (int v = 0; v < kVariants; ++v) {
        out += kSelectors[v];
        out += " {\r\n";
        for (int i = 0; i < kPropertyCount; ++i) {
            out += PropertyName(i);
            out += ": ";
            out += kValues[i][v];
            out += ";\r\n";
        }
        out += "}\r\n";
    }
    return out;
}

}  // namespace larkspur
