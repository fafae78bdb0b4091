#pragma once
#include <vector>

class QWidget;

namespace larkspur {

class CPropertyPage;
class PageHost;

// The seven property pages in the order the property sheet shows them:
// Background, Font, Text, Margins, Padding, Border, Positioning.
std::vector<CPropertyPage*> CreatePropertyPages(PageHost& host, QWidget* parent);

}  // namespace larkspur
