#pragma once
#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace larkspur {

// "Add New Tag/Class": a name and its kind (0 Tag, 1 Class, 2 ID, -1 none).
class CNewRuleDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewRuleDlg(QWidget* parent = nullptr);

    QString Name() const;
    int Kind() const;

    QLineEdit* NameEdit() const { return name_; }
    QButtonGroup* KindGroup() const { return kind_; }

private:
    QLineEdit* name_;
    QButtonGroup* kind_;
};

}  // namespace larkspur
