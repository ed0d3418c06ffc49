// A self-painting control hears the toolkit's mouse, wheel, key and leave events with
// the platform's buttons, shift states and key codes, and no exception of a handler
// leaves towards the toolkit.
#include "DialogRecorder.h"

#include "controls/CustomControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TLoggingControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> Log;
    bool AbortDoubleClicks = false;

protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log.push_back("down " + std::to_string(b) + " " + std::to_string(s.Bits()) + " " + std::to_string(x) + "," +
                      std::to_string(y));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseUp(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        Log.push_back("move " + std::to_string(s.Bits()) + " " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseMove(s, x, y);
    }
    void DblClick() override
    {
        Log.push_back("dblclick");
        if (AbortDoubleClicks)
            AbortClick();
    }
    void MouseLeave() override { Log.push_back("leave"); }
};

void Send(QWidget* w, QEvent* e)
{
    QCoreApplication::sendEvent(w, e);
}

void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at,
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, mods);
    Send(w, &e);
}

} // namespace

TEST(CustomControlInput, MouseEventsCarryButtonShiftAndPosition)
{
    TLoggingControl control(nullptr);
    control.SetBounds(0, 0, 100, 80);
    QWidget* w = control.Widget();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->hasMouseTracking());

    Mouse(w, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {10, 20}, Qt::ShiftModifier);
    Mouse(w, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, {12, 22}, Qt::ControlModifier);
    Mouse(w, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {13, 23});
    const std::string down =
        "down " + std::to_string(mbRight) + " " + std::to_string((ssShift | ssRight).Bits()) + " 10,20";
    const std::string move = "move " + std::to_string((ssCtrl | ssRight).Bits()) + " 12,22";
    const std::string up = "up " + std::to_string(mbRight) + " 13,23";
    EXPECT_EQ(control.Log, (std::vector<std::string>{down, move, up}));

    // A button the platform does not know is not delivered.
    control.Log.clear();
    Mouse(w, QEvent::MouseButtonPress, Qt::BackButton, Qt::BackButton, {1, 1});
    EXPECT_TRUE(control.Log.empty());

    QEvent leave(QEvent::Leave);
    Send(w, &leave);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"leave"}));
}

TEST(CustomControlInput, DoubleClickComesBeforeItsMouseDownUnlessAborted)
{
    TLoggingControl control(nullptr);
    QWidget* w = control.Widget();
    Mouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {5, 6});
    const std::string down =
        "down " + std::to_string(mbLeft) + " " + std::to_string((ssLeft | ssDouble).Bits()) + " 5,6";
    EXPECT_EQ(control.Log, (std::vector<std::string>{"dblclick", down}));

    control.Log.clear();
    control.AbortDoubleClicks = true;
    Mouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {5, 6});
    EXPECT_EQ(control.Log, (std::vector<std::string>{"dblclick"}));
    // The next ordinary press is delivered again.
    Mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {1, 2});
    EXPECT_EQ(control.Log.size(), 2u);
}

TEST(CustomControlInput, WheelAndKeys)
{
    TCustomControl control(nullptr);
    QWidget* w = control.Widget();
    int delta = 0;
    TShiftState wheelShift;
    control.OnMouseWheel = [&](TObject*, TShiftState s, int d, TPoint, bool& handled) {
        delta = d;
        wheelShift = s;
        handled = true;
    };
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::AltModifier,
                      Qt::NoScrollPhase, false);
    Send(w, &wheel);
    EXPECT_EQ(delta, -120);
    EXPECT_EQ(wheelShift, ssAlt);
    EXPECT_TRUE(wheel.isAccepted());

    std::vector<uint16_t> keys;
    TShiftState keyShift;
    control.OnKeyDown = [&](TObject*, uint16_t& k, TShiftState s) {
        keys.push_back(k);
        keyShift = s;
    };
    control.OnKeyUp = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(uint16_t(k + 1000)); };
    for (int key : {int(Qt::Key_Left), int(Qt::Key_PageDown), int(Qt::Key_A), int(Qt::Key_7), int(Qt::Key_F3)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ShiftModifier);
        Send(w, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    Send(w, &release);
    EXPECT_EQ(keys, (std::vector<uint16_t>{VK_LEFT, VK_NEXT, 'A', '7', uint16_t(VK_F1 + 2), uint16_t(VK_ESCAPE + 1000)}));
    EXPECT_EQ(keyShift, ssShift);
}

TEST(CustomControlInput, TabMovesTheFocusOnArrowsStay)
{
    TCustomPanel host(nullptr);
    host.SetBounds(0, 0, 100, 60);
    TCustomControl first(nullptr), second(nullptr);
    first.SetParent(&host);
    second.SetParent(&host);
    second.SetBounds(50, 0, 40, 40);
    host.Widget()->show();
    host.Widget()->activateWindow();
    QApplication::setActiveWindow(host.Widget());
    first.Widget()->setFocus();
    ASSERT_TRUE(first.Widget()->hasFocus());
    std::vector<uint16_t> keys;
    first.OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); };

    // An arrow key is the control's own; Tab goes on to the next control.
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    Send(first.Widget(), &left);
    EXPECT_TRUE(first.Widget()->hasFocus());
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    Send(first.Widget(), &tab);
    EXPECT_EQ(keys, (std::vector<uint16_t>{VK_LEFT}));
    EXPECT_TRUE(second.Widget()->hasFocus());
    host.Widget()->hide();
}

TEST(CustomControlInput, AHandlerThatRaisesIsReportedNotPassedOn)
{
    DialogRecorder dialogs;
    TCustomControl control(nullptr);
    control.OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw Exception("handler failed"); };
    Mouse(control.Widget(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {1, 1});
    ASSERT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_EQ(dialogs.Texts()[0], "handler failed.");
}

TEST(CustomControlInput, ResizeIsToldOncePerNewSize)
{
    TCustomControl control(nullptr);
    int resizes = 0;
    control.OnResize = [&](TObject*) { ++resizes; };
    control.SetBounds(0, 0, 50, 40);
    control.SetBounds(5, 5, 50, 40);   // moved, same size
    control.SetBounds(5, 5, 60, 40);
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(control.Widget()->width(), 60);
}
