#include "css/listing.h"

#include <algorithm>
#include <stdexcept>

namespace larkspur {

std::string_view Listing::Line(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("listing line");
    const size_t start = StartOf(static_cast<size_t>(index));
    return std::string_view(text_).substr(start, ends_[static_cast<size_t>(index)] - start);
}

std::vector<std::string> Listing::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(ends_.size());
    for (int i = 0; i < Count(); ++i) lines.emplace_back(Line(i));
    return lines;
}

void Listing::ShiftEnds(size_t index, std::ptrdiff_t delta) {
    for (size_t i = index; i < ends_.size(); ++i) ends_[i] = static_cast<size_t>(static_cast<std::ptrdiff_t>(ends_[i]) + delta);
}

void Listing::Insert(int index, std::string_view text) {
    index = std::clamp(index, 0, Count());
    const auto at = static_cast<size_t>(index);
    const size_t start = StartOf(at);
    text_.insert(start, text);
    ends_.insert(ends_.begin() + index, start + text.size());
    ShiftEnds(at + 1, static_cast<std::ptrdiff_t>(text.size()));
    if (observer_) observer_->LineInserted(index, Line(index));
}

void Listing::Insert(int index, const std::vector<std::string>& lines) {
    index = std::clamp(index, 0, Count());
    const auto at = static_cast<size_t>(index);
    std::string joined;
    std::vector<size_t> ends;
    ends.reserve(lines.size());
    const size_t start = StartOf(at);
    for (const std::string& line : lines) {
        joined += line;
        ends.push_back(start + joined.size());
    }
    text_.insert(start, joined);
    ends_.insert(ends_.begin() + index, ends.begin(), ends.end());
    ShiftEnds(at + lines.size(), static_cast<std::ptrdiff_t>(joined.size()));
    if (!observer_) return;
    for (size_t i = 0; i < lines.size(); ++i) observer_->LineInserted(index + static_cast<int>(i), lines[i]);
}

void Listing::Replace(int index, std::string_view text) {
    if (index < 0 || index >= Count()) return;
    const auto at = static_cast<size_t>(index);
    const size_t start = StartOf(at);
    const size_t old = ends_[at] - start;
    text_.replace(start, old, text);
    ShiftEnds(at, static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(old));
    if (observer_) observer_->LineReplaced(index, Line(index));
}

void Listing::Remove(int first, int count) {
    if (first < 0 || count <= 0 || first >= Count()) return;
    count = std::min(count, Count() - first);
    const auto at = static_cast<size_t>(first);
    const size_t start = StartOf(at);
    const size_t end = ends_[at + static_cast<size_t>(count) - 1];
    text_.erase(start, end - start);
    ends_.erase(ends_.begin() + first, ends_.begin() + first + count);
    ShiftEnds(at, -static_cast<std::ptrdiff_t>(end - start));
    if (observer_) observer_->LinesRemoved(first, count);
}

void Listing::Clear() {
    std::string().swap(text_);
    std::vector<size_t>().swap(ends_);
    if (observer_) observer_->LinesCleared();
}

}  // namespace larkspur
