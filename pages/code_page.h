#pragma once
#include <QWidget>

#include "css/listing.h"

class QListView;

namespace larkspur {

class ListingModel;

// "Code": the live listing, one line per row. The view reads the lines from
// the listing itself and follows its changes line by line, never rebuilding,
// so a listing of a million lines costs the view nothing until shown.
class CCodePage : public QWidget, public ListingObserver {
    Q_OBJECT
public:
    explicit CCodePage(QWidget* parent = nullptr);

    // Shows this listing; later changes arrive as notifications.
    void ShowListing(const Listing& listing);
    QListView* List() const { return list_; }
    // The line shown in a row.
    QString LineText(int row) const;
    int LineCount() const;
    // Why browsers drop a declaration on the line (one reason a line); empty
    // when they keep all. Found a moment after the listing changes.
    QString LineProblem(int row) const;
    // Finds them at once.
    void CheckNow();
    // Scrolls so that the lines show, the first of them at least; the focus
    // stays where it is. A hidden page scrolls when it is next shown.
    void ShowLines(int first, int count);

    void LineInserted(int index, std::string_view text) override;
    void LinesRemoved(int first, int count) override;
    void LineReplaced(int index, std::string_view text) override;
    void LinesCleared() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ScrollToShown();

    ListingModel* model_;
    QListView* list_;
    int showFirst_ = -1;
    int showCount_ = 0;
};

}  // namespace larkspur
