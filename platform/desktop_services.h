#pragma once
#include <string>

namespace larkspur {

// The desktop around the program: the clipboard and the handler that opens a
// document (the help page).
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Opens the file with the desktop's handler; false when nothing could.
    virtual bool OpenDocument(const std::string& path) = 0;
};

}  // namespace larkspur
