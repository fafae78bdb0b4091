#pragma once
#include <deque>
#include <string>

#include "platform/user_dialogs.h"

namespace larkspur {

// The window's dialogs with one addition: a file named on the command line
// answers the next open-file question, so the window opens it through its own
// Open and Load page commands. Everything else goes to the real dialogs.
class StartFileDialogs : public UserDialogs {
public:
    explicit StartFileDialogs(UserDialogs& inner) : inner_(inner) {}

    void AnswerNextOpenWith(const std::string& path) { pending_.push_back(path); }
    bool HasPendingAnswer() const { return !pending_.empty(); }
    void DropPendingAnswers() { pending_.clear(); }

    std::optional<std::string> ChooseOpenFile(const std::string& filter) override {
        if (pending_.empty()) return inner_.ChooseOpenFile(filter);
        std::string path = pending_.front();
        pending_.pop_front();
        return path;
    }

    void ShowMessage(const std::string& text, const std::string& caption) override {
        inner_.ShowMessage(text, caption);
    }
    Answer AskYesNo(const std::string& text, const std::string& caption) override {
        return inner_.AskYesNo(text, caption);
    }
    Answer AskYesNoCancel(const std::string& text, const std::string& caption) override {
        return inner_.AskYesNoCancel(text, caption);
    }
    std::vector<std::string> ChooseOpenFiles(const std::string& filter) override {
        return inner_.ChooseOpenFiles(filter);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& ext) override {
        return inner_.ChooseSaveFile(filter, ext);
    }
    std::optional<ColourValue> ChooseColour(ColourValue initial) override { return inner_.ChooseColour(initial); }
    std::optional<NewRuleChoice> AskNewRule() override { return inner_.AskNewRule(); }
    std::optional<std::string> AskRenameRule() override { return inner_.AskRenameRule(); }
    std::optional<int> AskCopyTarget(const std::vector<std::string>& names) override {
        return inner_.AskCopyTarget(names);
    }
    std::optional<int> AskSaveAsKind() override { return inner_.AskSaveAsKind(); }

private:
    UserDialogs& inner_;
    std::deque<std::string> pending_;
};

}  // namespace larkspur
