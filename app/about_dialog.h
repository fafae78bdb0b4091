#pragma once
#include <QDialog>

namespace larkspur {

// "About Larkspur": the icon, the version and what the program is for.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// The application icon in every size drawn for it.
QIcon ApplicationIcon();

}  // namespace larkspur
