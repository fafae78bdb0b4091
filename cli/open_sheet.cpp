#include <cstdio>

#include "cli/commands.h"
#include "css/sheet_document.h"

namespace larkspur::cli {

void PrintError(const std::string& message) {
    if (!message.empty()) std::fprintf(stderr, "%s\n", message.c_str());
}

bool OpenSheet(SheetDocument& doc, const std::string& path) {
    doc.CreateStartRules();
    if (IoResult r = doc.ReadStyleSheet(path); !r) {
        PrintError(r.error);
        return false;
    }
    return true;
}

SheetDocument& RunDocument() {
    static SheetDocument* const document = new SheetDocument;
    return *document;
}

}  // namespace larkspur::cli
