// The reader takes whole files from users: bare sheets and HTML pages. After
// any input the listing must agree with the rules, and a sheet written from the
// result must read back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "css/sheet_document.h"

namespace {

void CheckListing(const larkspur::SheetDocument& doc) {
    const auto& listing = doc.GetListing();
    int lines = 0;
    for (const auto& rule : doc.Rules()) {
        if (!rule.listed) continue;
        lines += rule.lineCount + 1;
        if (rule.firstLine < 0 || rule.firstLine + rule.lineCount >= listing.Count()) __builtin_trap();
        if (listing.Line(rule.firstLine) != rule.selector + "{") __builtin_trap();
        if (listing.Line(rule.firstLine + rule.lineCount) != "}") __builtin_trap();
    }
    if (lines != listing.Count()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks how the file is named: a bare sheet or a page.
    const bool bare = data[0] & 1;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    larkspur::SheetDocument doc;
    doc.CreateStartRules();
    larkspur::IoResult r = doc.ReadStyleSheetText(text, bare ? "input.css" : "input.html");
    CheckListing(doc);
    if (!r) return 0;
    const std::string once = doc.StyleSheetText();
    // A value holding "<STYLE" or "<!--" is taken for markup when read again.
    if (once.find('<') != std::string::npos) return 0;
    larkspur::SheetDocument again;
    again.CreateStartRules();
    if (!again.ReadStyleSheetText(once, "again.css")) __builtin_trap();
    CheckListing(again);
    if (again.StyleSheetText() != once) __builtin_trap();
    return 0;
}
