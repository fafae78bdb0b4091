#pragma once
#include <QBasicTimer>
#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QVector>
#include <QWidget>
#include <functional>

class QAccessibleEvent;
class QAction;

namespace larkspur {

// A horizontal toolbar that draws its buttons flat: no frame until the mouse
// is over a button, a thin raised frame while it is, sunken when pressed or
// checked; disabled buttons are embossed. A two-line gripper sits at its
// leading edge. Buttons are the widget's actions (QWidget::addAction);
// separator actions become etched lines.
class CToolBarEx : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGripperRoom = 12;
    static constexpr int kTopBorder = 3;
    static constexpr int kBottomBorder = 3;
    static constexpr int kSeparatorWidth = 8;

    explicit CToolBarEx(QWidget* parent = nullptr);
    ~CToolBarEx() override;

    QAction* addSeparator();
    // Image and button sizes; the image sits centred in the button.
    void SetSizes(QSize button, QSize image);
    QSize ButtonSize() const { return buttonSize_; }
    QSize ImageSize() const { return imageSize_; }
    QPoint ImageOffset() const { return imageOffset_; }

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    QRect ButtonRect(int index) const;
    QAction* ButtonAction(int index) const;
    // Index of the button (not a separator) at a point, or -1.
    int ButtonAt(QPoint point) const;
    int HotButton() const { return hot_; }
    // The button the keyboard works on while the bar has the focus, or -1.
    // Accessibility children are the entries in this same order.
    int FocusButton() const { return focus_; }
    bool HoverTimerActive() const { return hoverTimer_.isActive(); }

    // Every rectangle handed to update() since the last call of
    // ClearInvalidated, for tests of what a mouse move repaints.
    const QVector<QRect>& Invalidated() const { return invalidated_; }
    void ClearInvalidated() { invalidated_.clear(); }

    // Where the cursor is, in global coordinates; tests replace it.
    void SetCursorSource(std::function<QPoint()> source) { cursorSource_ = std::move(source); }
    // Sees every accessibility event the bar raises for its buttons (focus,
    // state); assistive tools get them only while a bridge is active.
    void SetAccessibleEventTap(std::function<void(QAccessibleEvent*)> tap) { eventTap_ = std::move(tap); }
    // Ends the hot state now when the cursor has left, as the timer does.
    void CheckHover();

    // The four colours the drawing uses, as last read from the palette.
    QColor FaceColour() const { return face_; }
    QColor HighlightColour() const { return highlight_; }
    QColor ShadowColour() const { return shadow_; }
    QColor LightColour() const { return light_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void actionEvent(QActionEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Button {
        QAction* action = nullptr;
        QRect rect;
        // State as last drawn, to repaint only buttons whose state changed.
        bool enabled = true, checked = false, visible = true;
        QPixmap embossed;  // cached picture of the disabled button
    };

    void LoadColours();
    void Relayout();
    void Invalidate(const QRect& rect);
    void DrawButton(QPainter& painter, int index);
    void DrawSeparator(QPainter& painter, const QRect& rect);
    void DrawGripper(QPainter& painter);
    QPixmap Embossed(Button& button);
    int IndexOf(const QAction* action) const;
    // Next enabled button from index in direction step (+1 or -1), or -1.
    int NextFocusable(int index, int step) const;
    void SetFocusButton(int index, bool announce = true);
    void AnnounceFocus();
    void Notify(QAccessibleEvent& event);
    QPoint CursorInWidget() const;

    QVector<Button> buttons_;
    QSize buttonSize_{23, 22};
    QSize imageSize_{16, 16};
    QPoint imageOffset_;
    QColor face_, highlight_, shadow_, light_;
    int hot_ = -1;
    int pressed_ = -1;
    int focus_ = -1;
    bool pressedInside_ = false;
    QBasicTimer hoverTimer_;
    QVector<QRect> invalidated_;
    std::function<QPoint()> cursorSource_;
    std::function<void(QAccessibleEvent*)> eventTap_;
};

// The toolbar placed in the main window: it also shows each button's tool tip,
// which the window would not do for a widget that is no QToolBar.
class CDialogToolBar : public CToolBarEx {
    Q_OBJECT
public:
    using CToolBarEx::CToolBarEx;

protected:
    bool event(QEvent* event) override;
};

}  // namespace larkspur
