// The calls into the toolkit's printing library. They live in a module of their own
// (platform/printmodule) that is loaded at the first use of a printer, so that starting
// the program does not load and bind the library: only printing needs it.
#pragma once

class QPaintDevice;
class QPrinter;
class QString;
template <typename T>
class QList;
using QStringList = QList<QString>;

struct TPrintCalls {
    // A printer device of the given resolution (dots per inch), laid out inside the margins.
    QPrinter* (*Create)(int Resolution);
    void (*Destroy)(QPrinter* Printer);
    QPaintDevice* (*Device)(QPrinter* Printer);
    int (*Resolution)(QPrinter* Printer);
    // Names the job; its pages go to the PDF file FileName, or to the printer when empty.
    void (*SetJob)(QPrinter* Printer, const QString& DocName, const QString& FileName);
    void (*Abort)(QPrinter* Printer);
    void (*NewPage)(QPrinter* Printer);
    bool (*Landscape)(QPrinter* Printer);
    void (*SetLandscape)(QPrinter* Printer, bool Landscape);
    QStringList (*PrinterNames)();
    QString (*PrinterName)(QPrinter* Printer);
    void (*SetPrinterName)(QPrinter* Printer, const QString& Name);
    // The toolkit's print dialog on Printer; true on OK.
    bool (*Setup)(QPrinter* Printer);
    // The print dialog offering pages Min..Max, starting at From..To; true on OK, with the
    // chosen range in From..To (all pages when the user chose no range).
    bool (*PageRange)(QPrinter* Printer, int Min, int Max, int& From, int& To);
};

// The module's calls, loaded at the first call. Raises EPrinter saying why when the module
// cannot be loaded.
const TPrintCalls& PrintCalls();
