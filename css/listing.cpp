#include "css/listing.h"

#include <algorithm>

namespace larkspur {

void Listing::Insert(int index, std::string text) {
    index = std::clamp(index, 0, Count());
    auto it = lines_.insert(lines_.begin() + index, std::move(text));
    if (observer_) observer_->LineInserted(index, *it);
}

void Listing::Insert(int index, std::vector<std::string> lines) {
    index = std::clamp(index, 0, Count());
    lines_.insert(lines_.begin() + index, std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    if (!observer_) return;
    for (size_t i = 0; i < lines.size(); ++i)
        observer_->LineInserted(index + static_cast<int>(i), lines_[static_cast<size_t>(index) + i]);
}

void Listing::Replace(int index, std::string text) {
    if (index < 0 || index >= Count()) return;
    lines_[static_cast<size_t>(index)] = std::move(text);
    if (observer_) observer_->LineReplaced(index, lines_[static_cast<size_t>(index)]);
}

void Listing::Remove(int first, int count) {
    if (first < 0 || count <= 0 || first >= Count()) return;
    count = std::min(count, Count() - first);
    lines_.erase(lines_.begin() + first, lines_.begin() + first + count);
    if (observer_) observer_->LinesRemoved(first, count);
}

void Listing::Clear() {
    lines_.clear();
    if (observer_) observer_->LinesCleared();
}

}  // namespace larkspur
