#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>

#include "model/property_entry.h"
#include "model/vocabulary.h"

namespace larkspur {

// The 41 entries of a rule by index. Only entries that have been written are
// held, in index order and each in a node of its own, so a reference stays
// good while other entries are added; reading an entry that is not held gives
// the shared blank entry of its index. A rule so costs what it sets.
class PropertyList {
    struct Node {
        explicit Node(size_t i)
            : entry(PropertyName(static_cast<int>(i))), index(static_cast<unsigned char>(i)) {}
        // The index fits in the entry's tail padding.
        [[no_unique_address]] PropertyEntry entry;
        unsigned char index;
        std::unique_ptr<Node> next;
    };

public:
    PropertyList() = default;
    PropertyList(const PropertyList& other) { *this = other; }
    PropertyList& operator=(const PropertyList& other);
    PropertyList(PropertyList&&) noexcept = default;
    PropertyList& operator=(PropertyList&&) noexcept = default;
    ~PropertyList() { clear(); }

    static constexpr size_t size() { return kPropertyCount; }
    // Entry by entry over all 41: a blank entry held equals one not held.
    bool operator==(const PropertyList& other) const;

    // Write access: the entry is held from now on.
    PropertyEntry& operator[](size_t index);
    const PropertyEntry& operator[](size_t index) const;
    PropertyEntry* Find(size_t index);
    const PropertyEntry* Find(size_t index) const;
    bool Holds(size_t index) const { return index < kPropertyCount && (held_ >> index & 1); }
    // Every entry back to blank; nothing is held afterwards.
    void clear();
    // ResetEntry on every entry: one that keeps its line stays held, the
    // others are let go.
    void ResetEntries();

    // Over the held entries in index order; index() names the entry's index.
    template <class N, class E>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = PropertyEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = E*;
        using reference = E&;
        Iterator() = default;
        explicit Iterator(N* node) : node_(node) {}
        E& operator*() const { return node_->entry; }
        E* operator->() const { return &node_->entry; }
        int index() const { return static_cast<int>(node_->index); }
        Iterator& operator++() {
            node_ = node_->next.get();
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const Iterator& other) const { return node_ == other.node_; }

    private:
        N* node_ = nullptr;
    };
    using iterator = Iterator<Node, PropertyEntry>;
    using const_iterator = Iterator<const Node, const PropertyEntry>;
    iterator begin() { return iterator(head_.get()); }
    iterator end() { return iterator(); }
    const_iterator begin() const { return const_iterator(head_.get()); }
    const_iterator end() const { return const_iterator(); }

private:
    std::unique_ptr<Node> head_;
    uint64_t held_ = 0;
};

// The entry a rule starts with at this index: its name, everything else empty.
const PropertyEntry& BlankEntry(size_t index);

}  // namespace larkspur
