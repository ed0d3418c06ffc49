#include "PictureExport.h"

#include "TeeHtml.h"
#include "controls/Clipboard.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>

std::unique_ptr<TTeeExportFormats> ExportFormatRegistry;

namespace {

template <class T>
std::unique_ptr<TGraphic> NewGraphic()
{
    return std::make_unique<T>();
}

} // namespace

// ---- base --------------------------------------------------------------------------

int TTeeExportFormat::FilterIndex()
{
    return FFilterIndex;
}

void TTeeExportFormat::AssignFilterIndex(int& Index)
{
    ++Index;
    FFilterIndex = Index;
}

bool TTeeExportFormat::OwnsFilterIndex(int Index)
{
    return Index == FilterIndex();
}

bool TTeeExportFormat::ChooseExtension(const std::string& Ext)
{
    return UpperCase(Ext) == UpperCase(FileExtension());
}

TGraphicClass TTeeExportFormat::PictureClass()
{
    return nullptr;
}

TForm* TTeeExportFormat::Options(bool)
{
    return nullptr;
}

void TTeeExportFormat::CheckPanel()
{
    if (Panel == nullptr)
        throw Exception("Panel property is not set in Export format");
}

void TTeeExportFormat::CheckSize()
{
    if (Width == 0)
        Width = Panel->Width();
    if (Height == 0)
        Height = Panel->Height();
}

void TTeeExportFormat::CopyToClipboard()
{
    CheckPanel();
    Options(true);
    CheckSize();
    PlaceOnClipboard();
}

void TTeeExportFormat::SaveToFile(const std::string& FileName)
{
    CheckPanel();
    Options(true);
    CheckSize();
    WriteFileReplacing(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

// ---- metafile ----------------------------------------------------------------------

TEMFOptions::TEMFOptions(TComponent* AOwner) : TForm(AOwner)
{
    SetName("EMFOptions");
    BuildForm(this, 180, 40, {Ctl(CBEnhanced, "CBEnhanced", "&Enhanced"), Stretch()});
    CBEnhanced->SetChecked(true);
    DoCreate();
}

TForm* TEMFExportFormat::Options(bool Create)
{
    if (Create && !FOptions)
        FOptions = std::make_unique<TEMFOptions>(nullptr);
    return FOptions.get();
}

bool TEMFExportFormat::Enhanced()
{
    return !FOptions || FOptions->CBEnhanced->Checked();
}

void TEMFExportFormat::SetEnhanced(bool Value)
{
    Options(true);
    FOptions->CBEnhanced->SetChecked(Value);
}

int TEMFExportFormat::FilterIndex()
{
    return Enhanced() ? TTeeExportFormat::FilterIndex() : TTeeExportFormat::FilterIndex() + 1;
}

void TEMFExportFormat::AssignFilterIndex(int& Index)
{
    TTeeExportFormat::AssignFilterIndex(Index);
    ++Index;   // the second entry: plain metafiles
}

bool TEMFExportFormat::OwnsFilterIndex(int Index)
{
    const int first = TTeeExportFormat::FilterIndex();
    if (Index == first + 1) {
        SetEnhanced(false);
        return true;
    }
    return Index == first;
}

bool TEMFExportFormat::ChooseExtension(const std::string& Ext)
{
    const std::string ext = UpperCase(Ext);
    if (ext != "EMF" && ext != "WMF")
        return false;
    if (Enhanced() != (ext == "EMF"))
        SetEnhanced(ext == "EMF");
    return true;
}

std::string TEMFExportFormat::Description()
{
    return "as &Metafile";
}

std::string TEMFExportFormat::FileExtension()
{
    return Enhanced() ? "emf" : "wmf";
}

std::string TEMFExportFormat::FileFilter()
{
    return "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
}

TGraphicClass TEMFExportFormat::PictureClass()
{
    return &NewGraphic<TMetafile>;
}

std::unique_ptr<TMetafile> TEMFExportFormat::Metafile()
{
    CheckSize();
    return Panel->DrawToMetafile(Enhanced(), TRect(0, 0, Width, Height));
}

void TEMFExportFormat::PlaceOnClipboard()
{
    std::unique_ptr<TMetafile> metafile = Metafile();
    Clipboard()->Assign(metafile.get());
}

void TEMFExportFormat::SaveToStream(TStream* Stream)
{
    Metafile()->SaveToStream(Stream);
}

// ---- bitmap ------------------------------------------------------------------------

TBMPOptions::TBMPOptions(TComponent* AOwner) : TForm(AOwner)
{
    SetName("BMPOptions");
    BuildForm(this, 180, 60, {
        Row(Label1, "Label1", "&Colors:", {Combo(CBColors, "CBColors", {"Default", "2 (1 bit)", "16 (4 bit)", "256 (8 bit)",
                                                                         "32768 (15 bit)", "65536 (16 bit)",
                                                                         "16M (24 bit)", "16M (32 bit)"})}),
        Ctl(CBMono, "CBMono", "&Monochrome"),
        Stretch(),
    });
    // The colour choice starts at "Default" once; later shows keep what the user chose.
    CBColors->SetItemIndex(0);
    CBMono->OnClick = [this](TObject* s) { CBMonoClick(s); };
    DoCreate();
}

void TBMPOptions::CBMonoClick(TObject*)
{
    CBColors->SetEnabled(!CBMono->Checked());
}

TForm* TBMPExportFormat::Options(bool Create)
{
    if (Create && !FOptions)
        FOptions = std::make_unique<TBMPOptions>(nullptr);
    return FOptions.get();
}

std::string TBMPExportFormat::Description()
{
    return "as &Bitmap";
}

std::string TBMPExportFormat::FileExtension()
{
    return "bmp";
}

std::string TBMPExportFormat::FileFilter()
{
    return "Bitmaps (*.bmp)|*.bmp";
}

TGraphicClass TBMPExportFormat::PictureClass()
{
    return &NewGraphic<TBitmap>;
}

std::unique_ptr<TBitmap> TBMPExportFormat::Bitmap()
{
    Options(true);
    CheckSize();
    TPixelFormat format = pfDevice;
    if (FOptions->CBMono->Checked()) {
        format = pf1bit;
    } else {
        static constexpr TPixelFormat formats[] = {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
        const int i = FOptions->CBColors->ItemIndex();
        if (i >= 0 && i < int(std::size(formats)))
            format = formats[i];
    }
    if (Panel->Canvas()->IsTrue3D())
        format = pf24bit;
    auto bitmap = std::make_unique<TBitmap>(std::max(1, Width), std::max(1, Height), format);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Panel->Color());
    canvas->FillRect(TRect(0, 0, bitmap->Width(), bitmap->Height()));
    {
        const bool buffered = Panel->GetBufferedDisplay();
        TScopeGuard restore([&] { Panel->SetCanvasBuffered(buffered); });
        Panel->SetCanvasBuffered(false);
        Panel->DrawToCanvas(canvas, TRect(0, 0, bitmap->Width(), bitmap->Height()));
    }
    canvas->Flush();
    return bitmap;
}

void TBMPExportFormat::PlaceOnClipboard()
{
    std::unique_ptr<TBitmap> bitmap = Bitmap();
    Clipboard()->Assign(bitmap.get());
}

void TBMPExportFormat::SaveToStream(TStream* Stream)
{
    Bitmap()->SaveToStream(Stream);
}

// ---- registry ----------------------------------------------------------------------

void RegisterExportFormat(TTeeExportFormatClass FormatClass)
{
    if (!ExportFormatRegistry)
        ExportFormatRegistry = std::make_unique<TTeeExportFormats>();
    ExportFormatRegistry->push_back(FormatClass);
}

void UnregisterExportFormat(TTeeExportFormatClass FormatClass)
{
    if (!ExportFormatRegistry)
        return;
    auto& list = *ExportFormatRegistry;
    list.erase(std::remove(list.begin(), list.end(), FormatClass), list.end());
}

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& Ext)
{
    if (!ExportFormatRegistry)
        return nullptr;
    if (Ext.size() < 2 || Ext[0] != '.')
        return nullptr;
    for (TTeeExportFormatClass formatClass : *ExportFormatRegistry) {
        std::unique_ptr<TTeeExportFormat> format = formatClass();
        if (format->ChooseExtension(Ext.substr(1))) {
            TGraphicClass graphic = format->PictureClass();
            return graphic ? graphic() : nullptr;
        }
    }
    return nullptr;
}

void PictureExportInitialization()
{
    RegisterExportFormat(&TEMFExportFormat::Create);
    RegisterExportFormat(&TBMPExportFormat::Create);
    GraphicForExtensionHook = [](const std::string& Ext) { return GraphicForExtension(Ext); };
}

void PictureExportFinalization()
{
    GraphicForExtensionHook = nullptr;
    UnregisterExportFormat(&TBMPExportFormat::Create);
    UnregisterExportFormat(&TEMFExportFormat::Create);
    ExportFormatRegistry.reset();
}
