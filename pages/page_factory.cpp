#include "pages/page_factory.h"

#include "pages/property_page.h"

namespace larkspur {

std::vector<CPropertyPage*> CreatePropertyPages(PageHost& host, QWidget* parent) {
    struct Placeholder {
        int id;
        const char* caption;
    };
    static constexpr Placeholder kPages[] = {{130, "Background"}, {129, "Font"},    {139, "Word Spacing"},
                                             {159, "Margins"},    {161, "Padding"}, {171, "Border"},
                                             {174, "Positioning"}};
    std::vector<CPropertyPage*> pages;
    for (const Placeholder& p : kPages) pages.push_back(new CPropertyPage(host, p.id, p.caption, parent));
    return pages;
}

}  // namespace larkspur
