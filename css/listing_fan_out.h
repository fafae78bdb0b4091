#pragma once
#include <string_view>
#include <vector>

#include "css/listing.h"

namespace larkspur {

// Passes every listing change on to several observers, in the order added.
class ListingFanOut : public ListingObserver {
public:
    void Add(ListingObserver* observer) { observers_.push_back(observer); }

    void LineInserted(int index, std::string_view text) override {
        for (ListingObserver* o : observers_) o->LineInserted(index, text);
    }
    void LinesRemoved(int first, int count) override {
        for (ListingObserver* o : observers_) o->LinesRemoved(first, count);
    }
    void LineReplaced(int index, std::string_view text) override {
        for (ListingObserver* o : observers_) o->LineReplaced(index, text);
    }
    void LinesCleared() override {
        for (ListingObserver* o : observers_) o->LinesCleared();
    }

private:
    std::vector<ListingObserver*> observers_;
};

}  // namespace larkspur
