#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <memory>

#include "controls/flat_toolbar.h"
#include "editor/editor_commands.h"

namespace larkspur {
namespace {

// Toolbar commands in button order; 0 is a separator.
const int kLayout[] = {32804, 32786, 32793, 32794, 32783, 0,     32795, 32796, 32798,
                       32797, 32802, 0,     32803, 32800, 32801, 0,     57670};

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        bar = std::make_unique<CDialogToolBar>();
        for (int id : kLayout) {
            if (id == 0) {
                bar->addSeparator();
                continue;
            }
            auto* a = new QAction(QIcon(QString::fromLatin1(FindEditorCommand(id)->icon)), QString::number(id), bar.get());
            a->setData(id);
            bar->addAction(a);
        }
        bar->resize(bar->sizeHint());
        bar->show();
        bar->SetCursorSource([this] { return bar->mapToGlobal(cursor); });
    }

    void Move(QPoint at) {
        cursor = at;
        QMouseEvent e(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar.get(), &e);
    }
    void Mouse(QEvent::Type type, QPoint at) {
        QMouseEvent e(type, at, bar->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar.get(), &e);
    }
    QPoint Centre(int i) const { return bar->ButtonRect(i).center(); }
    QSet<int> InvalidatedButtons() const {
        QSet<int> out;
        for (const QRect& r : bar->Invalidated())
            for (int i = 0; i < bar->ButtonCount(); ++i)
                if (bar->ButtonRect(i) == r) out.insert(i);
        return out;
    }
    QRgb Pixel(QPoint p) const { return bar->grab().toImage().pixel(p); }

    std::unique_ptr<CDialogToolBar> bar;
    QPoint cursor{-50, -50};
};

TEST_F(ToolbarTest, SeventeenEntriesWithPicturesAndEtchedSeparators) {
    ASSERT_EQ(bar->ButtonCount(), 17);
    int x = CToolBarEx::kGripperRoom;
    for (int i = 0; i < 17; ++i) {
        SCOPED_TRACE(i);
        const QRect r = bar->ButtonRect(i);
        EXPECT_EQ(r.left(), x);
        x = r.right() + 1;
        const bool separator = kLayout[i] == 0;
        EXPECT_EQ(bar->ButtonAction(i)->isSeparator(), separator);
        EXPECT_EQ(r.width(), separator ? CToolBarEx::kSeparatorWidth : 23);
        if (!separator) {
            const QImage img = bar->ButtonAction(i)->icon().pixmap(16, 16).toImage();
            EXPECT_EQ(img.size(), QSize(16, 16));
            EXPECT_FALSE(img.isNull());
        }
    }
    EXPECT_FALSE(FindEditorCommand(1017)->OnToolbar());
    // Separator: shadow line then highlight line down its middle.
    const QRect sep = bar->ButtonRect(5);
    const int mid = sep.left() + sep.width() / 2 - 1;
    EXPECT_EQ(Pixel({mid, sep.center().y()}), bar->ShadowColour().rgb());
    EXPECT_EQ(Pixel({mid + 1, sep.center().y()}), bar->HighlightColour().rgb());
    EXPECT_EQ(bar->ButtonAt(sep.center()), -1);
    // Gripper: two raised bars at the leading edge.
    EXPECT_EQ(Pixel({4, 10}), bar->HighlightColour().rgb());
    EXPECT_EQ(Pixel({6, 10}), bar->ShadowColour().rgb());
    EXPECT_EQ(Pixel({7, 10}), bar->HighlightColour().rgb());
}

TEST_F(ToolbarTest, HotTrackingRepaintsOnlyTheTwoButtonsConcerned) {
    Move(Centre(0));
    EXPECT_EQ(bar->HotButton(), 0);
    EXPECT_EQ(InvalidatedButtons(), QSet<int>({0}));
    EXPECT_TRUE(bar->HoverTimerActive());

    bar->ClearInvalidated();
    Move(Centre(0) + QPoint(2, 1));
    EXPECT_TRUE(bar->Invalidated().isEmpty());

    Move(Centre(1));
    EXPECT_EQ(bar->HotButton(), 1);
    EXPECT_EQ(bar->Invalidated().size(), 2);
    EXPECT_EQ(InvalidatedButtons(), QSet<int>({0, 1}));

    bar->ClearInvalidated();
    Move(Centre(5));  // a separator is never hot
    EXPECT_EQ(bar->HotButton(), -1);
    EXPECT_EQ(InvalidatedButtons(), QSet<int>({1}));

    // The frames follow: raised on the hot button, none elsewhere.
    Move(Centre(2));
    const QRect hot = bar->ButtonRect(2), cold = bar->ButtonRect(3);
    EXPECT_EQ(Pixel(hot.topLeft()), bar->HighlightColour().rgb());
    EXPECT_EQ(Pixel(hot.bottomRight()), bar->ShadowColour().rgb());
    EXPECT_EQ(Pixel(cold.topLeft()), bar->FaceColour().rgb());
    EXPECT_EQ(Pixel(cold.bottomRight()), bar->FaceColour().rgb());
}

TEST_F(ToolbarTest, DisabledButtonsAreNeverHotAndLookEmbossed) {
    QAction* save = bar->ButtonAction(2);
    Move(Centre(2));
    ASSERT_EQ(bar->HotButton(), 2);
    bar->ClearInvalidated();
    save->setEnabled(false);
    EXPECT_EQ(bar->HotButton(), -1);
    EXPECT_EQ(InvalidatedButtons(), QSet<int>({2}));

    bar->ClearInvalidated();
    Move(Centre(2) + QPoint(1, 0));
    EXPECT_EQ(bar->HotButton(), -1);
    EXPECT_TRUE(bar->Invalidated().isEmpty());

    // Only the three frame colours appear, with the highlight shifted copy.
    const QImage img = bar->grab().toImage();
    const QRect r = bar->ButtonRect(2);
    QSet<QRgb> colours;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) colours.insert(img.pixel(x, y));
    EXPECT_EQ(colours, QSet<QRgb>({bar->FaceColour().rgb(), bar->HighlightColour().rgb(),
                                   bar->ShadowColour().rgb()}));

    // A click on it does nothing.
    int triggered = 0;
    QObject::connect(save, &QAction::triggered, [&] { ++triggered; });
    Mouse(QEvent::MouseButtonPress, Centre(2));
    Mouse(QEvent::MouseButtonRelease, Centre(2));
    EXPECT_EQ(triggered, 0);
}

TEST_F(ToolbarTest, HotStateEndsSoonAfterTheMouseLeaves) {
    // The events processed below may give the bar the focus; keep its
    // repaint out of the count.
    bar->setFocusPolicy(Qt::NoFocus);
    Move(Centre(3));
    ASSERT_EQ(bar->HotButton(), 3);
    bar->CheckHover();  // still inside: nothing changes
    EXPECT_EQ(bar->HotButton(), 3);
    EXPECT_TRUE(bar->HoverTimerActive());

    bar->ClearInvalidated();
    cursor = QPoint(bar->width() + 40, 5);  // left without another mouse move
    QElapsedTimer clock;
    clock.start();
    while (bar->HotButton() != -1 && clock.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(bar->HotButton(), -1);
    EXPECT_LT(clock.elapsed(), 600);
    EXPECT_EQ(InvalidatedButtons(), QSet<int>({3}));
    EXPECT_FALSE(bar->HoverTimerActive());
}

TEST_F(ToolbarTest, CheckedAndPressedButtonsAreSunken) {
    QAction* a = bar->ButtonAction(6);
    a->setCheckable(true);
    bar->ClearInvalidated();
    a->setChecked(true);
    EXPECT_EQ(InvalidatedButtons(), QSet<int>({6}));
    const QRect r = bar->ButtonRect(6);
    EXPECT_EQ(Pixel(r.topLeft()), bar->ShadowColour().rgb());
    EXPECT_EQ(Pixel(r.bottomRight()), bar->HighlightColour().rgb());
    EXPECT_EQ(Pixel(r.topLeft() + QPoint(1, 1)), bar->FaceColour().rgb());
    EXPECT_EQ(Pixel(r.topLeft() + QPoint(2, 2)), bar->LightColour().rgb());
    Move(r.center());
    EXPECT_EQ(Pixel(r.topLeft() + QPoint(2, 2)), bar->FaceColour().rgb());

    // A text change is no change of look: nothing is repainted.
    bar->ClearInvalidated();
    a->setToolTip(QStringLiteral("other"));
    EXPECT_TRUE(bar->Invalidated().isEmpty());

    // Press, drag off, release: sunken while inside, no command.
    QAction* open = bar->ButtonAction(1);
    int triggered = 0;
    QObject::connect(open, &QAction::triggered, [&] { ++triggered; });
    const QRect o = bar->ButtonRect(1);
    Mouse(QEvent::MouseButtonPress, o.center());
    EXPECT_EQ(Pixel(o.topLeft()), bar->ShadowColour().rgb());
    Move(o.center() + QPoint(40, 0));
    Mouse(QEvent::MouseButtonRelease, o.center() + QPoint(40, 0));
    EXPECT_EQ(triggered, 0);
    Move(o.center());
    Mouse(QEvent::MouseButtonPress, o.center());
    Mouse(QEvent::MouseButtonRelease, o.center());
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(Pixel(o.bottomRight()), bar->ShadowColour().rgb());  // hot again, raised
}

TEST_F(ToolbarTest, KeyboardReachesEveryEnabledButton) {
    EXPECT_TRUE(bar->focusPolicy() & Qt::TabFocus);
    bar->ButtonAction(1)->setEnabled(false);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(bar.get(), &in);
    auto key = [&](int k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(bar.get(), &e);
        return bar->FocusButton();
    };
    EXPECT_EQ(bar->FocusButton(), 0);
    EXPECT_EQ(key(Qt::Key_Right), 2);  // past the disabled button
    EXPECT_EQ(key(Qt::Key_Left), 0);
    EXPECT_EQ(key(Qt::Key_Left), 0);
    EXPECT_EQ(key(Qt::Key_End), 16);
    EXPECT_EQ(key(Qt::Key_Left), 14);  // past the separator
    int triggered = 0;
    QObject::connect(bar->ButtonAction(14), &QAction::triggered, [&] { ++triggered; });
    key(Qt::Key_Space);
    key(Qt::Key_Return);
    EXPECT_EQ(triggered, 2);
    // Disabling the focused button moves the focus on.
    bar->ButtonAction(14)->setEnabled(false);
    EXPECT_EQ(bar->FocusButton(), 16);
}

TEST_F(ToolbarTest, PaletteChangeIsUsedByTheNextPaint) {
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Button, QColor(200, 220, 180));
    pal.setColor(QPalette::Light, QColor(250, 255, 240));
    pal.setColor(QPalette::Dark, QColor(90, 100, 80));
    pal.setColor(QPalette::Midlight, QColor(200, 220, 180));  // same as the face
    bar->setPalette(pal);
    EXPECT_EQ(bar->FaceColour(), QColor(200, 220, 180));
    EXPECT_EQ(bar->LightColour(), QColor(250, 255, 240));
    EXPECT_EQ(Pixel(bar->ButtonRect(0).topLeft()), QColor(200, 220, 180).rgb());
    EXPECT_EQ(Pixel({4, 10}), QColor(250, 255, 240).rgb());
}

}  // namespace
}  // namespace larkspur
