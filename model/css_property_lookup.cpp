#include <algorithm>

#include "model/css_property_table.h"
#include "model/text_util.h"

namespace larkspur {

const CssPropertyInfo* FindCssProperty(std::string_view name) {
    const auto all = CssProperties();
    const auto it = std::lower_bound(all.begin(), all.end(), name,
                                     [](const CssPropertyInfo& p, std::string_view n) { return p.name < n; });
    return it != all.end() && it->name == name ? &*it : nullptr;
}

std::vector<std::string_view> CssKeywordsOf(std::string_view name) {
    std::vector<std::string_view> out;
    if (const CssPropertyInfo* p = FindCssProperty(name))
        out.assign(CssKeywordPool().begin() + p->firstKeyword,
                   CssKeywordPool().begin() + p->firstKeyword + p->keywordCount);
    for (std::string_view global : {"inherit", "initial", "unset", "revert"})
        if (std::find(out.begin(), out.end(), global) == out.end()) out.push_back(global);
    return out;
}

std::vector<std::string_view> CssNamesStartingWith(std::string_view prefix) {
    std::vector<std::string_view> out;
    for (const CssPropertyInfo& p : CssProperties())
        if (p.name.size() >= prefix.size() && EqualsIgnoreCase(p.name.substr(0, prefix.size()), prefix))
            out.push_back(p.name);
    return out;
}

}  // namespace larkspur
