#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/user_dialogs.h"

class QMessageBox;

namespace larkspur {

// Gives the box its text as plain text.
void PreparePlainMessage(QMessageBox& box, const std::string& text);

// "Web Pages | *.html; *.htm|All Files | *.*||" becomes
// "Web Pages (*.html *.htm);;All Files (*)".
QString QtFilterFromClassic(const std::string& classic);

// The questions asked with real Qt dialogs, modal to the given parent (the
// active window when none is set).
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParentWidget(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const std::string& text, const std::string& caption) override;
    Answer AskYesNo(const std::string& text, const std::string& caption, Answer byDefault) override;
    Answer AskYesNoCancel(const std::string& text, const std::string& caption, Answer byDefault) override;
    int AskChoice(const std::string& text, const std::string& caption, const std::vector<std::string>& choices,
                  int byDefault) override;
    void ShowText(const std::string& text, const std::string& caption) override;

    std::optional<std::string> ChooseOpenFile(const std::string& filter) override;
    std::vector<std::string> ChooseOpenFiles(const std::string& filter) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter,
                                              const std::string& defaultExtension) override;
    std::optional<ColourValue> ChooseColour(ColourValue initial) override;

    std::optional<NewRuleChoice> AskNewRule(const std::string& context) override;
    std::optional<std::string> AskRenameRule() override;
    std::optional<int> AskCopyTarget(const std::vector<std::string>& names) override;
    std::optional<int> AskSaveAsKind() override;
    bool ConfirmPageChanges(const std::vector<PageChangeRow>& pages) override;

private:
    QWidget* Parent() const;
    QPointer<QWidget> parent_;
};

}  // namespace larkspur
