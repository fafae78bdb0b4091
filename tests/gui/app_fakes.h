#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"
#include "platform/user_dialogs.h"

namespace larkspur {

// Settings kept in memory; every write is also logged.
class MemorySettings : public SettingsStore {
public:
    int GetInt(const std::string& s, const std::string& k, int d) override {
        auto it = ints.find({s, k});
        return it == ints.end() ? d : it->second;
    }
    void SetInt(const std::string& s, const std::string& k, int v) override {
        ints[{s, k}] = v;
        writes.push_back(s + "/" + k + "=" + std::to_string(v));
    }
    std::string GetString(const std::string& s, const std::string& k, const std::string& d) override {
        auto it = strings.find({s, k});
        return it == strings.end() ? d : it->second;
    }
    void SetString(const std::string& s, const std::string& k, const std::string& v) override {
        strings[{s, k}] = v;
        writes.push_back(s + "/" + k + "=" + v);
    }
    bool HasInt(const std::string& s, const std::string& k) const { return ints.count({s, k}) != 0; }

    std::map<std::pair<std::string, std::string>, int> ints;
    std::map<std::pair<std::string, std::string>, std::string> strings;
    std::vector<std::string> writes;
};

// Records the messages; every question is cancelled.
class RecordingDialogs : public UserDialogs {
public:
    void ShowMessage(const std::string& text, const std::string&) override { messages.push_back(text); }
    Answer AskYesNo(const std::string&, const std::string&) override { return Answer::No; }
    Answer AskYesNoCancel(const std::string&, const std::string&) override { return Answer::Cancel; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override {
        if (openAnswers.empty()) return std::nullopt;
        std::string path = openAnswers.front();
        openAnswers.erase(openAnswers.begin());
        return path;
    }
    std::vector<std::string> ChooseOpenFiles(const std::string&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<ColourValue> ChooseColour(ColourValue) override { return std::nullopt; }
    std::optional<NewRuleChoice> AskNewRule() override { return std::nullopt; }
    std::optional<std::string> AskRenameRule() override { return std::nullopt; }
    std::optional<int> AskCopyTarget(const std::vector<std::string>&) override { return std::nullopt; }
    std::optional<int> AskSaveAsKind() override { return std::nullopt; }

    std::vector<std::string> messages;
    std::vector<std::string> openAnswers;
};

}  // namespace larkspur
