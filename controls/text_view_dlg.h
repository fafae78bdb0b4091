#pragma once
#include <QDialog>

class QPlainTextEdit;

namespace larkspur {

// A text to read and copy, not to edit (the difference between the sheet and
// its file), in a fixed-width font, with a Close button.
class CTextViewDlg : public QDialog {
    Q_OBJECT
public:
    CTextViewDlg(const QString& text, const QString& caption, QWidget* parent = nullptr);
    QPlainTextEdit* View() const { return view_; }

private:
    QPlainTextEdit* view_;
};

}  // namespace larkspur
