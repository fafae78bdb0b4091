#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "css/sheet_document.h"

namespace larkspur::cli {

int RunExport(const Args& args, const Options&) {
    if (args.size() != 2) {
        std::fputs("Usage: larkspur-cli export INPUT OUTPUT\n", stderr);
        return 2;
    }
    SheetDocument& doc = RunDocument();
    if (!OpenSheet(doc, args[0])) return 1;
    const IoResult r = doc.WriteStyleSheetFile(args[1]);
    PrintError(r ? r.warning : r.error);
    return r ? 0 : 1;
}

int RunListing(const Args& args, const Options&) {
    if (args.size() != 1) {
        std::fputs("Usage: larkspur-cli listing INPUT\n", stderr);
        return 2;
    }
    SheetDocument& doc = RunDocument();
    if (!OpenSheet(doc, args[0])) return 1;
    const std::string_view out = doc.SavedText();
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::perror("larkspur-cli: cannot write the listing");
        return 1;
    }
    return 0;
}

}  // namespace larkspur::cli
