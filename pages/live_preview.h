#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "css/listing.h"

namespace larkspur {

class CPreviewPage;

// Keeps the preview in step with the sheet. Every change of the listing asks
// for an update. The first change after a quiet spell is shown as soon as the
// current event is handled; later ones are gathered so that updates come at
// most every kDelayMs, which keeps typing smooth. The update puts the sheet's text into the preview
// copy's style element in place: no reload, no flicker, the page stays where
// it was scrolled. When that element cannot be found, the copy is rewritten
// and reloaded with the scroll position kept.
class LivePreview : public QObject, public ListingObserver {
    Q_OBJECT
public:
    struct Sheet {
        std::function<std::string()> text;  // the sheet's rules, as the style element holds them
        std::function<bool()> rewriteCopy;  // puts the sheet into the copy on disk; false when not done
    };

    static constexpr int kDelayMs = 50;

    LivePreview(CPreviewPage& page, Sheet sheet, QObject* parent = nullptr);

    bool Enabled() const { return enabled_; }
    // Turning it on brings the preview up to date.
    void SetEnabled(bool enabled);
    // A freshly written copy is shown (true) or none (false); either way
    // nothing is pending any more.
    void SetCopyShown(bool shown);
    bool Pending() const { return timer_.isActive(); }

    void LineInserted(int, std::string_view) override { Changed(); }
    void LinesRemoved(int, int) override { Changed(); }
    void LineReplaced(int, std::string_view) override { Changed(); }
    void LinesCleared() override { Changed(); }

    // The script that sets the copy's style element to the text; its value
    // is true when the element was found.
    static QString StyleScript(const std::string& text);

signals:
    // An update reached the browser: in place, or by rewriting and reloading.
    void Updated(bool inPlace);

private:
    void Changed();
    void Update();
    void Rewrite();

    CPreviewPage& page_;
    Sheet sheet_;
    QTimer timer_;
    QElapsedTimer sinceUpdate_;  // invalid before the first update
    bool enabled_ = true;
    bool copyShown_ = false;
};

}  // namespace larkspur
