#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "css/file_io.h"
#include "css/listing.h"
#include "model/style_rule.h"

namespace larkspur {

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

    RuleList& Rules() { return rules_; }
    const RuleList& Rules() const { return rules_; }
    int RuleCount() const { return static_cast<int>(rules_.size()); }
    int LastIndex() const { return RuleCount() - 1; }
    bool IsValidIndex(int index) const { return index >= 0 && index < RuleCount(); }

    int SelectedIndex() const { return selected_; }
    void SetSelectedIndex(int index) { selected_ = index; }
    StyleRule* SelectedRule() { return IsValidIndex(selected_) ? &rules_[selected_] : nullptr; }
    const StyleRule* SelectedRule() const {
        return IsValidIndex(selected_) ? &rules_[selected_] : nullptr;
    }

    bool IsChecked(int index) const { return IsValidIndex(index) && checked_[index] != 0; }
    // From the user's click: no notification.
    void SetChecked(int index, bool checked);

    const Listing& GetListing() const { return listing_; }
    int ListingLineCount() const { return listingLineCount_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Listing operations on the selected rule.
    void ListRule();
    void UnlistRule();
    void ListDeclaration(int entryIndex);
    void UnlistDeclaration(int entryIndex);

    // Index of the first rule whose selector matches, ignoring ASCII case; -1
    // if none. A hash lookup: sheets hold up to millions of rules.
    int FindRule(std::string_view selector) const;
    // Appends a default rule; returns its index.
    int AppendRule(std::string_view selector);
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
    // Every rule reset and unchecked, the listing emptied (New sheet).
    void ResetAllRules();

    // The sheet as a stand-alone .css file and as an HTML style element.
    std::string StyleSheetText() const;
    std::string BuildStyleBlock() const;
    IoResult WriteStyleSheetFile(const std::string& path) const;

    // Open: replaces the sheet with the file's rules. A rejected file leaves
    // everything as it was and the error says why.
    IoResult ReadStyleSheet(const std::string& path);
    IoResult ReadStyleSheetText(std::string_view text, std::string_view path);

    static constexpr std::string_view kStyleBlockStart = "<style type=\"text/css\">\r\n<!--\r\n";
    static constexpr std::string_view kStyleBlockEnd = "-->\r\n</style>";

private:
    void ShiftRulesBelow(const StyleRule& rule, int delta);
    void ListChangedDeclarations(StyleRule& rule);
    void UnlistDeclarations(StyleRule& rule);
    bool IsLastInListing(const StyleRule& rule) const;
    void AppendRuleText(std::string& out) const;
    void IndexRule(int index);
    void RebuildRuleIndex();
    void Notify(auto&& call) {
        if (observer_) call(*observer_);
    }

    RuleList rules_;
    // Open addressing by the case-blind hash of the selector, at most two
    // thirds full. The tag (high hash bits) spares a look at rules that differ.
    struct RuleSlot {
        uint32_t tag = 0;
        int rulePlusOne = 0;  // 0: free
    };
    std::vector<RuleSlot> ruleIndex_;
    std::vector<char> checked_;
    int selected_ = -1;
    Listing listing_;
    int listingLineCount_ = 0;
    bool modified_ = false;
    SheetObserver* observer_ = nullptr;

    friend class StyleSheetReader;
};

}  // namespace larkspur
