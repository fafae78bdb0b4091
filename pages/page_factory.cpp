#include "pages/page_factory.h"

#include "pages/color_page.h"
#include "pages/font_page.h"
#include "pages/property_page.h"

namespace larkspur {

std::vector<CPropertyPage*> CreatePropertyPages(PageHost& host, QWidget* parent) {
    struct Placeholder {
        int id;
        const char* caption;
    };
    static constexpr Placeholder kLaterPages[] = {
        {139, "Word Spacing"}, {159, "Margins"}, {161, "Padding"}, {171, "Border"}, {174, "Positioning"}};
    std::vector<CPropertyPage*> pages;
    pages.push_back(new CColorPage(host, parent));
    pages.push_back(new CFontPage(host, parent));
    for (const Placeholder& p : kLaterPages) pages.push_back(new CPropertyPage(host, p.id, p.caption, parent));
    return pages;
}

}  // namespace larkspur
