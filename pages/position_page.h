#pragma once
#include "pages/property_page.h"

namespace larkspur {

// Visibility, z-index, position, overflow, left, top, width, height, clear
// and float.
class CPositionPage : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int kResourceId = 174;
    explicit CPositionPage(PageHost& host, QWidget* parent = nullptr);
};

}  // namespace larkspur
