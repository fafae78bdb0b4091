#include "css/listing.h"

#include <algorithm>

namespace larkspur {

void Listing::Insert(int index, std::string text) {
    index = std::clamp(index, 0, Count());
    auto it = lines_.insert(lines_.begin() + index, std::move(text));
    if (observer_) observer_->LineInserted(index, *it);
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
