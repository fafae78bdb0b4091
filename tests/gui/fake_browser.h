#pragma once
// A browser that records what it was asked to do, and a factory for it that
// can also fail, as when no browser component is installed.
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "pages/browser.h"

namespace larkspur::testing {

struct BrowserLog {
    // "Navigate <path>", "Reload", "Stop", "Script", "ReloadKeepingScroll"
    std::vector<std::string> calls;
    std::vector<std::string> scripts;  // the text of each script, in order
    QVariant scriptValue = true;       // what every script gives back
};

class FakeBrowser : public CBrowser {
public:
    FakeBrowser(QWidget* parent, BrowserLog& log) : widget_(new QWidget(parent)), log_(log) {
        widget_->setFocusPolicy(Qt::StrongFocus);
    }
    QWidget* Widget() override { return widget_; }
    void Navigate(const QString& pathOrUrl) override { log_.calls.push_back("Navigate " + pathOrUrl.toStdString()); }
    void Reload() override { log_.calls.push_back("Reload"); }
    void Stop() override { log_.calls.push_back("Stop"); }
    void RunScript(const QString& script, ScriptDone done) override {
        log_.calls.push_back("Script");
        log_.scripts.push_back(script.toStdString());
        if (done) done(log_.scriptValue);
    }
    void ReloadKeepingScroll() override { log_.calls.push_back("ReloadKeepingScroll"); }

private:
    QWidget* widget_;
    BrowserLog& log_;
};

inline BrowserFactory FakeBrowserFactory(BrowserLog& log) {
    return [&log](QWidget* parent) -> std::unique_ptr<CBrowser> { return std::make_unique<FakeBrowser>(parent, log); };
}

inline BrowserFactory FailingBrowserFactory() {
    return [](QWidget*) -> std::unique_ptr<CBrowser> { return nullptr; };
}

}  // namespace larkspur::testing
