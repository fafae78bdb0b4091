#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "pages/page_factory.h"
#include "pages/page_host.h"
#include "pages/property_page.h"

namespace larkspur {
namespace {

class NullHost : public PageHost {
public:
    SheetDocument& Document() override { std::abort(); }
    UserDialogs& Dialogs() override { std::abort(); }
    void ShowHelpLine(const std::string&) override {}
    std::string SavedPath() const override { return {}; }
    void RunSaveAs() override {}
    bool IsLoading() const override { return false; }
};

TEST(PageFactory, SevenPagesInSheetOrder) {
    NullHost host;
    QWidget parent;
    auto pages = CreatePropertyPages(host, &parent);
    ASSERT_EQ(pages.size(), 7u);
    const int ids[] = {130, 129, 139, 159, 161, 171, 174};
    for (size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i]->ResourceId(), ids[i]);
}

}  // namespace
}  // namespace larkspur
