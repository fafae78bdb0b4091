#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

// Random but reproducible sheets that touch every property, every value form
// the pages understand, and the untidy forms hand-written sheets use.
class SheetGenerator {
public:
    // Without kept text the sheets hold only the 41 properties and junk.
    explicit SheetGenerator(unsigned seed, bool keptText = true) : rng_(seed), keptText_(keptText) {}

    std::string Sheet() {
        std::string out;
        if (Chance(4)) out += "<!--\r\n";
        const int rules = Pick(5, 40);
        for (int r = 0; r < rules; ++r) {
            std::vector<int> props;
            if (r == 0) {
                for (int i = 0; i < kPropertyCount; ++i) props.push_back(i);
                std::shuffle(props.begin(), props.end(), rng_);
            } else {
                for (int n = Pick(0, 8); n > 0; --n) props.push_back(Pick(0, kPropertyCount - 1));
            }
            out += Selector() + Blank() + "{" + Blank();
            for (size_t k = 0; k < props.size(); ++k) {
                if (Chance(15)) out += "junk;" + Blank();
                if (keptText_ && Chance(20)) out += "COLOR: red;";
                if (keptText_ && Chance(20)) out += "display: block;" + Blank();
                out += std::string(PropertyName(props[k])) + Blank() + ":" + Blank() + Value(props[k]);
                if (k + 1 < props.size() || Chance(2)) out += Blank() + ";";
                out += Blank();
            }
            out += "}" + std::string(Chance(2) ? "\r\n" : "\n");
        }
        if (Chance(4)) out += "-->";
        return out;
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int oneIn) { return Pick(1, oneIn) == 1; }
    template <class List>
    std::string From(const List& list) {
        return std::string(list[static_cast<size_t>(Pick(0, static_cast<int>(list.size()) - 1))]);
    }
    std::string Blank() {
        static const char* blanks[] = {"", " ", "  ", "\t", "\r\n", "\n\t"};
        return blanks[Pick(0, 5)];
    }
    std::string RandomCase(std::string s) {
        for (char& c : s)
            if (Chance(3)) c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
        return s;
    }
    std::string Selector() {
        switch (Pick(0, 4)) {
            case 0: return RandomCase(From(kTagNames));
            case 1: return RandomCase(".class" + std::to_string(Pick(0, 12)));
            case 2: return "#id" + std::to_string(Pick(0, 5));
            case 3: return From(kTagNames) + " > " + From(kTagNames);
            default: return "A:hover";
        }
    }
    std::string Number() {
        static const char* numbers[] = {"0", "1", "2", "1.5", "-3", "12", "100", ".5"};
        return numbers[Pick(0, 7)];
    }
    std::string Length() { return Number() + (Chance(8) ? "" : From(kUnits)); }
    std::string Colour() {
        switch (Pick(0, 3)) {
            case 0: return From(kColourNames);
            case 1: return ColourText(static_cast<ColourValue>(Pick(0, 0xFFFFFF)));
            case 2: return "#" + std::string(1, "0123456789abcdef"[Pick(0, 15)]) + "F0";
            default: return "rgb(" + std::to_string(Pick(0, 255)) + "," + std::to_string(Pick(0, 255)) + ",0)";
        }
    }
    std::string Family() {
        static const char* fonts[] = {"Arial", "Times New Roman", "Courier", "Verdana"};
        std::string f = fonts[Pick(0, 3)];
        switch (Pick(0, 4)) {
            case 0: return f;
            case 1: return From(kGenericFamilies);
            case 2: return f + "," + Blank() + From(kGenericFamilies);
            case 3: return From(kGenericFamilies) + ", " + f;
            default: return f + ", " + fonts[Pick(0, 3)] + ",  " + From(kGenericFamilies);
        }
    }
    std::string Border() {
        std::vector<std::string> parts = {Chance(2) ? Length() : From(kBorderWidths), From(kBorderStyles),
                                          Colour()};
        std::shuffle(parts.begin(), parts.end(), rng_);
        parts.resize(static_cast<size_t>(Pick(1, 3)));
        std::string out;
        for (const std::string& p : parts) out += (out.empty() ? "" : " ") + p;
        return out;
    }
    std::string Value(int property) {
        if (Chance(30)) return "";
        switch (property) {
            case kFontFamily: return Family();
            case kFontStyle: return From(kFontStyles);
            case kFontVariant: return From(kFontVariants);
            case kFontSize: return Chance(2) ? Length() : Chance(2) ? From(kAbsoluteSizes) : From(kRelativeSizes);
            case kFontWeight: return Chance(2) ? From(kFontWeightValues) : std::to_string(Pick(0, 1000));
            case kColor:
            case kBackgroundColor: return Colour();
            case kBackgroundRepeat: return From(kBackgroundRepeats);
            case kBackgroundAttachment: return From(kBackgroundAttachments);
            case kBackgroundImage: return Chance(2) ? "url(img/b" + std::to_string(Pick(0, 9)) + ".gif)" : "none";
            case kBackgroundPosition:
                return Chance(2) ? From(kVerticalPositions) + " " + From(kHorizontalPositions)
                                 : Length() + " " + Length();
            case kTextDecoration: return From(kTextDecorations);
            case kVerticalAlign: return Chance(2) ? From(kVerticalAligns) : Number() + "%";
            case kTextTransform: return From(kTextTransforms);
            case kTextAlign: return From(kTextAligns);
            case kLineHeight: return Chance(3) ? "none" : Chance(2) ? Number() : Length();
            case kMarginTop: case kMarginBottom: case kMarginLeft: case kMarginRight:
                return Chance(3) ? "auto" : Length();
            case kBorderTop: case kBorderBottom: case kBorderLeft: case kBorderRight: return Border();
            case kVisibility: return From(kVisibilities);
            case kZIndex: return std::to_string(Pick(-5, 50));
            case kPosition: return From(kPositions);
            case kOverflow: return From(kOverflows);
            case kClear: return From(kClears);
            case kFloat: return From(kFloats);
            default: return Length();  // spacings, indent, paddings, left, top, height, width
        }
    }

    std::mt19937 rng_;
    bool keptText_;
};

std::string Export(std::string_view text) {
    SheetDocument doc;
    doc.CreateStartRules();
    IoResult r = doc.ReadStyleSheetText(text, "generated.css");
    EXPECT_TRUE(r.ok) << r.error;
    return doc.StyleSheetText();
}

// The listing is the written file, with a last line end where the file had none.
void ExpectListingMatchesFile(const SheetDocument& doc) {
    const std::string saved = doc.StyleSheetText();
    EXPECT_TRUE(doc.GetListing().Text() == saved || doc.GetListing().Text() == saved + std::string(doc.LineEnd()))
        << doc.GetListing().Text();
}

class RoundTripTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(RoundTripTest, ExportOfExportIsByteForByteTheSame) {
    const std::string sheet = SheetGenerator(GetParam()).Sheet();
    SCOPED_TRACE(sheet);
    const std::string once = Export(sheet);
    const std::string twice = Export(once);
    EXPECT_EQ(twice, once);

    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText(sheet, "generated.css"));
    ExpectListingMatchesFile(doc);
    // Every property made it through: the first rule lists all 41 (less the
    // empty ones), so the sheet is never trivially empty.
    EXPECT_NE(once.find(": "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTripTest, ::testing::Range(1u, 41u));

// Every copy of every block is kept: a sheet put together from copies is
// written as it was.
TEST(RoundTripTest, ConcatenatedCopiesAreEachKept) {
    const std::string sheet = Export(SheetGenerator(99, false).Sheet());
    std::string copies;
    for (int i = 0; i < 50; ++i) copies += sheet;
    EXPECT_TRUE(Export(copies) == copies);
}

// Text made of the characters the reader cares about, in any order: it must
// read without fault, and what it lists must be what it writes.
TEST(RoundTripTest, ArbitraryTextReadsSafelyAndConsistently) {
    static const char alphabet[] = "{}:;<>!-/ \t\r\n#,()STYLEstyleRGBrgb0x9aF.%px";
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int n = std::uniform_int_distribution<int>(0, 400)(rng); n > 0; --n)
            text += alphabet[std::uniform_int_distribution<size_t>(0, sizeof alphabet - 2)(rng)];
        for (int property : {kColor, kBorderTop, kFontFamily, kBackgroundPosition, kFontWeight})
            if (rng() % 2) text += "H1{" + std::string(PropertyName(property)) + ":" + text.substr(0, rng() % 12) + "}";
        SCOPED_TRACE(text);
        for (const char* path : {"any.css", "page.html"}) {
            SheetDocument doc;
            doc.CreateStartRules();
            if (doc.ReadStyleSheetText(text, path)) ExpectListingMatchesFile(doc);
        }
    }
}

}  // namespace
}  // namespace larkspur
