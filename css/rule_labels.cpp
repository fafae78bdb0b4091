#include "css/rule_labels.h"

#include "css/sheet_document.h"
#include "model/text_util.h"

namespace larkspur {

std::string OneLine(std::string_view selector) {
    std::string line;
    line.reserve(selector.size());
    bool space = false;
    for (char c : selector) {
        if (IsAsciiSpace(c)) {
            space = !line.empty();
            continue;
        }
        if (space) line += ' ';
        space = false;
        line += c;
    }
    return line;
}

uint64_t RuleLabels::Key(const SheetDocument& doc, int index) {
    return SelectorHash(doc.Rule(index).selector) ^ (uint64_t{doc.PlaceOf(index).context} * 0x9E3779B97F4A7C15ull);
}

void RuleLabels::Count(const SheetDocument& doc) {
    blocks_.clear();
    for (int i = 0; i < doc.RuleCount(); ++i)
        if (doc.PlaceOf(i).line) ++blocks_[Key(doc, i)];
}

std::string RuleLabels::Label(const SheetDocument& doc, int index) const {
    std::string label = OneLine(doc.Rule(index).selector);
    const std::string context = doc.ContextOf(index);
    const uint32_t line = doc.PlaceOf(index).line;
    const auto found = line ? blocks_.find(Key(doc, index)) : blocks_.end();
    const bool repeated = found != blocks_.end() && found->second > 1;
    if (context.empty() && !repeated) return label;
    label += " (";
    label += context;
    if (repeated) {
        if (!context.empty()) label += ", ";
        label += "line " + std::to_string(line);
    }
    label += ')';
    return label;
}

}  // namespace larkspur
