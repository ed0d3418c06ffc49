// Forms unit of the platform layer: the application object with its message loop and
// default exception handler, and forms (top-level windows).
#pragma once

#include "Controls.h"
#include "Dialogs.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;
class QApplication;
class QEventLoop;
class TMainMenu;

enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A top-level window. Controls whose Parent is the form sit in its client area, below the
// main menu. The window carries the form's Name as its objectName. A descendant builds
// its controls in its constructor and ends it with DoCreate, which fires OnCreate.
class TForm : public TWinControl {
public:
    DECLARE_CLASS_NAME(TForm)
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    // Shows the form and brings it to the front as the active window, also when it was
    // shown already but lay behind another one.
    void Show();
    // Shows the window above the others without taking the keyboard from the window the
    // user works in.
    void ShowWithoutActivating();
    void BringToFront();

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);

    // Close as the platform does it: a modal form ends with mrCancel; any other asks
    // OnCloseQuery, which may keep it open, then OnClose chooses the action (caHide by
    // default); closing the main form ends the program. A modal form, however its modal
    // result came, asks OnCloseQuery and OnClose (caNone keeps it open) before it ends.
    void Close();
    // Asks OnCloseQuery whether the form may close (true without a handler).
    bool CloseQuery();
    // Shows the form modally through the dialog entry point; returns its ModalResult.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    bool Modal() const { return FModal; }
    // Frees the form once the current event has been handled.
    void Release();

    QWidget* ClientWidget() const override;
    void GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    // A form placed inside another control (a page on a tab) fires this, not OnShow, when
    // it shows again because a control around it shows (its tab is chosen again): a page
    // that shows what other pages may change meanwhile reloads its controls here.
    TNotifyEvent OnShowAgain;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;

protected:
    // Fires OnCreate under the guard; a descendant's constructor calls it last.
    void DoCreate();
    void TextChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    class WindowFilter;
    friend class WindowFilter;
    friend class TApplication;
    void PlaceOnShow();
    void GrowToLayout();
    int RunModalLoop();
    bool CloseModal();
    void WindowResized(int AWidth, int AHeight);
    void WindowMoved(int ALeft, int ATop);

    TPosition FPosition = poDesigned;
    TMainMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FPlaced = false;
    // Set while SetVisible shows the form itself, which fires OnShow instead.
    bool FShowingItself = false;
    QEventLoop* FModalLoop = nullptr;
    QWidget* FCentral = nullptr;
    std::unique_ptr<WindowFilter> FFilter;
};

// The form that holds Control, or null.
TForm* GetParentForm(TControl* Control);

// The application: owns the forms, runs the message loop until the main form closes,
// and shows the message of every exception that no handler caught.
class TApplication : public TComponent {
public:
    DECLARE_CLASS_NAME(TApplication)
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Readies the toolkit: uses the running QApplication when there is one, else creates it.
    void Initialize();

    // Creates a form owned by the application and stores it in Reference; the first form
    // created becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        T* form = new T(this);
        Reference = form;
        if (FMainForm == nullptr)
            FMainForm = form;
    }
    TForm* MainForm() const { return FMainForm; }

    // Shows the main form and handles events until Terminate (closing the main form).
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // The default handler: shows the message of the exception being handled (call it
    // inside a catch block) in an error box, and lets the program go on.
    void HandleException(TObject* Sender);
    // The error box of the default handler; a period is added to a message that does not
    // end in one, as the platform does.
    void ShowException(const std::string& Message);

    // A message box from MB_ flags; returns the ID of the pressed button.
    int MessageBox(const std::string& Text, const std::string& Caption, int Flags);

    // The title used in message-box captions (the program's name unless set).
    std::string Title() const;
    void SetTitle(const std::string& Value) { FTitle = Value; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<QApplication> FOwnApp;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    QEventLoop* FLoop = nullptr;
    std::string FTitle;
};

// Long work that must not freeze the windows: Work runs on a thread of its own while the
// calling (GUI) thread keeps handling events, so that the windows repaint and take input.
// Progress runs on the calling thread every ProgressInterval milliseconds and once when the
// work has ended. Escape pressed in any window of the program, or the program being asked
// to end, calls OnEscape (which should make Work return soon); the key goes no further.
// Returns when Work has returned; an exception of Work is raised here.
struct TBackgroundWork {
    std::function<void()> Work;
    std::function<void()> Progress;
    std::function<void()> OnEscape;
    int ProgressInterval = 100;
};
void RunInBackground(const TBackgroundWork& Task);

// Before the toolkit starts (Initialize calls it): when no session bus can be found (no
// address in the environment, no socket at the runtime directory's usual place), the bus
// library is given an address of no transport ("disabled:") instead of starting a bus
// daemon of its own, which no assistive tool could reach and which would outlive the program.
void KeepToExistingSessionBus();

// The application object of the process; created by InitializeFormsUnit.
extern TApplication* Application;

// Start-up and finalisation of this unit: creates the application object (once), and
// frees it with every form it owns.
void InitializeFormsUnit();
void FinalizeFormsUnit();
