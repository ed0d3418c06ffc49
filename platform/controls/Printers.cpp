#include "Printers.h"

#include "Dialogs.h"
#include "PrintModule.h"
#include "QtBridge.h"

#include "graphics/Canvas.h"
#include "graphics/QtBridge.h"
#include "system/Modules.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QStringList>


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

const TPrintCalls& PrintCalls()
{
    return ProgramModule<TPrintCalls>(PRINT_MODULE_NAME, PRINT_MODULE_PATH, "PlatformPrintCalls",
                                      [](const std::string& why) {
                                          return EPrinter("The printing library could not be loaded (" + why + ")");
                                      });
}

struct TPrinter::Impl {
    struct DeviceDeleter {
        void operator()(QPrinter* Printer) const { PrintCalls().Destroy(Printer); }
    };
    std::unique_ptr<QPrinter, DeviceDeleter> Device;

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
            Device.reset(PrintCalls().Create(PrinterResolution));
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
    const TPrintCalls& calls = PrintCalls();
    calls.SetJob(&p, ctlqt::Q(FTitle), ctlqt::Q(FFileName));
    qtbridge::AttachDevice(*FCanvas, calls.Device(&p), calls.Resolution(&p));
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
    PrintCalls().Abort(&d->Printer());
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
    PrintCalls().NewPage(&d->Printer());
    ++FPageNumber;
}

int TPrinter::PageWidth() const
{
    return PrintCalls().Device(&d->Printer())->width();
}

int TPrinter::PageHeight() const
{
    return PrintCalls().Device(&d->Printer())->height();
}

int TPrinter::PixelsPerInchX() const
{
    return PrintCalls().Device(&d->Printer())->logicalDpiX();
}

int TPrinter::PixelsPerInchY() const
{
    return PrintCalls().Device(&d->Printer())->logicalDpiY();
}

TPrinterOrientation TPrinter::Orientation() const
{
    return PrintCalls().Landscape(&d->Printer()) ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    CheckNotPrinting();
    PrintCalls().SetLandscape(&d->Printer(), Value == poLandscape);
}

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

std::vector<std::string> TPrinter::Printers() const
{
    std::vector<std::string> names;
    for (const QString& name : PrintCalls().PrinterNames())
        names.push_back(ctlqt::S(name));
    return names;
}

int TPrinter::PrinterIndex() const
{
    if (!FFileName.empty())
        return -1;
    const QStringList names = PrintCalls().PrinterNames();
    return static_cast<int>(names.indexOf(PrintCalls().PrinterName(&d->Printer())));
}

void TPrinter::SetPrinterIndex(int Value)
{
    CheckNotPrinting();
    const QStringList names = PrintCalls().PrinterNames();
    if (Value < 0 || Value >= names.size())
        throw ERangeError();
    PrintCalls().SetPrinterName(&d->Printer(), names[Value]);
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
        return PrintCalls().PageRange(&d->Printer(), range.MinPage, range.MaxPage, range.FromPage, range.ToPage)
                   ? mrOk
                   : mrCancel;
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
               return PrintCalls().Setup(&d->Printer()) ? mrOk : mrCancel;
           }) == mrOk;
}
