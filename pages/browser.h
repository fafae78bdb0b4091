#pragma once
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class QWidget;

namespace larkspur {

// The browser control the Preview page hosts.
class CBrowser {
public:
    using ScriptDone = std::function<void(const QVariant& result)>;

    virtual ~CBrowser() = default;
    virtual QWidget* Widget() = 0;
    // A local file path or an address such as "about:blank".
    virtual void Navigate(const QString& pathOrUrl) = 0;
    virtual void Reload() = 0;
    virtual void Stop() = 0;
    // Runs a script in the shown page; while a page is loading, it waits for
    // the page. done (may be empty) gets the script's value.
    virtual void RunScript(const QString& script, ScriptDone done) = 0;
    // Reloads and puts the page back where it was scrolled to.
    virtual void ReloadKeepingScroll() = 0;
};

// Makes the browser as a child of the given widget; null when it cannot.
using BrowserFactory = std::function<std::unique_ptr<CBrowser>(QWidget* parent)>;

// The browser built on Qt WebEngine.
BrowserFactory WebEngineBrowserFactory();

}  // namespace larkspur
