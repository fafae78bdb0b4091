#pragma once
#include "platform/desktop_services.h"

namespace larkspur {

// The system clipboard and the desktop's handler for documents.
class QtDesktopServices : public DesktopServices {
public:
    void SetClipboardText(const std::string& text) override;
    bool OpenDocument(const std::string& path) override;
};

}  // namespace larkspur
