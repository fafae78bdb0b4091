#include "css/kept_content.h"

#include <algorithm>

namespace larkspur {
namespace {

std::string Grouped(size_t n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

void AppendCount(std::string& out, size_t n, std::string_view what) {
    if (n == 0) return;
    out += out.empty() ? "Kept as written: " : ", ";
    out += Grouped(n);
    out += ' ';
    // "declarations" -> "declaration", "@media blocks" -> "@media block"
    out += n == 1 && what.ends_with('s') ? what.substr(0, what.size() - 1) : what;
}

}  // namespace

void KeptCounts::CountAtRule(std::string_view name, bool block) {
    std::string label(name);
    for (char& c : label)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    label += block ? " blocks" : " statements";
    for (auto& [known, n] : atRules)
        if (known == label) {
            ++n;
            return;
        }
    atRules.emplace_back(std::move(label), 1);
}

std::string KeptSummary(const KeptCounts& counts) {
    std::string out;
    AppendCount(out, counts.declarations, "declarations");
    for (const auto& [label, n] : counts.atRules) AppendCount(out, n, label);
    AppendCount(out, counts.nestedRules, "nested rules");
    AppendCount(out, counts.comments, "comments");
    return out;
}

int LineCountOf(std::string_view text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::string ContextText(const std::vector<RuleContext>& contexts, uint32_t id) {
    std::vector<const std::string*> names;
    for (; id != 0 && names.size() < static_cast<size_t>(kShownContextLevels); id = contexts[id].parent) names.push_back(&contexts[id].name);
    std::string text = id != 0 ? "..." : "";
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!text.empty()) text += ", ";
        text += **it;
    }
    return text;
}

}  // namespace larkspur
