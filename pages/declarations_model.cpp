#include "pages/declarations_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "css/sheet_document.h"
#include "css/value_check.h"
#include "model/css_property_table.h"
#include "model/colour.h"
#include "model/text_util.h"

namespace larkspur {
namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

std::optional<QColor> DeclarationsModel::ColourOf(std::string_view value) {
    const QString text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())).trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (QColor::isValidColorName(text)) return QColor::fromString(text);
    if (text.startsWith(QStringLiteral("rgb("), Qt::CaseInsensitive) && IsColourText(value)) {
        const ColourValue c = ColourFromText(value);
        return QColor(static_cast<int>(RedOf(c)), static_cast<int>(GreenOf(c)), static_cast<int>(BlueOf(c)));
    }
    return std::nullopt;
}

void DeclarationsModel::Reload(const SheetDocument& doc, int rule) {
    std::vector<Declaration> rows = doc.IsValidIndex(rule) ? doc.Declarations(rule) : std::vector<Declaration>{};
    const bool committed = std::exchange(committing_, false);
    if (committed && newAt_ && rule == rule_ && rows.size() == rows_.size() + 1) {
        // The new row joined the rule where it stood: the same rows, no reset.
        newAt_.reset();
        rows_ = std::move(rows);
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
        return;
    }
    if (rule == rule_ && rows.size() == rows_.size()) {
        // Row by row, so an editor open elsewhere in the table stays open.
        for (size_t r = 0; r < rows.size(); ++r) {
            if (rows[r] == rows_[r]) continue;
            rows_[r] = std::move(rows[r]);
            const int row = ViewRow(static_cast<int>(r));
            emit dataChanged(index(row, 0), index(row, kColumns - 1));
        }
        return;
    }
    // One row in or out, as an edit makes it: told as such, so the view keeps
    // its current row and an editor open elsewhere.
    const size_t common = static_cast<size_t>(
        std::mismatch(rows.begin(), rows.end(), rows_.begin(), rows_.end()).first - rows.begin());
    const auto sameFrom = [](const auto& a, size_t i, const auto& b, size_t j) {
        return a.size() - i == b.size() - j && std::equal(a.begin() + static_cast<long>(i), a.end(), b.begin() + static_cast<long>(j));
    };
    if (rule == rule_ && rows.size() + 1 == rows_.size() && sameFrom(rows, common, rows_, common + 1)) {
        const int at = ViewRow(static_cast<int>(common));
        beginRemoveRows({}, at, at);
        rows_.erase(rows_.begin() + static_cast<long>(common));
        if (newAt_ && *newAt_ > static_cast<int>(common)) --*newAt_;
        endRemoveRows();
        return;
    }
    if (rule == rule_ && rows.size() == rows_.size() + 1 && sameFrom(rows, common + 1, rows_, common)) {
        const int at = ViewRow(static_cast<int>(common));
        beginInsertRows({}, at, at);
        rows_.insert(rows_.begin() + static_cast<long>(common), std::move(rows[common]));
        if (newAt_ && *newAt_ >= at) ++*newAt_;
        endInsertRows();
        return;
    }
    beginResetModel();
    if (rule != rule_) newAt_.reset();
    if (newAt_ && *newAt_ > static_cast<int>(rows.size())) newAt_ = static_cast<int>(rows.size());
    rows_ = std::move(rows);
    rule_ = rule;
    endResetModel();
}

int DeclarationsModel::ViewRow(int ruleRow) const { return newAt_ && *newAt_ <= ruleRow ? ruleRow + 1 : ruleRow; }

int DeclarationsModel::AddNewRow(int row) {
    if (rule_ < 0) return -1;
    DropNewRow();
    row = std::clamp(row, 0, static_cast<int>(rows_.size()));
    beginInsertRows({}, row, row);
    newAt_ = row;
    new_ = Declaration{};
    endInsertRows();
    return row;
}

void DeclarationsModel::DropNewRow() {
    if (!newAt_) return;
    beginRemoveRows({}, *newAt_, *newAt_);
    newAt_.reset();
    endRemoveRows();
}

int DeclarationsModel::RuleRow(int row) const {
    if (!newAt_ || row < *newAt_) return row;
    return row == *newAt_ ? -1 : row - 1;
}

const Declaration& DeclarationsModel::At(int row) const {
    const int r = RuleRow(row);
    return r < 0 ? new_ : rows_[static_cast<size_t>(r)];
}

std::string DeclarationsModel::Problem(int row) const {
    const Declaration& d = At(row);
    if (d.name.empty() || (IsNewRow(row) && d.value.empty())) return {};
    ValueCheck check = CheckValue(d.name, d.value);
    return check.verdict == ValueVerdict::Invalid ? std::move(check.message) : std::string();
}

int DeclarationsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + (newAt_ ? 1 : 0);
}

int DeclarationsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant DeclarationsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case kName: return QStringLiteral("Property");
    case kValue: return QStringLiteral("Value");
    case kImportant: return QStringLiteral("!important");
    }
    return {};
}

QVariant DeclarationsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Declaration& d = At(index.row());
    if (role == Qt::ToolTipRole && IsNewRow(index.row()))
        return QStringLiteral("A new declaration: it joins the rule once it has a name and a value");
    const bool known = FindCssProperty(d.name) != nullptr;
    const bool custom = d.name.starts_with("--");
    switch (index.column()) {
    case kName:
        if (role == Qt::DisplayRole || role == Qt::EditRole) return Q(d.name);
        if (role == Qt::CheckStateRole && !IsNewRow(index.row())) return d.on ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::ToolTipRole && !d.name.empty())
            return custom  ? QStringLiteral("Custom property")
                   : known ? QString()
                           : QStringLiteral("Not a property browsers know");
        if (role == Qt::FontRole && !known && !custom && !d.name.empty()) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        break;
    case kValue: {
        if (role == Qt::DisplayRole || role == Qt::EditRole) return Q(d.value);
        if (role != Qt::DecorationRole && role != Qt::ToolTipRole && role != Qt::AccessibleDescriptionRole) break;
        const std::string problem = Problem(index.row());
        if (!problem.empty()) {
            if (role == Qt::DecorationRole) return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            return QStringLiteral("Browsers drop this declaration. ") + Q(problem);
        }
        if (role == Qt::DecorationRole)
            if (const std::optional<QColor> colour = ColourOf(d.value)) return *colour;
        break;
    }
    case kImportant:
        if (role == Qt::CheckStateRole && !IsNewRow(index.row())) return d.important ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole) return d.important ? QStringLiteral("important") : QStringLiteral("not important");
        break;
    }
    if (role == Qt::ForegroundRole && !d.on) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    if (role == Qt::ToolTipRole && !d.on) return QStringLiteral("Switched off: not in the sheet");
    return {};
}

Qt::ItemFlags DeclarationsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != kImportant) f |= Qt::ItemIsEditable;
    if (index.column() != kValue && !IsNewRow(index.row())) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool DeclarationsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount()) return false;
    const int row = RuleRow(index.row());
    Declaration d = At(index.row());
    if (role == Qt::CheckStateRole) {
        const bool on = value.toInt() == Qt::Checked;
        if (row < 0) return false;
        if (index.column() == kName) {
            emit EditRequested({Edit::Switch, row, Declaration{d.name, d.value, d.important, on}});
        } else {
            d.important = on;
            emit EditRequested({Edit::Set, row, d});
        }
        return true;
    }
    if (role != Qt::EditRole) return false;
    const std::string text = value.toString().trimmed().toStdString();
    if (index.column() == kName) {
        if (text == d.name) return false;
        d.name = text;
    } else {
        if (text == d.value) return false;
        d.value = text;
    }
    if (row < 0) {
        // The new row joins the rule once it has both a name and a value.
        new_ = d;
        emit dataChanged(index, index);
        if (!d.name.empty() && !d.value.empty()) {
            committing_ = true;
            emit EditRequested({Edit::Insert, *newAt_, d});
            committing_ = false;
        }
        return true;
    }
    if (d.name.empty())
        emit EditRequested({Edit::Remove, row, d});
    else
        emit EditRequested({Edit::Set, row, d});
    return true;
}

}  // namespace larkspur
