// Test helper: a user's keys, typing, clicks, double clicks, wheel turns and drags,
// delivered as the toolkit delivers real input. Mouse input enters through the window
// under the point (so that the widget under it takes it, a click moves the focus and a
// window blocked by a modal one refuses it); keys go to the widget with the focus, after
// the shortcut-override round, so that shortcuts, default and cancel buttons and the
// focus chain play their part. Modal forms run their own loop while queued actions act
// inside them.
//
// Every action refuses a control that the user could not reach (no widget, hidden,
// disabled, in a window blocked by a modal one, or covered at the point) and fails the
// test with the control's name; it then returns false.
#pragma once

#include "controls/Controls.h"
#include "controls/Dialogs.h"
#include "controls/Forms.h"

#include <QPoint>
#include <Qt>

#include <deque>
#include <functional>
#include <memory>
#include <string>

class QWidget;
class DialogRecorder;

namespace user {

// The visible widget named Name (its objectName): inside Within when given, else in the
// active modal window, else in any visible window. Null when there is none.
QWidget* Find(const std::string& Name, QWidget* Within = nullptr);
QWidget* Find(const std::string& Name, TControl* Within);
// The widget of a control (null for null).
QWidget* W(TControl* Control);

// A click, a double click or a wheel turn at At (in the widget's own pixels; its centre
// when At is null). Notches > 0 turn the wheel away from the user (up).
bool Click(QWidget* Widget, QPoint At = QPoint(), Qt::MouseButton Button = Qt::LeftButton,
           Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
bool DoubleClick(QWidget* Widget, QPoint At = QPoint());
bool Wheel(QWidget* Widget, int Notches, QPoint At = QPoint());
// Presses the button at From, moves to To in a few steps and releases it there.
bool Drag(QWidget* Widget, QPoint From, QPoint To, Qt::MouseButton Button = Qt::LeftButton);

// Moves the focus to the widget as the Tab key would.
bool Focus(QWidget* Widget);
// A key press and release at the widget with the focus (after Focus(Widget) when given).
bool Key(int KeyCode, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
bool Key(QWidget* Widget, int KeyCode, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
// Types Text, one key per character, at the widget with the focus (after Focus(Widget)).
bool Type(const std::string& Text);
bool Type(QWidget* Widget, const std::string& Text);

// A click on a tab of a page control or tab control (its tab bar): by the index among
// the tabs shown, or by the tab's caption ("&" ignored). Hidden or disabled tabs refuse.
bool ClickTab(QWidget* Tabs, int Index);
bool ClickTab(QWidget* Tabs, const std::string& Caption);

// A click (or double click) on an item of a list, tree or grid view: by row and column
// of the view's top level, or by the first item whose text is Text (searched through the
// whole tree).
bool ClickItem(QWidget* View, int Row, int Column = 0, bool Double = false);
bool ClickItem(QWidget* View, const std::string& Text, bool Double = false);

// The same with controls.
inline bool Click(TControl* C, QPoint At = QPoint()) { return Click(W(C), At); }
inline bool DoubleClick(TControl* C, QPoint At = QPoint()) { return DoubleClick(W(C), At); }
inline bool Wheel(TControl* C, int Notches, QPoint At = QPoint()) { return Wheel(W(C), Notches, At); }
inline bool Focus(TControl* C) { return Focus(W(C)); }
inline bool Key(TControl* C, int KeyCode, Qt::KeyboardModifiers M = Qt::NoModifier) { return Key(W(C), KeyCode, M); }
inline bool Type(TControl* C, const std::string& Text) { return Type(W(C), Text); }
inline bool ClickTab(TControl* C, int Index) { return ClickTab(W(C), Index); }
inline bool ClickTab(TControl* C, const std::string& Caption) { return ClickTab(W(C), Caption); }
inline bool ClickItem(TControl* C, int Row, int Column = 0, bool Double = false) { return ClickItem(W(C), Row, Column, Double); }
inline bool ClickItem(TControl* C, const std::string& Text, bool Double = false) { return ClickItem(W(C), Text, Double); }

// Shows a form as a window and makes it the active one, as the user's first look at it.
void ShowAndActivate(TForm* Form);

// Lets modal forms (and, on request, the toolkit's own dialogs) run their own loop. Each
// modal form that starts takes the next queued action, which runs once its loop is
// running; while the form stays open afterwards, the next action runs in the same loop.
// A form still open when no action is left is closed and fails the test; so do actions
// left unused at the end.
class ModalActions {
public:
    ModalActions() = default;
    // Answers the recorder's modal-form requests (others as it answered them before).
    explicit ModalActions(DialogRecorder& Dialogs);
    ~ModalActions();
    ModalActions(const ModalActions&) = delete;
    ModalActions& operator=(const ModalActions&) = delete;

    ModalActions& Then(std::function<void(TForm*)> Action);
    // Queues an action for the next dialog of the toolkit's own (a file dialog): the
    // dialog runs for real and the action gets its window.
    ModalActions& ThenInDialog(std::function<void(QWidget*)> Action);
    // Runs the modal form or dialog of Request (for a dialog answerer).
    int Run(TDialogRequest& Request);
    // The number of modal forms started so far.
    int Started() const { return FStarted; }
    bool Pending() const { return !FActions.empty(); }

private:
    struct TAction {
        std::function<void(TForm*)> Form;
        std::function<void(QWidget*)> Dialog;
    };
    void Step(TForm* Form, std::shared_ptr<bool> Running);
    void StepInDialog(std::shared_ptr<bool> Running);
    std::deque<TAction> FActions;
    int FStarted = 0;
};

} // namespace user
