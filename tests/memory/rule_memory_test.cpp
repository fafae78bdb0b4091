// What reading a sheet allocates, counted by replacing the global operator
// new for this test binary alone: a rule must cost what it sets, never the
// properties it leaves at their defaults.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<size_t> allocations{0};
std::atomic<size_t> bytes{0};

}  // namespace

// The replacements below pair malloc with free; the compiler sees only the
// operator names.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
        bytes.fetch_add(size, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace larkspur {
namespace {

constexpr int kRules = 10000;

struct Cost {
    size_t allocations = 0;
    size_t bytes = 0;
};

// Allocations made by reading the sheet into a document that holds the start
// rules already.
Cost ReadCost(const std::string& sheet) {
    SheetDocument doc;
    doc.CreateStartRules();
    allocations = 0;
    bytes = 0;
    counting = true;
    const bool read = static_cast<bool>(doc.ReadStyleSheetText(sheet, "sheet.css"));
    counting = false;
    EXPECT_TRUE(read);
    EXPECT_EQ(doc.RuleCount(), 56 + kRules);
    return {allocations.load(), bytes.load()};
}

// kRules distinct rules, each with the one declaration given.
std::string Sheet(std::string_view declaration) {
    std::string sheet;
    for (int i = 0; i < kRules; ++i) {
        sheet += ".c" + std::to_string(i) + "{";
        sheet += declaration;
        sheet += "}\n";
    }
    return sheet;
}

// A value for every property, each with the longest page state it implies.
std::string ValueFor(int property) {
    switch (property) {
        case kFontFamily: return "Arial, Helvetica, serif";
        case kFontSize: return "12pt";
        case kFontWeight: return "700";
        case kColor: case kBackgroundColor: return "#102030";
        case kBackgroundImage: return "url(a.png)";
        case kBackgroundPosition: return "10% 20px";
        case kVerticalAlign: return "50%";
        case kLineHeight: return "1.5em";
        case kBorderTop: case kBorderBottom: case kBorderLeft: case kBorderRight: return "thin solid red";
        case kZIndex: return "3";
        default: return "2px";
    }
}

class OneDeclarationRules : public testing::TestWithParam<int> {};

// A default page state alone is some 3 KB and the 41 entries 5 KB more; a
// rule of one declaration holds its entry, the declaration's listing line and
// a long value's text.
TEST_P(OneDeclarationRules, CostTheDeclarationNotTheDefaults) {
    const std::string declaration = std::string(PropertyName(GetParam())) + ":" + ValueFor(GetParam());
    const Cost cost = ReadCost(Sheet(declaration));
    SCOPED_TRACE(declaration + ": " + std::to_string(cost.allocations) + " allocations, " +
                 std::to_string(cost.bytes) + " bytes");
    EXPECT_LE(cost.allocations, size_t{3} * kRules + 100);
    EXPECT_LT(cost.bytes / kRules, 600u);
}

INSTANTIATE_TEST_SUITE_P(EveryProperty, OneDeclarationRules, testing::Range(0, kPropertyCount));

TEST(RuleMemory, EachDeclarationCostsOneEntry) {
    const Cost one = ReadCost(Sheet("color:red"));
    const Cost three = ReadCost(Sheet("color:red;margin-top:2px;float:left"));
    // Two more entries per rule, and two more listing lines, one of them too
    // long to fit its string without an allocation.
    EXPECT_LE(three.allocations, one.allocations + size_t{3} * kRules + 100);
    EXPECT_LE(three.bytes - one.bytes, size_t{2} * kRules * 256);
}

TEST(RuleMemory, RulesWithoutDeclarationsHoldNoEntries) {
    const Cost empty = ReadCost(Sheet(""));
    const Cost unknown = ReadCost(Sheet("cursor:pointer"));
    EXPECT_LT(empty.bytes / kRules, 400u);
    // A declaration the pages do not edit is kept as written but takes no
    // entry: the rule pays for that text alone, held once for the file and
    // once as its listing line.
    EXPECT_LE(unknown.allocations, empty.allocations + size_t{2} * kRules + 100);
    // An entry alone would take 144 bytes more.
    EXPECT_LT((unknown.bytes - empty.bytes) / kRules, 256u);
}

}  // namespace
}  // namespace larkspur
