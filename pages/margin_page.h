#pragma once
#include "pages/property_page.h"

namespace larkspur {

// The four margins, each a number with a unit or "auto".
class CMarginPage : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int kResourceId = 159;
    explicit CMarginPage(PageHost& host, QWidget* parent = nullptr);
};

}  // namespace larkspur
