#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "css/unified_diff.h"

namespace larkspur {
namespace {

// Applies a unified diff as patch(1) would, checking every context and
// removed line against the old text.
std::string Patch(const std::string& before, const std::string& diff) {
    auto split = [](const std::string& text, bool keepEnds) {
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            lines.push_back(text.substr(at, end - at - (keepEnds ? 0 : 1)));
            at = end;
        }
        return lines;
    };
    const std::vector<std::string> old = split(before, true), lines = split(diff, false);
    std::string out;
    std::size_t next = 0;  // old lines used so far
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].starts_with("@@")) {
            std::size_t start = 0, count = 1;
            std::sscanf(lines[i].c_str(), "@@ -%zu,%zu", &start, &count);
            for (const std::size_t first = count == 0 ? start : start - 1; next < first; ++next) out += old.at(next);
            continue;
        }
        const char kind = lines[i][0];
        std::string text = lines[i].substr(1) + "\n";
        if (i + 1 < lines.size() && lines[i + 1] == "\\ No newline at end of file") text.pop_back(), ++i;
        if (kind != '+') {
            EXPECT_EQ(old.at(next++), text);
        }
        if (kind != '-') out += text;
    }
    for (; next < old.size(); ++next) out += old[next];
    return out;
}

std::string Lines(const std::vector<int>& numbers, bool lastEnds, const char* end = "\r\n") {
    std::string text;
    for (int n : numbers) text += "line " + std::to_string(n) + end;
    if (!lastEnds && !text.empty()) text.erase(text.size() - std::string_view(end).size());
    return text;
}

TEST(UnifiedDiff, AHunkWithContextAndCounts) {
    const std::string before = Lines({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, true, "\n");
    const std::string after = Lines({1, 2, 3, 4, 50, 51, 6, 7, 8, 9, 10}, true, "\n");
    EXPECT_EQ(UnifiedDiff(before, after, "p.html"),
              "--- p.html\n+++ p.html\n@@ -2,7 +2,8 @@\n line 2\n line 3\n line 4\n-line 5\n+line 50\n+line 51\n"
              " line 6\n line 7\n line 8\n");
    EXPECT_EQ(CountChangedLines(before, after), (LineCounts{2, 1}));
    EXPECT_EQ(UnifiedDiff(before, before, "p.html"), "");
    EXPECT_EQ(CountChangedLines(before, before), LineCounts{});
}

// Random edits of random texts, near and far apart, with and without a last
// line end: the diff always takes the old text to the new one, and its
// +/- lines are the counts.
TEST(UnifiedDiff, ApplyingTheDiffGivesTheNewText) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        // Now and then two long texts with nothing in common, past the
        // search for the shortest edit.
        const bool apart = round % 100 == 0;
        std::vector<int> a(apart ? 1200 : random() % 40);
        for (int& n : a) n = static_cast<int>(random() % (apart ? 100000 : 12));
        std::vector<int> b = a;
        if (apart)
            for (int& n : b) n = static_cast<int>(random() % 100000);
        for (int e = 0, edits = apart ? 0 : static_cast<int>(random() % 8); e < edits; ++e) {
            const std::size_t at = b.empty() ? 0 : random() % (b.size() + 1);
            if (random() % 2 && at < b.size())
                b.erase(b.begin() + static_cast<long>(at));
            else
                b.insert(b.begin() + static_cast<long>(at), static_cast<int>(random() % 12));
        }
        const std::string before = Lines(a, random() % 2), after = Lines(b, random() % 2);
        SCOPED_TRACE(apart ? "far apart" : before + "\n=>\n" + after);
        const std::string diff = UnifiedDiff(before, after, "page");
        ASSERT_EQ(Patch(before, diff), after) << diff;
        LineCounts fromDiff;
        std::istringstream in(diff);
        std::string line;
        for (int n = 0; std::getline(in, line); ++n) {
            if (n < 2) continue;
            fromDiff.added += line.starts_with('+');
            fromDiff.removed += line.starts_with('-');
        }
        EXPECT_EQ(CountChangedLines(before, after), fromDiff);
    }
}

}  // namespace
}  // namespace larkspur
