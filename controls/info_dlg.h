#pragma once
#include <QDialog>

class QLabel;

namespace larkspur {

// "Info": a modeless window showing the current help text, black on pale
// yellow, wrapped to its width.
class CInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInfoDlg(QWidget* parent = nullptr);
    void SetText(const QString& text);
    QString Text() const;
    QLabel* Label() const { return label_; }

private:
    QLabel* label_;
};

}  // namespace larkspur
