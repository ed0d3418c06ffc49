#include "UserInput.h"

#include "DialogRecorder.h"

#include "system/ScopeGuard.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <sstream>

namespace user {

namespace {

std::string Describe(const QWidget* W)
{
    if (W == nullptr)
        return "(none)";
    std::ostringstream s;
    s << (W->objectName().isEmpty() ? W->metaObject()->className() : W->objectName().toStdString());
    if (const QWidget* win = W->window(); win != nullptr && win != W)
        s << " in " << (win->objectName().isEmpty() ? win->metaObject()->className() : win->objectName().toStdString());
    return s.str();
}

bool Refuse(const QWidget* W, const std::string& Why)
{
    ADD_FAILURE() << "the user cannot reach " << Describe(W) << ": " << Why;
    return false;
}

// The window that blocks input to Window, or null.
QWidget* BlockingModal(QWidget* Window)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == Window || modal->isAncestorOf(Window))
        return nullptr;
    return modal;
}

void Activate(QWidget* Window)
{
    if (QApplication::activeWindow() != Window) {
        Window->activateWindow();
        QApplication::setActiveWindow(Window);
    }
}

// Checks that the user can reach W at all: shown, enabled, with a size, in a window that
// is shown and not blocked by a modal one.
bool Reachable(QWidget* W)
{
    if (W == nullptr)
        return Refuse(W, "no such control");
    if (!W->isVisible())
        return Refuse(W, "it is hidden");
    if (!W->isEnabled())
        return Refuse(W, "it is disabled");
    if (W->width() <= 0 || W->height() <= 0)
        return Refuse(W, "it has no size");
    QWidget* win = W->window();
    if (win->windowHandle() == nullptr)
        return Refuse(W, "its window is not shown");
    if (QWidget* modal = BlockingModal(win))
        return Refuse(W, "the modal window " + Describe(modal) + " blocks it");
    return true;
}

// Checks that the point At of W (its centre when null) shows W, and gives it in the
// window's pixels.
bool PointOf(QWidget* W, QPoint& At, QPoint& InWindow)
{
    if (!Reachable(W))
        return false;
    if (At.isNull())
        At = W->rect().center();
    if (!W->rect().contains(At))
        return Refuse(W, "the point lies outside it");
    QWidget* win = W->window();
    InWindow = W->mapTo(win, At);
    QWidget* hit = win->childAt(InWindow);
    if (hit == nullptr)
        hit = win;
    if (hit != W && !W->isAncestorOf(hit))
        return Refuse(W, "it is covered there by " + Describe(hit));
    Activate(win);
    return true;
}

QWindow* HandleOf(QWidget* W)
{
    return W->window()->windowHandle();
}

QWidget* FirstVisibleNamed(QWidget* Root, const QString& Name)
{
    if (Root->objectName() == Name && Root->isVisible())
        return Root;
    for (QWidget* w : Root->findChildren<QWidget*>(Name))
        if (w->isVisible())
            return w;
    return nullptr;
}

QTabBar* BarOf(QWidget* Tabs)
{
    if (auto* bar = qobject_cast<QTabBar*>(Tabs))
        return bar;
    return Tabs != nullptr ? Tabs->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool ClickIndex(QAbstractItemView* View, const QModelIndex& Index, bool Double)
{
    if (!Index.isValid())
        return Refuse(View, "it has no such item");
    View->scrollTo(Index);
    const QRect r = View->visualRect(Index);
    if (r.isEmpty())
        return Refuse(View, "the item is not shown");
    return Double ? DoubleClick(View->viewport(), r.center()) : Click(View->viewport(), r.center());
}

QModelIndex FindText(const QAbstractItemModel* Model, const QModelIndex& Parent, const QString& Text)
{
    for (int row = 0; row < Model->rowCount(Parent); ++row)
        for (int col = 0; col < Model->columnCount(Parent); ++col) {
            const QModelIndex i = Model->index(row, col, Parent);
            if (Model->data(i).toString() == Text)
                return i;
            if (col == 0 && Model->hasChildren(i))
                if (QModelIndex found = FindText(Model, i, Text); found.isValid())
                    return found;
        }
    return {};
}

} // namespace

QWidget* W(TControl* Control)
{
    return Control != nullptr ? Control->Widget() : nullptr;
}

QWidget* Find(const std::string& Name, QWidget* Within)
{
    const QString name = QString::fromStdString(Name);
    if (Within != nullptr)
        return FirstVisibleNamed(Within, name);
    if (QWidget* modal = QApplication::activeModalWidget())
        if (QWidget* w = FirstVisibleNamed(modal, name))
            return w;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            if (QWidget* w = FirstVisibleNamed(top, name))
                return w;
    return nullptr;
}

QWidget* Find(const std::string& Name, TControl* Within)
{
    return Find(Name, W(Within));
}

bool Click(QWidget* Widget, QPoint At, Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers)
{
    QPoint p;
    if (!PointOf(Widget, At, p))
        return false;
    QTest::mouseClick(HandleOf(Widget), Button, Modifiers, p);
    return true;
}

bool DoubleClick(QWidget* Widget, QPoint At)
{
    QPoint p;
    if (!PointOf(Widget, At, p))
        return false;
    QTest::mouseDClick(HandleOf(Widget), Qt::LeftButton, Qt::NoModifier, p);
    return true;
}

bool Wheel(QWidget* Widget, int Notches, QPoint At)
{
    QPoint p;
    if (!PointOf(Widget, At, p))
        return false;
    // The wheel goes to the widget under the pointer and up its parents until one takes it.
    QWidget* win = Widget->window();
    QWidget* hit = win->childAt(p);
    if (hit == nullptr)
        hit = win;
    const QPointF local = hit->mapFrom(win, QPointF(p));
    QWheelEvent e(local, hit->mapToGlobal(local), QPoint(), QPoint(0, 120 * Notches), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::sendEvent(hit, &e);
    return true;
}

bool Drag(QWidget* Widget, QPoint From, QPoint To, Qt::MouseButton Button)
{
    QPoint from, to;
    if (!PointOf(Widget, From, from))
        return false;
    if (!Widget->rect().contains(To))
        return Refuse(Widget, "the drag ends outside it");
    to = Widget->mapTo(Widget->window(), To);
    QPointer<QWindow> window = HandleOf(Widget);
    QTest::mousePress(window, Button, Qt::NoModifier, from);
    for (int step = 1; step <= 4 && window; ++step)
        QTest::mouseMove(window, from + (to - from) * step / 4);
    if (window)
        QTest::mouseRelease(window, Button, Qt::NoModifier, to);
    return true;
}

bool Focus(QWidget* Widget)
{
    if (!Reachable(Widget))
        return false;
    if (Widget->focusPolicy() == Qt::NoFocus && Widget->focusProxy() == nullptr)
        return Refuse(Widget, "it takes no focus");
    Activate(Widget->window());
    Widget->setFocus(Qt::TabFocusReason);
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || (focus != Widget && !Widget->isAncestorOf(focus) && Widget->focusProxy() != focus))
        return Refuse(Widget, "it did not take the focus");
    return true;
}

bool Key(int KeyCode, Qt::KeyboardModifiers Modifiers)
{
    QPointer<QWidget> focus = QApplication::focusWidget();
    if (focus == nullptr)
        return Refuse(nullptr, "no control has the focus");
    if (!Reachable(focus))
        return false;
    QTest::keyPress(focus, Qt::Key(KeyCode), Modifiers);
    // The release goes where the focus is now (the press may have moved or closed it).
    if (QWidget* now = QApplication::focusWidget())
        QTest::keyRelease(now, Qt::Key(KeyCode), Modifiers);
    // What the toolkit queued in answer (an item editor commits so) runs before the next
    // input, as between a user's keys.
    QApplication::processEvents();
    return true;
}

bool Key(QWidget* Widget, int KeyCode, Qt::KeyboardModifiers Modifiers)
{
    return Focus(Widget) && Key(KeyCode, Modifiers);
}

bool Type(const std::string& Text)
{
    // Each key goes where the focus is when it is pressed: the first key of a grid cell
    // opens its editor, which takes the rest.
    for (const QChar c : QString::fromStdString(Text)) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr)
            return Refuse(nullptr, "no control has the focus");
        if (!Reachable(focus))
            return false;
        QTest::keyClicks(focus, QString(c));
        QApplication::processEvents();
    }
    return true;
}

bool Type(QWidget* Widget, const std::string& Text)
{
    return Focus(Widget) && Type(Text);
}

bool ClickTab(QWidget* Tabs, int Index)
{
    QTabBar* bar = BarOf(Tabs);
    if (bar == nullptr)
        return Refuse(Tabs, "it has no tabs");
    if (Index < 0 || Index >= bar->count())
        return Refuse(bar, "it has no tab " + std::to_string(Index));
    if (!bar->isTabVisible(Index))
        return Refuse(bar, "tab " + std::to_string(Index) + " is hidden");
    if (!bar->isTabEnabled(Index))
        return Refuse(bar, "tab " + std::to_string(Index) + " is disabled");
    const QRect r = bar->tabRect(Index);
    if (r.isEmpty())
        return Refuse(bar, "tab " + std::to_string(Index) + " is not shown");
    return Click(bar, r.center());
}

bool ClickTab(QWidget* Tabs, const std::string& Caption)
{
    QTabBar* bar = BarOf(Tabs);
    if (bar == nullptr)
        return Refuse(Tabs, "it has no tabs");
    const QString wanted = QString::fromStdString(Caption).remove('&');
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i).remove('&') == wanted)
            return ClickTab(bar, i);
    return Refuse(bar, "it shows no tab \"" + Caption + "\"");
}

bool ClickItem(QWidget* View, int Row, int Column, bool Double)
{
    auto* view = qobject_cast<QAbstractItemView*>(View);
    if (view == nullptr || view->model() == nullptr)
        return Refuse(View, "it is no list");
    return ClickIndex(view, view->model()->index(Row, Column, view->rootIndex()), Double);
}

bool ClickItem(QWidget* View, const std::string& Text, bool Double)
{
    auto* view = qobject_cast<QAbstractItemView*>(View);
    if (view == nullptr || view->model() == nullptr)
        return Refuse(View, "it is no list");
    const QModelIndex index = FindText(view->model(), view->rootIndex(), QString::fromStdString(Text));
    if (!index.isValid())
        return Refuse(View, "it shows no item \"" + Text + "\"");
    return ClickIndex(view, index, Double);
}

void ShowAndActivate(TForm* Form)
{
    Form->Show();
    if (QWidget* win = Form->Widget()) {
        Activate(win);
        QApplication::processEvents();
    }
}

// ---- ModalActions -------------------------------------------------------------------

ModalActions::ModalActions(DialogRecorder& Dialogs)
{
    auto previous = Dialogs.Answer;
    Dialogs.Answer = [this, previous](TDialogRequest& r) {
        if (r.Kind == TDialogKind::dkModalForm && r.Form != nullptr)
            return Run(r);
        if (!FActions.empty() && FActions.front().Dialog && r.ShowReal)
            return Run(r);
        return previous ? previous(r) : (r.Kind == TDialogKind::dkMessage ? int(mrOk) : int(mrCancel));
    };
}

ModalActions::~ModalActions()
{
    EXPECT_TRUE(FActions.empty()) << FActions.size() << " action(s) for modal windows were never run";
}

ModalActions& ModalActions::Then(std::function<void(TForm*)> Action)
{
    FActions.push_back({std::move(Action), nullptr});
    return *this;
}

ModalActions& ModalActions::ThenInDialog(std::function<void(QWidget*)> Action)
{
    FActions.push_back({nullptr, std::move(Action)});
    return *this;
}

int ModalActions::Run(TDialogRequest& Request)
{
    if (!Request.ShowReal) {
        ADD_FAILURE() << "no real dialog to run: " << Request.Caption;
        return mrCancel;
    }
    ++FStarted;
    // Steps belong to this run of the loop; one that fires later finds it over.
    auto running = std::make_shared<bool>(true);
    TScopeGuard over([&] { *running = false; });
    TForm* form = Request.Kind == TDialogKind::dkModalForm ? Request.Form : nullptr;
    QObject* context = form != nullptr ? static_cast<QObject*>(form->Widget()) : QCoreApplication::instance();
    QTimer::singleShot(0, context, [this, form, running] { Step(form, running); });
    return Request.ShowReal(Request);
}

void ModalActions::Step(TForm* Form, std::shared_ptr<bool> Running)
{
    if (!*Running)
        return;
    if (Form == nullptr) {
        StepInDialog(Running);
        return;
    }
    if (!Form->Modal() || Form->ModalResult() != mrNone)
        return;
    QPointer<QWidget> win = Form->Widget();
    if (FActions.empty() || !FActions.front().Form) {
        ADD_FAILURE() << "the modal form " << Form->Name() << " (\"" << Form->Caption()
                      << "\") stays open and no action is left for it";
        Form->OnCloseQuery = nullptr;
        Form->SetModalResult(mrCancel);
        return;
    }
    auto action = std::move(FActions.front().Form);
    FActions.pop_front();
    Activate(win);
    action(Form);
    // Still open (or about to ask its close query): the next action runs in this loop.
    if (win)
        QTimer::singleShot(0, win.data(), [this, Form, Running] { Step(Form, Running); });
}

void ModalActions::StepInDialog(std::shared_ptr<bool> Running)
{
    QPointer<QWidget> dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
        // Not shown yet: look again once it is.
        QTimer::singleShot(10, QCoreApplication::instance(), [this, Running] { Step(nullptr, Running); });
        return;
    }
    auto action = std::move(FActions.front().Dialog);
    FActions.pop_front();
    Activate(dialog);
    action(dialog);
    QApplication::processEvents();
    if (dialog && dialog->isVisible() && *Running) {
        ADD_FAILURE() << "the dialog \"" << dialog->windowTitle().toStdString() << "\" stays open after its action";
        dialog->close();
    }
}

} // namespace user
