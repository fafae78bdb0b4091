#pragma once
#include <QWidget>

#include "pages/declarations_model.h"

class QPushButton;
class QTableView;

namespace larkspur {

class PageHost;

// "Declarations": every declaration of the selected rule, the 41 the pages
// edit and all the others, each with its name, value, !important and a
// switch. Names complete from the properties browsers know, values from the
// property's keywords; a colour shows a swatch and opens the colour dialog.
// Every edit is one undoable change made by the document.
class CDeclarationsPage : public QWidget {
    Q_OBJECT
public:
    explicit CDeclarationsPage(PageHost& host, QWidget* parent = nullptr);

    // The selected rule's declarations as the document has them now.
    void Reload();

    QTableView* Table() const { return table_; }
    DeclarationsModel* Model() const { return model_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* ColourButton() const { return colour_; }

    // A new row after the current one, its name being typed.
    void AddDeclaration();
    // The current row out of the rule (a new row just goes).
    void RemoveCurrent();
    // The colour dialog for the current row's colour value.
    void ChooseColour();

private:
    void Apply(const DeclarationsModel::Edit& edit);
    void UpdateButtons();
    // The colour the current row's value is, or may become; false when it
    // takes none.
    bool CurrentTakesColour() const;

    PageHost& host_;
    DeclarationsModel* model_;
    QTableView* table_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* colour_;
};

}  // namespace larkspur
