// What a saved sheet means, judged by the browser: a page of elements styled
// by a real framework sheet gets the same computed style for every element,
// at a phone's and a desktop's width, from the sheet as read and as saved.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "css/sheet_document.h"
#include "editor_fixture.h"
#include "web_script.h"

namespace larkspur::testing {
namespace {

namespace fs = std::filesystem;

// The tags a sheet styles, and one element for each class it names, with
// children so descendant and sibling selectors match too.
std::string PageFor(const std::string& sheet) {
    std::string body;
    for (const char* tag : {"h1", "h2", "h4", "p", "small", "code", "pre", "blockquote", "hr", "button", "select",
                            "textarea", "label", "sub", "sup", "abbr", "mark", "figure", "fieldset", "legend"})
        body += std::string("<") + tag + ">" + tag + "</" + tag + ">\n";
    body += "<ol><li>one</li><li>two</li></ol><ul><li>a</li></ul><dl><dt>t</dt><dd>d</dd></dl>\n"
            "<table><thead><tr><th>h</th></tr></thead><tbody><tr><td>c</td></tr></tbody></table>\n"
            "<input type=\"text\"><input type=\"checkbox\"><input type=\"submit\"><a href=\"#\">link</a>\n";
    std::set<std::string> classes;
    static const std::regex name(R"(\.(-?[A-Za-z_][A-Za-z0-9_-]*))");
    for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), name); it != std::sregex_iterator(); ++it)
        if (classes.size() < 1500) classes.insert((*it)[1]);
    for (const std::string& c : classes)
        body += "<div class=\"" + c + "\"><span>s</span><a href=\"#\">a</a><i></i><p class=\"" + c + "\">p</p></div>\n";
    return body;
}

// The element and the first property whose value differs.
std::string FirstDifference(const std::string& a, const std::string& b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const size_t from = a.rfind(';', at) == std::string::npos ? 0 : a.rfind(';', at) + 1;
    return a.substr(0, a.find(' ', a.find(' ') + 1)) + ": " + a.substr(from, a.find(';', at) - from) + " became " +
           b.substr(from, b.find(';', at) - from);
}

class ComputedStyle : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        view.resize(1280, 800);
        view.show();
    }
    QVariant Eval(const QString& script) { return RunScript(view.page(), script, 30000); }
    // Every element's computed style, one line each, at each width; animations
    // held at their start, which a load does not time.
    std::vector<std::string> Styles(const std::string& sheet, const std::string& body) {
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        const std::string html = "<!DOCTYPE html><html><head><meta name=\"viewport\" content=\"width=device-width\">"
                                 "<style>*, *::before, *::after { animation-play-state: paused !important }</style>"
                                 "<style>" + sheet + "</style></head><body>" + body + "</body></html>";
        view.setHtml(QString::fromStdString(html), QUrl(QStringLiteral("file:///page.html")));
        EXPECT_TRUE(loaded.wait(30000));
        std::vector<std::string> lines;
        for (int width : {375, 1280}) {
            view.resize(width, 800);
            EXPECT_TRUE(QTest::qWaitFor([&] { return Eval(QStringLiteral("window.innerWidth")).toInt() == width; },
                                        10000));
            const QString all = Eval(QStringLiteral(
                                         "Array.from(document.querySelectorAll('body *')).map(function(e, i) {"
                                         "  var s = getComputedStyle(e), out = [];"
                                         "  for (var k = 0; k < s.length; ++k) out.push(s[k] + ':' + s.getPropertyValue(s[k]));"
                                         "  return i + ' ' + e.tagName + '.' + e.className + ' ' + out.join(';');"
                                         "}).join('\\n')"))
                                    .toString();
            std::istringstream in(all.toStdString());
            for (std::string line; std::getline(in, line);) lines.push_back(std::to_string(width) + " " + line);
        }
        return lines;
    }
    QWebEngineView view;
};

TEST_P(ComputedStyle, EveryElementStylesTheSameAfterSave) {
    const std::string original = ReadText((fs::path(LARKSPUR_TEST_DATA) / "frameworks" / GetParam()).string());
    ASSERT_FALSE(original.empty());
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText(original, GetParam()));
    const std::string saved = doc.StyleSheetText();
    const std::string body = PageFor(original);
    const std::vector<std::string> before = Styles(original, body), after = Styles(saved, body);
    ASSERT_EQ(before.size(), after.size());
    ASSERT_GT(before.size(), 90u);
    size_t differ = 0;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i] && ++differ <= 3) ADD_FAILURE() << FirstDifference(before[i], after[i]);
    EXPECT_EQ(differ, 0u) << "of " << before.size() << " elements";
}

INSTANTIATE_TEST_SUITE_P(Frameworks, ComputedStyle,
                         ::testing::Values("normalize.css", "animate.min.css", "bootstrap.min.css",
                                           "bootstrap-theme.css", "spectre-exp.css", "spectre-icons.css"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace larkspur::testing
