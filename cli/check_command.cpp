#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "css/file_io.h"
#include "css/file_kinds.h"
#include "css/sheet_check.h"

namespace larkspur::cli {
namespace {

// The text of every style element of an HTML page, by offset in the page.
std::vector<std::pair<size_t, std::string_view>> StyleElements(std::string_view page) {
    std::vector<std::pair<size_t, std::string_view>> out;
    std::string lower(page);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    for (size_t at = lower.find("<style"); at != std::string::npos; at = lower.find("<style", at)) {
        size_t open = lower.find('>', at);
        if (open == std::string::npos) break;
        size_t close = lower.find("</style", open);
        if (close == std::string::npos) close = lower.size();
        out.emplace_back(open + 1, page.substr(open + 1, close - open - 1));
        at = close;
    }
    return out;
}

std::string OneLine(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    return out;
}

}  // namespace

int RunCheck(const Args& args, const Options& options) {
    if (args.empty()) {
        std::fputs("Usage: larkspur-cli check [--unknown] INPUT...\n", stderr);
        return 2;
    }
    const bool unknown = std::find(options.begin(), options.end(), "--unknown") != options.end();
    bool found = false, failed = false;
    for (const std::string& path : args) {
        std::string text;
        if (IoResult r = ReadTextFile(path, text, path + " is not a text file"); !r) {
            PrintError(r.error);
            failed = true;
            continue;
        }
        std::vector<std::pair<size_t, std::string_view>> sheets;
        if (IsStyleSheetFileName(path))
            sheets.emplace_back(0, text);
        else
            sheets = StyleElements(text);
        // Problems come in text order: lines are counted once along the file.
        LineColumn at;
        size_t counted = 0;
        for (const auto& [base, sheet] : sheets) {
            for (const ValueProblem& p : CheckSheetText(sheet)) {
                if (p.check.verdict == ValueVerdict::Unknown && !unknown) continue;
                found = true;
                const size_t offset = base + p.offset;
                for (; counted < offset; ++counted) {
                    if (text[counted] == '\n')
                        ++at.line, at.column = 1;
                    else
                        ++at.column;
                }
                if (p.check.verdict == ValueVerdict::Unknown)
                    std::printf("%s:%zu:%zu: unknown property %s\n", path.c_str(), at.line, at.column, p.property.c_str());
                else
                    std::printf("%s:%zu:%zu: invalid value for %s: %s\n", path.c_str(), at.line, at.column,
                                p.property.c_str(), OneLine(p.value).c_str());
            }
        }
    }
    if (std::fflush(stdout) != 0) {
        std::perror("larkspur-cli: cannot write the report");
        return 1;
    }
    return found || failed ? 1 : 0;
}

}  // namespace larkspur::cli
