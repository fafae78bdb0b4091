#pragma once
#include <QDialog>

class QTextBrowser;

namespace larkspur {

// The quick-start page in a window of the program's own, so Help works on a
// desktop without a handler for HTML files. Links to the web go to the desktop.
class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    // page: a file path or a resource path (":/qstart.html").
    explicit CHelpWindow(const QString& page, QWidget* parent = nullptr);
    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace larkspur
