#pragma once
#include <QDialog>

class QButtonGroup;

namespace larkspur {

// "Save as": 0 HTML Page, 1 CSS File, -1 none checked.
class CSaveAsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSaveAsDlg(QWidget* parent = nullptr);
    int Choice() const;
    void SetChoice(int choice);
    QButtonGroup* Group() const { return group_; }

private:
    QButtonGroup* group_;
};

}  // namespace larkspur
