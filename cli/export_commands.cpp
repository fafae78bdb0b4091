#include <cstdio>

#include "cli/commands.h"

namespace larkspur::cli {

int RunExport(const Args&) {
    std::fputs("larkspur-cli: export is not available yet\n", stderr);
    return 1;
}

int RunListing(const Args&) {
    std::fputs("larkspur-cli: listing is not available yet\n", stderr);
    return 1;
}

}  // namespace larkspur::cli
