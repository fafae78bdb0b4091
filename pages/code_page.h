#pragma once
#include <QWidget>

#include "css/listing.h"

class QListWidget;

namespace larkspur {

// "Code": the live listing, one line per list item. It follows the listing
// line by line and never rebuilds itself.
class CCodePage : public QWidget, public ListingObserver {
    Q_OBJECT
public:
    explicit CCodePage(QWidget* parent = nullptr);

    // Shows the listing's present lines; later changes arrive as notifications.
    void ShowListing(const Listing& listing);
    QListWidget* List() const { return list_; }

    void LineInserted(int index, const std::string& text) override;
    void LinesRemoved(int first, int count) override;
    void LineReplaced(int index, const std::string& text) override;
    void LinesCleared() override;

private:
    QListWidget* list_;
};

}  // namespace larkspur
