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
    // The whole listing changed at once (emptied, or a sheet read): read it
    // again.
    virtual void LinesCleared() = 0;
};

// The live CSS listing: the sheet's text exactly as it is saved, line ends
// included, with a table of where each line starts. A line is the text up to
// a line end, without it; a final line end does not start another line.
class Listing {
public:
    void SetObserver(ListingObserver* observer) { observer_ = observer; }

    int Count() const { return static_cast<int>(starts_.size()); }
    const std::string& Text() const { return text_; }
    size_t Size() const { return text_.size(); }
    // Throws std::out_of_range for an index outside the listing.
    std::string_view Line(int index) const;
    // A copy of every line.
    std::vector<std::string> Lines() const;
    // The line holding the character at `offset` (the last line for the end).
    int LineAt(size_t offset) const;
    size_t LineStart(int index) const { return starts_[static_cast<size_t>(index)]; }

    // The characters [offset, offset + length) become `text`; the observer
    // hears only of the lines that differ.
    void ReplaceRange(size_t offset, size_t length, std::string_view text);
    void Insert(size_t offset, std::string_view text) { ReplaceRange(offset, 0, text); }
    void Erase(size_t offset, size_t length) { ReplaceRange(offset, length, {}); }
    // The whole text at once; the observer hears LinesCleared.
    void Assign(std::string text);
    void Clear() { Assign({}); }

private:
    void IndexLines();
    // The line starts of text_[from, to), each moved by nothing.
    void AppendStarts(std::vector<size_t>& out, size_t from, size_t to) const;

    std::string text_;
    std::vector<size_t> starts_;  // where each line starts in text_
    ListingObserver* observer_ = nullptr;
};

}  // namespace larkspur
