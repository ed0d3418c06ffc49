// The printing module: the only code that calls the toolkit's printing library (see
// controls/PrintModule.h).
#include "controls/PrintModule.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QPrinter* Create(int Resolution)
{
    auto* printer = new QPrinter(QPrinter::ScreenResolution);
    printer->setResolution(Resolution);
    printer->setFullPage(false);
    return printer;
}

void Destroy(QPrinter* Printer)
{
    delete Printer;
}

QPaintDevice* Device(QPrinter* Printer)
{
    return Printer;
}

int Resolution(QPrinter* Printer)
{
    return Printer->resolution();
}

void SetJob(QPrinter* Printer, const QString& DocName, const QString& FileName)
{
    Printer->setDocName(DocName);
    if (!FileName.isEmpty())
        Printer->setOutputFormat(QPrinter::PdfFormat);
    Printer->setOutputFileName(FileName);
}

void Abort(QPrinter* Printer)
{
    Printer->abort();
}

void NewPage(QPrinter* Printer)
{
    Printer->newPage();
}

bool Landscape(QPrinter* Printer)
{
    return Printer->pageLayout().orientation() == QPageLayout::Landscape;
}

void SetLandscape(QPrinter* Printer, bool Value)
{
    Printer->setPageOrientation(Value ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QStringList PrinterNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString PrinterName(QPrinter* Printer)
{
    return Printer->printerName();
}

void SetPrinterName(QPrinter* Printer, const QString& Name)
{
    Printer->setPrinterName(Name);
}

bool Setup(QPrinter* Printer)
{
    QPrintDialog dialog(Printer);
    return dialog.exec() == QDialog::Accepted;
}

bool PageRange(QPrinter* Printer, int Min, int Max, int& From, int& To)
{
    QPrintDialog dialog(Printer);
    dialog.setMinMax(Min, Max);
    dialog.setFromTo(From, To);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        From = dialog.fromPage();
        To = dialog.toPage();
    } else {
        From = Min;
        To = Max;
    }
    return true;
}

const TPrintCalls Calls{Create,       Destroy,      Device,      Resolution,  SetJob,         Abort, NewPage,
                        Landscape,    SetLandscape, PrinterNames, PrinterName, SetPrinterName, Setup, PageRange};

} // namespace

extern "C" __attribute__((visibility("default"))) const void* PlatformPrintCalls()
{
    return &Calls;
}
