// Snapshots put rules back exactly: the listing, every rule's place in it and
// the rule list come out byte for byte as they were.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

struct Edit {
    const char* name;
    std::function<void(SheetDocument&, int)> apply;
};

class SnapshotTest : public ::testing::TestWithParam<Edit> {
protected:
    void SetUp() override {
        doc.CreateStartRules();
        // Listed out of list order, so lines and rule indices differ.
        for (const char* selector : {"P", "H1", "A", "EM"}) {
            const int i = doc.FindRule(selector);
            doc.SetChecked(i, true);
            doc.ListRule(i);
            doc.SetValue(i, kColor, "red");
            doc.SetValue(i, kFontSize, "12pt");
        }
        doc.SetValue(doc.FindRule("H1"), kMarginTop, "1em");
        ASSERT_TRUE(read.ReadStyleSheetText(kRead, "site.css"));
    }
    static constexpr char kRead[] =
        "h1 { color: red }\n"
        ".field { color: red; -x-y: 1 }\n"
        "@media print {\n"
        "  .field { font-size: 10pt }\n"
        "  @supports (display: grid) { .field { text-align: left } }\n"
        "}\n"
        "/* between */\n"
        ".field { background-color: white }\n";
    static int AtLine(const SheetDocument& d, uint32_t line) {
        for (int i = 0; i < d.RuleCount(); ++i)
            if (d.PlaceOf(i).line == line) return i;
        return -1;
    }
    static std::vector<RuleSnapshot> All(const SheetDocument& d) {
        std::vector<RuleSnapshot> all;
        for (int i = 0; i < d.RuleCount(); ++i) all.push_back(d.Snapshot(i));
        return all;
    }
    SheetDocument doc;   // made in the editor
    SheetDocument read;  // read, with a selector in four blocks, two inside at-rules
};

// Also that an edit of one block leaves the text of every other as it was.
TEST_P(SnapshotTest, RestoringTheTouchedRulesGivesTheSheetBack) {
    std::vector<std::pair<SheetDocument*, int>> targets;
    for (const char* selector : {"P", "H1", "EM", "B"}) targets.emplace_back(&doc, doc.FindRule(selector));
    for (uint32_t line : {2u, 4u, 5u, 8u}) targets.emplace_back(&read, AtLine(read, line));
    for (const auto& [d, i] : targets) {
        SCOPED_TRACE(d->Rule(i).selector + " at line " + std::to_string(d->PlaceOf(i).line));
        ASSERT_GE(i, 0);
        const std::vector<RuleSnapshot> start = All(*d);
        const std::vector<std::string> lines = d->GetListing().Lines();
        const std::string text = d->StyleSheetText();
        std::vector<std::string> texts;
        for (int j = 0; j < d->RuleCount(); ++j) texts.emplace_back(d->RuleTextOf(j));
        const RuleSnapshot before = d->Snapshot(i);
        GetParam().apply(*d, i);
        for (int j = 0; j < d->RuleCount(); ++j)
            if (j != i) EXPECT_EQ(d->RuleTextOf(j), texts[static_cast<size_t>(j)]) << "rule " << j;
        const RuleSnapshot after = d->Snapshot(i);
        d->RestoreRules({before});
        EXPECT_EQ(d->GetListing().Lines(), lines);
        EXPECT_EQ(d->StyleSheetText(), text);
        EXPECT_EQ(All(*d), start);
        // And forward again.
        d->RestoreRules({after});
        EXPECT_EQ(d->Snapshot(i), after);
        d->RestoreRules({before});
        EXPECT_EQ(All(*d), start);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, SnapshotTest,
    ::testing::Values(
        Edit{"SetValue", [](SheetDocument& d, int i) { d.SetValue(i, kTextAlign, "center"); }},
        Edit{"ReplaceValue", [](SheetDocument& d, int i) { d.SetValue(i, kColor, "navy"); }},
        Edit{"RemoveValue", [](SheetDocument& d, int i) { d.RemoveValue(i, kColor); }},
        Edit{"Unlist", [](SheetDocument& d, int i) { d.UnlistRule(i); }},
        Edit{"Relist", [](SheetDocument& d, int i) {
                 d.UnlistRule(i);
                 d.ListRule(i);
             }},
        Edit{"Uncheck", [](SheetDocument& d, int i) { d.SetChecked(i, !d.IsChecked(i)); }},
        Edit{"Rename", [](SheetDocument& d, int i) { d.RenameRule(i, ".renamed"); }},
        Edit{"Clear", [](SheetDocument& d, int i) { d.ClearRule(i); }},
        Edit{"CopyInto", [](SheetDocument& d, int i) { d.CopyRuleValues(d.FindRule("H1"), i); }},
        Edit{"FamilyPart", [](SheetDocument& d, int i) {
                 d.SetFamilyPart(i, SheetDocument::FamilyPart::Generic, "serif");
             }},
        // The Declarations page's edits, on rules written from their values too.
        Edit{"EditDeclaration", [](SheetDocument& d, int i) { d.SetDeclaration(i, 0, {"color", "teal", true}); }},
        Edit{"AddDeclaration", [](SheetDocument& d, int i) { d.InsertDeclaration(i, 0, {"gap", "1px"}); }},
        Edit{"RemoveDeclaration", [](SheetDocument& d, int i) { d.RemoveDeclaration(i, 0); }},
        Edit{"SwitchOffDeclaration", [](SheetDocument& d, int i) { d.SwitchDeclaration(i, 0, false); }}),
    [](const ::testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

// A rule taken out and put back comes back at its index with its check mark,
// its lines and the selection where they were, and the rules around it keep
// their lines; a clear taken back gives the same sheet too. Rules with every
// property set, and rules read from a file, whose own text and order and the
// kept text between them stay where they were.
TEST(SnapshotRemoval, ARuleTakenOutAndPutBackLeavesTheSheetAsItWas) {
    SheetDocument set, read;
    set.CreateStartRules();
    read.CreateStartRules();
    for (const char* selector : {"P", "H1", "A"}) {
        const int i = set.FindRule(selector);
        set.SetChecked(i, true);
        set.ListRule(i);
        for (int p = 0; p < kPropertyCount; ++p) set.SetValue(i, p, "1px");
    }
    ASSERT_TRUE(read.ReadStyleSheetText("/* a */\n.a { margin: 0; color: red; -x-y: 1 }\n"
                                        "@media print { b { c: d } }\n.b { z-index: 1 }\n/* end */",
                                        "s.css"));
    const std::pair<SheetDocument*, std::vector<const char*>> sheets[] = {{&set, {"H1", "P", "A"}},
                                                                          {&read, {".a", ".b"}}};
    for (const auto& [doc, selectors] : sheets) {
        const std::vector<std::string> lines = doc->GetListing().Lines();
        const std::string text = doc->StyleSheetText();
        for (const char* selector : selectors) {
            SCOPED_TRACE(selector);
            const int i = doc->FindRule(selector);
            const bool checked = doc->IsChecked(i);
            doc->SetSelectedIndex(i + 1);
            const RuleSnapshot removed = doc->Snapshot(i);
            doc->RemoveRule(i);
            EXPECT_EQ(doc->FindRule(selector), -1);
            doc->InsertRule(removed);
            EXPECT_EQ(doc->FindRule(selector), i);
            EXPECT_EQ(doc->IsChecked(i), checked);
            EXPECT_EQ(doc->SelectedIndex(), i + 1);  // the selection stays on its rule
            EXPECT_EQ(doc->GetListing().Lines(), lines);
            EXPECT_EQ(doc->StyleSheetText(), text);
            for (const char* other : selectors)
                EXPECT_TRUE(doc->RuleTextOf(doc->FindRule(other)).starts_with(std::string(other) + " {")) << other;
            const RuleSnapshot before = doc->Snapshot(i);
            doc->ClearRule(i);
            doc->RestoreRules({before});
            EXPECT_EQ(doc->GetListing().Lines(), lines);
            EXPECT_EQ(doc->StyleSheetText(), text);
        }
    }
}

}  // namespace
}  // namespace larkspur
