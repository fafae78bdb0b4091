#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"

namespace {

const char kUsage[] =
    "Usage: larkspur-cli COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  export INPUT OUTPUT    open INPUT (a .css file or an HTML page) and save the\n"
    "                         sheet as the .css file OUTPUT\n"
    "  listing INPUT          open INPUT and print the live CSS listing\n"
    "  apply SHEET PAGE...    open SHEET and place its style block into every PAGE\n"
    "  preview SHEET PAGE     open SHEET and prepare the preview copy of PAGE;\n"
    "                         prints the preview copy's path\n"
    "\n"
    "Options:\n"
    "  --help                 show this text\n"
    "  --version              show the version\n";

struct Command {
    const char* name;
    int (*run)(const larkspur::cli::Args&);
};

constexpr Command kCommands[] = {
    {"export", larkspur::cli::RunExport},
    {"listing", larkspur::cli::RunListing},
    {"apply", larkspur::cli::RunApply},
    {"preview", larkspur::cli::RunPreview},
};

}  // namespace

int main(int argc, char** argv) {
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
    larkspur::cli::Args args(argv + 2, argv + argc);
    for (const Command& c : kCommands)
        if (first == c.name) return c.run(args);
    std::fprintf(stderr, "larkspur-cli: unknown command \"%s\"\n\n%s", first.c_str(), kUsage);
    return 2;
}
