#include "pages/property_page.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>

#include "controls/bound_store.h"
#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "controls/property_switch.h"
#include "css/sheet_document.h"
#include "pages/page_host.h"

namespace larkspur {

CPropertyPage::CPropertyPage(PageHost& host, int resourceId, const QString& caption, QWidget* parent)
    : QWidget(parent), host_(host), resourceId_(resourceId), caption_(caption) {
    setAccessibleName(caption);
}

// ---------------------------------------------------------------- lookup

QWidget* CPropertyPage::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

CPropertySwitch* CPropertyPage::Switch(int id) const {
    auto it = switches_.find(id);
    return it == switches_.end() ? nullptr : it->second;
}

QAbstractButton* CPropertyPage::Button(int id) const { return qobject_cast<QAbstractButton*>(Control(id)); }
CPropertyCombo* CPropertyPage::Combo(int id) const { return qobject_cast<CPropertyCombo*>(Control(id)); }
CListCombo* CPropertyPage::ListCombo(int id) const { return qobject_cast<CListCombo*>(Control(id)); }
CPropertyEdit* CPropertyPage::Edit(int id) const { return qobject_cast<CPropertyEdit*>(Control(id)); }
CColorButton* CPropertyPage::ColourButton(int id) const { return qobject_cast<CColorButton*>(Control(id)); }

QButtonGroup* CPropertyPage::RadioGroup(int groupId) const {
    auto it = groups_.find(groupId);
    return it == groups_.end() ? nullptr : it->second;
}

CPropertySwitch* CPropertyPage::GroupOf(int radioId) const {
    auto it = radioGroup_.find(radioId);
    return it == radioGroup_.end() ? nullptr : Switch(it->second);
}

// ---------------------------------------------------------------- creation

template <typename T>
T* CPropertyPage::Register(int id, T* widget) {
    Q_ASSERT(!controls_.count(id));
    controls_[id] = widget;
    widget->setObjectName(QStringLiteral("c%1").arg(id));
    return widget;
}

void CPropertyPage::Describe(QWidget* widget, const QString& text) {
    widget->setAccessibleName(text);
    widget->setAccessibleDescription(text);
}

void CPropertyPage::NameGroupBoxes() {
    // A frame without a title is named after the first switch inside it.
    for (QGroupBox* box : findChildren<QGroupBox*>()) {
        if (!box->title().isEmpty() || !box->accessibleName().isEmpty()) continue;
        const QList<QAbstractButton*> buttons = box->findChildren<QAbstractButton*>();
        for (QAbstractButton* button : buttons)
            if (const QString name = button->accessibleName(); !name.isEmpty()) {
                box->setAccessibleName(name);
                break;
            }
    }
}

void CPropertyPage::Describe(int id, const QString& text) {
    if (QWidget* w = Control(id)) Describe(w, text);
}

CPropertySwitch* CPropertyPage::CreateCheck(int id, const QString& caption) {
    auto* button = Register(id, new QCheckBox(caption, this));
    auto* sw = new CPropertySwitch(button, host_);
    switches_[id] = sw;
    Describe(button, sw->Caption());
    connect(button, &QAbstractButton::clicked, this, [this, sw] { Command([sw] { sw->HandleClick(); }); });
    return sw;
}

CPropertySwitch* CPropertyPage::CreateRadio(int id, const QString& caption, int groupId, int choice) {
    auto* button = Register(id, new QRadioButton(caption, this));
    QButtonGroup*& group = groups_[groupId];
    if (!group) {
        group = new QButtonGroup(this);
        group->setExclusive(true);
    }
    group->addButton(button, choice);
    radioGroup_[id] = groupId;
    auto* sw = new CPropertySwitch(button, host_);
    switches_[id] = sw;
    Describe(button, sw->Caption());
    connect(button, &QAbstractButton::clicked, this, [this, sw] { Command([sw] { sw->HandleClick(); }); });
    return sw;
}

CPropertyCombo* CPropertyPage::CreateCombo(int id, Words items, bool sorted) {
    auto* combo = Register(id, new CPropertyCombo(this));
    combo->SetSorted(sorted);
    combo->AddItems(items);
    return combo;
}

CPropertyCombo* CPropertyPage::CreateUnitCombo(int id, bool sorted) {
    CPropertyCombo* combo = CreateCombo(id, kUnits, sorted);
    combo->setMinimumContentsLength(3);
    return combo;
}

CPropertyEdit* CPropertyPage::CreateEdit(int id) {
    auto* edit = Register(id, new CPropertyEdit(this));
    return edit;
}

CColorButton* CPropertyPage::CreateColourButton(int id) { return Register(id, new CColorButton(this)); }

QCheckBox* CPropertyPage::CreatePlainCheck(int id, const QString& caption) {
    auto* check = Register(id, new QCheckBox(caption, this));
    QString name = caption;
    Describe(check, name.remove(QLatin1Char('&')));
    return check;
}

CListCombo* CPropertyPage::CreatePlainCombo(int id, Words items, bool sorted) {
    auto* combo = Register(id, new CListCombo(this));
    combo->SetSorted(sorted);
    combo->AddItems(items);
    return combo;
}

QPushButton* CPropertyPage::CreatePushButton(int id, const QString& caption) {
    auto* button = Register(id, new QPushButton(caption, this));
    QString name = caption;
    Describe(button, name.remove(QLatin1Char('&')));
    return button;
}

// ---------------------------------------------------------------- bindings

void CPropertyPage::BindCombo(int switchId, int comboId, int property, FlagField on, TextField value,
                              Words valueMap) {
    CPropertySwitch* sw = Switch(switchId);
    CPropertyCombo* combo = Combo(comboId);
    Q_ASSERT(sw && combo);
    sw->Bind(property, CPropertySwitch::Kind::Combo);
    sw->SetCompanionCombo(combo);
    sw->SetLinked(GroupOf(switchId));
    combo->Bind(host_, property, sw->Button(), valueMap);
    connect(combo, &CListCombo::ClosedUp, this, [this, combo] { Command([combo] { combo->Store(); }); });
    if (on) fields_.push_back({FieldKind::Flag, switchId, nullptr, on});
    fields_.push_back({FieldKind::Text, comboId, value});
    Describe(combo, sw->Caption() + " keyword");
    if (GroupOf(switchId)) bindingOrder_.push_back(switchId);
    bindingOrder_.push_back(comboId);
}

void CPropertyPage::BindEdit(int switchId, int editId, int property, FlagField on, TextField value,
                             const QString& defaultText, EditOptions options) {
    CPropertySwitch* sw = Switch(switchId);
    CPropertyEdit* edit = Edit(editId);
    Q_ASSERT(sw && edit);
    CPropertyCombo* unit = options.unitId ? Combo(options.unitId) : nullptr;
    sw->Bind(property, CPropertySwitch::Kind::Edit);
    sw->SetCompanionEdit(edit);
    sw->SetLinked(GroupOf(switchId));
    edit->Bind(host_, property, defaultText, sw, unit, true, options.prefix, options.suffix);
    connect(edit, &QLineEdit::textChanged, this, [this, edit, editId] { Command([edit] { edit->Store(); }, editId); });
    if (on) fields_.push_back({FieldKind::Flag, switchId, nullptr, on});
    fields_.push_back({FieldKind::Text, editId, value});
    Describe(edit, sw->Caption() + " " + options.role);
    if (GroupOf(switchId)) bindingOrder_.push_back(switchId);
    bindingOrder_.push_back(editId);
    if (unit) {
        unit->Bind(host_, property, sw->Button(), {}, edit);
        connect(unit, &CListCombo::ClosedUp, this, [this, unit] { Command([unit] { unit->Store(); }); });
        if (options.unit) fields_.push_back({FieldKind::Text, options.unitId, options.unit});
        Describe(unit, sw->Caption() + " unit");
        bindingOrder_.push_back(options.unitId);
    }
}

void CPropertyPage::BindEditPair(int switchId, int property, int firstId, TextField first, int firstUnitId,
                                 TextField firstUnit, int secondId, TextField second, int secondUnitId,
                                 TextField secondUnit, const QString& defaultText) {
    CPropertySwitch* sw = Switch(switchId);
    CPropertyEdit* e1 = Edit(firstId);
    CPropertyEdit* e2 = Edit(secondId);
    CPropertyCombo* u1 = Combo(firstUnitId);
    CPropertyCombo* u2 = Combo(secondUnitId);
    Q_ASSERT(sw && e1 && e2 && u1 && u2);
    sw->Bind(property, CPropertySwitch::Kind::Edit);
    sw->SetCompanionEdit(e1);
    sw->SetLinked(GroupOf(switchId));
    e1->BindSecondValue(host_, property, defaultText, sw, e2, u1, true);
    e2->BindSecondValue(host_, property, defaultText, sw, e1, u2, false);
    u1->BindSecondValue(host_, property, sw->Button(), e1);
    u2->BindSecondValue(host_, property, sw->Button(), e2);
    int n = 1;
    for (CPropertyEdit* e : {e1, e2}) {
        connect(e, &QLineEdit::textChanged, this, [this, e, key = e == e1 ? firstId : secondId] {
            Command([e] { e->Store(); }, key);
        });
        Describe(e, sw->Caption() + QStringLiteral(" number %1").arg(n++));
    }
    n = 1;
    for (CPropertyCombo* u : {u1, u2}) {
        connect(u, &CListCombo::ClosedUp, this, [this, u] { Command([u] { u->Store(); }); });
        Describe(u, sw->Caption() + QStringLiteral(" unit %1").arg(n++));
    }
    fields_.push_back({FieldKind::Text, firstId, first});
    fields_.push_back({FieldKind::Text, secondId, second});
    fields_.push_back({FieldKind::Text, firstUnitId, firstUnit});
    fields_.push_back({FieldKind::Text, secondUnitId, secondUnit});
    if (GroupOf(switchId)) bindingOrder_.push_back(switchId);
    for (int id : {firstId, secondId, firstUnitId, secondUnitId}) bindingOrder_.push_back(id);
}

void CPropertyPage::BindComboPair(int switchId, int property, int firstId, TextField first, int secondId,
                                  TextField second) {
    CPropertySwitch* sw = Switch(switchId);
    CPropertyCombo* c1 = Combo(firstId);
    CPropertyCombo* c2 = Combo(secondId);
    Q_ASSERT(sw && c1 && c2);
    sw->Bind(property, CPropertySwitch::Kind::Combo);
    sw->SetCompanionCombo(c1);
    sw->SetLinked(GroupOf(switchId));
    auto compose = [this, property, c1, c2] {
        StoreValue(host_, property, c1->currentText().toStdString() + " " + c2->currentText().toStdString());
    };
    int n = 1;
    for (CPropertyCombo* c : {c1, c2}) {
        c->Bind(host_, property, sw->Button());
        c->SetCallback(compose);
        connect(c, &CListCombo::ClosedUp, this, [this, c] { Command([c] { c->Store(); }); });
        Describe(c, sw->Caption() + QStringLiteral(" keyword %1").arg(n++));
    }
    fields_.push_back({FieldKind::Text, firstId, first});
    fields_.push_back({FieldKind::Text, secondId, second});
    if (GroupOf(switchId)) bindingOrder_.push_back(switchId);
    bindingOrder_.push_back(firstId);
    bindingOrder_.push_back(secondId);
}

void CPropertyPage::BindGroup(int groupId, int property, FlagField on, FlagField kind, int defaultChoiceId) {
    CPropertySwitch* sw = Switch(groupId);
    Q_ASSERT(sw && Switch(defaultChoiceId) && RadioGroup(groupId));
    sw->Bind(property, CPropertySwitch::Kind::Group);
    sw->SetLinked(Switch(defaultChoiceId));
    // "Number" alone says nothing to someone who cannot see the group.
    for (QAbstractButton* choice : RadioGroup(groupId)->buttons())
        Describe(choice, sw->Caption() + QLatin1Char(' ') + QString(choice->text()).remove(QLatin1Char('&')));
    if (on) fields_.push_back({FieldKind::Flag, groupId, nullptr, on});
    if (kind) fields_.push_back({FieldKind::Radio, groupId, nullptr, kind});
}

void CPropertyPage::BindColour(int switchId, int buttonId, int property, FlagField on, ColourField colour,
                               ColourValue start, CSampleText* sample, CColorButton::SampleMode mode) {
    CPropertySwitch* sw = Switch(switchId);
    CColorButton* button = ColourButton(buttonId);
    Q_ASSERT(sw && button);
    sw->Bind(property, CPropertySwitch::Kind::Colour);
    sw->SetColourButton(button);
    button->Bind(host_, start, sample, sw->Button(), property, mode);
    connect(button, &QPushButton::clicked, this, [this, button] { Command([button] { button->Choose(); }); });
    if (on) fields_.push_back({FieldKind::Flag, switchId, nullptr, on});
    fields_.push_back({FieldKind::Colour, buttonId, nullptr, nullptr, colour});
    Describe(button, sw->Caption() + " colour");
    bindingOrder_.push_back(buttonId);
}

void CPropertyPage::BindText(int controlId, TextField field) {
    fields_.push_back({FieldKind::Text, controlId, field});
}

void CPropertyPage::BindFlag(int checkId, FlagField field) {
    fields_.push_back({FieldKind::Flag, checkId, nullptr, field});
}

void CPropertyPage::SetEnablingOrder(std::initializer_list<int> ids) { enablingOrder_.assign(ids); }

void CPropertyPage::SetToolTips(std::initializer_list<Tip> tips) {
    for (const Tip& tip : tips)
        if (QWidget* w = Control(tip.id)) w->setToolTip(QString::fromUtf8(tip.text));
}

void CPropertyPage::SetHelpFromToolTips(std::initializer_list<int> switchIds) {
    for (int id : switchIds)
        if (CPropertySwitch* sw = Switch(id)) sw->SetHelpText(sw->Button()->toolTip().toStdString());
}

// ---------------------------------------------------------------- the pattern

void CPropertyPage::EnsureActive() {
    if (active_ || !host_.Document().SelectedRule()) return;
    active_ = true;
    for (auto& [id, widget] : controls_)
        if (auto* button = qobject_cast<CColorButton*>(widget)) button->SeedEntry();
}

void CPropertyPage::Command(const std::function<void()>& handler, int typingKey) {
    if (loading_ || host_.IsLoading() || !host_.Document().SelectedRule()) return;
    host_.BeginChange(caption_.toStdString(), typingKey ? resourceId_ * 10000 + typingKey : 0);
    EnsureActive();
    RefreshEnabling();
    handler();
    RefreshEnabling();
    // The page state goes with every change, so undo finds it as it was.
    StoreToRule();
    host_.EndChange();
}

void CPropertyPage::RefreshEnabling() {
    const std::vector<int>& order = enablingOrder_.empty() ? bindingOrder_ : enablingOrder_;
    for (int id : order) {
        if (CPropertySwitch* sw = Switch(id)) {
            sw->RefreshEnabling();
            continue;
        }
        QWidget* w = Control(id);
        if (auto* edit = qobject_cast<CPropertyEdit*>(w))
            edit->RefreshEnabling();
        else if (auto* combo = qobject_cast<CPropertyCombo*>(w))
            combo->RefreshEnabling();
        else if (auto* button = qobject_cast<CColorButton*>(w))
            button->UpdateEnabled();
    }
    RefreshExtra();
}

void CPropertyPage::LoadFromRule() {
    EnsureActive();
    const StyleRule* rule = host_.Document().SelectedRule();
    if (!rule) return;
    const PageState& state = rule->pageState();
    loading_ = true;
    std::vector<QSignalBlocker> quiet;
    quiet.reserve(controls_.size() + groups_.size());
    for (auto& [id, w] : controls_) quiet.emplace_back(w);
    for (auto& [id, g] : groups_) quiet.emplace_back(g);
    for (const FieldLink& f : fields_) {
        QWidget* w = Control(f.id);
        switch (f.kind) {
        case FieldKind::Text:
            if (auto* combo = qobject_cast<CListCombo*>(w))
                combo->TransferText(QString::fromStdString(state.*f.text));
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                edit->setText(QString::fromStdString(state.*f.text));
            break;
        case FieldKind::Flag:
            if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setChecked(state.*f.flag != 0);
            break;
        case FieldKind::Radio:
            if (QButtonGroup* group = RadioGroup(f.id)) {
                if (QAbstractButton* chosen = group->button(state.*f.flag)) {
                    chosen->setChecked(true);
                } else {
                    group->setExclusive(false);
                    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
                    group->setExclusive(true);
                }
            }
            break;
        case FieldKind::Colour:
            if (auto* button = qobject_cast<CColorButton*>(w)) button->SetColor(state.*f.colour);
            break;
        }
    }
    LoadExtra();
    loading_ = false;
}

void CPropertyPage::StoreToRule() {
    SheetDocument& document = host_.Document();
    const StyleRule* rule = document.SelectedRule();
    if (!rule) return;
    PageState state = rule->pageState();
    for (const FieldLink& f : fields_) {
        QWidget* w = Control(f.id);
        switch (f.kind) {
        case FieldKind::Text:
            if (auto* combo = qobject_cast<QComboBox*>(w))
                state.*f.text = combo->currentText().toStdString();
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                state.*f.text = edit->text().toStdString();
            break;
        case FieldKind::Flag:
            if (auto* button = qobject_cast<QAbstractButton*>(w)) state.*f.flag = button->isChecked() ? 1 : 0;
            break;
        case FieldKind::Radio:
            if (QButtonGroup* group = RadioGroup(f.id)) state.*f.flag = group->checkedId();
            break;
        case FieldKind::Colour:
            if (auto* button = qobject_cast<CColorButton*>(w)) state.*f.colour = button->Color();
            break;
        }
    }
    document.SetPageState(document.SelectedIndex(), state);
}

}  // namespace larkspur
