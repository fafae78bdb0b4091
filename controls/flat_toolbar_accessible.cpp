#include "controls/flat_toolbar_accessible.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QTimer>

#include "controls/flat_toolbar.h"

namespace larkspur {

namespace {

int EntryIndex(const CToolBarEx* bar, const QAction* action) {
    if (!bar || !action) return -1;
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->ButtonAction(i) == action) return i;
    return -1;
}

// One entry of the bar: a button, or a separator. It follows the action, so
// its index stays right when entries are added or removed before it.
class ToolbarEntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ToolbarEntryAccessible(CToolBarEx* bar, QAction* action) : bar_(bar), action_(action) {}

    QAction* Action() const { return action_; }

    bool isValid() const override { return Index() >= 0; }
    // No QObject of its own: the action may sit on other widgets as well.
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* bar = parent();
        return bar ? bar->window() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return bar_ ? QAccessible::queryAccessibleInterface(bar_) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!IsButton()) return {};
        switch (t) {
        case QAccessible::Name:
            return action_->toolTip();
        case QAccessible::Accelerator:
            return action_->shortcut().toString(QKeySequence::NativeText);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const int index = Index();
        const QRect local = bar_ ? bar_->ButtonRect(index) : QRect();
        if (local.isEmpty()) return {};
        return {bar_->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override {
        return action_ && action_->isSeparator() ? QAccessible::Separator : QAccessible::Button;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const int index = Index();
        if (index < 0) {
            s.invalid = true;
            return s;
        }
        s.invisible = !action_->isVisible() || !bar_->isVisible();
        if (action_->isSeparator()) return s;
        s.disabled = !Enabled();
        s.focusable = !s.disabled;
        s.focused = bar_->hasFocus() && bar_->FocusButton() == index;
        s.hotTracked = bar_->HotButton() == index;
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface && IsButton()) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        if (!IsButton() || !Enabled()) return {};
        return {pressAction()};
    }
    void doAction(const QString& name) override {
        if (name != pressAction() || !IsButton() || !Enabled()) return;
        // Queued, as a button's own press is: a command that opens a modal
        // dialog must not hold the assistive tool's request until it closes.
        QPointer<CToolBarEx> bar = bar_;
        QAction* action = action_;
        QTimer::singleShot(0, action, [bar, action] {
            if (bar && action->isEnabled() && bar->isEnabled()) action->trigger();
        });
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name != pressAction() || !IsButton() || action_->shortcut().isEmpty()) return {};
        return {action_->shortcut().toString(QKeySequence::NativeText)};
    }

private:
    int Index() const { return EntryIndex(bar_, action_); }
    bool IsButton() const { return isValid() && !action_->isSeparator(); }
    bool Enabled() const { return action_->isEnabled() && bar_->isEnabled(); }

    QPointer<CToolBarEx> bar_;
    QPointer<QAction> action_;
};

// The bar itself: its entries become children in bar order, so a child's
// index is the bar's own button index.
class ToolbarAccessible : public QAccessibleWidget {
public:
    explicit ToolbarAccessible(CToolBarEx* bar) : QAccessibleWidget(bar, QAccessible::ToolBar) {}

    ~ToolbarAccessible() override {
        for (const Entry& entry : std::as_const(entries_)) Release(entry);
    }

    int childCount() const override { return Bar()->ButtonCount(); }

    QAccessibleInterface* child(int index) const override {
        QAction* action = Bar()->ButtonAction(index);
        if (!action) return nullptr;
        if (const auto it = entries_.constFind(action); it != entries_.constEnd() && Alive(it.key(), *it))
            return it->entry;
        // Entries of actions that left the bar go before a new one is made;
        // a new action may even have the address of a deleted one.
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (Alive(it.key(), *it) && EntryIndex(Bar(), it.key()) >= 0) {
                ++it;
                continue;
            }
            Release(*it);
            it = entries_.erase(it);
        }
        auto* entry = new ToolbarEntryAccessible(Bar(), action);
        entries_.insert(action, {QAccessible::registerAccessibleInterface(entry), entry});
        return entry;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* entry = dynamic_cast<const ToolbarEntryAccessible*>(child);
        return entry && entry->parent() == this ? EntryIndex(Bar(), entry->Action()) : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->ButtonAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        if (!Bar()->hasFocus()) return nullptr;
        const int index = Bar()->FocusButton();
        return index >= 0 ? child(index) : nullptr;
    }

private:
    struct Entry {
        QAccessible::Id id;
        ToolbarEntryAccessible* entry;
    };

    CToolBarEx* Bar() const { return static_cast<CToolBarEx*>(widget()); }

    // At shutdown the cache may delete an entry before the bar, and may have
    // handed its id on since; only a live entry of ours is released.
    static bool Registered(const Entry& e) { return QAccessible::accessibleInterface(e.id) == e.entry; }
    static bool Alive(const QAction* action, const Entry& e) { return Registered(e) && e.entry->Action() == action; }
    static void Release(const Entry& e) {
        if (Registered(e)) QAccessible::deleteAccessibleInterface(e.id);
    }

    mutable QHash<const QAction*, Entry> entries_;
};

QAccessibleInterface* ToolbarFactory(const QString&, QObject* object) {
    if (auto* bar = qobject_cast<CToolBarEx*>(object)) return new ToolbarAccessible(bar);
    return nullptr;
}

}  // namespace

void InstallToolbarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ToolbarFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace larkspur
