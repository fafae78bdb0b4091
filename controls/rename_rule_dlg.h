#pragma once
#include <QDialog>

class QLineEdit;

namespace larkspur {

// "Rename Tag": opens empty, not with the current name.
class CRenameRuleDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRenameRuleDlg(QWidget* parent = nullptr);
    QString Name() const;
    QLineEdit* NameEdit() const { return name_; }

private:
    QLineEdit* name_;
};

}  // namespace larkspur
