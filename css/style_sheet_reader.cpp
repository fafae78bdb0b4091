#include "css/sheet_document.h"

namespace larkspur {

// Placeholder until the reader lands.
IoResult SheetDocument::ReadStyleSheet(const std::string& path) {
    std::string text;
    if (IoResult r = ReadWholeFile(path, text); !r) return r;
    return ReadStyleSheetText(text, path);
}

IoResult SheetDocument::ReadStyleSheetText(std::string_view, std::string_view) {
    return IoResult::Failure("Reading style sheets is not available yet");
}

}  // namespace larkspur
