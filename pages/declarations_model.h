#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <string_view>
#include <optional>
#include <string>
#include <vector>

#include "css/declarations.h"

namespace larkspur {

class SheetDocument;

// The rows of the Declarations page: every declaration of the selected rule
// in the order the rule writes them, and at most one new row that is not in
// the rule yet (it joins the rule once it has a name and the value is
// committed). Edits go to the document through `edit`; the model shows only
// what the document holds, read again by Reload.
class DeclarationsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kName, kValue, kImportant, kColumns };

    // What an edit of a row asks of the document.
    struct Edit {
        enum Kind { Set, Insert, Remove, Switch } kind;
        int row;  // the rule's row (Insert: before it)
        Declaration declaration;
    };

    explicit DeclarationsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The rows of `rule` (-1: none) as the document has them; the new row
    // stays while the rule does.
    void Reload(const SheetDocument& doc, int rule);

    // A new row before model row `row` (the end for rowCount()); its row.
    int AddNewRow(int row);
    void DropNewRow();
    bool IsNewRow(int row) const { return newAt_ && *newAt_ == row; }
    bool HasNewRow() const { return newAt_.has_value(); }
    // The declaration a model row shows; the rule's row it is, or -1 for the new row.
    const Declaration& At(int row) const;
    int RuleRow(int row) const;
    // Why browsers would drop the row's declaration ("display: expected a
    // display keyword, found fixed"); empty when they keep it.
    std::string Problem(int row) const;
    int ViewRow(int ruleRow) const;

    // The colour a value names ("#0A0", "teal", "rgb(1,2,3)"), for its swatch.
    static std::optional<QColor> ColourOf(std::string_view value);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void EditRequested(const DeclarationsModel::Edit& edit);

private:
    std::vector<Declaration> rows_;
    std::optional<int> newAt_;
    Declaration new_;
    int rule_ = -1;
    bool committing_ = false;  // the new row is being added
};

}  // namespace larkspur
