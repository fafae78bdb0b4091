// Edits of any declaration on a sheet read from the input: after every one
// the rule is still a whole rule in the listing, an edit taken back gives the
// sheet back, and switching every row that is on off and on again changes
// nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "css/rule_text.h"
#include "css/sheet_document.h"

namespace {

using larkspur::Declaration;
using larkspur::SheetDocument;

void Trap(bool ok) {
    if (!ok) __builtin_trap();
}

// The rows that are on, off last first and on again first first.
void SwitchAllOffAndOn(SheetDocument& doc, int rule) {
    const std::string before = doc.StyleSheetText();
    const std::vector<Declaration> rows = doc.Declarations(rule);
    for (size_t r = rows.size(); r-- > 0;)
        if (rows[r].on) doc.SwitchDeclaration(rule, static_cast<int>(r), false);
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].on) doc.SwitchDeclaration(rule, static_cast<int>(r), true);
    Trap(doc.StyleSheetText() == before);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The sheet, a NUL, then the edits: three bytes each.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find('\0');
    const std::string_view sheet = input.substr(0, cut);
    const std::string_view edits = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
    SheetDocument doc;
    doc.CreateStartRules();
    if (!doc.ReadStyleSheetText(sheet, "f.css")) return 0;
    static const Declaration kWritten[] = {{"color", "teal"}, {"--x", "a;b"}, {"margin-top", "1em", true},
                                           {"display", ""}, {"font-family", "\"A\", serif"}};
    for (size_t at = 0; at + 3 <= edits.size(); at += 3) {
        const int rule = static_cast<unsigned char>(edits[at]) % doc.RuleCount();
        const int rows = static_cast<int>(doc.Declarations(rule).size());
        const int row = rows == 0 ? 0 : static_cast<unsigned char>(edits[at + 1]) % (rows + 1);
        const Declaration& d = kWritten[static_cast<unsigned char>(edits[at + 2]) % std::size(kWritten)];
        const std::string text = doc.StyleSheetText();
        const larkspur::RuleSnapshot start = doc.Snapshot(rule);
        switch (static_cast<unsigned char>(edits[at + 2]) / 64) {
        case 0: doc.SetDeclaration(rule, row, d); break;
        case 1: doc.InsertDeclaration(rule, row, d); break;
        case 2: doc.RemoveDeclaration(rule, row); break;
        default: doc.SwitchDeclaration(rule, row, false); break;
        }
        larkspur::RuleText split;
        Trap(doc.RuleTextOf(rule).empty() || split.Split(doc.RuleTextOf(rule)));
        const larkspur::RuleSnapshot after = doc.Snapshot(rule);
        doc.RestoreRules({start});
        Trap(doc.StyleSheetText() == text);
        doc.RestoreRules({after});
        SwitchAllOffAndOn(doc, rule);
    }
    return 0;
}
