#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "css/rule_labels.h"
#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur::cli {

// One line a rule of the list, as the window shows it: the line the block
// starts on in the file ("-" for a rule the file does not write), "x" when
// it is checked, the at-rules it is inside, the selector on one line; tabs
// between. With --values, the declarations the pages show follow, one an
// indented line.
int RunRules(const Args& args, const Options& options) {
    if (args.size() != 1) {
        std::fputs("Usage: larkspur-cli rules [--values] INPUT\n", stderr);
        return 2;
    }
    const bool values = !options.empty();
    SheetDocument& doc = RunDocument();
    if (!OpenSheet(doc, args[0])) return 1;
    std::string out;
    for (int i = 0; i < doc.RuleCount(); ++i) {
        const RulePlace& place = doc.PlaceOf(i);
        out += place.line ? std::to_string(place.line) : "-";
        out += doc.IsChecked(i) ? "\tx\t" : "\t-\t";
        out += doc.ContextOf(i);
        out += '\t';
        out += OneLine(doc.Rule(i).selector);
        out += '\n';
        if (!values) continue;
        for (const PropertyEntry& entry : doc.Rule(i).properties) {
            if (!entry.listed) continue;
            out += '\t';
            out += entry.ComposeDeclaration();
            out += '\n';
        }
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::perror("larkspur-cli: cannot write the rule list");
        return 1;
    }
    return 0;
}

}  // namespace larkspur::cli
