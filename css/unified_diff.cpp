#include "css/unified_diff.h"

#include <algorithm>
#include <vector>

namespace larkspur {
namespace {

using Lines = std::vector<std::string_view>;

// Past this many edits the shortest edit is not looked for: its trace grows
// with the square of the edits.
constexpr int kMaxEdits = 1500;
constexpr std::size_t kContext = 3;

Lines SplitLines(std::string_view text) {
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

enum class Kind : char { kSame = ' ', kRemoved = '-', kAdded = '+' };

struct Op {
    Kind kind;
    std::size_t line;  // in `before` for kSame and kRemoved, in `after` for kAdded
};

// The shortest edit from a to b (Myers), appended to ops; false, with ops
// untouched, when it needs more than kMaxEdits.
bool ShortestEdit(const Lines& a, std::size_t a0, std::size_t n, const Lines& b, std::size_t b0,
                  std::size_t m, std::vector<Op>& ops) {
    const int N = static_cast<int>(n), M = static_cast<int>(m);
    const int limit = std::min(N + M, kMaxEdits);
    std::vector<int> v(2 * static_cast<std::size_t>(limit) + 3, 0);
    const int mid = limit + 1;
    std::vector<std::vector<int>> trace;  // v over k = -d..d after step d
    auto same = [&](int x, int y) { return a[a0 + x] == b[b0 + y]; };
    int found = -1;
    for (int d = 0; d <= limit && found < 0; ++d) {
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[mid + k - 1] < v[mid + k + 1])) ? v[mid + k + 1] : v[mid + k - 1] + 1;
            int y = x - k;
            while (x < N && y < M && same(x, y)) ++x, ++y;
            v[mid + k] = x;
            if (x >= N && y >= M) found = d;
        }
        trace.emplace_back(v.begin() + mid - d, v.begin() + mid + d + 1);
    }
    if (found < 0) return false;
    std::vector<Op> back;
    int x = N, y = M;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& pv = trace[d - 1];
        auto at = [&](int k) { return pv[k + d - 1]; };
        const int k = x - y;
        const int prevK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const int prevX = at(prevK), prevY = prevX - prevK;
        for (; x > prevX && y > prevY; --x, --y) back.push_back({Kind::kSame, a0 + x - 1});
        if (x == prevX)
            back.push_back({Kind::kAdded, b0 + prevY});
        else
            back.push_back({Kind::kRemoved, a0 + prevX});
        x = prevX;
        y = prevY;
    }
    for (; x > 0; --x) back.push_back({Kind::kSame, a0 + x - 1});
    ops.insert(ops.end(), back.rbegin(), back.rend());
    return true;
}

std::vector<Op> EditScript(const Lines& a, const Lines& b) {
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    std::vector<Op> ops;
    for (std::size_t i = 0; i < prefix; ++i) ops.push_back({Kind::kSame, i});
    const std::size_t n = a.size() - prefix - suffix, m = b.size() - prefix - suffix;
    if (!ShortestEdit(a, prefix, n, b, prefix, m, ops)) {
        for (std::size_t i = 0; i < n; ++i) ops.push_back({Kind::kRemoved, prefix + i});
        for (std::size_t i = 0; i < m; ++i) ops.push_back({Kind::kAdded, prefix + i});
    }
    for (std::size_t i = a.size() - suffix; i < a.size(); ++i) ops.push_back({Kind::kSame, i});
    return ops;
}

// "-3,2", "+7" (one line), "-4,0" (none: the line before).
void AppendRange(std::string& out, char sign, std::size_t first, std::size_t count) {
    out += sign;
    out += std::to_string(count == 0 ? first : first + 1);
    if (count != 1) {
        out += ',';
        out += std::to_string(count);
    }
}

}  // namespace

LineCounts CountChangedLines(std::string_view before, std::string_view after) {
    LineCounts counts;
    if (before == after) return counts;
    for (const Op& op : EditScript(SplitLines(before), SplitLines(after))) {
        counts.added += op.kind == Kind::kAdded;
        counts.removed += op.kind == Kind::kRemoved;
    }
    return counts;
}

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view label) {
    if (before == after) return {};
    const Lines a = SplitLines(before), b = SplitLines(after);
    const std::vector<Op> ops = EditScript(a, b);
    std::string out;
    out.append("--- ").append(label).append("\n+++ ").append(label).append("\n");
    // Where each op stands in both texts, to number the hunks.
    std::vector<std::size_t> oldAt(ops.size() + 1), newAt(ops.size() + 1);
    for (std::size_t i = 0; i < ops.size(); ++i) {
        oldAt[i + 1] = oldAt[i] + (ops[i].kind != Kind::kAdded);
        newAt[i + 1] = newAt[i] + (ops[i].kind != Kind::kRemoved);
    }
    std::size_t i = 0;
    while (i < ops.size()) {
        while (i < ops.size() && ops[i].kind == Kind::kSame) ++i;
        if (i == ops.size()) break;
        const std::size_t start = i > kContext ? i - kContext : 0;
        // A hunk goes on while the next change is near enough for the
        // context lines of both to touch.
        std::size_t end = i;
        for (std::size_t run = 0; end < ops.size(); ++end) {
            run = ops[end].kind == Kind::kSame ? run + 1 : 0;
            if (run > 2 * kContext) break;
        }
        std::size_t trailing = 0;
        while (trailing < end - i && ops[end - 1 - trailing].kind == Kind::kSame) ++trailing;
        end = end - trailing + std::min(trailing, kContext);
        out += "@@ ";
        AppendRange(out, '-', oldAt[start], oldAt[end] - oldAt[start]);
        out += ' ';
        AppendRange(out, '+', newAt[start], newAt[end] - newAt[start]);
        out += " @@\n";
        for (std::size_t j = start; j < end; ++j) {
            std::string_view line = ops[j].kind == Kind::kAdded ? b[ops[j].line] : a[ops[j].line];
            out += static_cast<char>(ops[j].kind);
            out += line;
            if (!line.ends_with('\n')) out += "\n\\ No newline at end of file\n";
        }
        i = end;
    }
    return out;
}

}  // namespace larkspur
