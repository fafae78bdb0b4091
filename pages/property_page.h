#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/color_button.h"
#include "model/style_rule.h"
#include "model/vocabulary.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QPushButton;

namespace larkspur {

class CListCombo;
class CPropertyCombo;
class CPropertyEdit;
class CPropertySwitch;
class CSampleText;
class PageHost;

using TextField = std::string PageState::*;
using FlagField = int PageState::*;
using ColourField = ColourValue PageState::*;

// Extras of an edit box binding.
struct EditOptions {
    int unitId = 0;              // unit combo of the number
    TextField unit = nullptr;    // its page-state field
    std::string prefix{};        // around the value: "url(" ... ")"
    std::string suffix{};
    QString role = "number";     // accessible name: "<caption> <role>"
};

// Base of the seven property pages and the binding layer they share.
//
// A page creates its controls by id (CreateCheck, CreateRadio, CreateCombo,
// ...), lays them out, and then states its bindings as a list:
//
//   BindCombo(1035, 1036, kFontStyle, &PageState::fontStyleOn, &PageState::fontStyle);
//   BindGroup(1059, kFontSize, &PageState::fontSizeOn, &PageState::fontSizeKind, 1046);
//   BindEdit(1049, 1053, kFontSize, nullptr, &PageState::fontSizeValue, "12",
//            {.unitId = 1143, .unit = &PageState::fontSizeUnit});
//   SetEnablingOrder({1046, 1047, ...});
//   SetToolTips({{1076, "background-color - ..."}, ...});
//
// Each binding wires the controls to the property (every change stores at
// once through Command, which refreshes the enabling first) and records the
// page-state fields, so LoadFromRule and StoreToRule need no page code.
// Nothing is stored until a rule is selected.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(PageHost& host, int resourceId, const QString& caption, QWidget* parent = nullptr);

    int ResourceId() const { return resourceId_; }
    QString Caption() const { return caption_; }

    // Page state of the selected rule into the controls; fires no stores.
    virtual void LoadFromRule();
    // Enables every bound control from the state of its switch, in the
    // page's order; then RefreshExtra.
    virtual void RefreshEnabling();
    // The controls' values into the selected rule's page state (entries are
    // never touched here).
    virtual void StoreToRule();
    // Gives every untitled frame the name of its first switch, for screen
    // readers; called once the page is laid out.
    void NameGroupBoxes();

    // Controls by id.
    QWidget* Control(int id) const;
    CPropertySwitch* Switch(int id) const;
    QAbstractButton* Button(int id) const;
    CPropertyCombo* Combo(int id) const;
    CListCombo* ListCombo(int id) const;
    CPropertyEdit* Edit(int id) const;
    CColorButton* ColourButton(int id) const;
    QButtonGroup* RadioGroup(int groupId) const;
    const std::map<int, QWidget*>& Controls() const { return controls_; }

protected:
    // --- Creating controls (owned by the page, keyed by id) ---
    CPropertySwitch* CreateCheck(int id, const QString& caption);
    // A radio button of the group headed by groupId (normally the group's
    // check box); choice is its index in the page-state kind field.
    CPropertySwitch* CreateRadio(int id, const QString& caption, int groupId, int choice);
    CPropertyCombo* CreateCombo(int id, Words items, bool sorted);
    // "em" ... "%", sorted unless told otherwise.
    CPropertyCombo* CreateUnitCombo(int id, bool sorted = true);
    CPropertyEdit* CreateEdit(int id);
    CColorButton* CreateColourButton(int id);
    // Controls the page handles itself.
    QCheckBox* CreatePlainCheck(int id, const QString& caption);
    CListCombo* CreatePlainCombo(int id, Words items, bool sorted);
    QPushButton* CreatePushButton(int id, const QString& caption);

    // --- Bindings ---
    // A check box (on) or radio button (on null) whose value is a keyword box.
    void BindCombo(int switchId, int comboId, int property, FlagField on, TextField value,
                   Words valueMap = {});
    // A check box or radio button whose value is an edit box (with a unit).
    void BindEdit(int switchId, int editId, int property, FlagField on, TextField value,
                  const QString& defaultText, EditOptions options = {});
    // Two numbers (each with its unit box) joined into one value, first first.
    void BindEditPair(int switchId, int property, int firstId, TextField first, int firstUnitId,
                      TextField firstUnit, int secondId, TextField second, int secondUnitId,
                      TextField secondUnit, const QString& defaultText);
    // Two keyword boxes joined into one value, first first.
    void BindComboPair(int switchId, int property, int firstId, TextField first, int secondId,
                       TextField second);
    // A check box heading the radio group groupId; defaultChoiceId is checked
    // when the property has never had a value.
    void BindGroup(int groupId, int property, FlagField on, FlagField kind, int defaultChoiceId);
    void BindColour(int switchId, int buttonId, int property, FlagField on, ColourField colour,
                    ColourValue start, CSampleText* sample = nullptr,
                    CColorButton::SampleMode mode = CColorButton::SampleMode::Background);
    // Fields of controls the page handles itself.
    void BindText(int controlId, TextField field);
    void BindFlag(int checkId, FlagField field);

    void SetEnablingOrder(std::initializer_list<int> ids);
    struct Tip {
        int id;
        const char* text;
    };
    void SetToolTips(std::initializer_list<Tip> tips);
    // Switches whose help line is their tool tip.
    void SetHelpFromToolTips(std::initializer_list<int> switchIds);
    // Accessible name and description of a control.
    void Describe(int id, const QString& text);
    static void Describe(QWidget* widget, const QString& text);

    // Runs a control's handling the way every command runs: nothing while
    // loading or while no rule is selected; enabling refreshed before (so a
    // store sees the new switch states) and after (a handler may check a
    // radio button of its own).
    void Command(const std::function<void()>& handler, int typingKey = 0);
    // Connects a plain control's signal to a page handler through Command.
    template <typename Sender, typename Signal>
    void Route(Sender* sender, Signal signal, std::function<void()> handler) {
        connect(sender, signal, this, [this, handler] { Command(handler); });
    }

    // Page-specific additions to loading and enabling.
    virtual void LoadExtra() {}
    virtual void RefreshExtra() {}

    PageHost& host_;

private:
    enum class FieldKind { Text, Flag, Radio, Colour };
    struct FieldLink {
        FieldKind kind;
        int id;
        TextField text = nullptr;
        FlagField flag = nullptr;
        ColourField colour = nullptr;
    };

    template <typename T>
    T* Register(int id, T* widget);
    void EnsureActive();
    CPropertySwitch* GroupOf(int radioId) const;

    int resourceId_;
    QString caption_;
    std::map<int, QWidget*> controls_;
    std::map<int, CPropertySwitch*> switches_;
    std::map<int, QButtonGroup*> groups_;
    std::map<int, int> radioGroup_;  // radio id -> group id
    std::vector<FieldLink> fields_;
    std::vector<int> enablingOrder_;
    std::vector<int> bindingOrder_;
    bool active_ = false;
    bool loading_ = false;
};

}  // namespace larkspur
