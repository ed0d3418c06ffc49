// The printer of the platform: a print job whose pages are drawn on a canvas. Output
// goes to the system's printer, or to a PDF file when a file name is set (as tests do).
#pragma once

#include "Dialogs.h"
#include "classes/Classes.h"

#include <memory>
#include <string>
#include <vector>

class TCanvas;

enum TPrinterOrientation { poPortrait, poLandscape };

class EPrinter : public Exception { using Exception::Exception; };

class TPrinter : public TObject {
public:
    DECLARE_CLASS_NAME(TPrinter)
    TPrinter();
    ~TPrinter() override;

    // Starts a job on its first page; raises EPrinter "Printing in progress" during a job
    // and "Printer selected is not valid" when the device cannot start.
    void BeginDoc();
    // Ends the job and delivers it.
    void EndDoc();
    // Ends the job without delivering what was drawn.
    void Abort();
    // Starts the next page; raises EPrinter "Printer is not currently printing" outside a job.
    void NewPage();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }

    // The page's canvas: device pixels, valid between BeginDoc and EndDoc.
    TCanvas* Canvas() const { return FCanvas.get(); }

    // Size of the printable page in device pixels.
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;

    TPrinterOrientation Orientation() const;
    // Cannot change during a job (EPrinter).
    void SetOrientation(TPrinterOrientation Value);

    // The job's name.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    // A PDF file that receives the job instead of a printer; empty for the printer.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value);

    // The names of the system's printers (empty when none is installed), and the index
    // of the current one among them (-1 for the default device or a file).
    std::vector<std::string> Printers() const;
    int PrinterIndex() const;
    // Makes that printer current (ERangeError outside the list).
    void SetPrinterIndex(int Value);
    // The printer set-up dialog on this printer, through the dialog entry point (a
    // modal-form request captioned "Print Setup" without a form); True on OK.
    bool ExecuteSetup();
    // The print dialog on this printer offering the pages MinPage..MaxPage, through the
    // dialog entry point (a TPrintDialogRequest). True on OK, with the chosen range in
    // FromPage..ToPage (kept within MinPage..MaxPage).
    bool ExecutePrintRange(int MinPage, int MaxPage, int& FromPage, int& ToPage);

    struct Impl;

private:
    void CheckNotPrinting() const;
    std::unique_ptr<Impl> d;
    std::unique_ptr<TCanvas> FCanvas;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
    std::string FTitle;
    std::string FFileName;
};

// The print dialog's request (kind dkPrint, captioned "Print"): the answerer may change
// FromPage and ToPage and answers mrOk; any other answer cancels.
struct TPrintDialogRequest : TDialogRequest {
    int MinPage = 1;
    int MaxPage = 1;
    int FromPage = 1;
    int ToPage = 1;
};
TPrintDialogRequest* AsPrintDialogRequest(TDialogRequest& Request);

// The process-wide printer object, created on first use.
TPrinter* Printer();

