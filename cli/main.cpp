#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "css/heap_pages.h"

namespace {

const char kUsage[] =
    "Usage: larkspur-cli COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  export INPUT OUTPUT    open INPUT (a .css file or an HTML page) and save the\n"
    "                         sheet as the .css file OUTPUT\n"
    "  listing INPUT          open INPUT and print the live CSS listing\n"
    "  rules INPUT            open INPUT and print the rule list, a rule a line:\n"
    "                         its line in INPUT, x if checked, its at-rules, its\n"
    "                         selector, separated by tabs\n"
    "      --values           after each rule, the declarations the pages show\n"
    "  apply SHEET PAGE...    open SHEET and place its style block into every PAGE;\n"
    "                         the run is kept in the journal and its number printed\n"
    "      --dry-run          write nothing: print for each page whether it would\n"
    "                         change, and the change as a unified diff\n"
    "      --stat             with --dry-run: one line a page, lines added and removed\n"
    "  undo-apply [RUN]       put back the pages of an apply run (the last one when no\n"
    "                         RUN is given) that still hold what it wrote\n"
    "  preview SHEET PAGE     open SHEET and prepare the preview copy of PAGE;\n"
    "                         prints the preview copy's path\n"
    "  check INPUT...         print every declaration a browser would drop, as\n"
    "                         FILE:LINE:COLUMN: invalid value for PROPERTY: VALUE;\n"
    "                         exits with 1 when there was one\n"
    "      --unknown          also print properties browsers do not know\n"
    "\n"
    "Options:\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "  --                     end of options: every argument after it is a file name,\n"
    "                         even one that starts with \"-\"\n";

struct Command {
    const char* name;
    int (*run)(const larkspur::cli::Args&, const larkspur::cli::Options&);
    std::vector<std::string_view> options;
};

const Command kCommands[] = {
    {"export", larkspur::cli::RunExport, {}},
    {"listing", larkspur::cli::RunListing, {}},
    {"rules", larkspur::cli::RunRules, {"--values"}},
    {"apply", larkspur::cli::RunApply, {"--dry-run", "--stat"}},
    {"undo-apply", larkspur::cli::RunUndoApply, {}},
    {"preview", larkspur::cli::RunPreview, {}},
    {"check", larkspur::cli::RunCheck, {"--unknown"}},
};

// What a command printed must have reached its reader: output that could not
// be written (a full disk, a closed pipe) fails the command.
int Finished(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::perror("larkspur-cli: cannot write the output");
    return status == 0 ? 1 : status;
}

int Run(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("larkspur-cli %s\n", LARKSPUR_VERSION);
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (first == c.name) command = &c;
    if (!command) {
        std::fprintf(stderr, "larkspur-cli: unknown command \"%s\"\n\n%s", first.c_str(), kUsage);
        return 2;
    }
    // Past the command's own options, an argument starting with "-" is a
    // mistake unless it comes after "--".
    larkspur::cli::Args args;
    larkspur::cli::Options given;
    bool options = true;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && std::find(command->options.begin(), command->options.end(), arg) !=
                                  command->options.end()) {
            given.push_back(arg);
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "larkspur-cli: unknown option \"%s\" (put \"--\" before a file name that starts with \"-\")\n",
                         arg.c_str());
            return 2;
        } else {
            args.push_back(arg);
        }
    }
    return command->run(args, given);
}

}  // namespace

int main(int argc, char** argv) {
    larkspur::StartWithHugePageHeap(argv);
    return Finished(Run(argc, argv));
}
