#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"

namespace larkspur::cli {

int RunPreview(const Args& args, const Options&) {
    if (args.size() != 2) {
        std::fputs("Usage: larkspur-cli preview SHEET PAGE\n", stderr);
        return 2;
    }
    SheetDocument& doc = RunDocument();
    if (!OpenSheet(doc, args[0])) return 1;
    const std::string& page = args[1];
    PreviewResult r = LoadPreview(doc, page, PageFolderOf(page), true, nullptr);
    if (!r.io) {
        PrintError(r.io.error);
        return 1;
    }
    PrintError(r.io.warning);
    std::printf("%s\n", r.copyPath.c_str());
    return 0;
}

}  // namespace larkspur::cli
