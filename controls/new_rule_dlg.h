#pragma once
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace larkspur {

class CRuleNameNote;

// "Add New Tag/Class": a name and its kind (0 Tag, 1 Class, 2 ID, -1 none).
class CNewRuleDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewRuleDlg(QWidget* parent = nullptr);

    QString Name() const;
    int Kind() const;
    // The at-rules of the selected rule: a box, ticked, puts the new rule
    // in them. Empty: no box.
    void SetContext(const QString& context);
    bool Inside() const;
    QCheckBox* InsideBox() const { return inside_; }

    QLineEdit* NameEdit() const { return name_; }
    CRuleNameNote* Note() const { return note_; }
    // Stays open, saying why, while the name would not make a valid rule.
    void accept() override;
    QButtonGroup* KindGroup() const { return kind_; }

private:
    QLineEdit* name_;
    CRuleNameNote* note_;
    QButtonGroup* kind_;
    QCheckBox* inside_;
};

}  // namespace larkspur
