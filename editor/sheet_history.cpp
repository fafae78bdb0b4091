#include "editor/sheet_history.h"

#include <QUndoCommand>
#include <algorithm>

namespace larkspur {

// One step: replays its changes backwards (undo) or forwards (redo). The
// change was already made when the step is pushed, so the first redo does
// nothing.
class SheetCommand : public QUndoCommand {
public:
    SheetCommand(SheetHistory& history, const QString& label, std::vector<SheetHistory::Change> changes,
                 int typingKey)
        : QUndoCommand(label), history_(history), changes_(std::move(changes)), typingKey_(typingKey) {}

    void undo() override { history_.Replay(changes_, false); }
    void redo() override {
        if (pushed_) {
            pushed_ = false;
            return;
        }
        history_.Replay(changes_, true);
    }
    int id() const override { return typingKey_ != 0 ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const SheetCommand*>(other);
        if (next->typingKey_ != typingKey_ || !IsOneRuleEdit() || !next->IsOneRuleEdit()) return false;
        if (next->changes_[0].before[0].index != changes_[0].before[0].index) return false;
        changes_[0].after = next->changes_[0].after;
        return true;
    }

private:
    bool IsOneRuleEdit() const {
        return changes_.size() == 1 && changes_[0].kind == SheetHistory::Change::Kind::InPlace &&
               changes_[0].before.size() == 1;
    }

    SheetHistory& history_;
    std::vector<SheetHistory::Change> changes_;
    int typingKey_;
    bool pushed_ = true;
};

SheetHistory::SheetHistory(SheetDocument& doc) : doc_(doc) {}

void SheetHistory::Begin(const QString& label, int typingKey) {
    if (depth_++ > 0) return;
    Flush();
    label_ = label;
    typingKey_ = typingKey;
}

void SheetHistory::End() {
    if (depth_ == 0 || --depth_ > 0) return;
    PushStep(label_, typingKey_);
    label_.clear();
    typingKey_ = 0;
}

void SheetHistory::Flush() {
    if (depth_ == 0) PushStep(QStringLiteral("Change"), 0);
}

// What was recorded since the last step becomes one step on the stack.
void SheetHistory::PushStep(const QString& label, int typingKey) {
    CloseInPlace();
    if (changes_.empty()) return;
    std::vector<Change> changes;
    changes.swap(changes_);
    stack_.push(new SheetCommand(*this, label, std::move(changes), typingKey));
}

void SheetHistory::Clear() {
    pending_.clear();
    changes_.clear();
    stack_.clear();
}

void SheetHistory::RuleChanging(int index) {
    if (!Recording()) return;
    for (const RuleSnapshot& s : pending_)
        if (s.index == index) return;
    pending_.push_back(doc_.Snapshot(index));
}

void SheetHistory::CloseInPlace() {
    if (pending_.empty()) return;
    Change change;
    for (RuleSnapshot& before : pending_) {
        RuleSnapshot after = doc_.Snapshot(before.index);
        if (after == before) continue;
        change.before.push_back(std::move(before));
        change.after.push_back(std::move(after));
    }
    pending_.clear();
    if (!change.before.empty()) changes_.push_back(std::move(change));
}

// A rule that comes or goes is kept whole.
void SheetHistory::RecordWhole(Change::Kind kind, int index) {
    CloseInPlace();
    Change change;
    change.kind = kind;
    change.rule = doc_.Snapshot(index);
    changes_.push_back(std::move(change));
}

void SheetHistory::RuleRemoving(int index) {
    if (!Recording()) return;
    RecordWhole(Change::Kind::Removed, index);
    ignoring_ = true;
}

void SheetHistory::RuleRemoved() { ignoring_ = false; }

void SheetHistory::RuleAppended(int index) {
    if (Recording()) RecordWhole(Change::Kind::Inserted, index);
}

void SheetHistory::Undo() {
    Flush();
    if (!stack_.canUndo()) return;
    stack_.undo();
    Replayed();
}

void SheetHistory::Redo() {
    Flush();
    if (!stack_.canRedo()) return;
    stack_.redo();
    Replayed();
}

void SheetHistory::Replayed() {
    // Back at the saved state the sheet is as saved; anywhere else it is not.
    doc_.SetModified(!stack_.isClean());
    // Showing the rule is no change of its own.
    ++paused_;
    if (onReplayed) onReplayed(shown_);
    --paused_;
}

void SheetHistory::Replay(const std::vector<Change>& changes, bool forward) {
    ++paused_;
    auto apply = [&](const Change& c) {
        switch (c.kind) {
        case Change::Kind::InPlace:
            doc_.RestoreRules(forward ? c.after : c.before);
            shown_ = c.before.front().index;
            break;
        case Change::Kind::Inserted:
        case Change::Kind::Removed:
            // Undoing an insertion removes, as redoing a removal does.
            if ((c.kind == Change::Kind::Inserted) == forward) {
                doc_.InsertRule(c.rule);
                shown_ = c.rule.index;
            } else {
                doc_.RemoveRule(c.rule.index);
                shown_ = std::min(c.rule.index, doc_.LastIndex());
            }
            break;
        }
    };
    if (forward)
        for (const Change& c : changes) apply(c);
    else
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) apply(*it);
    --paused_;
}

}  // namespace larkspur
