#include "controls/flat_toolbar.h"

#include <QAccessible>
#include <QAction>
#include <QActionEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "controls/flat_toolbar_accessible.h"

namespace larkspur {

namespace {

// Sunken or raised one-pixel frame: topLeft colours the top and left edges.
void Frame3d(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    p.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
}

}  // namespace

CToolBarEx::CToolBarEx(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // Two commands have no key of their own: the keyboard reaches them here.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    InstallToolbarAccessibility();
    LoadColours();
    SetSizes(buttonSize_, imageSize_);
}

CToolBarEx::~CToolBarEx() = default;

QAction* CToolBarEx::addSeparator() {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    return separator;
}

void CToolBarEx::SetSizes(QSize button, QSize image) {
    buttonSize_ = button;
    imageSize_ = image;
    imageOffset_ = QPoint((button.width() - image.width()) / 2, (button.height() - image.height()) / 2);
    for (Button& b : buttons_) b.embossed = QPixmap();
    Relayout();
}

void CToolBarEx::LoadColours() {
    const QPalette& pal = palette();
    face_ = pal.color(QPalette::Button);
    highlight_ = pal.color(QPalette::Light);
    shadow_ = pal.color(QPalette::Dark);
    light_ = pal.color(QPalette::Midlight);
    // Without a distinct 3-D light a checked button would not stand out.
    if (light_ == face_) light_ = highlight_;
}

QRect CToolBarEx::ButtonRect(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index].rect : QRect();
}

QAction* CToolBarEx::ButtonAction(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index].action : nullptr;
}

int CToolBarEx::ButtonAt(QPoint point) const {
    for (int i = 0; i < buttons_.size(); ++i) {
        const Button& b = buttons_[i];
        if (!b.action->isSeparator() && b.visible && b.rect.contains(point)) return i;
    }
    return -1;
}

int CToolBarEx::IndexOf(const QAction* action) const {
    for (int i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].action == action) return i;
    return -1;
}

void CToolBarEx::Relayout() {
    int x = kGripperRoom;
    for (Button& b : buttons_) {
        if (!b.visible) {
            b.rect = QRect();
            continue;
        }
        const int width = b.action->isSeparator() ? kSeparatorWidth : buttonSize_.width();
        b.rect = QRect(x, kTopBorder, width, buttonSize_.height());
        x += width;
    }
    updateGeometry();
    update();
}

QSize CToolBarEx::sizeHint() const {
    int right = kGripperRoom;
    for (const Button& b : buttons_)
        if (b.visible) right = b.rect.right() + 1;
    return {right + 4, kTopBorder + buttonSize_.height() + kBottomBorder};
}

QSize CToolBarEx::minimumSizeHint() const {
    return {kGripperRoom + buttonSize_.width(), kTopBorder + buttonSize_.height() + kBottomBorder};
}

void CToolBarEx::Invalidate(const QRect& rect) {
    if (rect.isEmpty()) return;
    invalidated_.append(rect);
    update(rect);
}

QPoint CToolBarEx::CursorInWidget() const {
    return mapFromGlobal(cursorSource_ ? cursorSource_() : QCursor::pos());
}

void CToolBarEx::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRegion& region = event->region();
    painter.setClipRegion(region);
    painter.fillRect(rect(), face_);
    DrawGripper(painter);
    // A thin etched line parts the bar from the window below it.
    painter.fillRect(0, height() - 2, width(), 1, shadow_);
    painter.fillRect(0, height() - 1, width(), 1, highlight_);
    for (int i = 0; i < buttons_.size(); ++i) {
        const Button& b = buttons_[i];
        if (!b.visible || !region.intersects(b.rect)) continue;
        if (b.action->isSeparator())
            DrawSeparator(painter, b.rect);
        else
            DrawButton(painter, i);
    }
}

void CToolBarEx::DrawGripper(QPainter& painter) {
    const QRect r = rect().adjusted(4, 4, -4, -4);
    for (int i = 0; i < 2; ++i) Frame3d(painter, QRect(r.left() + 3 * i, r.top(), 3, r.height()), highlight_, shadow_);
}

void CToolBarEx::DrawSeparator(QPainter& painter, const QRect& rect) {
    const int x = rect.left() + rect.width() / 2 - 1;
    painter.fillRect(x, rect.top(), 1, rect.height(), shadow_);
    painter.fillRect(x + 1, rect.top(), 1, rect.height(), highlight_);
}

void CToolBarEx::DrawButton(QPainter& painter, int index) {
    Button& b = buttons_[index];
    const QRect& r = b.rect;
    const bool enabled = b.action->isEnabled() && isEnabled();
    const bool down = b.action->isChecked() || (index == pressed_ && pressedInside_);
    const bool hot = index == hot_;

    painter.fillRect(r, down && !hot ? light_ : face_);
    if (down) {
        Frame3d(painter, r, shadow_, highlight_);
        if (!hot) Frame3d(painter, r.adjusted(1, 1, -1, -1), face_, face_);
    } else if (hot && enabled) {
        Frame3d(painter, r, highlight_, shadow_);
    }

    const QPoint at = r.topLeft() + QPoint((r.width() - imageSize_.width()) / 2, imageOffset_.y()) +
                      (down ? QPoint(1, 1) : QPoint());
    if (enabled)
        painter.drawPixmap(at, b.action->icon().pixmap(imageSize_));
    else
        painter.drawPixmap(at, Embossed(b));
    if (index == focus_ && hasFocus()) {
        painter.setPen(QPen(shadow_, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(2, 2, -3, -3));
    }
}

// The disabled look: the picture's dark strokes in the shadow colour with a
// highlight-coloured copy one pixel right and down, on the face colour.
QPixmap CToolBarEx::Embossed(Button& button) {
    if (!button.embossed.isNull()) return button.embossed;
    const QImage image =
        button.action->icon().pixmap(imageSize_).toImage().convertToFormat(QImage::Format_ARGB32);
    QImage mask(image.size(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            // Light pixels count as background, like the face and highlight.
            if (qAlpha(px) >= 128 && qGray(px) < 192) mask.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    QPixmap out(image.width() + 1, image.height() + 1);
    out.fill(Qt::transparent);
    QPainter p(&out);
    auto tinted = [&](const QColor& colour) {
        QImage t = mask;
        QPainter tp(&t);
        tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tp.fillRect(t.rect(), colour);
        return t;
    };
    p.drawImage(QPoint(1, 1), tinted(highlight_));
    p.drawImage(QPoint(0, 0), tinted(shadow_));
    p.end();
    button.embossed = out;
    return out;
}

void CToolBarEx::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int old = hot_;
    hot_ = -1;
    for (int i = 0; i < buttons_.size(); ++i) {
        const Button& b = buttons_[i];
        if (b.action->isSeparator() || !b.visible || !b.action->isEnabled()) continue;
        if (b.rect.contains(pos)) {
            if (i != old) Invalidate(b.rect);
            hot_ = i;
        } else if (i == old) {
            Invalidate(b.rect);
        }
    }
    if (pressed_ >= 0) {
        const bool inside = buttons_[pressed_].rect.contains(pos);
        if (inside != pressedInside_) {
            pressedInside_ = inside;
            Invalidate(buttons_[pressed_].rect);
        }
    }
    // No mouse move reaches the bar once the mouse has left it; the timer
    // notices that and ends the hot state.
    hoverTimer_.start(250, this);
    QWidget::mouseMoveEvent(event);
}

void CToolBarEx::CheckHover() {
    if (hot_ < 0) {
        hoverTimer_.stop();
        return;
    }
    if (!rect().contains(CursorInWidget())) {
        Invalidate(buttons_[hot_].rect);
        hot_ = -1;
        hoverTimer_.stop();
    }
}

void CToolBarEx::timerEvent(QTimerEvent* event) {
    if (event->timerId() == hoverTimer_.timerId())
        CheckHover();
    else
        QWidget::timerEvent(event);
}

void CToolBarEx::mousePressEvent(QMouseEvent* event) {
    const int index = event->button() == Qt::LeftButton ? ButtonAt(event->position().toPoint()) : -1;
    if (index < 0 || !buttons_[index].action->isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = index;
    pressedInside_ = true;
    Invalidate(buttons_[index].rect);
}

void CToolBarEx::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_ < 0 || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int index = pressed_;
    const bool inside = buttons_[index].rect.contains(event->position().toPoint());
    pressed_ = -1;
    pressedInside_ = false;
    Invalidate(buttons_[index].rect);
    QAction* action = buttons_[index].action;
    if (inside && action->isEnabled()) action->trigger();
}

void CToolBarEx::actionEvent(QActionEvent* event) {
    QAction* action = event->action();
    switch (event->type()) {
    case QEvent::ActionAdded: {
        Button b;
        b.action = action;
        b.enabled = action->isEnabled();
        b.checked = action->isChecked();
        b.visible = action->isVisible();
        const int before = event->before() ? IndexOf(event->before()) : -1;
        buttons_.insert(before < 0 ? buttons_.size() : before, b);
        hot_ = pressed_ = focus_ = -1;
        Relayout();
        break;
    }
    case QEvent::ActionRemoved: {
        const int index = IndexOf(action);
        if (index >= 0) buttons_.removeAt(index);
        hot_ = pressed_ = focus_ = -1;
        Relayout();
        break;
    }
    case QEvent::ActionChanged: {
        const int index = IndexOf(action);
        if (index < 0) break;
        Button& b = buttons_[index];
        if (b.visible != action->isVisible()) {
            b.visible = action->isVisible();
            hot_ = pressed_ = -1;
            Relayout();
        }
        // Repaint only a button whose look changed.
        if (b.enabled != action->isEnabled() || b.checked != action->isChecked()) {
            QAccessible::State changed;
            changed.disabled = b.enabled != action->isEnabled();
            changed.checked = b.checked != action->isChecked();
            QAccessibleStateChangeEvent stateEvent(this, changed);
            stateEvent.setChild(index);
            Notify(stateEvent);
            b.enabled = action->isEnabled();
            b.checked = action->isChecked();
            if (!b.enabled && hot_ == index) hot_ = -1;
            if (!b.enabled && pressed_ == index) pressed_ = -1;
            if (!b.enabled && focus_ == index) SetFocusButton(NextFocusable(index, 1));
            Invalidate(b.rect);
        }
        b.embossed = QPixmap();
        break;
    }
    default:
        break;
    }
    QWidget::actionEvent(event);
}

void CToolBarEx::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        LoadColours();
        for (Button& b : buttons_) b.embossed = QPixmap();
        update();
    }
    QWidget::changeEvent(event);
}

int CToolBarEx::NextFocusable(int index, int step) const {
    for (int i = index + step; i >= 0 && i < buttons_.size(); i += step) {
        const Button& b = buttons_[i];
        if (!b.action->isSeparator() && b.visible && b.action->isEnabled()) return i;
    }
    return -1;
}

void CToolBarEx::SetFocusButton(int index, bool announce) {
    if (index == focus_) return;
    if (focus_ >= 0 && focus_ < buttons_.size()) Invalidate(buttons_[focus_].rect);
    focus_ = index;
    if (focus_ >= 0) Invalidate(buttons_[focus_].rect);
    if (announce) AnnounceFocus();
}

// Assistive tools follow the keyboard from button to button, not just to the bar.
void CToolBarEx::AnnounceFocus() {
    if (!hasFocus() || focus_ < 0 || focus_ >= buttons_.size()) return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(focus_);
    Notify(event);
}

void CToolBarEx::Notify(QAccessibleEvent& event) {
    if (eventTap_) eventTap_(&event);
    QAccessible::updateAccessibility(&event);
}

void CToolBarEx::focusInEvent(QFocusEvent* event) {
    const bool usable = focus_ >= 0 && focus_ < buttons_.size() && NextFocusable(focus_ - 1, 1) == focus_;
    if (!usable)
        SetFocusButton(NextFocusable(-1, 1), false);
    else
        Invalidate(buttons_[focus_].rect);
    // The focus change reports the bar itself once this event is done; the
    // button has to come after it, or the bar is what gets announced.
    QMetaObject::invokeMethod(this, &CToolBarEx::AnnounceFocus, Qt::QueuedConnection);
    QWidget::focusInEvent(event);
}

void CToolBarEx::focusOutEvent(QFocusEvent* event) {
    if (focus_ >= 0 && focus_ < buttons_.size()) Invalidate(buttons_[focus_].rect);
    QWidget::focusOutEvent(event);
}

void CToolBarEx::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int next = NextFocusable(focus_, event->key() == Qt::Key_Right ? 1 : -1);
        if (next >= 0) SetFocusButton(next);
        return;
    }
    case Qt::Key_Home:
        SetFocusButton(NextFocusable(-1, 1));
        return;
    case Qt::Key_End:
        SetFocusButton(NextFocusable(static_cast<int>(buttons_.size()), -1));
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focus_ >= 0 && focus_ < buttons_.size() && buttons_[focus_].action->isEnabled())
            buttons_[focus_].action->trigger();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CToolBarEx::hideEvent(QHideEvent* event) {
    hot_ = pressed_ = -1;
    hoverTimer_.stop();
    QWidget::hideEvent(event);
}

bool CDialogToolBar::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = ButtonAt(help->pos());
        const QString tip = index >= 0 ? ButtonAction(index)->toolTip() : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, ButtonRect(index));
        return true;
    }
    return CToolBarEx::event(event);
}

}  // namespace larkspur
