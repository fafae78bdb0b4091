#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <sstream>

#include "controls/color_button.h"
#include "controls/property_edit.h"
#include "page_driving.h"
#include "page_test_host.h"
#include "pages/color_page.h"
#include "pages/font_page.h"

namespace larkspur {
namespace {

using testing::Click;
using testing::Pick;

// Everything a user can see of a page's controls, one line per control.
std::string Dump(CPropertyPage& page) {
    std::ostringstream out;
    for (const auto& [id, w] : page.Controls()) {
        out << id << (w->isEnabled() ? " on" : " off");
        if (auto* b = qobject_cast<CColorButton*>(w))
            out << " #" << std::hex << b->Color() << std::dec;
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            out << (b->isCheckable() ? (b->isChecked() ? " [x]" : " [ ]") : "");
        else if (auto* c = qobject_cast<QComboBox*>(w))
            out << " '" << c->currentText().toStdString() << "'";
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            out << " '" << e->text().toStdString() << "'";
        out << "\n";
    }
    return out.str();
}

struct Pages {
    explicit Pages(testing::FakePageHost& host) : font(host), background(host) {}
    void Load() {
        for (CPropertyPage* p : {static_cast<CPropertyPage*>(&font), static_cast<CPropertyPage*>(&background)}) {
            p->LoadFromRule();
            p->RefreshEnabling();
        }
    }
    void Store() {
        font.StoreToRule();
        background.StoreToRule();
    }
    std::string Dump() { return larkspur::Dump(font) + "--\n" + larkspur::Dump(background); }
    CFontPage font;
    CColorPage background;
};

int SelectRule(testing::FakePageHost& host, const char* selector) {
    const int index = host.document.FindRule(selector);
    host.document.SetSelectedIndex(index);
    return index;
}

TEST(PageRoundTrip, WrittenSheetReadsBackIntoTheSameControls) {
    testing::FakePageHost first;
    Pages a(first);
    first.SelectListedRule(SelectRule(first, "H1"));
    a.Load();

    a.font.ListCombo(1032)->AddItems(QStringList{"Aaa Test Face", "Bbb Test Face"});
    Click(a.font, 1034);
    ASSERT_TRUE(Pick(a.font, 1032, "Bbb Test Face"));
    Click(a.font, 1039);
    ASSERT_TRUE(Pick(a.font, 1021, "monospace"));
    Click(a.font, 1035);
    ASSERT_TRUE(Pick(a.font, 1036, "oblique"));
    Click(a.font, 1041);
    ASSERT_TRUE(Pick(a.font, 1042, "small-caps"));
    Click(a.font, 1044);
    ASSERT_TRUE(Pick(a.font, 1031, "Very Heavy"));
    Click(a.font, 1059);
    Click(a.font, 1049);
    ASSERT_TRUE(Pick(a.font, 1143, "pt"));
    testing::Retype(a.font.Edit(1053), "14");
    Click(a.font, 1058);
    first.dialogs.colours.push_back(MakeColour(0x12, 0xAB, 0xFF));
    Click(a.font, 1030);
    Click(a.font, 1076);

    Click(a.background, 1065);
    ASSERT_TRUE(Pick(a.background, 1066, "repeat-x"));
    Click(a.background, 1067);
    ASSERT_TRUE(Pick(a.background, 1068, "scroll"));
    Click(a.background, 1071);
    testing::TypeText(a.background.Edit(1072), "img/a.gif");
    Click(a.background, 1081);
    Click(a.background, 1085);
    ASSERT_TRUE(Pick(a.background, 1172, "px"));
    testing::Retype(a.background.Edit(1088), "5");
    testing::TypeText(a.background.Edit(1087), "10");
    ASSERT_TRUE(Pick(a.background, 1173, "em"));

    EXPECT_EQ(first.Lines(),
              "font-family: Bbb Test Face, monospace;\n"
              "font-style: oblique;\n"
              "font-variant: small-caps;\n"
              "font-size: 14pt;\n"
              "font-weight: 700;\n"
              "color: #12ABFF;\n"
              "background-repeat: repeat-x;\n"
              "background-attachment: scroll;\n"
              "background-color: #FFFFFF;\n"
              "background-image: url(img/a.gif);\n"
              "background-position: 5px 10em;\n");
    a.Store();
    const std::string sheet = first.document.StyleSheetText();

    testing::FakePageHost second;
    Pages b(second);
    ASSERT_TRUE(second.document.ReadStyleSheetText(sheet, "/web/style.css"));
    SelectRule(second, "H1");
    b.Load();
    // The test faces are not installed: the names show as read.
    EXPECT_EQ(b.Dump(), a.Dump());
    EXPECT_EQ(second.document.StyleSheetText(), sheet);

    // Leaving the rule and coming back changes nothing that was written.
    b.Store();
    SelectRule(second, "BODY");
    b.Load();
    SelectRule(second, "H1");
    b.Load();
    EXPECT_EQ(b.Dump(), a.Dump());
    EXPECT_EQ(second.document.StyleSheetText(), sheet);
}

TEST(PageRoundTrip, ReadValuesShowAsReadAndStoringKeepsTheEntries) {
    testing::FakePageHost host;
    Pages pages(host);
    const std::string text =
        "H1 {font-family: Times, serif; font-weight: bold; font-size: large; color: #00FF00; "
        "background-position: right top; background-image: url(x.png)}\r\n";
    pages.Load();  // the window shows its first rule before anything is opened
    ASSERT_TRUE(host.document.ReadStyleSheetText(text, "/web/style.css"));
    SelectRule(host, "H1");
    const std::string written = host.document.StyleSheetText();
    const PropertyList before = host.document.SelectedRule()->properties;
    pages.Load();

    using testing::Text;
    // "Times" is not shortened to or widened into some installed family.
    EXPECT_EQ(Text(pages.font, 1032), "Times");
    EXPECT_EQ(Text(pages.font, 1021), "serif");
    EXPECT_EQ(Text(pages.font, 1031), "Bold");
    EXPECT_EQ(Text(pages.font, 1051), "large");
    EXPECT_TRUE(testing::Checked(pages.font, 1046));
    EXPECT_EQ(pages.font.ColourButton(1030)->Color(), MakeColour(0, 0xFF, 0));
    EXPECT_EQ(Text(pages.background, 1078), "right");
    EXPECT_EQ(Text(pages.background, 1079), "top");
    EXPECT_EQ(Text(pages.background, 1072), "x.png");

    // Loading fired no stores; storing the pages touches no entry.
    pages.Store();
    pages.Load();
    pages.Store();
    const PropertyList& after = host.document.SelectedRule()->properties;
    for (int i = 0; i < kPropertyCount; ++i) {
        SCOPED_TRACE(PropertyName(i));
        EXPECT_EQ(after[i].value, before[i].value);
        EXPECT_EQ(after[i].alternate, before[i].alternate);
        EXPECT_EQ(after[i].generic, before[i].generic);
        EXPECT_EQ(after[i].valueSet, before[i].valueSet);
        EXPECT_EQ(after[i].changed, before[i].changed);
    }
    EXPECT_EQ(host.document.StyleSheetText(), written);
    EXPECT_EQ(host.document.SelectedRule()->pageState().fontFamily1, "Times");
}

}  // namespace
}  // namespace larkspur
