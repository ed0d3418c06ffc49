#include "Forms.h"

#include "Menus.h"
#include "QtBridge.h"
#include "QuitWhenShown.h"
#include "system/ScopeGuard.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QThreadPool>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <utility>
#include <cstdio>
#include <exception>
#include <thread>
#include <vector>

using namespace ctlqt;

TApplication* Application = nullptr;

namespace {

// The forms whose modal loop runs, innermost last, whoever owns them.
std::vector<TForm*>& RunningModalForms()
{
    static std::vector<TForm*> forms;
    return forms;
}

std::string CurrentExceptionMessage()
{
    std::exception_ptr p = std::current_exception();
    if (!p)
        return {};
    try {
        std::rethrow_exception(p);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

// Qt splits the fills of large areas over its shared thread pool, one thread per core.
// For the first paint of the main window, starting and waking those threads costs more
// processor time than the fills take: that paint gets one helper thread, and the pool its
// size back once the window has painted (or when the watch ends first).
class OneFillThreadUntilPainted {
public:
    explicit OneFillThreadUntilPainted(QWidget* Window)
        : FThreads(QThreadPool::globalInstance()->maxThreadCount()), FPainted(Window, [this] { Restore(); })
    {
        QThreadPool::globalInstance()->setMaxThreadCount(1);
    }
    ~OneFillThreadUntilPainted() { Restore(); }

private:
    void Restore()
    {
        if (!std::exchange(FRestored, true))
            QThreadPool::globalInstance()->setMaxThreadCount(FThreads);
    }

    int FThreads;
    bool FRestored = false;
    startupprobe::FirstPaintWatch FPainted;
};

} // namespace

void GuardedCall(const std::function<void()>& Handler)
{
    try {
        Handler();
    } catch (...) {
        try {
            if (Application != nullptr)
                Application->HandleException(nullptr);
            else
                MessageBoxRequest(CurrentExceptionMessage(), "Error", MB_OK | MB_ICONERROR);
        } catch (...) {
            // The default handler itself failed; nothing may leave towards the toolkit.
            std::fputs("error while reporting an exception\n", stderr);
        }
    }
}

// ---- TForm ----------------------------------------------------------------------

// Watches the form's window: the user's close request goes through Close, and sizes and
// positions the window manager gives are kept in the form's bounds.
class TForm::WindowFilter : public QObject {
public:
    explicit WindowFilter(TForm* AForm) : FForm(AForm) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        QWidget* win = FForm->Widget();
        if (Watched != win || win == nullptr)
            return false;
        switch (Event->type()) {
        case QEvent::Close:
            Event->ignore();
            GuardedCall([this] { FForm->Close(); });
            return true;
        case QEvent::Resize:
            if (win->isWindow())
                GuardedCall([&] { FForm->WindowResized(win->width(), win->height()); });
            break;
        case QEvent::Move:
            if (win->isWindow())
                FForm->WindowMoved(win->x(), win->y());
            break;
        case QEvent::Show:
            // Sent before the form paints, so a page reloaded here shows no old values.
            if (!win->isWindow() && !Event->spontaneous() && !FForm->FShowingItself && FForm->FVisible &&
                PassingPageShows() == 0 && FForm->OnShowAgain)
                GuardedCall([this] { FForm->OnShowAgain(FForm); });
            break;
        case QEvent::KeyPress:
            if (win->isWindow()) {
                auto* key = static_cast<QKeyEvent*>(Event);
                if (PressDialogButton(win, key))
                    return true;
                // A modal window without a cancel button (a page shown as a dialog) still
                // closes on Escape, as every dialog does: without a window manager's close
                // box it would have no way out.
                if (FForm->FModal && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                    key->accept();
                    GuardedCall([this] { FForm->Close(); });
                    return true;
                }
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // An Enter or Escape reaches the window only when no control on the way from the
    // focus took it (an in-place editor takes its own): it presses the visible, enabled
    // default or cancel button.
    static bool PressDialogButton(QWidget* Window, QKeyEvent* Key)
    {
        if (Key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return false;
        const char* mark = nullptr;
        if (Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter)
            mark = DefaultButtonProperty;
        else if (Key->key() == Qt::Key_Escape)
            mark = CancelButtonProperty;
        if (mark == nullptr)
            return false;
        for (QPushButton* button : Window->findChildren<QPushButton*>())
            if (button->property(mark).toBool() && button->isVisible() && button->isEnabled()) {
                Key->accept();
                button->click();
                return true;
            }
        return false;
    }

    TForm* FForm;
};

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    auto* win = new QMainWindow;
    FCentral = new QWidget(win);
    FCentral->setObjectName("client");
    win->setCentralWidget(FCentral);
    SetWidget(win);
    FFilter = std::make_unique<WindowFilter>(this);
    win->installEventFilter(FFilter.get());
    FVisible = false;
    SetBounds(0, 0, 320, 240);
}

TForm::~TForm()
{
    GuardedCall([this] {
        if (OnDestroy)
            OnDestroy(this);
    });
    if (FModalLoop != nullptr)
        FModalLoop->quit();
    // Owned controls and menus go first, while the window still exists. It is hidden
    // first: controls taken out of a shown window each repaint it and pass the focus on.
    if (QWidget* win = Widget())
        win->hide();
    Destroying();
    DestroyComponents();
    if (FMenu != nullptr)
        FMenu->AttachTo(nullptr);
    DetachChildren();
    if (QWidget* win = Widget()) {
        win->removeEventFilter(FFilter.get());
        delete win;
    }
}

void TForm::DoCreate()
{
    GuardedCall([this] {
        if (OnCreate)
            OnCreate(this);
    });
}

void TForm::TextChanged()
{
    if (QWidget* win = Widget())
        win->setWindowTitle(Q(FText));
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    QWidget* win = Widget();
    if (Parent() != nullptr || win == nullptr || !win->isWindow()) {
        TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    win->move(FLeft, FTop);
    win->resize(FWidth, FHeight);
    Realign();
}

void TForm::WindowResized(int AWidth, int AHeight)
{
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    Realign();
}

void TForm::WindowMoved(int ALeft, int ATop)
{
    FLeft = ALeft;
    FTop = ATop;
}

QWidget* TForm::ClientWidget() const
{
    return FCentral;
}

void TForm::GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const
{
    ALeft = 0;
    ATop = 0;
    AWidth = Width();
    int menuHeight = 0;
    if (auto* win = qobject_cast<QMainWindow*>(Widget()); win != nullptr && FMenu != nullptr)
        menuHeight = win->menuBar()->sizeHint().height();
    AHeight = std::max(Height() - menuHeight, 0);
}

void TForm::SetMenu(TMainMenu* Value)
{
    if (Value == FMenu)
        return;
    auto* win = qobject_cast<QMainWindow*>(Widget());
    if (FMenu != nullptr) {
        FMenu->AttachTo(nullptr);
        FMenu->RemoveFreeNotification(this);
    }
    FMenu = Value;
    if (FMenu != nullptr) {
        FMenu->FreeNotification(this);
        if (win != nullptr)
            FMenu->AttachTo(win->menuBar());
    }
    Realign();
}

void TForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMenu)
        FMenu = nullptr;
}

void TForm::PlaceOnShow()
{
    if (FPlaced)
        return;
    FPlaced = true;
    QRect area;
    // The form to centre on: the owner's form for poOwnerFormCenter, else the main form.
    TForm* centre = nullptr;
    if (FPosition == poOwnerFormCenter)
        for (TComponent* c = Owner(); c != nullptr && centre == nullptr; c = c->Owner())
            centre = dynamic_cast<TForm*>(c);
    if ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && centre == nullptr &&
        Application != nullptr)
        centre = Application->MainForm();
    if (centre == this)
        centre = nullptr;
    if (centre != nullptr) {
        area = QRect(centre->Left(), centre->Top(), centre->Width(), centre->Height());
    } else if (FPosition != poDesigned && FPosition != poDefault) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    }
    // Centred, but never with the title bar above or left of the area.
    if (area.isValid())
        SetBounds(std::max(area.left(), area.left() + (area.width() - FWidth) / 2),
                  std::max(area.top(), area.top() + (area.height() - FHeight) / 2), FWidth, FHeight);
}

void TForm::SetVisible(bool Value)
{
    QWidget* win = Widget();
    if (Parent() != nullptr || win == nullptr || !win->isWindow()) {
        // A form placed inside another control shows and hides as a child, with its events.
        const bool changed = Value != FVisible;
        if (Value && changed && OnShow)
            OnShow(this);
        const bool showingItself = std::exchange(FShowingItself, Value);
        TWinControl::SetVisible(Value);
        FShowingItself = showingItself;
        if (!Value && changed && OnHide)
            OnHide(this);
        return;
    }
    if (Value == FVisible && Value == win->isVisible())
        return;
    FVisible = Value;
    if (Value) {
        PlaceOnShow();
        if (OnShow)
            OnShow(this);
        win->show();
        GrowToLayout();
        win->raise();
    } else {
        win->hide();
        if (OnHide)
            OnHide(this);
    }
}

void TForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TForm::ShowWithoutActivating()
{
    QWidget* win = Widget();
    if (win == nullptr || !win->isWindow() || Parent() != nullptr) {
        Show();
        return;
    }
    const bool was = win->testAttribute(Qt::WA_ShowWithoutActivating);
    win->setAttribute(Qt::WA_ShowWithoutActivating, true);
    SetVisible(true);
    win->setAttribute(Qt::WA_ShowWithoutActivating, was);
    win->raise();
}

void TForm::BringToFront()
{
    QWidget* win = Widget();
    if (win == nullptr || !win->isWindow() || Parent() != nullptr || !win->isVisible())
        return;
    win->raise();
    win->activateWindow();
}

void TForm::GrowToLayout()
{
    QLayout* layout = FCentral != nullptr ? FCentral->layout() : nullptr;
    if (layout == nullptr)
        return;
    // Controls laid out by a layout (see FormBuilder.h) are never squeezed below what they
    // need: the window grows to it.
    FCentral->ensurePolished();
    layout->invalidate();
    const QSize need = layout->minimumSize();
    int l, t, w, h;
    GetClientArea(l, t, w, h);
    const int menu = FHeight - h;
    if (need.width() > FWidth || need.height() > h)
        SetBounds(FLeft, FTop, std::max(FWidth, need.width()), std::max(FHeight, need.height() + menu));
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close()
{
    // A modal form ends through its loop, which asks the close query.
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (Application != nullptr && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        if (QWidget* win = Widget())
            win->showMinimized();
        break;
    case caFree:
        Release();
        break;
    case caNone:
        break;
    }
}

void TForm::Release()
{
    QWidget* win = Widget();
    if (win == nullptr)
        return;
    // Deferred, so that the handler that asked returns first; the window as context
    // drops the call when the form is freed meanwhile.
    QTimer::singleShot(0, win, [this] { GuardedCall([this] { delete this; }); });
}

void TForm::SetModalResult(TModalResult Value)
{
    FModalResult = Value;
    if (Value != mrNone && FModalLoop != nullptr)
        FModalLoop->quit();
}

TModalResult TForm::ShowModal()
{
    if (FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    TDialogRequest request;
    request.Kind = TDialogKind::dkModalForm;
    request.Caption = Caption();
    request.Form = this;
    FModalResult = mrNone;
    const int result = ExecuteDialogRequest(request, [this](TDialogRequest&) { return RunModalLoop(); });
    FModalResult = result;
    return result;
}

int TForm::RunModalLoop()
{
    QWidget* win = Widget();
    if (win == nullptr)
        return mrCancel;
    FModal = true;
    win->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FModalLoop = &loop;
    RunningModalForms().push_back(this);
    {
        auto finish = TScopeGuard([&] {
            std::erase(RunningModalForms(), this);
            FModalLoop = nullptr;
            FModal = false;
            Hide();
            if (QWidget* w = Widget())
                w->setWindowModality(Qt::NonModal);
        });
        const auto terminated = [] { return Application != nullptr && Application->Terminated(); };
        Show();
        while (!terminated()) {
            while (FModalResult == mrNone && !terminated())
                loop.exec();
            if (FModalResult == mrNone || terminated() || CloseModal())
                break;
            FModalResult = mrNone;
        }
    }
    return FModalResult == mrNone ? mrCancel : FModalResult;
}

bool TForm::CloseModal()
{
    // However the modal result came (a button, Escape, the window's close box), the form
    // closes as any form does: the close query and OnClose may keep it open.
    bool close = false;
    GuardedCall([&] {
        if (!CloseQuery())
            return;
        TCloseAction action = caHide;
        if (OnClose)
            OnClose(this, action);
        close = action != caNone;
    });
    return close;
}

TForm* GetParentForm(TControl* Control)
{
    TControl* c = Control;
    while (c != nullptr && c->Parent() != nullptr)
        c = c->Parent();
    return dynamic_cast<TForm*>(c);
}

// ---- TApplication ---------------------------------------------------------------

void KeepToExistingSessionBus()
{
#ifdef Q_OS_LINUX
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo::exists(runtimeDir + "/bus"))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
#endif
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication()
{
    // The forms go before the toolkit they live in.
    Destroying();
    DestroyComponents();
    FMainForm = nullptr;
    FOwnApp.reset();
}

void TApplication::Initialize()
{
    if (QApplication::instance() == nullptr) {
        // The font configuration (several ms of reading its files) loads on a thread
        // while the toolkit connects to the display (joined as this block ends); the
        // first text measured needs it.
        std::jthread fontConfig([] { FcInit(); });
        KeepToExistingSessionBus();
        static int argc = 1;
        static char name[] = "hcapprox";
        static char* argv[] = {name, nullptr};
        FOwnApp = std::make_unique<QApplication>(argc, argv);
    }
    // The application ends when its main form closes, not with its last window.
    if (auto* app = qobject_cast<QApplication*>(QApplication::instance()))
        app->setQuitOnLastWindowClosed(false);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMainForm)
        FMainForm = nullptr;
}

void TApplication::Run()
{
    if (FTerminated || FMainForm == nullptr)
        return;
    const auto quitWhenShown = startupprobe::QuitWhenShownIfAsked([this] { Terminate(); });
    const OneFillThreadUntilPainted firstPaint(FMainForm->Widget());
    FMainForm->Show();
    if (FTerminated)
        return;
    QEventLoop loop;
    FLoop = &loop;
    loop.exec();
    FLoop = nullptr;
}

void TApplication::Terminate()
{
    FTerminated = true;
    // Modal forms stop waiting too, whoever owns them, so that the program does not hang
    // in a dialog.
    for (TForm* form : RunningModalForms())
        form->FModalLoop->quit();
    if (FLoop != nullptr)
        FLoop->quit();
}

void TApplication::HandleException(TObject* Sender)
{
    const std::string message = CurrentExceptionMessage();
    if (!std::current_exception())
        return;
    ShowException(message);
}

void TApplication::ShowException(const std::string& Message)
{
    std::string text = Message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, int Flags)
{
    return MessageBoxRequest(Text, Caption, Flags);
}

std::string TApplication::Title() const
{
    if (!FTitle.empty())
        return FTitle;
    if (QCoreApplication::instance() != nullptr)
        return S(QCoreApplication::applicationName());
    return "hcapprox";
}

// ---- work off the GUI thread ---------------------------------------------------------

namespace {

// Whether the focus is in a cell being edited in place (a grid's or list's editor).
bool EditingInPlace()
{
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* w = focus; w != nullptr; w = w->parentWidget())
        if (auto* view = qobject_cast<QAbstractItemView*>(w))
            return view->viewport()->isAncestorOf(focus);
    return false;
}

// Takes Escape from every window of the program while background work runs.
class EscapeFilter : public QObject {
public:
    explicit EscapeFilter(std::function<void()> OnEscape) : FOnEscape(std::move(OnEscape)) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        // An open menu or list, a message box or other modal window opened meanwhile, and a
        // cell being edited keep their Escape, which closes them or gives the edit up.
        if ((Event->type() == QEvent::KeyPress || Event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape &&
            QApplication::activePopupWidget() == nullptr && QApplication::activeModalWidget() == nullptr &&
            !EditingInPlace()) {
            if (Event->type() == QEvent::KeyPress && FOnEscape)
                GuardedCall(FOnEscape);
            Event->accept();
            return true;
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    std::function<void()> FOnEscape;
};

} // namespace

void RunInBackground(const TBackgroundWork& Task)
{
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::exception_ptr error;
    EscapeFilter filter(Task.OnEscape);
    QCoreApplication::instance()->installEventFilter(&filter);
    std::thread worker([&] {
        try {
            if (Task.Work)
                Task.Work();
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    QTimer timer;
    timer.setInterval(std::max(Task.ProgressInterval, 1));
    bool escaped = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (Task.Progress)
            GuardedCall(Task.Progress);
        // Quitting the program stops the work too.
        if (!escaped && Application != nullptr && Application->Terminated() && Task.OnEscape) {
            escaped = true;
            GuardedCall(Task.OnEscape);
        }
    });
    timer.start();
    while (!done)
        loop.exec();
    worker.join();
    timer.stop();
    QCoreApplication::instance()->removeEventFilter(&filter);
    if (Task.Progress)
        GuardedCall(Task.Progress);
    if (error)
        std::rethrow_exception(error);
}

// ---- unit start-up ----------------------------------------------------------------

void InitializeFormsUnit()
{
    if (Application == nullptr)
        Application = new TApplication(nullptr);
}

void FinalizeFormsUnit()
{
    delete Application;
    Application = nullptr;
}
