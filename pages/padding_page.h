#pragma once
#include "pages/property_page.h"

namespace larkspur {

// The four paddings, each a number with a unit.
class CPaddingPage : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int kResourceId = 161;
    explicit CPaddingPage(PageHost& host, QWidget* parent = nullptr);
};

}  // namespace larkspur
