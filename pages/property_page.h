#pragma once
#include <QString>
#include <QWidget>

namespace larkspur {

class PageHost;

// Base of the seven property pages. The window calls LoadFromRule and
// RefreshEnabling when the selection changes, and StoreToRule before it does.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(PageHost& host, int resourceId, const QString& caption, QWidget* parent = nullptr)
        : QWidget(parent), host_(host), resourceId_(resourceId), caption_(caption) {}

    int ResourceId() const { return resourceId_; }
    QString Caption() const { return caption_; }

    // Page state of the selected rule into the controls.
    virtual void LoadFromRule() {}
    // Enables every bound control from the state of its switch.
    virtual void RefreshEnabling() {}
    // The controls' values into the selected rule's page state.
    virtual void StoreToRule() {}

protected:
    PageHost& host_;

private:
    int resourceId_;
    QString caption_;
};

}  // namespace larkspur
