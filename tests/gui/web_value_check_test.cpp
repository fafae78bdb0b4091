// The value checker's verdicts against the browser's own: CSS.supports() of
// the preview's engine for every distinct declaration of the framework
// sheets, the same values broken in ways users break them, and hand-made
// cases.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "css/sheet_check.h"
#include "web_script.h"

namespace larkspur::testing {
namespace {

namespace fs = std::filesystem;

// Every distinct declaration of the framework sheets ("name", "value"), with
// a broken twin of each: a unit split from its number, or a stray word.
std::set<std::pair<std::string, std::string>> Sample() {
    std::set<std::pair<std::string, std::string>> out;
    for (const auto& e : fs::directory_iterator(fs::path(LARKSPUR_TEST_DATA) / "frameworks")) {
        if (e.path().extension() != ".css") continue;
        std::ifstream in(e.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        size_t at = 0;
        while ((at = text.find('{', at)) != std::string::npos) {
            const size_t end = text.find('}', at);
            if (end == std::string::npos) break;
            size_t from = at + 1;
            while (from < end) {
                size_t stop = std::min(text.find(';', from), end);
                Declaration d;
                if (ParseDeclaration(std::string_view(text).substr(from, stop - from), d) && !d.name.empty() &&
                    d.name.find_first_of("{@ ") == std::string::npos) {
                    out.emplace(d.name, d.value);
                    std::string broken = d.value;
                    if (size_t px = broken.find("px"); px != std::string::npos)
                        broken.insert(px, " ");
                    else
                        broken += " sideways";
                    out.emplace(d.name, broken);
                }
                from = stop + 1;
            }
            at = end;
        }
    }
    return out;
}

TEST(WebValueCheck, VerdictsAgreeWithTheBrowsers) {
    QWebEngineView view;
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.setHtml(QStringLiteral("<html><body></body></html>"));
    ASSERT_TRUE(loaded.wait(30000));

    std::vector<std::pair<std::string, std::string>> sample;
    for (const auto& d : Sample())
        if (CheckValue(d.first, d.second).verdict != ValueVerdict::Unknown) sample.push_back(d);
    QJsonArray pairs;
    for (const auto& [name, value] : sample)
        pairs.append(QJsonArray{QString::fromStdString(name), QString::fromStdString(value)});
    const QString script = QStringLiteral("JSON.stringify(%1.map(p => CSS.supports(p[0], p[1])))")
                               .arg(QString::fromUtf8(QJsonDocument(pairs).toJson(QJsonDocument::Compact)));
    const QJsonArray browser = QJsonDocument::fromJson(RunScript(view.page(), script, 60000).toString().toUtf8()).array();
    ASSERT_EQ(static_cast<size_t>(browser.size()), sample.size());

    size_t agree = 0;
    std::string differ;
    for (size_t i = 0; i < sample.size(); ++i) {
        const bool ours = CheckValue(sample[i].first, sample[i].second).verdict == ValueVerdict::Valid;
        if (ours == browser[static_cast<qsizetype>(i)].toBool())
            ++agree;
        else
            differ += (ours ? "\n  we keep: " : "\n  we drop: ") + sample[i].first + ": " + sample[i].second;
    }
    const double share = static_cast<double>(agree) / static_cast<double>(sample.size());
    std::printf("value checker and browser agree on %zu of %zu declarations (%.1f%%)%s\n", agree, sample.size(),
                share * 100, differ.c_str());
    EXPECT_GE(share, 0.95);
}

}  // namespace
}  // namespace larkspur::testing
