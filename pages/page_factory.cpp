#include "pages/page_factory.h"

#include "pages/border_page.h"
#include "pages/color_page.h"
#include "pages/font_page.h"
#include "pages/margin_page.h"
#include "pages/padding_page.h"
#include "pages/position_page.h"
#include "pages/property_page.h"
#include "pages/word_page.h"

namespace larkspur {

std::vector<CPropertyPage*> CreatePropertyPages(PageHost& host, QWidget* parent) {
    std::vector<CPropertyPage*> pages;
    pages.push_back(new CColorPage(host, parent));
    pages.push_back(new CFontPage(host, parent));
    pages.push_back(new CWordPage(host, parent));
    pages.push_back(new CMarginPage(host, parent));
    pages.push_back(new CPaddingPage(host, parent));
    pages.push_back(new CBorderPage(host, parent));
    pages.push_back(new CPositionPage(host, parent));
    for (CPropertyPage* page : pages) page->NameGroupBoxes();
    return pages;
}

}  // namespace larkspur
