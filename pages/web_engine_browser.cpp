#include <QUrl>
#include <QWebEngineView>

#include "pages/browser.h"

namespace larkspur {
namespace {

class WebEngineBrowser : public CBrowser {
public:
    explicit WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {
        view_->setAccessibleName(QStringLiteral("Preview"));
    }
    QWidget* Widget() override { return view_; }
    void Navigate(const QString& pathOrUrl) override { view_->load(ToUrl(pathOrUrl)); }
    void Reload() override { view_->reload(); }
    void Stop() override { view_->stop(); }

private:
    static QUrl ToUrl(const QString& pathOrUrl) {
        if (pathOrUrl.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(pathOrUrl);
        return QUrl(pathOrUrl);
    }
    QWebEngineView* view_;  // owned by its parent widget
};

}  // namespace

BrowserFactory WebEngineBrowserFactory() {
    return [](QWidget* parent) -> std::unique_ptr<CBrowser> { return std::make_unique<WebEngineBrowser>(parent); };
}

}  // namespace larkspur
