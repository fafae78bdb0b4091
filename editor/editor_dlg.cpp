#include "editor/editor_dlg.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QStyle>
#include <algorithm>

#include "controls/info_dlg.h"
#include "css/file_io.h"
#include "css/sheet_check.h"
#include "editor/editor_toolbar.h"
#include "editor/recovery_keeper.h"
#include "editor/rule_check_list.h"
#include "editor/rule_filter_box.h"
#include "pages/code_page.h"
#include "pages/declarations_page.h"
#include "pages/page_factory.h"
#include "pages/preview_page.h"
#include "pages/property_page.h"
#include "platform/qt_file_watcher.h"
#include "platform/settings_store.h"
#include "platform/user_dialogs.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {


// Pages are filled and stored in this order, whatever the tab order.
constexpr int kPageOrder[] = {129, 130, 139, 159, 161, 171, 174};
constexpr int kDevelopingChoices = 3;

}  // namespace

CEditorDlg::CEditorDlg(UserDialogs& dialogs, SettingsStore& settings, DesktopServices& desktop,
                       const BrowserFactory& browserFactory, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), settings_(settings), desktop_(desktop), recent_(settings) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setMouseTracking(true);
    setAcceptDrops(true);

    doc_.CreateStartRules();
    doc_.SetObserver(this);
    BuildLayout(browserFactory);
    BuildCommands();
    BuildMenus();
    StartLivePreview();
    SetFileWatcher(std::make_unique<QtFileWatcher>());
    recovery_ = new RecoveryKeeper({[this] { return doc_.Modified(); }, [this] { return RecoverySnapshot(); }}, this);
    recovery_->onError = [this](const std::string& error) {
        statusBar_->showMessage(QStringLiteral("Unsaved changes are not kept for recovery: ") +
                                QString::fromStdString(error));
    };
    listingObservers_.Add(recovery_);

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
    ConnectHistory();
    UpdateTitle();
    // Never smaller than the pages need, or they would lie over each other.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);
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

    // The rule list can be widened for long selectors; the pages beside it
    // keep their places.
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setChildrenCollapsible(false);
    auto* pagesArea = new QWidget(splitter_);
    auto* body = new QHBoxLayout(pagesArea);
    body->setContentsMargins(0, 0, 0, 0);

    auto* rulesArea = new QWidget(splitter_);
    auto* rulesColumn = new QVBoxLayout(rulesArea);
    rulesColumn->setContentsMargins(0, 0, 0, 0);
    rulesColumn->setSpacing(2);
    ruleList_ = new CRuleCheckList(rulesArea);
    ruleFilter_ = new CRuleFilterBox(ruleList_, rulesArea);
    ruleList_->AttachFilterBox(ruleFilter_);
    connect(ruleFilter_->InvalidOnly(), &QAction::toggled, this, [this](bool on) {
        ruleList_->SetKeep(on ? std::function<bool(int)>([this](int rule) { return HasInvalidDeclaration(doc_.Declarations(rule)); })
                              : nullptr);
    });
    rulesColumn->addWidget(ruleFilter_);
    rulesColumn->addWidget(ruleList_, 1);
    setTabOrder(ruleFilter_, ruleList_);
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, &CEditorDlg::FindRuleInList);
    addAction(find);
    // Never so narrow that a built-in tag is cut.
    ruleList_->setMinimumWidth(DefaultRuleListWidth());
    FillRuleList();
    connect(ruleList_, &CRuleCheckList::currentRowChanged, this, &CEditorDlg::SelectRule);
    connect(ruleList_, &CRuleCheckList::CheckToggled, this,
            [this](int row, bool checked) {
                history_.Begin((checked ? QStringLiteral("Check ") : QStringLiteral("Uncheck ")) + RuleName(row));
                doc_.CheckRule(row, checked);
                history_.End();
                // The list shows only a mark: say what it did.
                if (!checked)
                    statusBar_->showMessage(RuleName(row) + QStringLiteral(" taken out of the sheet"));
                else
                    FollowInCode(row);
            });
    splitter_->addWidget(rulesArea);
    splitter_->addWidget(pagesArea);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);

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
    declarationsPage_ = new CDeclarationsPage(*this, viewSheet_);
    viewSheet_->addTab(declarationsPage_, QStringLiteral("Declarations"));
    codePage_->ShowListing(doc_.GetListing());
    viewSheet_->setMinimumSize(200, 150);
    listingObservers_.Add(codePage_);
    doc_.SetListingObserver(&listingObservers_);
    body->addWidget(viewSheet_, 1);
    // The margins sit around the splitter, which leaves its own out of its minimum.
    auto* bodyRow = new QHBoxLayout;
    bodyRow->setContentsMargins(4, 4, 4, 4);
    bodyRow->addWidget(splitter_);
    outer->addLayout(bodyRow, 1);

    const int width = settings_.GetInt("Settings", kRuleListWidthKey, 0);
    ruleList_->SetPreferredWidth(width >= ruleList_->minimumWidth() ? width : DefaultRuleListWidth());
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { ruleListMoved_ = true; });

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
        if (command.OnToolbar()) action->setIcon(QIcon(QString::fromLatin1(command.icon)));
        action->setCheckable(command.checkable);
        action->setToolTip(QString::fromLatin1(command.toolTip));
        action->setStatusTip(QString::fromLatin1(command.toolTip));
        if (*command.keys) {
            action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.keys)));
            // Shortcuts act wherever the focus is inside the window; an edit
            // box that wants the same key (Delete, Ctrl+C, Ctrl+Z) claims it
            // first through its shortcut override.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        connect(action, &QAction::triggered, this, [this, handler = command.handler] { (this->*handler)(); });
        if (command.id == kCmdDeleteRule) {
            // The Delete key deletes a rule only where rules are edited, not
            // while reading the listing or the preview.
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            ruleList_->addAction(action);
            propertySheet_->addAction(action);
        } else {
            addAction(action);
        }
        actions_.emplace_back(command.id, action);
        if (!command.OnToolbar()) continue;
        if (separatorPending) onToolbar.append(nullptr);
        separatorPending = false;
        onToolbar.append(action);
    }
    toolbar_ = BuildCommandToolbar(onToolbar, this);
    // The bar carries the Delete button, so the key would reach the command
    // from there too.
    toolbar_->installEventFilter(this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, toolbar_);
    UpdateCommandEnabling();
}

void CEditorDlg::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    for (size_t i = 0; i < std::size(kMenuTitles); ++i) menus_[i] = menuBar_->addMenu(QString::fromLatin1(kMenuTitles[i]));
    // A separator row of the table separates the menus' groups as well.
    bool separatorPending[std::size(kMenuTitles)] = {};
    for (const EditorCommand& command : EditorCommands()) {
        if (command.id == kCmdSeparator) {
            std::fill(std::begin(separatorPending), std::end(separatorPending), true);
            continue;
        }
        const int menu = static_cast<int>(command.menu);
        if (separatorPending[menu] && !menus_[menu]->isEmpty()) menus_[menu]->addSeparator();
        separatorPending[menu] = false;
        menus_[menu]->addAction(CommandAction(command.id));
    }
    Menu(EditorMenu::kFile)->insertSeparator(CommandAction(kCmdQuit));
    layout()->setMenuBar(menuBar_);
    BuildRecentMenu();
}

void CEditorDlg::BuildRecentMenu() {
    if (!recentMenu_) {
        recentMenu_ = new QMenu(QStringLiteral("Open &Recent"), this);
        QMenu* file = Menu(EditorMenu::kFile);
        const QList<QAction*> items = file->actions();
        const qsizetype open = items.indexOf(CommandAction(kCmdOpen));
        file->insertMenu(open + 1 < items.size() ? items[open + 1] : nullptr, recentMenu_);
    }
    recentMenu_->clear();
    int n = 0;
    for (const std::string& path : recent_.Paths()) {
        QString name = QString::fromStdString(path);
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(++n % 10).arg(name));
        connect(item, &QAction::triggered, this, [this, path] {
            // A file that is gone leaves the list once it has been reported.
            if (!OpenDocumentFile(path) && !FileExists(path)) {
                recent_.Remove(path);
                BuildRecentMenu();
            }
        });
    }
    recentMenu_->setEnabled(n > 0);
}

void CEditorDlg::AddRecent(const std::string& path) {
    recent_.Add(path);
    BuildRecentMenu();
}

int CEditorDlg::DefaultRuleListWidth() const {
    // Wide enough for every built-in tag beside its check box.
    const QFontMetrics metrics(ruleList_->font());
    int text = 0;
    for (std::string_view tag : kTagNames)
        text = std::max(text, metrics.horizontalAdvance(QString::fromLatin1(tag.data(), qsizetype(tag.size()))));
    const QStyle* style = ruleList_->style();
    return text + style->pixelMetric(QStyle::PM_IndicatorWidth) + style->pixelMetric(QStyle::PM_ScrollBarExtent) +
           4 * style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2 * ruleList_->frameWidth() + 24;
}

void CEditorDlg::UpdateTitle() {
    const QString name = QFileInfo(QString::fromStdString(currentFile_)).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("%1[*]").arg(QString::fromLatin1(kTitle))
                                  : QStringLiteral("%1[*] - %2").arg(name, QString::fromLatin1(kTitle)));
    setWindowModified(doc_.Modified());
}

void CEditorDlg::ModifiedChanged(bool modified) {
    setWindowModified(modified);
    if (!recovery_) return;
    // Saved, discarded or undone back to the file: nothing left to recover.
    if (modified)
        recovery_->Changed();
    else
        recovery_->Drop();
}

RuleListModel::Rule CEditorDlg::RuleListEntry(int index) const {
    const std::string label = labels_.Label(doc_, index);
    const std::string& selector = doc_.Rule(index).selector;
    // The tool tip holds the selector whole, where the label does not.
    return {QString::fromStdString(label), label == selector ? QString() : QString::fromStdString(selector),
            doc_.IsChecked(index)};
}

void CEditorDlg::FillRuleList() {
    labels_.Count(doc_);
    std::vector<RuleListModel::Rule> rules;
    rules.reserve(static_cast<size_t>(doc_.RuleCount()));
    for (int i = 0; i < doc_.RuleCount(); ++i) rules.push_back(RuleListEntry(i));
    const QSignalBlocker block(ruleList_);
    ruleList_->SetRules(std::move(rules));
    if (doc_.IsValidIndex(doc_.SelectedIndex())) ruleList_->setCurrentRow(doc_.SelectedIndex());
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
    // Only following the check mark is a change of its own: every page
    // action has stored its page state already, and filling the pages
    // changes nothing that is written.
    history_.Begin(QStringLiteral("Change ") + RuleName(index));
    history_.Pause();
    if (!skipStore_)
        StorePages();
    else
        skipStore_ = false;
    doc_.SetSelectedIndex(doc_.IsValidIndex(index) ? index : -1);
    LoadPages();
    history_.Resume();
    if (doc_.SelectedRule()) doc_.CheckRule(index, doc_.IsChecked(index));
    UpdateCommandEnabling();
    history_.End();
    FollowInCode(index);
}

void CEditorDlg::ShowRule(int index) {
    doc_.SetSelectedIndex(doc_.IsValidIndex(index) ? index : -1);
    {
        const QSignalBlocker block(ruleList_);
        ruleList_->setCurrentRow(doc_.SelectedIndex());
    }
    skipStore_ = false;
    LoadPages();
    UpdateCommandEnabling();
    FollowInCode(index);
}

QString CEditorDlg::RuleName(int index) const {
    return doc_.IsValidIndex(index) ? QString::fromStdString(doc_.Rule(index).selector) : QString();
}

std::optional<CEditorDlg::ListingLines> CEditorDlg::LinesOf(int index) const {
    const auto [first, count] = doc_.RuleLines(index);
    if (first < 0) return std::nullopt;
    return ListingLines{first, count};
}

void CEditorDlg::FollowInCode(int index) {
    if (const std::optional<ListingLines> lines = LinesOf(index)) codePage_->ShowLines(lines->first, lines->count);
}

void CEditorDlg::EndChange() {
    history_.End();
    declarationsPage_->Reload();
    FollowInCode(doc_.SelectedIndex());
}

void CEditorDlg::BeginChange(const std::string& page, int typingKey) {
    history_.Begin(QStringLiteral("Change %1 of %2").arg(QString::fromStdString(page), RuleName(doc_.SelectedIndex())),
                   typingKey);
}

void CEditorDlg::ConnectHistory() {
    history_.onReplayed = [this](int index) { ShowRule(index); };
    QUndoStack& stack = history_.Stack();
    QAction* undo = CommandAction(kCmdUndo);
    QAction* redo = CommandAction(kCmdRedo);
    // The menu item names what it will take back: "Undo Clear H1".
    connect(&stack, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setText(text.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + text);
    });
    connect(&stack, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setText(text.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + text);
    });
    connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    undo->setEnabled(stack.canUndo());
    redo->setEnabled(stack.canRedo());
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
    declarationsPage_->Reload();
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

// While a sheet is read the list waits, and is filled once at the end.

void CEditorDlg::RuleAppended(int index) {
    history_.RuleAppended(index);
    if (reading_) return;
    const QSignalBlocker block(ruleList_);
    ruleList_->InsertRule(index, RuleListEntry(index));
}

void CEditorDlg::RuleRemoved(int index) {
    history_.RuleRemoved();
    if (reading_) return;
    const QSignalBlocker block(ruleList_);
    ruleList_->RemoveRule(index);
}

void CEditorDlg::RulesReset() {
    if (!reading_) FillRuleList();
}

void CEditorDlg::RuleRenamed(int index) { ruleList_->ChangeRule(index, RuleListEntry(index)); }

void CEditorDlg::RuleCheckChanged(int index, bool checked) {
    if (reading_) return;
    const QSignalBlocker block(ruleList_);
    ruleList_->SetChecked(index, checked);
}

void CEditorDlg::RuleSelected(int index) {
    if (reading_) return;
    const QSignalBlocker block(ruleList_);
    ruleList_->setCurrentRow(index);
}

void CEditorDlg::FindRuleInList() {
    ruleFilter_->setFocus(Qt::ShortcutFocusReason);
    ruleFilter_->selectAll();
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
        if (command.id != kCmdSeparator && command.id != kCmdQuit && !command.OnToolbar())
            menu.addAction(CommandAction(command.id));
    menu.exec(event->globalPos());
}

// ---- keys, drops, closing ----

void CEditorDlg::keyPressEvent(QKeyEvent* event) {
    // Escape closes dialogs, not the editor; Quit does that.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace {

// The first style sheet or HTML page among the dropped files.
std::string DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString suffix = QFileInfo(url.toLocalFile()).suffix().toLower();
        if (suffix == QLatin1String("css") || suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
            return url.toLocalFile().toStdString();
    }
    return {};
}

}  // namespace

void CEditorDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).empty()) event->acceptProposedAction();
}

void CEditorDlg::dropEvent(QDropEvent* event) {
    const std::string path = DroppedFile(event->mimeData());
    if (path.empty()) return;
    event->acceptProposedAction();
    // Not inside the drop: the save prompt must not hold the other program.
    QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}

bool CEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toolbar_ && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::Key_Delete))
        event->accept();  // an ordinary key for the bar, which ignores it
    return QDialog::eventFilter(watched, event);
}

void CEditorDlg::OnQuit() { reject(); }

void CEditorDlg::done(int result) {
    if (!QueryClose()) return;
    // Saved, or thrown away at the user's word ("No" to saving). An end
    // without closing (the session ended) keeps the recovery file.
    recovery_->Drop();
    QDialog::done(result);
}

bool CEditorDlg::QueryClose() {
    settings_.SetInt("Settings", "Developing", developing_->currentIndex());
    if (ruleListMoved_) settings_.SetInt("Settings", kRuleListWidthKey, ruleList_->width());
    return OfferToSave();
}

bool CEditorDlg::OfferToSave() {
    if (!doc_.Modified()) return true;
    // Enter neither overwrites the file nor throws the changes away.
    switch (dialogs_.AskYesNoCancel("Do you want to save your changes", "Save Changes", Answer::Cancel)) {
    case Answer::Yes: return Save();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

bool CEditorDlg::ShowIfFailed(const IoResult& result) {
    if (!result)
        dialogs_.ShowMessage(result.error, kTitle);
    else if (!result.warning.empty())
        dialogs_.ShowMessage(result.warning, kTitle);
    return result.ok;
}

}  // namespace larkspur
