#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;

namespace larkspur {

// "Copy To": the rule names in rule-list order; Selection() is the chosen
// index when OK was pressed, -1 when none was chosen.
class CCopyToDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCopyToDlg(const QStringList& names, QWidget* parent = nullptr);
    int Selection() const { return selection_; }
    QListWidget* List() const { return list_; }

    void accept() override;

private:
    QListWidget* list_;
    int selection_ = -1;
};

}  // namespace larkspur
