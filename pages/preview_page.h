#pragma once
#include <QWidget>
#include <memory>

#include "pages/browser.h"

class QLabel;

namespace larkspur {

class UserDialogs;

// "Preview": hosts the browser. When the browser cannot be made, that is said
// once, and the first preview request uncovers a note in its place.
class CPreviewPage : public QWidget {
    Q_OBJECT
public:
    CPreviewPage(const BrowserFactory& factory, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~CPreviewPage() override;

    bool HasBrowser() const { return browser_ != nullptr; }
    CBrowser* Browser() const { return browser_.get(); }
    QLabel* MissingNote() const { return note_; }

    void Navigate(const QString& pathOrUrl);
    void Reload();
    void Stop();

    static const char* const kMissingNote;
    // Said once when the browser cannot be made.
    static const char* const kCreateFailed;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<CBrowser> browser_;
    QLabel* note_;
};

}  // namespace larkspur
