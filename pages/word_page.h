#pragma once
#include "pages/property_page.h"

namespace larkspur {

// Word and letter spacing, decoration, vertical alignment, transform,
// alignment, indent and line height.
class CWordPage : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int kResourceId = 139;
    explicit CWordPage(PageHost& host, QWidget* parent = nullptr);

private:
    void BuildLayout();
    void Bind();
};

}  // namespace larkspur
