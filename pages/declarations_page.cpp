#include "pages/declarations_page.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "css/sheet_document.h"
#include "model/colour_case.h"
#include "model/css_property_table.h"
#include "pages/page_host.h"
#include "platform/user_dialogs.h"

namespace larkspur {
namespace {

QStringList ToList(const std::vector<std::string_view>& words) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(words.size()));
    for (std::string_view w : words) out << QString::fromLatin1(w.data(), static_cast<qsizetype>(w.size()));
    return out;
}

const QStringList& PropertyNames() {
    static const QStringList names = [] {
        std::vector<std::string_view> all;
        for (const CssPropertyInfo& p : CssProperties()) all.push_back(p.name);
        return ToList(all);
    }();
    return names;
}

// Tab in a completer's list takes the completion and goes on as Tab does in
// the editor. The key goes to the editor from the event loop, once the focus
// has come back from the closed list.
class TabThroughPopup : public QObject {
public:
    explicit TabThroughPopup(QLineEdit* edit) : QObject(edit), edit_(edit) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
        QAbstractItemView* popup = edit_->completer()->popup();
        if (const QModelIndex chosen = popup->currentIndex(); chosen.isValid()) edit_->setText(chosen.data().toString());
        popup->hide();
        QCoreApplication::postEvent(edit_, new QKeyEvent(QEvent::KeyPress, key->key(), key->modifiers()));
        return true;
    }

private:
    QLineEdit* edit_;
};

// Line edits that complete: names from the known properties, values from
// the row's property's keywords.
class DeclarationDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        const auto* model = static_cast<const DeclarationsModel*>(index.model());
        const QString name = QString::fromStdString(model->At(index.row()).name);
        QStringList words;
        if (index.column() == DeclarationsModel::kName) {
            words = PropertyNames();
            edit->setAccessibleName(QStringLiteral("Property name"));
        } else {
            words = ToList(CssKeywordsOf(model->At(index.row()).name));
            edit->setAccessibleName(QStringLiteral("Value of ") + name);
        }
        auto* completer = new QCompleter(words, edit);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        edit->setCompleter(completer);
        completer->popup()->installEventFilter(new TabThroughPopup(edit));
        return edit;
    }
};

// Tab and Enter go from a name to its value and on to the next row's name,
// a new row after the last; Delete takes the current row out.
class DeclarationTable : public QTableView {
public:
    explicit DeclarationTable(CDeclarationsPage& page, QWidget* parent) : QTableView(parent), page_(page) {}

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const QModelIndex at = currentIndex();
        const bool forward = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::SubmitModelCache;
        const bool back = hint == QAbstractItemDelegate::EditPreviousItem;
        QTableView::closeEditor(editor, forward || back ? QAbstractItemDelegate::NoHint : hint);
        auto* model = page_.Model();
        if (hint == QAbstractItemDelegate::RevertModelCache && model->IsNewRow(at.row()) &&
            model->At(at.row()).name.empty())
            model->DropNewRow();
        if (!at.isValid() || !(forward || back)) return;
        int row = at.row();
        int column = at.column();
        if (forward) {
            if (column == DeclarationsModel::kName) {
                column = DeclarationsModel::kValue;
            } else {
                ++row;
                column = DeclarationsModel::kName;
            }
        } else if (column == DeclarationsModel::kValue) {
            column = DeclarationsModel::kName;
        } else {
            --row;
            column = DeclarationsModel::kValue;
        }
        if (row < 0) return;
        if (row >= model->rowCount()) {
            // On from the last row: a new one, unless the last is a new one
            // still without a name.
            if (model->HasNewRow()) return;
            row = model->AddNewRow(row);
        }
        const QModelIndex next = model->index(row, column);
        setCurrentIndex(next);
        edit(next);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (state() != EditingState) {
            switch (event->key()) {
            case Qt::Key_Delete:
                page_.RemoveCurrent();
                return;
            case Qt::Key_Insert:
                page_.AddDeclaration();
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (currentIndex().isValid() && currentIndex().column() != DeclarationsModel::kImportant) {
                    edit(currentIndex());
                    return;
                }
                break;
            }
        }
        QTableView::keyPressEvent(event);
    }

private:
    CDeclarationsPage& page_;
};

}  // namespace

CDeclarationsPage::CDeclarationsPage(PageHost& host, QWidget* parent)
    : QWidget(parent), host_(host), model_(new DeclarationsModel(this)) {
    setAccessibleName(QStringLiteral("Declarations"));
    table_ = new DeclarationTable(*this, this);
    table_->setModel(model_);
    table_->setItemDelegate(new DeclarationDelegate(table_));
    table_->setAccessibleName(QStringLiteral("Declarations of the rule"));
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(DeclarationsModel::kName, QHeaderView::Interactive);
    table_->horizontalHeader()->setSectionResizeMode(DeclarationsModel::kValue, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(DeclarationsModel::kImportant, QHeaderView::ResizeToContents);
    table_->setColumnWidth(DeclarationsModel::kName, 180);

    add_ = new QPushButton(QStringLiteral("&Add"), this);
    add_->setAccessibleName(QStringLiteral("Add declaration"));
    add_->setToolTip(QStringLiteral("A new declaration after the selected one (Insert)"));
    remove_ = new QPushButton(QStringLiteral("&Remove"), this);
    remove_->setAccessibleName(QStringLiteral("Remove declaration"));
    remove_->setToolTip(QStringLiteral("Takes the selected declaration out of the rule (Delete)"));
    colour_ = new QPushButton(QStringLiteral("&Colour..."), this);
    colour_->setAccessibleName(QStringLiteral("Choose colour"));
    colour_->setToolTip(QStringLiteral("Chooses the selected declaration's colour"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addWidget(colour_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(add_, &QPushButton::clicked, this, &CDeclarationsPage::AddDeclaration);
    connect(remove_, &QPushButton::clicked, this, &CDeclarationsPage::RemoveCurrent);
    connect(colour_, &QPushButton::clicked, this, &CDeclarationsPage::ChooseColour);
    connect(model_, &DeclarationsModel::EditRequested, this, &CDeclarationsPage::Apply);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, &CDeclarationsPage::UpdateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &CDeclarationsPage::UpdateButtons);
    connect(model_, &QAbstractItemModel::dataChanged, this, &CDeclarationsPage::UpdateButtons);
    UpdateButtons();
}

void CDeclarationsPage::Reload() {
    const SheetDocument& doc = host_.Document();
    model_->Reload(doc, doc.SelectedIndex());
    UpdateButtons();
}

void CDeclarationsPage::Apply(const DeclarationsModel::Edit& edit) {
    SheetDocument& doc = host_.Document();
    const int rule = doc.SelectedIndex();
    if (host_.IsLoading() || !doc.IsValidIndex(rule)) return;
    host_.BeginChange("Declarations", 0);
    switch (edit.kind) {
    case DeclarationsModel::Edit::Set: doc.SetDeclaration(rule, edit.row, edit.declaration); break;
    case DeclarationsModel::Edit::Insert: doc.InsertDeclaration(rule, edit.row, edit.declaration); break;
    case DeclarationsModel::Edit::Remove: doc.RemoveDeclaration(rule, edit.row); break;
    case DeclarationsModel::Edit::Switch: doc.SwitchDeclaration(rule, edit.row, edit.declaration.on); break;
    }
    host_.EndChange();
    host_.DeclarationsChanged();
}

void CDeclarationsPage::AddDeclaration() {
    const QModelIndex current = table_->currentIndex();
    const int row = model_->AddNewRow(current.isValid() ? model_->RuleRow(current.row()) + 1 : model_->rowCount());
    if (row < 0) return;
    const QModelIndex name = model_->index(row, DeclarationsModel::kName);
    table_->setFocus();
    table_->setCurrentIndex(name);
    table_->edit(name);
}

void CDeclarationsPage::RemoveCurrent() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    if (model_->IsNewRow(current.row())) {
        model_->DropNewRow();
        return;
    }
    const int row = current.row();
    Apply({DeclarationsModel::Edit::Remove, model_->RuleRow(row), model_->At(row)});
    if (model_->rowCount() > 0)
        table_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), current.column()));
}

bool CDeclarationsPage::CurrentTakesColour() const {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid() || model_->IsNewRow(current.row())) return false;
    const Declaration& d = model_->At(current.row());
    if (DeclarationsModel::ColourOf(d.value)) return true;
    const CssPropertyInfo* known = FindCssProperty(d.name);
    return d.value.empty() && known && known->colour;
}

void CDeclarationsPage::ChooseColour() {
    if (!CurrentTakesColour()) return;
    const int row = table_->currentIndex().row();
    Declaration d = model_->At(row);
    ColourValue start = 0;
    if (const std::optional<QColor> now = DeclarationsModel::ColourOf(d.value))
        start = MakeColour(static_cast<unsigned>(now->red()), static_cast<unsigned>(now->green()),
                           static_cast<unsigned>(now->blue()));
    const std::optional<ColourValue> chosen = host_.Dialogs().ChooseColour(start);
    if (!chosen) return;
    d.value = ColourText(*chosen, host_.ColourCase());
    Apply({DeclarationsModel::Edit::Set, model_->RuleRow(row), d});
}

void CDeclarationsPage::UpdateButtons() {
    const QModelIndex current = table_->currentIndex();
    add_->setEnabled(host_.Document().SelectedRule() != nullptr);
    remove_->setEnabled(current.isValid());
    colour_->setEnabled(CurrentTakesColour());
}

}  // namespace larkspur
