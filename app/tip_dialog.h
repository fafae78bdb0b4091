#pragma once
#include <QDialog>
#include <QPixmap>
#include <string>

#include "model/tips_file.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace larkspur {

class SettingsStore;
class UserDialogs;

// "Tip of the Day": shows one tip at a time from the tips file and carries on
// where the previous showing stopped. Constructing it reads the settings and
// the first tip; destroying it stores the file position.
class CTipDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kMissingFile = "Tips file does not exist in the prescribed directory";
    static constexpr const char* kTroubleReading = "Trouble reading the tips file";
    static constexpr const char* kHeading = "Did you know...";

    CTipDlg(SettingsStore& settings, UserDialogs& dialogs, const std::string& tipsPath,
            QWidget* parent = nullptr);
    ~CTipDlg() override;

    // 1 when tips are to be shown at start-up (the check box).
    int Startup() const { return startup_; }
    QString TipText() const;
    bool HasFile() const { return file_.IsOpen(); }

    QCheckBox* StartupBox() const { return startupBox_; }
    QPushButton* NextButton() const { return nextButton_; }
    QPushButton* CloseButton() const { return closeButton_; }

    void NextTip();

private:
    void GetNextTip();
    void OnClose();

    SettingsStore& settings_;
    UserDialogs& dialogs_;
    TipsFile file_;
    int startup_ = 1;
    std::string tip_;

    QLabel* tipLabel_ = nullptr;
    QCheckBox* startupBox_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace larkspur
