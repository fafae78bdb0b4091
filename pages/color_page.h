#pragma once
#include "pages/property_page.h"

namespace larkspur {

// Background repeat, attachment, image (chosen relative to the saved sheet)
// and position (two keywords or two lengths).
class CColorPage : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int kResourceId = 130;
    explicit CColorPage(PageHost& host, QWidget* parent = nullptr);

private:
    void BuildLayout();
    void Bind();
    // The Browse button: the image file, made relative to the sheet's folder.
    void BrowseForImage();
};

}  // namespace larkspur
