#include "pages/color_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/bound_store.h"
#include "controls/property_edit.h"
#include "pages/image_path.h"
#include "pages/page_host.h"
#include "platform/user_dialogs.h"

namespace larkspur {
CColorPage::CColorPage(PageHost& host, QWidget* parent)
    : CPropertyPage(host, kResourceId, "Background", parent) {
    CreateCheck(kRepeat, "Background &Repeat");
    CreateCombo(kRepeatCombo, kBackgroundRepeats, true);
    CreateCheck(kAttachment, "Background &Attachment");
    CreateCombo(kAttachmentCombo, kBackgroundAttachments, true);
    CreateCheck(kImage, "Background &Image");
    CreateEdit(kImageEdit);
    CreatePushButton(kBrowse, "&Browse");
    CreateCheck(kPositionCheck, "&Position");
    CreateRadio(kKeyword, "&Keyword", kPositionCheck, 0);
    CreateCombo(kKeyword1, kVerticalPositions, true);
    CreateCombo(kKeyword2, kHorizontalPositions, true);
    CreateRadio(kPoint, "P&oint", kPositionCheck, 1);
    CreateEdit(kPoint1);
    CreateUnitCombo(kUnit1);
    CreateEdit(kPoint2);
    CreateUnitCombo(kUnit2);
    BuildLayout();
    Bind();
}

void CColorPage::BuildLayout() {
    auto* top = new QGridLayout;
    top->addWidget(Control(kRepeat), 0, 0);
    top->addWidget(Control(kRepeatCombo), 0, 1);
    top->addWidget(Control(kAttachment), 1, 0);
    top->addWidget(Control(kAttachmentCombo), 1, 1);
    top->addWidget(Control(kImage), 2, 0);
    top->addWidget(Control(kImageEdit), 2, 1);
    top->addWidget(Control(kBrowse), 2, 2);
    top->setColumnStretch(1, 1);

    auto* position = new QGroupBox(this);
    auto* pg = new QGridLayout(position);
    pg->addWidget(Control(kPositionCheck), 0, 0, 1, 5);
    pg->addWidget(Control(kKeyword), 1, 0);
    pg->addWidget(Control(kKeyword1), 1, 1, 1, 2);
    pg->addWidget(Control(kKeyword2), 1, 3, 1, 2);
    pg->addWidget(Control(kPoint), 2, 0);
    pg->addWidget(Control(kPoint1), 2, 1);
    pg->addWidget(Control(kUnit1), 2, 2);
    pg->addWidget(Control(kPoint2), 2, 3);
    pg->addWidget(Control(kUnit2), 2, 4);
    pg->setColumnStretch(1, 1);
    pg->setColumnStretch(3, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(position);
    page->addStretch(1);
}

void CColorPage::Bind() {
    BindCombo(kRepeat, kRepeatCombo, kBackgroundRepeat, &PageState::backgroundRepeatOn,
              &PageState::backgroundRepeat);
    BindCombo(kAttachment, kAttachmentCombo, kBackgroundAttachment, &PageState::backgroundAttachmentOn,
              &PageState::backgroundAttachment);
    BindEdit(kImage, kImageEdit, kBackgroundImage, &PageState::backgroundImageOn,
             &PageState::backgroundImage, "", {.prefix = "url(", .suffix = ")", .role = "file"});
    BindGroup(kPositionCheck, kBackgroundPosition, &PageState::backgroundPositionOn,
              &PageState::backgroundPositionKind, kKeyword);
    BindComboPair(kKeyword, kBackgroundPosition, kKeyword1, &PageState::backgroundPositionKeyword1, kKeyword2,
                  &PageState::backgroundPositionKeyword2);
    BindEditPair(kPoint, kBackgroundPosition, kPoint1, &PageState::backgroundPositionValue1, kUnit1,
                 &PageState::backgroundPositionUnit1, kPoint2, &PageState::backgroundPositionValue2, kUnit2,
                 &PageState::backgroundPositionUnit2, "0");

    SetEnablingOrder({kPoint, kKeyword, kKeyword1, kKeyword2, kPoint1, kPoint2, kImageEdit, kAttachmentCombo,
                      kRepeatCombo, kUnit1, kUnit2});
    SetToolTips({
        {kImage, "background-image-Sets the background image for the element"},
        {kPoint, "Selects a size in a length (eg. points, cm, in etc."},
        {kKeyword, "Selects a size via a keyword"},
        {kPositionCheck, "background-position-Sets the position of the background image if there is one"},
        {kAttachment, "background-attachment-Defines whether or not the background image scrolls in the element"},
        {kRepeat, "background-repeat-Sets the repeat style for a background image"},
    });
    SetHelpFromToolTips({kRepeat, kAttachment, kPositionCheck, kImage});

    Route(Button(kBrowse), &QAbstractButton::clicked, [this] { BrowseForImage(); });
}

void CColorPage::BrowseForImage() {
    if (host_.SavedPath().empty()) {
        host_.Dialogs().ShowMessage("Please save the Style Sheet", "Larkspur");
        host_.RunSaveAs();
        if (host_.SavedPath().empty()) return;
    }
    const std::optional<std::string> image =
        host_.Dialogs().ChooseOpenFile("Web Graphics Files | *.jpg; *.gif; *.png ||");
    if (!image) return;
    // The edit's own change handling stores url(...) and lists it.
    Edit(kImageEdit)->setText(QString::fromStdString(RelativeImagePath(host_.SavedPath(), *image)));
}

}  // namespace larkspur
