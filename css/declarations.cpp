#include "css/declarations.h"

#include "model/text_util.h"

namespace larkspur {

std::string DeclarationText(const Declaration& d) {
    std::string out = d.name;
    out += ": ";
    out += d.value;
    if (d.important) out += d.value.empty() ? "!important" : " !important";
    return out;
}

bool ParseDeclaration(std::string_view text, Declaration& out) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    out.name.assign(TrimAsciiSpace(text.substr(0, colon)));
    std::string_view value = TrimAsciiSpace(text.substr(colon + 1));
    out.important = false;
    constexpr std::string_view kImportant = "important";
    if (value.size() >= kImportant.size() &&
        EqualsIgnoreCase(value.substr(value.size() - kImportant.size()), kImportant)) {
        std::string_view rest = TrimAsciiSpace(value.substr(0, value.size() - kImportant.size()));
        if (rest.ends_with('!')) {
            out.important = true;
            value = TrimAsciiSpace(rest.substr(0, rest.size() - 1));
        }
    }
    out.value.assign(value);
    return true;
}

}  // namespace larkspur
