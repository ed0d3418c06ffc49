// The main window: the problem details (number of terms, grid of unknowns, chart axes,
// error type, options), the report view, the menu, and the run.
#pragma once

#include "controls/Buttons.h"
#include "controls/Dialogs.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "controls/Grids.h"
#include "controls/Menus.h"
#include "controls/StdCtrls.h"

#include <functional>
#include <string>

struct TWorkProgress;

class TfmMain : public TForm {
public:
    DECLARE_CLASS_NAME(TfmMain)
    explicit TfmMain(TComponent* AOwner);

    // Problem details.
    TGroupBox* GroupBox3;
    TPanel* Panel3;
    TLabel* Label1;
    TEdit* edN;
    TCheckBox* chbPrev;
    TLabel* Label2;
    TComboBox* cbX;
    TLabel* Label6;
    TComboBox* cbY;
    TLabel* Label5;
    TComboBox* cbErrortype;
    TCheckBox* cbSave;
    TSpeedButton* sbrun;
    TSpeedButton* SpeedButton1;
    TBitBtn* BitBtn2;
    // Long work: the Stop button (Escape does the same) and how far the work is.
    TSpeedButton* sbStop;
    TLabel* lbProgress;
    TCheckBox* chbTest;
    TLabel* Label3;
    TComboBox* cbNorm;
    TLabel* Label4;
    TComboBox* cbRoutine;
    TStringGrid* sgIniGuess;
    TPanel* infopanel;
    TMemo* Memo2;
    // The report view.
    TGroupBox* GroupBox2;
    TMemo* Memo1;
    // Menu and dialog.
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* Open1;
    TMenuItem* Save1;
    TMenuItem* N1;
    TMenuItem* Exit1;
    TMenuItem* Data1;
    TMenuItem* About1;
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;

    void FormCreate(TObject* Sender);
    // Lays out the grid for the number of terms in edN: rows "X1".."Xn", n = 2N <= 20.
    void edNChange(TObject* Sender);
    void Open1Click(TObject* Sender);
    void Data1Click(TObject* Sender);
    void About1Click(TObject* Sender);
    void Exit1Click(TObject* Sender);
    // File > Save: writes the data window's text to the open data file, or with no file
    // open to a file the user names, which then is the open data file.
    void Save1Click(TObject* Sender);
    // Closing asks first about changes to the data text not yet saved.
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    // The run: loads the data, fits, reports (Unit2/Run.cpp).
    void sbrunClick(TObject* Sender);
    // The confidence band on the chart (Unit2/Run.cpp).
    void SpeedButton1Click(TObject* Sender);
    // Asks the running fit or band to stop.
    void sbStopClick(TObject* Sender);

private:
    // Runs Work off the GUI thread while the windows stay live: RUN, Conf. intl., Open,
    // the data window's run and the chart's EDIT are disabled, Stop and Escape set
    // Progress.Stop, and lbProgress shows Status() until the work ends.
    void RunLongWork(const std::function<void()>& Work, TWorkProgress& Progress,
                     const std::function<std::string()>& Status);
    TWorkProgress* FWork = nullptr;
    // Writes the data text to the open data file (or one the save dialog names); false
    // when the user cancels or it cannot (said in a message).
    bool SaveDataText();
    // Before the data text is dropped (closing, opening another file): asks whether to
    // save its changes; false when the user cancels or the save fails.
    bool AskToSaveData();
};

extern TfmMain* fmMain;
