#include <QPointF>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>
#include <utility>
#include <vector>

#include "pages/browser.h"

namespace larkspur {
namespace {

class WebEngineBrowser : public CBrowser {
public:
    explicit WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {
        view_->setAccessibleName(QStringLiteral("Preview"));
        // The view may outlive this object: the connections end with it.
        QObject::connect(view_, &QWebEngineView::loadStarted, &alive_, [this] { loading_ = true; });
        QObject::connect(view_, &QWebEngineView::loadFinished, &alive_, [this](bool) { LoadFinished(); });
    }
    QWidget* Widget() override { return view_; }
    void Navigate(const QString& pathOrUrl) override { view_->load(ToUrl(pathOrUrl)); }
    void Reload() override { view_->reload(); }
    void Stop() override { view_->stop(); }

    void RunScript(const QString& script, ScriptDone done) override {
        // A script run now would reach the page being left, not the one coming.
        if (loading_) {
            waiting_.emplace_back(script, std::move(done));
            return;
        }
        Run(script, std::move(done));
    }

    void ReloadKeepingScroll() override {
        scrollBack_ = view_->page()->scrollPosition();
        view_->reload();
    }

private:
    static QUrl ToUrl(const QString& pathOrUrl) {
        if (pathOrUrl.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(pathOrUrl);
        return QUrl(pathOrUrl);
    }

    void Run(const QString& script, ScriptDone done) {
        if (done)
            view_->page()->runJavaScript(script, [done = std::move(done)](const QVariant& v) { done(v); });
        else
            view_->page()->runJavaScript(script);
    }

    void LoadFinished() {
        loading_ = false;
        if (scrollBack_) {
            Run(QStringLiteral("window.scrollTo(%1, %2)").arg(scrollBack_->x()).arg(scrollBack_->y()), {});
            scrollBack_.reset();
        }
        auto waiting = std::exchange(waiting_, {});
        for (auto& [script, done] : waiting) Run(script, std::move(done));
    }

    QWebEngineView* view_;  // owned by its parent widget
    QObject alive_;
    bool loading_ = false;
    std::optional<QPointF> scrollBack_;
    std::vector<std::pair<QString, ScriptDone>> waiting_;
};

}  // namespace

BrowserFactory WebEngineBrowserFactory() {
    return [](QWidget* parent) -> std::unique_ptr<CBrowser> { return std::make_unique<WebEngineBrowser>(parent); };
}

}  // namespace larkspur
