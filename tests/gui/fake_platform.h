#pragma once
// Scripted stand-ins for the platform interfaces. Each question takes the next
// answer from its queue (an empty queue answers "cancel") and every question,
// answered or not, is recorded in order, so a test can compare the whole
// conversation in one assertion.
#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop_services.h"
#include "platform/file_watcher.h"
#include "platform/settings_store.h"
#include "platform/user_dialogs.h"

namespace larkspur::testing {

// One question as asked: its kind ("Message", "YesNo", "YesNoCancel",
// "OpenFile", "OpenFiles", "SaveFile", "Colour", "NewRule", "Rename",
// "CopyTo", "SaveAsKind", "PageChanges", "Choice", "Text"), caption and text
// (for file dialogs: the filter and the default extension; for CopyTo: the
// names joined by ","; for PageChanges: a line a page,
// "changed|unchanged|cannot-write PATH"; for Choice: the text, then the
// buttons joined by "|" in brackets, the default one starred).
struct AskedQuestion {
    std::string kind;
    std::string caption;
    std::string text;
    bool operator==(const AskedQuestion&) const = default;
};

class FakeDialogs : public UserDialogs {
public:
    std::deque<Answer> answers;  // for AskYesNo and AskYesNoCancel
    std::deque<std::optional<std::string>> openFiles;
    std::deque<std::vector<std::string>> openFileLists;
    std::deque<std::optional<std::string>> saveFiles;
    std::deque<std::optional<ColourValue>> colours;
    std::deque<std::optional<NewRuleChoice>> newRules;
    std::deque<std::optional<std::string>> renames;
    std::deque<std::optional<int>> copyTargets;
    std::deque<std::optional<int>> saveAsKinds;
    std::deque<bool> pageConfirms;
    std::deque<int> choices;  // for AskChoice: the index of the button pressed
    std::vector<PageChangeRow> pageRows;  // as last shown

    std::vector<AskedQuestion> asked;
    std::vector<Answer> defaults;  // the default button of each YesNo and YesNoCancel, in order
    int unscripted = 0;  // questions that found their queue empty

    // "Kind: caption: text" per question, for compact failure output.
    std::vector<std::string> Transcript() const {
        std::vector<std::string> lines;
        for (const AskedQuestion& q : asked) lines.push_back(q.kind + ": " + q.caption + ": " + q.text);
        return lines;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const AskedQuestion& q : asked)
            if (q.kind == "Message") texts.push_back(q.text);
        return texts;
    }
    int Count(const std::string& kind) const {
        int n = 0;
        for (const AskedQuestion& q : asked) n += q.kind == kind;
        return n;
    }
    void Clear() {
        asked.clear();
        defaults.clear();
        unscripted = 0;
    }

    void ShowMessage(const std::string& text, const std::string& caption) override {
        asked.push_back({"Message", caption, text});
    }
    Answer AskYesNo(const std::string& text, const std::string& caption, Answer byDefault) override {
        asked.push_back({"YesNo", caption, text});
        defaults.push_back(byDefault);
        return Next(answers, Answer::No);
    }
    Answer AskYesNoCancel(const std::string& text, const std::string& caption, Answer byDefault) override {
        asked.push_back({"YesNoCancel", caption, text});
        defaults.push_back(byDefault);
        return Next(answers, Answer::Cancel);
    }
    int AskChoice(const std::string& text, const std::string& caption, const std::vector<std::string>& buttons,
                  int byDefault) override {
        std::string names;
        for (size_t i = 0; i < buttons.size(); ++i)
            names += (i ? "|" : "") + buttons[i] + (static_cast<int>(i) == byDefault ? "*" : "");
        asked.push_back({"Choice", caption, text + " [" + names + "]"});
        return Next(choices, -1);
    }
    void ShowText(const std::string& text, const std::string& caption) override {
        asked.push_back({"Text", caption, text});
    }
    std::optional<std::string> ChooseOpenFile(const std::string& filter) override {
        asked.push_back({"OpenFile", "", filter});
        return Next(openFiles, std::optional<std::string>{});
    }
    std::vector<std::string> ChooseOpenFiles(const std::string& filter) override {
        asked.push_back({"OpenFiles", "", filter});
        return Next(openFileLists, std::vector<std::string>{});
    }
    std::optional<std::string> ChooseSaveFile(const std::string& filter,
                                              const std::string& defaultExtension) override {
        asked.push_back({"SaveFile", defaultExtension, filter});
        return Next(saveFiles, std::optional<std::string>{});
    }
    std::optional<ColourValue> ChooseColour(ColourValue initial) override {
        asked.push_back({"Colour", "", std::to_string(initial)});
        return Next(colours, std::optional<ColourValue>{});
    }
    std::optional<NewRuleChoice> AskNewRule(const std::string& context) override {
        asked.push_back({"NewRule", "Add New Tag/Class", context});
        return Next(newRules, std::optional<NewRuleChoice>{});
    }
    std::optional<std::string> AskRenameRule() override {
        asked.push_back({"Rename", "Rename Tag", ""});
        return Next(renames, std::optional<std::string>{});
    }
    std::optional<int> AskCopyTarget(const std::vector<std::string>& names) override {
        std::string joined;
        for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
        asked.push_back({"CopyTo", "Copy To", joined});
        return Next(copyTargets, std::optional<int>{});
    }
    std::optional<int> AskSaveAsKind() override {
        asked.push_back({"SaveAsKind", "Save as", ""});
        return Next(saveAsKinds, std::optional<int>{});
    }

    bool ConfirmPageChanges(const std::vector<PageChangeRow>& pages) override {
        static const char* const kChanges[] = {"changed", "unchanged", "cannot-write"};
        std::string lines;
        for (const PageChangeRow& row : pages) lines += std::string(kChanges[static_cast<int>(row.change)]) + " " + row.path + "\n";
        asked.push_back({"PageChanges", "Save into several pages", lines});
        pageRows = pages;
        return Next(pageConfirms, false);
    }

private:
    template <typename T>
    T Next(std::deque<T>& queue, T whenEmpty) {
        if (queue.empty()) {
            ++unscripted;
            return whenEmpty;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

class FakeSettings : public SettingsStore {
public:
    std::map<std::string, int> ints;  // "Section/Key"
    std::map<std::string, std::string> strings;
    std::vector<std::string> writes;  // "Section/Key=value" in order

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override {
        auto it = ints.find(section + "/" + key);
        return it == ints.end() ? defaultValue : it->second;
    }
    void SetInt(const std::string& section, const std::string& key, int value) override {
        ints[section + "/" + key] = value;
        writes.push_back(section + "/" + key + "=" + std::to_string(value));
    }
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override {
        auto it = strings.find(section + "/" + key);
        return it == strings.end() ? defaultValue : it->second;
    }
    void SetString(const std::string& section, const std::string& key, const std::string& value) override {
        strings[section + "/" + key] = value;
        writes.push_back(section + "/" + key + "=" + value);
    }
};

class FakeDesktop : public DesktopServices {
public:
    std::string clipboard;
    std::vector<std::string> opened;
    bool openSucceeds = true;

    void SetClipboardText(const std::string& text) override { clipboard = text; }
    bool OpenDocument(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }
};

// Watches nothing: a test changes a file and then tells the window, as the
// file system would, with Fire.
class FakeFileWatcher : public FileWatcher {
public:
    std::vector<std::string> watched;  // in the order first watched
    std::vector<std::string> calls;    // "watch PATH", "unwatch PATH"

    void Watch(const std::string& path) override {
        if (path.empty()) return;
        calls.push_back("watch " + path);
        if (!IsWatched(path)) watched.push_back(path);
    }
    void Unwatch(const std::string& path) override {
        calls.push_back("unwatch " + path);
        std::erase(watched, path);
    }
    bool IsWatched(const std::string& path) const {
        return std::find(watched.begin(), watched.end(), path) != watched.end();
    }
    void Fire(const std::string& path) {
        if (IsWatched(path) && onChanged) onChanged(path);
    }
};

}  // namespace larkspur::testing
