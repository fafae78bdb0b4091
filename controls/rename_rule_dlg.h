#pragma once
#include <QDialog>

class QLineEdit;

namespace larkspur {

class CRuleNameNote;

// "Rename Tag": opens empty, not with the current name.
class CRenameRuleDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRenameRuleDlg(QWidget* parent = nullptr);
    QString Name() const;
    QLineEdit* NameEdit() const { return name_; }
    CRuleNameNote* Note() const { return note_; }
    // Stays open, saying why, while the name would not make a valid rule.
    void accept() override;

private:
    QLineEdit* name_;
    CRuleNameNote* note_;
};

}  // namespace larkspur
