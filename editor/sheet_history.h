#pragma once
#include <QString>
#include <QUndoStack>
#include <functional>
#include <vector>

#include "css/sheet_document.h"

namespace larkspur {

// Undo and redo for the sheet. The document tells of every change before it
// happens (RuleChanging, RuleRemoving, RuleAppended); what changed between
// Begin and the matching End becomes one step on the stack, kept as snapshots
// of the rules it touched. Keystrokes in one edit box of one rule merge.
class SheetHistory {
public:
    // One recorded change within a step.
    struct Change {
        enum class Kind { InPlace, Inserted, Removed };
        Kind kind = Kind::InPlace;
        std::vector<RuleSnapshot> before;  // InPlace
        std::vector<RuleSnapshot> after;   // InPlace
        RuleSnapshot rule;                 // Inserted: as appended; Removed: as it was
    };

    explicit SheetHistory(SheetDocument& doc);

    QUndoStack& Stack() { return stack_; }

    // One user action; nested calls join the outermost. typingKey names the
    // edit box a keystroke came from (0: not typing).
    void Begin(const QString& label, int typingKey = 0);
    void End();
    // Changes made outside any action become a step of their own.
    void Flush();

    // Open and New: the document is refilled without history, then the
    // history starts afresh.
    void Pause() { ++paused_; }
    void Resume() { --paused_; }
    void Clear();
    void MarkSaved() {
        Flush();
        stack_.setClean();
    }
    // The sheet differs from its file in every state the history can reach
    // (restored work, a file deleted under it).
    void MarkUnsaved() {
        Flush();
        stack_.resetClean();
    }

    void Undo();
    void Redo();

    // From the document's observer.
    void RuleChanging(int index);
    void RuleRemoving(int index);
    void RuleRemoved();
    void RuleAppended(int index);

    // Told after an undo or redo which rule the step was about.
    std::function<void(int index)> onReplayed;

private:
    friend class SheetCommand;
    bool Recording() const { return paused_ == 0 && !ignoring_; }
    void CloseInPlace();
    void RecordWhole(Change::Kind kind, int index);
    void PushStep(const QString& label, int typingKey);
    void Replay(const std::vector<Change>& changes, bool forward);
    void Replayed();

    SheetDocument& doc_;
    QUndoStack stack_;
    int depth_ = 0;
    int paused_ = 0;
    bool ignoring_ = false;  // inside a removal: its own lines going are no change of their own
    QString label_;
    int typingKey_ = 0;
    int shown_ = -1;
    std::vector<RuleSnapshot> pending_;
    std::vector<Change> changes_;
};

}  // namespace larkspur
