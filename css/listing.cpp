#include "css/listing.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace larkspur {

std::string_view Listing::Line(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("listing line");
    const size_t start = starts_[static_cast<size_t>(index)];
    size_t end = index + 1 < Count() ? starts_[static_cast<size_t>(index) + 1] : text_.size();
    if (end > start && text_[end - 1] == '\n') --end;
    if (end > start && text_[end - 1] == '\r') --end;
    return std::string_view(text_).substr(start, end - start);
}

std::vector<std::string> Listing::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(starts_.size());
    for (int i = 0; i < Count(); ++i) lines.emplace_back(Line(i));
    return lines;
}

int Listing::LineAt(size_t offset) const {
    if (starts_.empty()) return 0;
    auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<int>(it - starts_.begin()) - 1;
}

void Listing::AppendStarts(std::vector<size_t>& out, size_t from, size_t to) const {
    const char* data = text_.data();
    for (size_t at = from; at < to;) {
        out.push_back(at);
        const void* nl = std::memchr(data + at, '\n', to - at);
        if (!nl) break;
        at = static_cast<size_t>(static_cast<const char*>(nl) - data) + 1;
    }
}

void Listing::IndexLines() {
    starts_.clear();
    AppendStarts(starts_, 0, text_.size());
}

void Listing::Assign(std::string text) {
    text_ = std::move(text);
    IndexLines();
    if (observer_) observer_->LinesCleared();
}

namespace {

// The lines of a text, each with its line end.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t nl = text.find('\n', at);
        const size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(at, end - at));
        at = end;
    }
    return lines;
}

}  // namespace

void Listing::ReplaceRange(size_t offset, size_t length, std::string_view text) {
    offset = std::min(offset, text_.size());
    length = std::min(length, text_.size() - offset);
    if (length == 0 && text.empty()) return;
    // The block of whole lines the change falls in: from the start of the
    // line holding `offset` to the start of a line whose preceding line end
    // is not replaced, so the block still ends with a line end afterwards.
    const bool atFreshLine = offset == text_.size() && (text_.empty() || text_.back() == '\n');
    const int first = atFreshLine ? Count() : LineAt(offset);
    const size_t blockStart = atFreshLine ? text_.size() : starts_[static_cast<size_t>(first)];
    int after = first + 1;  // first line after the block
    const size_t touched = offset + length;
    while (after < Count() && starts_[static_cast<size_t>(after)] <= touched) ++after;
    if (atFreshLine) after = Count();
    const size_t blockEnd = after < Count() ? starts_[static_cast<size_t>(after)] : text_.size();
    const std::string oldBlock = text_.substr(blockStart, blockEnd - blockStart);
    text_.replace(offset, length, text);
    const std::ptrdiff_t delta = static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(length);
    const size_t newEnd = static_cast<size_t>(static_cast<std::ptrdiff_t>(blockEnd) + delta);
    std::vector<size_t> fresh;
    AppendStarts(fresh, blockStart, newEnd);
    starts_.erase(starts_.begin() + first, starts_.begin() + after);
    for (size_t i = static_cast<size_t>(first); i < starts_.size(); ++i)
        starts_[i] = static_cast<size_t>(static_cast<std::ptrdiff_t>(starts_[i]) + delta);
    starts_.insert(starts_.begin() + first, fresh.begin(), fresh.end());
    if (!observer_) return;
    // Only the lines that differ are told of: the block's common first and
    // last lines are left out.
    const std::vector<std::string_view> before = SplitLines(oldBlock);
    const std::vector<std::string_view> now = SplitLines(std::string_view(text_).substr(blockStart, newEnd - blockStart));
    size_t prefix = 0;
    while (prefix < before.size() && prefix < now.size() && before[prefix] == now[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < now.size() - prefix &&
           before[before.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    const int oldMid = static_cast<int>(before.size() - prefix - suffix);
    const int newMid = static_cast<int>(now.size() - prefix - suffix);
    const int at = first + static_cast<int>(prefix);
    const int same = std::min(oldMid, newMid);
    for (int i = 0; i < same; ++i) observer_->LineReplaced(at + i, Line(at + i));
    if (oldMid > newMid) observer_->LinesRemoved(at + same, oldMid - newMid);
    for (int i = same; i < newMid; ++i) observer_->LineInserted(at + i, Line(at + i));
}

}  // namespace larkspur
