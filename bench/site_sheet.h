// A generated site sheet the way large real-world sheets are made: thousands
// of selectors, hand-written spacing, comments, properties the editor does
// not know.
#pragma once
#include <random>
#include <string>

#include "model/colour.h"
#include "model/vocabulary.h"

namespace larkspur::bench {

class SiteSheet {
public:
    explicit SiteSheet(unsigned seed) : rng_(seed) {}

    std::string Make(int rules) {
        std::string out = "/* site " + std::to_string(rng_()) + " */\n";
        for (int r = 0; r < rules; ++r) {
            if (Pick(0, 40) == 0) out += "\n/* ---- section " + std::to_string(Pick(0, 99)) + " ---- */\n";
            out += Selector();
            out += Pick(0, 3) ? " {\n" : "{";
            for (int n = Pick(2, 9); n > 0; --n) {
                out += Pick(0, 4) ? "  " : "\t";
                if (Pick(0, 3) == 0) {
                    static const char* unknown[] = {"display: block", "box-sizing: border-box",
                                                    "transition: all .2s ease-in-out",
                                                    "-webkit-box-shadow: 0 1px 2px rgba(0,0,0,.075)",
                                                    "cursor: pointer", "opacity: .65", "min-height: 1px"};
                    out += unknown[Pick(0, 6)];
                } else {
                    int p = Pick(0, kPropertyCount - 1);
                    out += PropertyName(p);
                    out += ": ";
                    out += Value(p);
                }
                out += ";\n";
            }
            out += "}\n";
        }
        return out;
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    template <class L>
    std::string From(const L& l) { return std::string(l[static_cast<size_t>(Pick(0, int(l.size()) - 1))]); }

    std::string Name() {
        static const char* stems[] = {"nav", "btn", "card", "header", "footer", "col", "row", "list",
                                      "item", "modal", "form", "input", "badge", "alert", "table", "media"};
        static const char* mods[] = {"", "-primary", "-lg", "-sm", "-group", "-title", "-body", "-link",
                                     "-active", "-disabled", "-inline", "-fluid"};
        return std::string(stems[Pick(0, 15)]) + mods[Pick(0, 11)] + "-" + std::to_string(Pick(0, 40));
    }
    std::string Selector() {
        switch (Pick(0, 6)) {
            case 0: return From(kTagNames);
            case 1: case 2: return "." + Name();
            case 3: return "#" + Name();
            case 4: return "." + Name() + " > " + From(kTagNames);
            case 5: return "." + Name() + ":hover";
            default: return From(kTagNames) + "." + Name() + ", ." + Name();
        }
    }
    std::string Length() {
        static const char* n[] = {"0", "1", "2", "4", "8", "12", "1.5", "0.25", "100", "-1"};
        return std::string(n[Pick(0, 9)]) + From(kUnits);
    }
    std::string Colour() {
        switch (Pick(0, 2)) {
            case 0: return From(kColourNames);
            case 1: return ColourText(static_cast<ColourValue>(Pick(0, 0xFFFFFF)));
            default: return "rgb(" + std::to_string(Pick(0, 255)) + ", " + std::to_string(Pick(0, 255)) + ", 0)";
        }
    }
    std::string Value(int p) {
        switch (p) {
            case kFontFamily: return Pick(0, 1) ? "\"Helvetica Neue\", Helvetica, Arial, sans-serif" : "monospace";
            case kFontStyle: return From(kFontStyles);
            case kFontVariant: return From(kFontVariants);
            case kFontSize: return Pick(0, 1) ? Length() : From(kAbsoluteSizes);
            case kFontWeight: return From(kFontWeightValues);
            case kColor: case kBackgroundColor: return Colour();
            case kBackgroundRepeat: return From(kBackgroundRepeats);
            case kBackgroundAttachment: return From(kBackgroundAttachments);
            case kBackgroundImage: return "url(/img/bg-" + std::to_string(Pick(0, 30)) + ".png)";
            case kBackgroundPosition: return From(kVerticalPositions) + " " + From(kHorizontalPositions);
            case kTextDecoration: return From(kTextDecorations);
            case kVerticalAlign: return From(kVerticalAligns);
            case kTextTransform: return From(kTextTransforms);
            case kTextAlign: return From(kTextAligns);
            case kLineHeight: return Pick(0, 1) ? "1.42857143" : Length();
            case kBorderTop: case kBorderBottom: case kBorderLeft: case kBorderRight:
                return Length() + " " + From(kBorderStyles) + " " + Colour();
            case kVisibility: return From(kVisibilities);
            case kZIndex: return std::to_string(Pick(0, 1050));
            case kPosition: return From(kPositions);
            case kOverflow: return From(kOverflows);
            case kClear: return From(kClears);
            case kFloat: return From(kFloats);
            case kMarginTop: case kMarginBottom: case kMarginLeft: case kMarginRight:
                return Pick(0, 3) ? Length() : "auto";
            default: return Length();
        }
    }
    std::mt19937 rng_;
};

}  // namespace larkspur::bench
