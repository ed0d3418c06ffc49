#include "Printers.h"

#include "Dialogs.h"
#include "QtBridge.h"

#include "graphics/Canvas.h"
#include "graphics/QtBridge.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <set>

namespace {

// Pages are laid out at this resolution: fine enough for print, small enough for memory.
constexpr int PrinterResolution = 300;

std::set<TPrinter::Impl*>& LivePrinters()
{
    static std::set<TPrinter::Impl*> live;
    return live;
}

void ReleasePrintDevices();

} // namespace

struct TPrinter::Impl {
    std::unique_ptr<QPrinter> Device;

    Impl() { LivePrinters().insert(this); }
    ~Impl() { LivePrinters().erase(this); }

    QPrinter& Printer()
    {
        if (!Device) {
            // The print device belongs to the toolkit's session: it goes when the
            // application object does, not at the end of the process.
            static const bool registered = [] {
                qAddPostRoutine(ReleasePrintDevices);
                return true;
            }();
            (void)registered;
            Device = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
            Device->setResolution(PrinterResolution);
            Device->setFullPage(false);
        }
        return *Device;
    }
};

namespace {

void ReleasePrintDevices()
{
    for (TPrinter::Impl* p : LivePrinters())
        p->Device.reset();
}

} // namespace

TPrinter::TPrinter() : d(std::make_unique<Impl>()), FCanvas(std::make_unique<TCanvas>()) {}

TPrinter::~TPrinter()
{
    if (FPrinting)
        qtbridge::Detach(*FCanvas);
}

void TPrinter::CheckNotPrinting() const
{
    if (FPrinting)
        throw EPrinter("Printing in progress");
}

void TPrinter::SetFileName(const std::string& Value)
{
    CheckNotPrinting();
    FFileName = Value;
}

void TPrinter::BeginDoc()
{
    CheckNotPrinting();
    QPrinter& p = d->Printer();
    p.setDocName(ctlqt::Q(FTitle));
    if (!FFileName.empty()) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(ctlqt::Q(FFileName));
    } else {
        p.setOutputFileName(QString());
    }
    qtbridge::AttachDevice(*FCanvas, &p, p.resolution());
    // Start the painter now, so that a device that cannot print fails here.
    if (!qtbridge::ActivePainter(*FCanvas).isActive()) {
        qtbridge::Detach(*FCanvas);
        throw EPrinter("Printer selected is not valid");
    }
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
}

void TPrinter::EndDoc()
{
    if (!FPrinting)
        throw EPrinter("Printer is not currently printing");
    qtbridge::Detach(*FCanvas);
    FPrinting = false;
    FPageNumber = 0;
}

void TPrinter::Abort()
{
    if (!FPrinting)
        return;
    d->Printer().abort();
    qtbridge::Detach(*FCanvas);
    FPrinting = false;
    FAborted = true;
    FPageNumber = 0;
}

void TPrinter::NewPage()
{
    if (!FPrinting)
        throw EPrinter("Printer is not currently printing");
    qtbridge::ActivePainter(*FCanvas);
    d->Printer().newPage();
    ++FPageNumber;
}

int TPrinter::PageWidth() const
{
    return d->Printer().width();
}

int TPrinter::PageHeight() const
{
    return d->Printer().height();
}

int TPrinter::PixelsPerInchX() const
{
    return d->Printer().logicalDpiX();
}

int TPrinter::PixelsPerInchY() const
{
    return d->Printer().logicalDpiY();
}

TPrinterOrientation TPrinter::Orientation() const
{
    return d->Printer().pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    CheckNotPrinting();
    d->Printer().setPageOrientation(Value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

std::vector<std::string> TPrinter::Printers() const
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(ctlqt::S(name));
    return names;
}

int TPrinter::PrinterIndex() const
{
    if (!FFileName.empty())
        return -1;
    const QStringList names = QPrinterInfo::availablePrinterNames();
    return static_cast<int>(names.indexOf(d->Printer().printerName()));
}

void TPrinter::SetPrinterIndex(int Value)
{
    CheckNotPrinting();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (Value < 0 || Value >= names.size())
        throw ERangeError();
    d->Printer().setPrinterName(names[Value]);
}

TPrintDialogRequest* AsPrintDialogRequest(TDialogRequest& Request)
{
    return Request.Kind == TDialogKind::dkPrint ? static_cast<TPrintDialogRequest*>(&Request) : nullptr;
}

bool TPrinter::ExecutePrintRange(int MinPage, int MaxPage, int& FromPage, int& ToPage)
{
    CheckNotPrinting();
    TPrintDialogRequest request;
    request.Kind = TDialogKind::dkPrint;
    request.Caption = "Print";
    request.MinPage = MinPage;
    request.MaxPage = MaxPage;
    request.FromPage = std::clamp(FromPage, MinPage, MaxPage);
    request.ToPage = std::clamp(ToPage, MinPage, MaxPage);
    const int answer = ExecuteDialogRequest(request, [this](TDialogRequest& r) {
        auto& range = static_cast<TPrintDialogRequest&>(r);
        QPrinter& printer = d->Printer();
        QPrintDialog dialog(&printer);
        dialog.setMinMax(range.MinPage, range.MaxPage);
        dialog.setFromTo(range.FromPage, range.ToPage);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialog.exec() != QDialog::Accepted)
            return mrCancel;
        if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
            range.FromPage = dialog.fromPage();
            range.ToPage = dialog.toPage();
        } else {
            range.FromPage = range.MinPage;
            range.ToPage = range.MaxPage;
        }
        return mrOk;
    });
    if (answer != mrOk)
        return false;
    FromPage = std::clamp(request.FromPage, MinPage, MaxPage);
    ToPage = std::clamp(request.ToPage, FromPage, MaxPage);
    return true;
}

bool TPrinter::ExecuteSetup()
{
    CheckNotPrinting();
    TDialogRequest request;
    request.Kind = TDialogKind::dkModalForm;
    request.Caption = "Print Setup";
    return ExecuteDialogRequest(request, [this](TDialogRequest&) {
               QPrintDialog dialog(&d->Printer());
               return dialog.exec() == QDialog::Accepted ? mrOk : mrCancel;
           }) == mrOk;
}
