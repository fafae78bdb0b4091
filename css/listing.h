#pragma once
#include <string>
#include <vector>

namespace larkspur {

// Told of every change of the live listing, line by line, so a view can follow
// it without rebuilding.
class ListingObserver {
public:
    virtual ~ListingObserver() = default;
    virtual void LineInserted(int index, const std::string& text) = 0;
    virtual void LinesRemoved(int first, int count) = 0;
    virtual void LineReplaced(int index, const std::string& text) = 0;
    virtual void LinesCleared() = 0;
};

// The live CSS listing: one text line per rule header, declaration and
// closing brace.
class Listing {
public:
    void SetObserver(ListingObserver* observer) { observer_ = observer; }

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& Line(int index) const { return lines_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Lines() const { return lines_; }

    // Inserting past the end appends.
    void Insert(int index, std::string text);
    void Append(std::string text) { Insert(Count(), std::move(text)); }
    void Insert(int index, std::vector<std::string> lines);
    void Replace(int index, std::string text);
    void Remove(int first, int count = 1);
    void Clear();

private:
    std::vector<std::string> lines_;
    ListingObserver* observer_ = nullptr;
};

}  // namespace larkspur
