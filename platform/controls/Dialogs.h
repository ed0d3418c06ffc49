// Dialogs unit of the platform layer: message boxes, the open dialog, and the single entry
// point through which every message box and modal dialog runs, which a test can answer.
#pragma once

#include "classes/Classes.h"

#include <functional>
#include <initializer_list>
#include <string>

class TForm;

// Results of modal dialogs and message boxes (the platform's mr values, equal to the
// message-box IDs: IDOK 1, IDCANCEL 2, IDABORT 3, IDRETRY 4, IDIGNORE 5, IDYES 6, IDNO 7).
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

// A set of message-box buttons: MessageDlg(..., {mbYes, mbNo}, 0).
class TMsgDlgButtons {
public:
    TMsgDlgButtons() = default;
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> Buttons)
    {
        for (TMsgDlgBtn b : Buttons)
            FBits |= 1u << b;
    }
    bool Contains(TMsgDlgBtn b) const { return (FBits & (1u << b)) != 0; }
    bool Empty() const { return FBits == 0; }
    bool operator==(const TMsgDlgButtons& o) const { return FBits == o.FBits; }

private:
    unsigned FBits = 0;
};

// What a dialog is about to ask. The entry point hands it to the installed answerer, or
// shows the real dialog.
enum class TDialogKind { dkMessage, dkModalForm, dkOpenFile, dkColor, dkFont, dkPrint, dkSaveFile };

struct TDialogRequest {
    TDialogKind Kind = TDialogKind::dkMessage;
    std::string Caption;
    std::string Text;                  // the message of a message box
    TMsgDlgType Type = mtCustom;       // the icon of a message box
    TMsgDlgButtons Buttons;            // the buttons of a message box
    int HelpCtx = 0;
    TForm* Form = nullptr;             // the form of a modal form
    // Open dialog: the answerer may set FileName (a full path) and answer mrOk.
    std::string FileName;
    std::string InitialDir;
    std::string Filter;                // "Data (*.dat)|*.dat|All (*.*)|*.*"
    std::string DefaultExt;
    // Save dialog: the 1-based filter entry shown, and the one chosen (the answerer may
    // set it with FileName).
    int FilterIndex = 1;
    // The real dialog (set by the entry point): an answerer may run it instead of
    // answering, for instance to let a modal form's own loop run.
    std::function<int(TDialogRequest&)> ShowReal;
};

// Answers a request instead of showing it; returns the modal result of the pressed button.
using TDialogAnswerer = std::function<int(TDialogRequest& Request)>;

// Installs an answerer (an empty one restores the real dialogs); returns the previous one.
TDialogAnswerer SetDialogAnswerer(TDialogAnswerer Answerer);

// The entry point: the answerer's answer when one is installed, else ShowReal's.
int ExecuteDialogRequest(TDialogRequest& Request, const std::function<int(TDialogRequest&)>& ShowReal);

// A message box with the type's caption ("Warning", "Error", "Information", "Confirm",
// or the application title for mtCustom) and icon; returns the pressed button's result.
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// A plain message box with an OK button, captioned with the application title.
void ShowMessage(const std::string& Msg);

// Message-box flags of Application->MessageBox.
inline constexpr int MB_OK = 0x0;
inline constexpr int MB_OKCANCEL = 0x1;
inline constexpr int MB_ABORTRETRYIGNORE = 0x2;
inline constexpr int MB_YESNOCANCEL = 0x3;
inline constexpr int MB_YESNO = 0x4;
inline constexpr int MB_RETRYCANCEL = 0x5;
inline constexpr int MB_ICONERROR = 0x10;
inline constexpr int MB_ICONSTOP = MB_ICONERROR;
inline constexpr int MB_ICONQUESTION = 0x20;
inline constexpr int MB_ICONWARNING = 0x30;
inline constexpr int MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = mrOk;
inline constexpr int IDCANCEL = mrCancel;
inline constexpr int IDABORT = mrAbort;
inline constexpr int IDRETRY = mrRetry;
inline constexpr int IDIGNORE = mrIgnore;
inline constexpr int IDYES = mrYes;
inline constexpr int IDNO = mrNo;

// A message box from MB_ flags (buttons and icon); returns the ID of the pressed button.
int MessageBoxRequest(const std::string& Text, const std::string& Caption, int Flags);

// The common open dialog: one existing file, starting in InitialDir, filtered by Filter.
class TOpenDialog : public TComponent {
public:
    DECLARE_CLASS_NAME(TOpenDialog)
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    // Asks for a file; true with FileName set to the chosen file's full path, false when
    // the user cancels (FileName unchanged).
    bool Execute();

private:
    std::string FDefaultExt, FFilter, FInitialDir, FFileName, FTitle;
};

// The common save dialog: a file name to write, proposed with DefaultExt and the filter
// entry FilterIndex (1-based); a chosen file that exists is confirmed first (the
// toolkit's overwrite question).
class TSaveDialog : public TOpenDialog {
public:
    DECLARE_CLASS_NAME(TSaveDialog)
    using TOpenDialog::TOpenDialog;
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // True with FileName and FilterIndex set to the choice.
    bool Execute();

private:
    int FFilterIndex = 1;
};

// Turns a platform filter ("Data (*.dat)|*.dat") into the toolkit's name filters, one per
// pair: "Data (*.dat)". Exposed for tests.
std::string FilterToNameFilters(const std::string& Filter);
