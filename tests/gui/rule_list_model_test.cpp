// The rule list's rows under a filter: random inserts, removals, renames and
// filters against a plain list filtered the obvious way, the model's signals
// checked by Qt's model tester.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <random>

#include "editor/rule_list_model.h"

namespace larkspur::testing {
namespace {

TEST(RuleListModel, RowsFollowEveryChangeUnderAnyFilter) {
    RuleListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<QString> labels;
    std::mt19937 random(7);
    const QString names[] = {"a", "A b", ".Ab", "#ba", "b (@media print)", "ab (line 3)"};
    const QString filters[] = {"", "a", "B", "ab", "@media", "zzz"};
    auto pick = [&](int n) { return n > 0 ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0; };
    for (int step = 0; step < 3000; ++step) {
        const int op = pick(5), at = pick(static_cast<int>(labels.size()) + (op < 2));
        const QString name = names[pick(6)];
        if (op < 2) {
            labels.insert(labels.begin() + at, name);
            model.Insert(at, {name, {}, false});
        } else if (op == 4 || labels.empty()) {
            model.SetFilter(filters[pick(6)]);
        } else if (op == 2) {
            labels.erase(labels.begin() + at);
            model.Remove(at);
        } else {
            labels[static_cast<size_t>(at)] = name;
            model.Change(at, {name, {}, true});
        }
        // A changed label stays shown until the filter is set again.
        if (step % 50 == 0) {
            const QString filter = model.Filter();
            model.SetFilter(QStringLiteral("\x01"));
            model.SetFilter(filter);
        }
        ASSERT_EQ(model.RuleCount(), static_cast<int>(labels.size()));
        int row = 0;
        for (int rule = 0; rule < model.RuleCount(); ++rule) {
            const int shown = model.RowOf(rule);
            if (shown < 0) continue;
            ASSERT_EQ(shown, row) << "step " << step;
            ASSERT_EQ(model.RuleAt(row), rule);
            ASSERT_EQ(model.data(model.index(row), Qt::DisplayRole).toString(), labels[static_cast<size_t>(rule)]);
            ++row;
        }
        ASSERT_EQ(model.rowCount(), row);
        if (step % 50 == 0) {
            int expected = 0;
            for (const QString& label : labels) expected += label.contains(model.Filter(), Qt::CaseInsensitive);
            ASSERT_EQ(row, expected) << "step " << step;
        }
    }
}

}  // namespace
}  // namespace larkspur::testing
