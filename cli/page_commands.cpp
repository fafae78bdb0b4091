#include <cstdio>

#include "cli/commands.h"

namespace larkspur::cli {

int RunApply(const Args&) {
    std::fputs("larkspur-cli: apply is not available yet\n", stderr);
    return 1;
}

int RunPreview(const Args&) {
    std::fputs("larkspur-cli: preview is not available yet\n", stderr);
    return 1;
}

}  // namespace larkspur::cli
