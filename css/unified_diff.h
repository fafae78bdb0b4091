#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace larkspur {

// Text is split into lines at "\n"; a carriage return stays part of its line,
// so pages with CRLF line ends compare and print byte for byte.

struct LineCounts {
    std::size_t added = 0;
    std::size_t removed = 0;
    bool operator==(const LineCounts&) const = default;
};

// Lines added and removed on the way from `before` to `after`.
LineCounts CountChangedLines(std::string_view before, std::string_view after);

// The change from `before` to `after` as a unified diff with three lines of
// context, under "--- label" and "+++ label"; empty when the texts are equal.
// A last line without a line end is followed by "\ No newline at end of
// file", so applying the diff to `before` gives `after` exactly. Very far
// apart texts get one plain hunk of all their differing lines instead of the
// shortest edit.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view label);

}  // namespace larkspur
