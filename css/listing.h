#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace larkspur {

// Told of every change of the live listing, line by line, so a view can follow
// it without rebuilding. A line's text is good only during the call.
class ListingObserver {
public:
    virtual ~ListingObserver() = default;
    virtual void LineInserted(int index, std::string_view text) = 0;
    virtual void LinesRemoved(int first, int count) = 0;
    virtual void LineReplaced(int index, std::string_view text) = 0;
    virtual void LinesCleared() = 0;
};

// The live CSS listing: one text line per rule header, declaration and
// closing brace. The lines are held end to end in one text, so a sheet of a
// million rules costs its characters and an offset a line, not a string each.
class Listing {
public:
    void SetObserver(ListingObserver* observer) { observer_ = observer; }

    int Count() const { return static_cast<int>(ends_.size()); }
    // Throws std::out_of_range for an index outside the listing.
    std::string_view Line(int index) const;
    // A copy of every line.
    std::vector<std::string> Lines() const;

    // Inserting past the end appends.
    void Insert(int index, std::string_view text);
    void Append(std::string_view text) { Insert(Count(), text); }
    void Insert(int index, const std::vector<std::string>& lines);
    void Replace(int index, std::string_view text);
    void Remove(int first, int count = 1);
    void Clear();
    // Room for this many lines and characters, so a large sheet is not moved
    // while it is read.
    void Reserve(size_t lines, size_t characters) {
        ends_.reserve(lines);
        text_.reserve(characters);
    }

private:
    size_t StartOf(size_t index) const { return index == 0 ? 0 : ends_[index - 1]; }
    // Moves the ends of the lines from `index` on by `delta` characters.
    void ShiftEnds(size_t index, std::ptrdiff_t delta);

    std::string text_;
    std::vector<size_t> ends_;  // where each line ends in text_
    ListingObserver* observer_ = nullptr;
};

}  // namespace larkspur
