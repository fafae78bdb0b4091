#pragma once
#include <QDialog>
#include <vector>

#include "platform/user_dialogs.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace larkspur {

// Save into several pages, before writing: every chosen page with what will
// become of it (changed, with the lines added and removed; unchanged; cannot
// be written, and why). Save writes them, Cancel writes nothing.
class CPageChangesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPageChangesDlg(const std::vector<PageChangeRow>& pages, QWidget* parent = nullptr);
    QTreeWidget* List() const { return list_; }
    QLabel* Summary() const { return summary_; }
    QPushButton* SaveButton() const { return save_; }

private:
    QTreeWidget* list_;
    QLabel* summary_;
    QPushButton* save_;
};

}  // namespace larkspur
