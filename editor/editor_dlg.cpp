#include "editor/editor_dlg.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/info_dlg.h"
#include "editor/editor_commands.h"
#include "editor/editor_toolbar.h"
#include "editor/rule_check_list.h"
#include "pages/code_page.h"
#include "pages/page_factory.h"
#include "pages/preview_page.h"
#include "pages/property_page.h"
#include "platform/settings_store.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {


// Pages are filled and stored in this order, whatever the tab order.
constexpr int kPageOrder[] = {129, 130, 139, 159, 161, 171, 174};
constexpr int kDevelopingChoices = 3;

}  // namespace

CEditorDlg::CEditorDlg(UserDialogs& dialogs, SettingsStore& settings, DesktopServices& desktop,
                       const BrowserFactory& browserFactory, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), settings_(settings), desktop_(desktop) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setMouseTracking(true);

    doc_.CreateStartRules();
    doc_.SetObserver(this);
    BuildLayout(browserFactory);
    BuildCommands();
    StartLivePreview();

    loading_ = false;
    skipStore_ = true;
    {
        const QSignalBlocker block(ruleList_);
        ruleList_->setCurrentRow(0);
    }
    SelectRule(0);

    const int developing = settings_.GetInt("Settings", "Developing", 0);
    developing_->setCurrentIndex(developing >= 0 && developing < kDevelopingChoices ? developing : 0);

    previewPage_->Stop();
    previewPage_->Navigate(QStringLiteral("about:blank"));
    doc_.SetModified(false);
    // Room for the preview beside the pages, within the screen.
    QSize size(1240, 780);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
}

CEditorDlg::~CEditorDlg() {
    doc_.SetObserver(nullptr);
    doc_.SetListingObserver(nullptr);
    delete info_.data();
}

void CEditorDlg::BuildLayout(const BrowserFactory& browserFactory) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(4, 4, 4, 4);

    ruleList_ = new CRuleCheckList(this);
    ruleList_->setFixedWidth(120);
    FillRuleList();
    connect(ruleList_, &QListWidget::currentRowChanged, this, &CEditorDlg::SelectRule);
    connect(ruleList_, &CRuleCheckList::CheckToggled, this,
            [this](int row, bool checked) { doc_.SetChecked(row, checked); });
    body->addWidget(ruleList_);

    propertySheet_ = new QTabWidget(this);
    propertySheet_->setAccessibleName(QStringLiteral("Properties"));
    pages_ = CreatePropertyPages(*this, propertySheet_);
    for (CPropertyPage* page : pages_) propertySheet_->addTab(page, page->Caption());
    // The property sheet keeps its size; the view sheet takes what the window gains.
    const QSize hint = propertySheet_->sizeHint().expandedTo(QSize(250, 415));
    propertySheet_->setFixedSize(hint);
    body->addWidget(propertySheet_, 0, Qt::AlignTop);

    viewSheet_ = new QTabWidget(this);
    viewSheet_->setAccessibleName(QStringLiteral("View"));
    previewPage_ = new CPreviewPage(browserFactory, dialogs_, viewSheet_);
    codePage_ = new CCodePage(viewSheet_);
    viewSheet_->addTab(previewPage_, QStringLiteral("Preview"));
    viewSheet_->addTab(codePage_, QStringLiteral("Code"));
    codePage_->ShowListing(doc_.GetListing());
    listingObservers_.Add(codePage_);
    doc_.SetListingObserver(&listingObservers_);
    body->addWidget(viewSheet_, 1);
    outer->addLayout(body, 1);

    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);
    outer->addWidget(statusBar_);

    // Kept and stored for the settings, never shown.
    developing_ = new QComboBox(this);
    developing_->addItems({QStringLiteral("Internet Explorer"), QStringLiteral("Netscape"), QStringLiteral("Both")});
    developing_->setAccessibleName(QStringLiteral("Developing For"));
    developing_->setEnabled(false);
    developing_->hide();
}

void CEditorDlg::BuildCommands() {
    QList<QAction*> onToolbar;
    bool separatorPending = false;
    for (const EditorCommand& command : EditorCommands()) {
        if (command.id == kCmdSeparator) {
            separatorPending = true;
            continue;
        }
        auto* action = new QAction(QString::fromLatin1(command.label), this);
        action->setCheckable(command.checkable);
        action->setToolTip(QString::fromLatin1(command.toolTip));
        action->setStatusTip(QString::fromLatin1(command.toolTip));
        if (*command.keys) {
            action->setShortcut(QKeySequence(QString::fromLatin1(command.keys)));
            // Shortcuts act wherever the focus is inside the window; an edit
            // box that wants the same key (Delete, Ctrl+C, Ctrl+Z) claims it
            // first through its shortcut override.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        connect(action, &QAction::triggered, this, [this, handler = command.handler] { (this->*handler)(); });
        addAction(action);
        actions_.emplace_back(command.id, action);
        if (command.image < 0) continue;
        if (separatorPending) onToolbar.append(nullptr);
        separatorPending = false;
        onToolbar.append(action);
    }
    toolbar_ = BuildCommandToolbar(onToolbar, this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, toolbar_);
    UpdateCommandEnabling();
}

void CEditorDlg::FillRuleList() {
    const QSignalBlocker block(ruleList_);
    ruleList_->clear();
    for (int i = 0; i < doc_.RuleCount(); ++i) ruleList_->AddRule(QString::fromStdString(doc_.Rules()[i].selector), doc_.IsChecked(i));
}

QAction* CEditorDlg::CommandAction(int id) const {
    for (const auto& [commandId, action] : actions_)
        if (commandId == id) return action;
    return nullptr;
}

void CEditorDlg::UpdateCommandEnabling() {
    const bool hasRule = doc_.SelectedRule() != nullptr;
    for (const auto& [id, action] : actions_)
        if (const EditorCommand* command = FindEditorCommand(id); command && command->needsRule)
            action->setEnabled(hasRule);
    // With no rule there is nothing for the pages to show or change.
    propertySheet_->setEnabled(hasRule);
}

// ---- selection and pages ----

void CEditorDlg::SelectRule(int index) {
    if (!skipStore_)
        StorePages();
    else
        skipStore_ = false;
    doc_.SetSelectedIndex(doc_.IsValidIndex(index) ? index : -1);
    if (const StyleRule* rule = doc_.SelectedRule()) {
        LoadPages();
        const bool checked = doc_.IsChecked(index);
        if (checked && !rule->listed)
            doc_.ListRule();
        else if (!checked && rule->listed)
            doc_.UnlistRule();
    }
    UpdateCommandEnabling();
}

void CEditorDlg::StorePages() {
    if (!doc_.SelectedRule()) return;
    loading_ = true;
    for (int id : kPageOrder)
        for (CPropertyPage* page : pages_)
            if (page->ResourceId() == id) page->StoreToRule();
    loading_ = false;
}

void CEditorDlg::LoadPages() {
    if (!doc_.SelectedRule()) return;
    loading_ = true;
    for (int id : kPageOrder)
        for (CPropertyPage* page : pages_)
            if (page->ResourceId() == id) {
                page->LoadFromRule();
                page->RefreshEnabling();
            }
    loading_ = false;
}

void CEditorDlg::ShowRuleAfterRemoval() {
    // The pages still show the removed rule: they must not be stored into the
    // rule that took its place.
    skipStore_ = true;
    const int index = doc_.SelectedIndex();
    {
        const QSignalBlocker block(ruleList_);
        ruleList_->setCurrentRow(index);
    }
    SelectRule(index);
}

// ---- what the core did ----

void CEditorDlg::RuleAppended(int index) {
    const QSignalBlocker block(ruleList_);
    ruleList_->InsertRule(index, QString::fromStdString(doc_.Rules()[index].selector), doc_.IsChecked(index));
}

void CEditorDlg::RuleRemoved(int index) {
    const QSignalBlocker block(ruleList_);
    delete ruleList_->takeItem(index);
}

void CEditorDlg::RuleRenamed(int index) {
    if (QListWidgetItem* item = ruleList_->item(index)) item->setText(QString::fromStdString(doc_.Rules()[index].selector));
}

void CEditorDlg::RuleCheckChanged(int index, bool checked) {
    const QSignalBlocker block(ruleList_);
    ruleList_->SetChecked(index, checked);
}

void CEditorDlg::RuleSelected(int index) {
    const QSignalBlocker block(ruleList_);
    ruleList_->setCurrentRow(index);
}

void CEditorDlg::PagesNeedReload() {
    LoadPages();
    UpdateCommandEnabling();
}

// ---- help line, context menu ----

void CEditorDlg::ShowHelpLine(const std::string& text) {
    // Shown only while the Info window is open, in the status bar too.
    if (!info_) return;
    const QString line = QString::fromStdString(text);
    info_->SetText(line);
    statusBar_->showMessage(line);
}

void CEditorDlg::mouseMoveEvent(QMouseEvent* event) {
    ShowHelpLine({});
    QDialog::mouseMoveEvent(event);
}

void CEditorDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (const EditorCommand& command : EditorCommands())
        if (command.id != kCmdSeparator && command.image < 0) menu.addAction(CommandAction(command.id));
    menu.exec(event->globalPos());
}

// ---- closing ----

void CEditorDlg::done(int result) {
    if (!QueryClose()) return;
    QDialog::done(result);
}

bool CEditorDlg::QueryClose() {
    settings_.SetInt("Settings", "Developing", developing_->currentIndex());
    return OfferToSave();
}

bool CEditorDlg::OfferToSave() {
    if (!doc_.Modified()) return true;
    switch (dialogs_.AskYesNoCancel("Do you want to save your changes", "Save Changes")) {
    case Answer::Yes: return Save();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

bool CEditorDlg::ShowIfFailed(const IoResult& result) {
    if (!result) dialogs_.ShowMessage(result.error, kTitle);
    return result.ok;
}

}  // namespace larkspur
