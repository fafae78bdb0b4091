#include "model/property_list.h"

#include <array>

namespace larkspur {

const PropertyEntry& BlankEntry(size_t index) {
    static const std::array<PropertyEntry, kPropertyCount> blanks = [] {
        std::array<PropertyEntry, kPropertyCount> b;
        for (int i = 0; i < kPropertyCount; ++i) b[static_cast<size_t>(i)] = PropertyEntry(PropertyName(i));
        return b;
    }();
    return blanks[index];
}

PropertyList& PropertyList::operator=(const PropertyList& other) {
    if (this == &other) return *this;
    clear();
    std::unique_ptr<Node>* tail = &head_;
    for (const Node* n = other.head_.get(); n; n = n->next.get()) {
        *tail = std::make_unique<Node>(n->index);
        (*tail)->entry = n->entry;
        tail = &(*tail)->next;
    }
    held_ = other.held_;
    return *this;
}

void PropertyList::clear() {
    // Unlinked one by one: no recursion through the chain of owners.
    while (head_) head_ = std::move(head_->next);
    held_ = 0;
}

bool PropertyList::operator==(const PropertyList& other) const {
    for (size_t i = 0; i < size(); ++i)
        if (!((*this)[i] == other[i])) return false;
    return true;
}

void PropertyList::ResetEntries() {
    for (std::unique_ptr<Node>* at = &head_; *at;) {
        PropertyEntry& entry = (*at)->entry;
        entry.ResetEntry();
        if (entry.line == 0) {
            held_ &= ~(uint64_t{1} << (*at)->index);
            *at = std::move((*at)->next);
        } else {
            at = &(*at)->next;
        }
    }
}

PropertyEntry* PropertyList::Find(size_t index) {
    if (!Holds(index)) return nullptr;
    Node* n = head_.get();
    while (n->index != index) n = n->next.get();
    return &n->entry;
}

const PropertyEntry* PropertyList::Find(size_t index) const {
    return const_cast<PropertyList*>(this)->Find(index);
}

const PropertyEntry& PropertyList::operator[](size_t index) const {
    const PropertyEntry* held = Find(index);
    return held ? *held : BlankEntry(index);
}

PropertyEntry& PropertyList::operator[](size_t index) {
    if (PropertyEntry* held = Find(index)) return *held;
    std::unique_ptr<Node>* at = &head_;
    while (*at && (*at)->index < index) at = &(*at)->next;
    auto node = std::make_unique<Node>(index);
    node->next = std::move(*at);
    *at = std::move(node);
    held_ |= uint64_t{1} << index;
    return (*at)->entry;
}

}  // namespace larkspur
