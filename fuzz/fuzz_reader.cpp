// The reader takes whole files from users: bare sheets and HTML pages. After
// any input the listing must agree with the rules, and a sheet written from the
// result must read back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <algorithm>
#include <utility>
#include <vector>

#include "css/rule_text.h"
#include "css/sheet_document.h"
#include "model/text_util.h"
#include "model/vocabulary.h"

namespace {

// Every listed rule's text is a whole rule inside the listing, and no two
// overlap.
void CheckListing(const larkspur::SheetDocument& doc) {
    const std::string& text = doc.GetListing().Text();
    std::vector<std::pair<size_t, size_t>> spans;
    for (int i = 0; i < doc.RuleCount(); ++i) {
        const larkspur::RulePlace& place = doc.PlaceOf(i);
        if (!place.placed) continue;
        if (place.offset + place.length > text.size()) __builtin_trap();
        larkspur::RuleText rule;
        if (!rule.Split(doc.RuleTextOf(i))) __builtin_trap();
        spans.emplace_back(place.offset, place.length);
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i - 1].first + spans[i - 1].second > spans[i].first) __builtin_trap();
}

// Nothing the pages do not edit is lost: in a plain sheet (no strings,
// comments, escapes, url() or markup, so braces are all structure) every
// declaration inside a block whose name is none of the 41 is in the output.
void CheckKeptDeclarations(std::string_view in, const std::string& out) {
    for (const char* tricky : {"\"", "'", "/*", "\\", "url(", "URL(", "<"})
        if (in.find(tricky) != std::string_view::npos) return;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c != '{' && c != '}' && c != ';') continue;
        const std::string_view segment = larkspur::TrimAsciiSpace(in.substr(start, i - start));
        start = i + 1;
        if (c != '{' && depth > 0) {
            const size_t colon = segment.find(':');
            const std::string_view name = larkspur::TrimAsciiSpace(segment.substr(0, colon));
            bool plainName = colon != std::string_view::npos && !name.empty();
            for (char n : name) plainName &= larkspur::IsAsciiLetter(n) || larkspur::IsAsciiDigit(n) || n == '-' || n == '_';
            bool edited = false;
            for (int p = 0; p < larkspur::kPropertyCount; ++p) edited |= larkspur::PropertyName(p) == name;
            if (plainName && !edited && out.find(segment) == std::string::npos) __builtin_trap();
        }
        if (c == '{') ++depth;
        if (c == '}' && depth > 0) --depth;
    }
}

}  // namespace

// Every input builds and frees whole documents; a smaller quarantine keeps
// that memory warm (2-3 times the speed) and still catches a use of memory
// freed within the same input.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks how the file is named (bit 0: a bare sheet or a
    // page) and whether the document starts with the editor's tag rules: only
    // for 'T' and 'U' (0x54, 0x55), as the rules cost more to make than most
    // inputs to read, and mutations favour zero bytes.
    const bool bare = data[0] & 1;
    const bool startRules = (data[0] >> 1) == (0x54 >> 1);
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    larkspur::SheetDocument doc;
    if (startRules) doc.CreateStartRules();
    larkspur::IoResult r = doc.ReadStyleSheetText(text, bare ? "input.css" : "input.html");
    CheckListing(doc);
    if (!r) return 0;
    const std::string once = doc.StyleSheetText();
    if (bare) CheckKeptDeclarations(text, once);
    // A value holding "<STYLE" or "<!--" is taken for markup when read again.
    if (once.find('<') != std::string::npos) return 0;
    larkspur::SheetDocument again;
    if (startRules) again.CreateStartRules();
    if (!again.ReadStyleSheetText(once, "again.css")) __builtin_trap();
    CheckListing(again);
    if (again.StyleSheetText() != once) __builtin_trap();
    return 0;
}
