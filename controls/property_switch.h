#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QAbstractButton;

namespace larkspur {

class CColorButton;
class CPropertyCombo;
class CPropertyEdit;
class PageHost;

// The bound object of a check box or radio button that switches a property
// on and off. It lives as a child of its button.
class CPropertySwitch : public QObject {
    Q_OBJECT
public:
    enum class Kind { Group, Combo, Edit, Colour };

    CPropertySwitch(QAbstractButton* button, PageHost& host);

    QAbstractButton* Button() const { return button_; }
    // The caption without its mnemonic marker.
    QString Caption() const;

    void Bind(int property, Kind kind);
    void SetCompanionCombo(CPropertyCombo* combo) { combo_ = combo; }
    void SetCompanionEdit(CPropertyEdit* edit) { edit_ = edit; }
    void SetColourButton(CColorButton* button) { colour_ = button; }
    // A radio button: its group check box. A Group: its default choice.
    void SetLinked(CPropertySwitch* linked) { linked_ = linked; }
    // When set, it replaces the listing update of a click.
    void SetCallback(std::function<void()> callback) { callback_ = std::move(callback); }
    void SetHelpText(std::string text) { helpText_ = std::move(text); }

    bool IsBound() const { return property_ >= 0; }
    int Property() const { return property_; }
    Kind GetKind() const { return kind_; }
    CPropertySwitch* Linked() const { return linked_; }
    CPropertyCombo* CompanionCombo() const { return combo_; }
    CPropertyEdit* CompanionEdit() const { return edit_; }
    const std::string& HelpText() const { return helpText_; }

    bool IsChecked() const;
    bool IsEnabled() const;
    // A radio button follows its group check box; others are left alone.
    void RefreshEnabling();
    // The click handling, run after the button's check state has changed.
    void HandleClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractButton* button_;
    PageHost& host_;
    int property_ = -1;
    Kind kind_ = Kind::Combo;
    CPropertyCombo* combo_ = nullptr;
    CPropertyEdit* edit_ = nullptr;
    CColorButton* colour_ = nullptr;
    CPropertySwitch* linked_ = nullptr;
    std::function<void()> callback_;
    std::string helpText_;
};

}  // namespace larkspur
