#pragma once
#include "pages/property_page.h"

namespace larkspur {

// Background repeat, attachment, image (chosen relative to the saved sheet)
// and position (two keywords or two lengths).
class CColorPage : public CPropertyPage {
    Q_OBJECT
public:
    // Control ids.
    enum ControlId : int {
        kRepeat = 1065, kRepeatCombo = 1066, kAttachment = 1067, kAttachmentCombo = 1068, kImage = 1071,
        kImageEdit = 1072, kBrowse = 1073, kPositionCheck = 1081, kKeyword = 1080, kKeyword1 = 1078,
        kKeyword2 = 1079, kPoint = 1085, kPoint1 = 1088, kPoint2 = 1087, kUnit1 = 1172, kUnit2 = 1173
    };
    static constexpr int kResourceId = 130;
    explicit CColorPage(PageHost& host, QWidget* parent = nullptr);

private:
    void BuildLayout();
    void Bind();
    // The Browse button: the image file, made relative to the sheet's folder.
    void BrowseForImage();
};

}  // namespace larkspur
