#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "css/declarations.h"
#include "css/file_io.h"
#include "css/kept_content.h"
#include "css/listing.h"
#include "model/style_rule.h"

namespace larkspur {

// Hash of a selector that ignores ASCII case, as rules are found by.
uint64_t SelectorHash(std::string_view selector);

// Told what the core did to the rules, so the window can follow without the
// core knowing any toolkit.
class SheetObserver {
public:
    virtual ~SheetObserver() = default;
    virtual void RuleAppended(int /*index*/) {}
    virtual void RuleRemoved(int /*index*/) {}
    virtual void RuleRenamed(int /*index*/) {}
    virtual void RuleCheckChanged(int /*index*/, bool /*checked*/) {}
    virtual void RuleSelected(int /*index*/) {}
    virtual void PagesNeedReload() {}
    virtual void ModifiedChanged(bool /*modified*/) {}
    // Before the rule's data, check mark or lines change in place, and before
    // it is removed: the moment to take a snapshot of it.
    virtual void RuleChanging(int /*index*/) {}
    virtual void RuleRemoving(int /*index*/) {}
    // Every rule at once: the sheet went back to its start state.
    virtual void RulesReset() {}
};

// Where a rule stands in the sheet's text. A rule read from a file keeps its
// text and its place; edits change only the text they concern. A rule the
// editor made is written from its values, after the rules read, in the order
// of the rule list.
struct RulePlace {
    size_t offset = 0;  // of the rule's text in the listing; while out of it, where it goes back
    size_t length = 0;  // of the rule's text
    uint32_t order = 0;  // file order of the rules read
    uint32_t context = 0;  // the at-rules it is inside (0: none)
    uint32_t line = 0;     // in the file read, from 1; 0 for a rule not read
    bool fromFile = false;  // keeps its place among the text read
    bool text = false;      // its text is edited in place, not written from its values
    bool placed = false;    // in the listing
    // While out of the listing: its text with the blanks before it and the
    // line end after it that left with it.
    std::string parked;
    uint32_t parkedLead = 0;
    // Declarations switched off on the Declarations page, kept for their
    // way back.
    OffDeclarations off;

    bool operator==(const RulePlace&) const = default;
};

// A rule as it stands: its data, check mark, place in the list and text in
// the listing, so a change to it can be taken back exactly.
struct RuleSnapshot {
    int index = -1;
    bool checked = false;
    StyleRule rule;
    RulePlace place;
    // While listed: the text the rule would leave with, from regionStart.
    std::string region;
    size_t regionStart = 0;
    uint32_t regionLead = 0;

    bool operator==(const RuleSnapshot& other) const;
};

// The sheet being edited: the rule list, the check marks of the rule list,
// the selected rule, the live listing and the modified flag. The listing
// operations work on the selected rule.
class SheetDocument {
public:
    SheetDocument();

    void SetObserver(SheetObserver* observer) { observer_ = observer; }
    void SetListingObserver(ListingObserver* observer) { listing_.SetObserver(observer); }

    // The 56 tag rules in order, none checked or listed, rule 0 selected.
    void CreateStartRules();

    const RuleList& Rules() const { return rules_; }
    const StyleRule& Rule(int index) const { return rules_[static_cast<size_t>(index)]; }
    int RuleCount() const { return static_cast<int>(rules_.size()); }
    int LastIndex() const { return RuleCount() - 1; }
    bool IsValidIndex(int index) const { return index >= 0 && index < RuleCount(); }

    int SelectedIndex() const { return selected_; }
    void SetSelectedIndex(int index) { selected_ = index; }
    const StyleRule* SelectedRule() const {
        return IsValidIndex(selected_) ? &rules_[selected_] : nullptr;
    }

    bool IsChecked(int index) const { return IsValidIndex(index) && checked_[index] != 0; }
    // The mark alone, with no listing change and no notification.
    void SetChecked(int index, bool checked);
    // The mark and its effect at once: a checked rule is listed, an unchecked
    // one leaves the listing, whether or not it is the selected rule.
    void CheckRule(int index, bool checked);

    const Listing& GetListing() const { return listing_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // Listing operations on the selected rule.
    void ListRule() { ListRule(selected_); }
    void UnlistRule() { UnlistRule(selected_); }
    void ListDeclaration(int property) { ListValue(selected_, property); }
    void UnlistDeclaration(int property) { RemoveValue(selected_, property); }

    void ListRule(int rule);
    void UnlistRule(int rule);

    // Editing one property of a rule. Each keeps the listing true to the
    // entry; a rule that is not listed only remembers the change.
    //
    // The value text: marked set and changed, then listed.
    void SetValue(int rule, int property, std::string_view value);
    // Marked set and changed, the text kept (a switch ticked again).
    void MarkValueSet(int rule, int property);
    // A default text for an entry that has none yet (a colour control's
    // colour); not marked changed, so nothing is listed for it.
    void SeedValue(int rule, int property, std::string_view value);
    // Lists (or re-lists) the entry as it stands.
    void ListValue(int rule, int property);
    // Takes the declaration out of the listing; the entry keeps its texts.
    void RemoveValue(int rule, int property);

    // The three parts of font-family: first choice (value), second choice
    // (alternate) and generic family.
    enum class FamilyPart { First, Second, Generic };
    // The part's text, marked set and changed, then the family re-listed.
    void SetFamilyPart(int rule, FamilyPart part, std::string_view text);
    // The part's box ticked or cleared: a part is set only with a text to go
    // with it, and the family is re-listed when it had been changed before
    // (ticking) or always (clearing).
    void SwitchFamilyPart(int rule, FamilyPart part, bool on);

    // Any declaration of a rule by row: those of its text in order, with the
    // ones switched off at their places. Each edit is one change of the
    // rule's text; the entries of the 41 it concerns are read again from
    // the text, so the pages follow. A rule written from its values is kept
    // as text from its first such edit.
    std::vector<Declaration> Declarations(int rule) const;
    // Name, value and !important of the row; switched off or on, it stays so.
    void SetDeclaration(int rule, int row, const Declaration& declaration);
    // A declaration that is on, before the row (at the end for the count).
    void InsertDeclaration(int rule, int row, const Declaration& declaration);
    void RemoveDeclaration(int rule, int row);
    // Off: out of the text, held by the rule; on: back at its place.
    void SwitchDeclaration(int rule, int row, bool on);

    // What the pages show for the rule.
    void SetPageState(int rule, const PageState& state);

    // Index of the first rule whose selector matches, ignoring ASCII case,
    // among the rules outside at-rules; -1 if none. A hash lookup: sheets hold
    // up to millions of rules.
    int FindRule(std::string_view selector) const;
    int FindRule(std::string_view selector, uint64_t hash) const;
    // Appends a default rule; returns its index.
    int AppendRule(std::string_view selector);
    // Appends a default rule that stands in the sheet's text right after
    // rule `after`, in the same at-rules, set out as it is; listed at once.
    // A rule `after` that is not in the text gives a plain AppendRule.
    int AppendRuleAfter(int after, std::string_view selector);
    // Room for a sheet of this many rules and listing lines: storage that is
    // reserved but never filled costs address space, not memory.
    void Reserve(int rules, int listingLines);
    // Takes the rule out of the listing and the list; the selection stays on a
    // valid rule (the one that moved into its place, or the new last one).
    void RemoveRule(int index);
    // New selector; a listed rule's header line follows.
    void RenameRule(int index, std::string_view selector);
    // Unlists every declaration and resets the rule, keeping it listed.
    void ClearRule(int index);
    // Copies values into another rule and keeps the listing true to both.
    void CopyRuleValues(int from, int to);
    // Back to the start rules, none checked, the listing emptied (New sheet,
    // and Open before it reads): nothing of the sheet before stays.
    void ResetAllRules();

    // Taking changes back. A snapshot restores only onto the sheet as it was
    // right after the change it was taken for (every later change undone).
    RuleSnapshot Snapshot(int index) const;
    // The rules back in place as the snapshots hold them, their lines where
    // they were.
    void RestoreRules(const std::vector<RuleSnapshot>& snapshots);
    // A removed rule back at its index, listed where it was.
    void InsertRule(const RuleSnapshot& snapshot);

    // The sheet as a stand-alone .css file and as an HTML style element: the
    // listing, less the final line end the file read did not have.
    std::string_view SavedText() const;
    std::string StyleSheetText() const { return std::string(SavedText()); }
    std::string BuildStyleBlock() const;
    IoResult WriteStyleSheetFile(const std::string& path) const;

    // Open: replaces the sheet with the file's rules. A rejected file leaves
    // everything as it was and the error says why.
    IoResult ReadStyleSheet(const std::string& path);
    IoResult ReadStyleSheetText(std::string_view text, std::string_view path);

    // Replaces the sheet with one the reader built: the start rules, then
    // each block read checked and listed where it stands. The first block of
    // a tag outside at-rules is that tag's rule; every other block is a rule
    // added after them, in file order.
    void LoadSheet(ReadSheet sheet);
    // What the last LoadSheet kept as written.
    const KeptCounts& KeptByLastRead() const { return keptByRead_; }

    const RulePlace& PlaceOf(int index) const { return places_[static_cast<size_t>(index)]; }
    // "@media print", or empty for a rule outside at-rules.
    std::string ContextOf(int index) const { return ContextText(contexts_, PlaceOf(index).context); }
    // The rule's text as it stands in the listing or, out of it, would go back.
    std::string_view RuleTextOf(int index) const;
    // The listing lines of a listed rule: first, and how many; {-1, 0} if
    // not listed.
    std::pair<int, int> RuleLines(int index) const;
    // The line end the sheet is written with: the file's (CR LF, LF or CR), or
    // CR LF.
    std::string_view LineEnd() const { return eol_; }

    static constexpr std::string_view kStyleBlockStart = "<style type=\"text/css\">\r\n<!--\r\n";
    static constexpr std::string_view kStyleBlockEnd = "-->\r\n</style>";

private:
    void ReserveRuleIndex(size_t rules);
    PropertyEntry* EntryAt(int rule, int property);
    // Every in-place change of a rule starts here.
    void Touch(int index) {
        if (observer_ && IsValidIndex(index)) observer_->RuleChanging(index);
    }
    void ListFamily(int rule);
    void IndexRule(int index);
    void IndexRule(int index, uint64_t hash);
    // A selector and its hash as the reader found them, and where the rule
    // stands, which observers see with it.
    int AppendRule(std::string&& selector, uint64_t hash, RulePlace place = {});
    void RebuildRuleIndex();
    void Notify(auto&& call) {
        if (observer_) call(*observer_);
    }

    // The listing's text [offset, offset + length) becomes `text` on behalf
    // of rule `owner` (-1: none); every other rule after it moves along.
    void ReplaceText(int owner, size_t offset, size_t length, std::string_view text);
    // True when rule a goes before rule b where both would stand at one place.
    bool Before(int a, int b) const;
    // Where a rule written from its values goes: before the next such rule.
    size_t GeneratedOffset(int index) const;
    std::string GeneratedText(int index) const;
    std::string ComposedText(const StyleRule& rule) const;
    // The rule's text with the blanks before it on its line and its line end,
    // which leave the listing with it.
    void RegionOf(int index, size_t& start, size_t& lead, size_t& length) const;
    // Takes a listed rule's text out of the listing (parked when it is text
    // kept from the file) and puts it back.
    void Unplace(int index);
    void Place(int index);
    // The rule's text changed as `edit` says, in the listing or parked.
    template <class Edit>
    void EditText(int index, Edit&& edit);
    void ReplaceRuleText(int index, std::string_view text);
    // The listing follows a changed entry (or all of them, property -1).
    void WriteEntry(int index, int property);
    // The 56 tag rules and nothing else, rule 0 selected.
    void StartState();
    // The rule's text as listed, or as it would be listed when checked.
    std::string CurrentText(int index) const;
    // A rule written from its values becomes one kept as text.
    void MakeText(int index);
    // One change of a rule's declarations at a row (or past the last one,
    // orEnd): `edit` gets the text, its rows and the switched-off
    // declarations, returns the new text and names the entries of the 41 to
    // read again.
    template <class Edit>
    void EditDeclarations(int index, int row, bool orEnd, Edit&& edit);
    void RereadEntry(int index, int property);
    void PutBack(int index, const RuleSnapshot& snapshot, size_t at);

    RuleList rules_;
    // Open addressing by the case-blind hash of the selector, at most two
    // thirds full. The tag (high hash bits) spares a look at rules that differ.
    struct RuleSlot {
        uint32_t tag = 0;
        int rulePlusOne = 0;  // 0: free
    };
    std::vector<RuleSlot> ruleIndex_;
    std::vector<char> checked_;
    std::vector<RulePlace> places_;  // beside rules_
    std::vector<RuleContext> contexts_{RuleContext{}};
    std::string_view eol_ = "\r\n";
    bool addedFinalEol_ = false;
    uint32_t nextOrder_ = 0;
    int selected_ = -1;
    Listing listing_;
    bool modified_ = false;
    SheetObserver* observer_ = nullptr;
    KeptCounts keptByRead_;
};

}  // namespace larkspur
