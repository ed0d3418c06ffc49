#include "ExportDialog.h"

#include "TeeStore.h"
#include "classes/Streaming.h"
#include "controls/Clipboard.h"
#include "controls/FormStyles.h"
#include "controls/Registry.h"
#include "system/Programs.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

std::string MailCommand = "xdg-email";

namespace {

const char* const BaseFileName = "RurEvido";
const char* const NativeExtension = "tee";
const char* const NativeFilter = "RurEvido files (*.tee)|*.tee";
constexpr int MaxPictureSize = 3000;
// The button row's buttons are of one width, so that the row fits the dialog's own width.
constexpr int ButtonWidth = 75;

const TDataExportFormats& DataFormats()
{
    static const TDataExportFormats none;
    return DataExportFormatRegistry ? *DataExportFormatRegistry : none;
}

std::vector<std::string> DataFormatCaptions()
{
    std::vector<std::string> captions;
    for (const TDataExportFormat& f : DataFormats())
        captions.push_back(f.Caption);
    return captions;
}

// The number of "description|pattern" entries of a filter.
int FilterEntries(const std::string& Filter)
{
    return int(std::count(Filter.begin(), Filter.end(), '|') + 1) / 2;
}

// The data formats' entries in registration order (filter indexes from 1).
std::string DataFilter()
{
    std::string filter;
    for (const TDataExportFormat& f : DataFormats())
        filter += (filter.empty() ? "" : "|") + f.FileFilter;
    return filter;
}

// The 1-based filter index of the first entry of data format Format.
int FirstDataFilterIndex(int Format)
{
    int index = 1;
    for (int i = 0; i < Format; ++i)
        index += FilterEntries(DataFormats()[size_t(i)].FileFilter);
    return index;
}

// The extension of a filter's Index-th entry (1-based): the text after the first "." of
// its pattern.
std::string FilterExtension(const std::string& Filter, int Index)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; (bar = Filter.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(Filter.substr(start, bar - start));
    parts.push_back(Filter.substr(start));
    const size_t pattern = size_t(Index) * 2 - 1;
    if (Index < 1 || pattern >= parts.size())
        return {};
    const size_t dot = parts[pattern].find('.');
    return dot == std::string::npos ? std::string() : parts[pattern].substr(dot + 1);
}

} // namespace

bool MailAvailable()
{
    // Looked up once per command for the rest of the run.
    static std::string checked;
    static bool available = false;
    if (checked != MailCommand) {
        checked = MailCommand;
        available = ProgramAvailable(MailCommand);
    }
    return available;
}

TTeeExportFormBase::TTeeExportFormBase(TComponent* AOwner) : TForm(AOwner)
{
    SetName("TeeExportForm");
    SetCaption("Export Dialog");
    // Labels only the layout refers to.
    TLabel* seriesLabel = nullptr;
    TLabel* delimiterLabel = nullptr;
    TLabel* quotesLabel = nullptr;
    BuildForm(this, 378, 239, {
        Growing(Pages(PageControl1, "PageControl1", {
            Page(TabPicture, "TabPicture", "Picture", {
                Columns({
                    Column({Growing(Group(RGFormat, "RGFormat", "&Format", {Growing(List(LBFormat, "LBFormat"))}))}),
                    Column({Growing(Pages(PageOptions, "PageOptions", {
                        Page(TabOptions, "TabOptions", "Options", {}),
                        Page(TabSize, "TabSize", "Size", {
                            Row("&Width:", {UpDownEdit(EWidth, "EWidth", UDWidth, "UDWidth", 0, MaxPictureSize)}),
                            Row("&Height:", {UpDownEdit(EHeight, "EHeight", UDHeight, "UDHeight", 0, MaxPictureSize)}),
                            Ctl(CBAspect, "CBAspect", "&Keep aspect ratio"),
                            Stretch(),
                        }),
                    }))}),
                }),
            }),
            Page(TabNative, "TabNative", "Native", {
                Ctl(CBNativeData, "CBNativeData", "&Include Series data"),
                Line({Ctl(CBFileSize, "CBFileSize", "&File size:"), Ctl(LabelSize, "LabelSize", "?"), Stretch()}),
                Row("&Format:", {Combo(CBNativeFormat, "CBNativeFormat", {"Binary", "Text"})}),
                Stretch(),
            }),
            // Three columns below the series, so that the page fits the dialog's own size.
            Page(TabData, "TabData", "Data", {
                Row(seriesLabel, "", "Se&ries:", {::Panel(Panel5, "Panel5", {Combo(CBSeries, "CBSeries", {})})}),
                Columns({
                    Column({Radios(RGText, "RGText", "&Format:", DataFormatCaptions()), Stretch()}),
                    Column({Group(GroupBox1, "GroupBox1", "&Include:", {
                                Ctl(CBLabels, "CBLabels", "Point &Labels"),
                                Ctl(CBIndex, "CBIndex", "Point &Index"),
                                Ctl(CBHeader, "CBHeader", "&Header"),
                                Ctl(CBColors, "CBColors", "Point &Colors"),
                            }),
                            Stretch()}),
                    Column({
                        Ctl(delimiterLabel, "", "&Delimiter:"),
                        Combo(CBDelim, "CBDelim", {"Space", "Tab", "Comma", "Colon", "Custom"}),
                        Ctl(ECustom, "ECustom", "", 30),
                        Ctl(quotesLabel, "", "Text &Quotes:"),
                        Ctl(EQuotes, "EQuotes", "", 30),
                        Stretch(),
                    }),
                }),
            }),
        })),
        Buttons({Ctl(BCopy, "BCopy", "&Copy", ButtonWidth), Ctl(BSave, "BSave", "&Save...", ButtonWidth),
                 Ctl(BSend, "BSend", "S&end...", ButtonWidth), Ctl(BClose, "BClose", "Close", ButtonWidth)}),
    });
    // The series combo keeps 14 pixels of its panel free at the right, at every width.
    SetRightMargin(Panel5, 14);
    seriesLabel->SetFocusControl(CBSeries);
    SaveDialogPicture = new TSaveDialog(this);
    SaveDialogData = new TSaveDialog(this);
    SaveDialogData->SetDefaultExt("txt");
    SaveDialogNative = new TSaveDialog(this);
    SetFormBorderStyle(this, bsDialog);
    SetPosition(poScreenCenter);
    CBAspect->SetChecked(true);
    CBNativeData->SetChecked(true);
    CBNativeFormat->SetItemIndex(0);
    ECustom->SetEnabled(false);
    // One character each: the delimiter and the text quotes.
    ECustom->SetMaxLength(1);
    EQuotes->SetMaxLength(1);
    CBSeries->SetDropDownWidth(250);
    CBLabels->SetChecked(true);
    CBHeader->SetChecked(true);
    BClose->SetDefault(true);
    BClose->SetCancel(true);
    BClose->SetModalResult(mrOk);
    PageControl1->SetActivePage(TabPicture);

    OnShow = [this](TObject* s) { FormShow(s); };
    LBFormat->OnClick = [this](TObject* s) { LBFormatClick(s); };
    EWidth->OnChange = [this](TObject*) { SizeChanged(EWidth); };
    EHeight->OnChange = [this](TObject*) { SizeChanged(EHeight); };
    PageControl1->OnChange = [this](TObject*) { EnableButtons(); };
    RGText->OnClick = [this](TObject* s) { RGTextClick(s); };
    CBDelim->OnChange = [this](TObject* s) { CBDelimChange(s); };
    CBNativeFormat->OnChange = [this](TObject*) {
        EnableButtons();
        RefreshFileSize();
    };
    CBFileSize->OnClick = [this](TObject*) { RefreshFileSize(); };
    CBNativeData->OnClick = [this](TObject*) { RefreshFileSize(); };
    BCopy->OnClick = [this](TObject* s) { BCopyClick(s); };
    BSave->OnClick = [this](TObject* s) { BSaveClick(s); };
    BSend->OnClick = [this](TObject* s) { BSendClick(s); };
    DoCreate();
}

TTeeExportFormBase::~TTeeExportFormBase()
{
    ClearFormats();
}

void TTeeExportFormBase::ClearFormats()
{
    // The embedded options form belongs to its format: take it out of the page first.
    if (FShownOptions)
        FShownOptions->SetParent(nullptr);
    FShownOptions = nullptr;
    FFormats.clear();
}

TTeeExportFormat* TTeeExportFormBase::Format(int Index) const
{
    return Index >= 0 && size_t(Index) < FFormats.size() ? FFormats[size_t(Index)].get() : nullptr;
}

TTeeExportFormat* TTeeExportFormBase::SelectedFormat() const
{
    return Format(LBFormat->ItemIndex());
}

TTeeExportFormat* TTeeExportFormBase::FormatForFile(const std::string& FileName)
{
    std::string ext = ExtractFileExt(FileName);
    if (!ext.empty())
        ext.erase(0, 1);
    for (auto& f : FFormats)
        if (!ext.empty() && f->ChooseExtension(ext))
            return f.get();
    return SelectedFormat();
}

// ---- virtual operations -------------------------------------------------------------------

std::unique_ptr<TSeriesData> TTeeExportFormBase::CreateDataExporter()
{
    return nullptr;
}

void TTeeExportFormBase::SaveNativeToFile(const std::string& FileName, bool)
{
    const bool visible = Panel->Visible();
    TScopeGuard restore([&] { Panel->SetVisible(visible); });
    Panel->SetVisible(true);
    WriteFileReplacing(FileName, [&](TStream* Stream) { WriteComponent(Stream, Panel); });
}

bool TTeeExportFormBase::CanExportData()
{
    return false;
}

std::unique_ptr<TMemoryStream> TTeeExportFormBase::CreateNativeStream()
{
    auto stream = std::make_unique<TMemoryStream>();
    WriteComponent(stream.get(), Panel);
    return stream;
}

void TTeeExportFormBase::FillSeriesCombo()
{
    TabData->SetTabVisible(false);
    CBNativeData->SetVisible(false);
}

std::unique_ptr<TSeriesData> TTeeExportForm::CreateDataExporter()
{
    auto* chart = dynamic_cast<TCustomAxisPanel*>(Panel);
    const int line = CBSeries->ItemIndex();
    auto* series = line >= 0 ? dynamic_cast<TChartSeries*>(CBSeries->Items()->GetObject(line)) : nullptr;
    // Without a choice the first format (text) is taken.
    const TDataExportFormat* format = SelectedDataFormat();
    if (!format)
        format = DataFormat(0);
    if (!format)
        return nullptr;
    TDataExportChoices choices;
    choices.Delimiter = Delimiter();
    choices.TextQuotes = EQuotes->Text();
    std::unique_ptr<TSeriesData> exporter = format->Create(chart, series, choices);
    exporter->IncludeLabels = CBLabels->Checked();
    exporter->IncludeIndex = CBIndex->Checked();
    exporter->IncludeHeader = CBHeader->Checked();
    exporter->IncludeColors = CBColors->Checked();
    return exporter;
}

void TTeeExportForm::SaveNativeToFile(const std::string& FileName, bool IncludeData)
{
    WriteChartToFile(dynamic_cast<TCustomChart*>(Panel), FileName, IncludeData, CBNativeFormat->ItemIndex() == 1);
}

bool TTeeExportForm::CanExportData()
{
    auto* chart = dynamic_cast<TCustomAxisPanel*>(Panel);
    return chart != nullptr && chart->SeriesCount() > 0;
}

std::unique_ptr<TMemoryStream> TTeeExportForm::CreateNativeStream()
{
    auto stream = std::make_unique<TMemoryStream>();
    WriteChartToStream(dynamic_cast<TCustomChart*>(Panel), stream.get(), CBNativeData->Checked(),
                       CBNativeFormat->ItemIndex() == 1);
    return stream;
}

void TTeeExportForm::FillSeriesCombo()
{
    TStrings* items = CBSeries->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (auto* listed = dynamic_cast<TComponent*>(items->GetObject(i)))
            RemoveFreeNotification(listed);
    items->Clear();
    if (auto* chart = dynamic_cast<TCustomAxisPanel*>(Panel))
        for (int i = 0; i < chart->SeriesCount(); ++i) {
            items->AddObject(chart->Series(i)->Title(), chart->Series(i));
            chart->Series(i)->FreeNotification(this);
        }
    items->InsertObject(0, "(all)", nullptr);
    CBSeries->SetItemIndex(0);
}

TTeeExportForm::TTeeExportForm(TComponent* AOwner) : TTeeExportFormBase(AOwner)
{
    // The formats and the size stay as chosen; what the chart holds now is listed and measured.
    OnShowAgain = [this](TObject*) {
        RefreshSeriesList();
        RefreshFileSize();
    };
}

void TTeeExportForm::RefreshSeriesList()
{
    const int line = CBSeries->ItemIndex();
    TObject* chosen = line > 0 ? CBSeries->Items()->GetObject(line) : nullptr;
    FillSeriesCombo();
    CBSeries->SetItemIndex(std::max(chosen != nullptr ? CBSeries->Items()->IndexOfObject(chosen) : 0, 0));
    EnableButtons();
}

void TTeeExportForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TTeeExportFormBase::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || CBSeries == nullptr || IsDestroying())
        return;
    const int line = CBSeries->Items()->IndexOfObject(AComponent);
    if (line <= 0)
        return;
    const bool chosen = CBSeries->ItemIndex() == line;
    CBSeries->Items()->Delete(line);
    if (chosen)
        CBSeries->SetItemIndex(0);
}

// ---- handlers ----------------------------------------------------------------------------

void TTeeExportFormBase::FormShow(TObject*)
{
    ShowOwnCloseButton(BClose, this);
    RGText->SetItemIndex(0);
    if (Tag() != 0)
        Panel = dynamic_cast<TCustomTeePanel*>(reinterpret_cast<TObject*>(Tag()));
    if (Panel) {
        auto changing = RestoreOnExit(FChanging);
        FChanging = true;
        UDWidth->SetPosition(std::clamp(Panel->Width(), 0, MaxPictureSize));
        UDHeight->SetPosition(std::clamp(Panel->Height(), 0, MaxPictureSize));
        FAspect = Panel->Height() > 0 ? double(Panel->Width()) / Panel->Height() : 0;
        FillSeriesCombo();
        // The list is filled afresh on every show, and so is the filter.
        ClearFormats();
        LBFormat->Items()->Clear();
        std::string filter;
        int index = 0;
        if (ExportFormatRegistry)
            for (TTeeExportFormatClass formatClass : *ExportFormatRegistry) {
                std::unique_ptr<TTeeExportFormat> format = formatClass();
                format->Panel = Panel;
                format->AssignFilterIndex(index);
                filter += (filter.empty() ? "" : "|") + format->FileFilter();
                LBFormat->Items()->Add(StringReplaceAll(format->Description(), "&", ""));
                FFormats.push_back(std::move(format));
            }
        SaveDialogPicture->SetFilter(filter);
        CBDelim->SetItemIndex(1);
        LBFormat->SetItemIndex(0);
        LBFormatClick(LBFormat);
        EnableButtons();
    }
    CallFormShowHook(this);
}

void TTeeExportFormBase::LBFormatClick(TObject*)
{
    if (FShownOptions) {
        FShownOptions->SetVisible(false);
        FShownOptions->SetParent(nullptr);
        FShownOptions = nullptr;
    }
    TTeeExportFormat* format = SelectedFormat();
    TForm* options = format ? format->Options(true) : nullptr;
    const bool visible = options != nullptr && options->ComponentCount() > 0;
    TabOptions->SetTabVisible(visible);
    if (visible) {
        PageOptions->SetActivePage(TabOptions);
        FillLaidOutHost(TabOptions, options);
        options->SetVisible(true);
        FShownOptions = options;
        CallFormShowHook(options);
    } else {
        PageOptions->SetActivePage(TabSize);
    }
}

void TTeeExportFormBase::SizeChanged(TEdit* Changed)
{
    if (!Visible() || FChanging || !CBAspect->Checked() || FAspect == 0)
        return;
    auto changing = RestoreOnExit(FChanging);
    FChanging = true;
    // The typed size as the up-down holds it, within 0..3000, so that the other side keeps
    // the ratio to the size that is exported.
    const int value = (Changed == EHeight ? UDHeight : UDWidth)->Position();
    if (Changed == EHeight)
        UDWidth->SetPosition(std::clamp(int(std::lround(value * FAspect)), 0, MaxPictureSize));
    else
        UDHeight->SetPosition(std::clamp(int(std::lround(value / FAspect)), 0, MaxPictureSize));
}

void TTeeExportFormBase::EnableButtons()
{
    TTabSheet* page = PageControl1->ActivePage();
    const bool copy = page == TabPicture || (page == TabData && CanExportData())
                      || (page == TabNative && CBNativeFormat->ItemIndex() == 1);
    BCopy->SetEnabled(copy);
    BSave->SetEnabled(copy || page == TabNative);
    if (page == TabData && SelectedDataFormat() && !SelectedDataFormat()->CanCopy)
        BCopy->SetEnabled(false);
    BSend->SetEnabled(BSave->Enabled() && MailAvailable());
}

void TTeeExportFormBase::RGTextClick(TObject*)
{
    CBDelim->SetEnabled(SelectedDataFormat() && SelectedDataFormat()->ByDelimiter);
    ECustom->SetEnabled(CBDelim->Enabled() && CBDelim->ItemIndex() == 4);
    EnableButtons();
}

void TTeeExportFormBase::CBDelimChange(TObject*)
{
    ECustom->SetEnabled(CBDelim->ItemIndex() == 4);
    // The user who picks "Custom" types the character next.
    if (ECustom->Enabled() && CBDelim->Focused())
        ECustom->SetFocus();
}

void TTeeExportFormBase::RefreshFileSize()
{
    if (CBFileSize->Checked() && Panel)
        LabelSize->SetCaption(::Format("%d bytes", {CreateNativeStream()->Size()}));
    else
        LabelSize->SetCaption("?");
}

std::string TTeeExportFormBase::Delimiter() const
{
    switch (CBDelim->ItemIndex()) {
    case 0: return " ";
    case 1: return "\t";
    case 2: return ",";
    case 3: return ";";   // "Colon" gives the semicolon
    default: {
        const std::string custom = ECustom->Text();
        size_t end = 0;
        if (!custom.empty())
            NextUtf8Char(custom, end);
        return end == 0 ? std::string(" ") : custom.substr(0, end);
    }
    }
}

const TDataExportFormat* TTeeExportFormBase::DataFormat(int Index)
{
    return Index >= 0 && size_t(Index) < DataFormats().size() ? &DataFormats()[size_t(Index)] : nullptr;
}

const TDataExportFormat* TTeeExportFormBase::SelectedDataFormat() const
{
    return DataFormat(RGText->ItemIndex());
}

int TTeeExportFormBase::DataFilterIndex() const
{
    const int format = std::max(RGText->ItemIndex(), 0);
    const TDataExportFormat* f = DataFormat(format);
    return FirstDataFilterIndex(format) + (f && f->ByDelimiter ? std::max(CBDelim->ItemIndex(), 0) : 0);
}

void TTeeExportFormBase::BCopyClick(TObject*)
{
    const auto cursor = ScreenCursorWhile(crHourGlass);
    TTabSheet* page = PageControl1->ActivePage();
    if (page == TabPicture) {
        TTeeExportFormat* format = SelectedFormat();
        if (!format)
            return;
        format->Width = UDWidth->Position();
        format->Height = UDHeight->Position();
        format->CopyToClipboard();
    } else if (page == TabData) {
        CreateDataExporter()->CopyTextToClipboard();
    } else if (page == TabNative) {
        std::unique_ptr<TMemoryStream> stream = CreateNativeStream();
        Clipboard()->SetAsText(std::string(stream->Memory(), size_t(stream->Size())));
    }
}

void TTeeExportFormBase::SaveActivePage(const std::string& FileName)
{
    const auto cursor = ScreenCursorWhile(crHourGlass);
    TTabSheet* page = PageControl1->ActivePage();
    if (page == TabPicture) {
        TTeeExportFormat* format = FormatForFile(FileName);
        if (!format)
            return;
        format->Width = UDWidth->Position();
        format->Height = UDHeight->Position();
        format->SaveToFile(FileName);
    } else if (page == TabNative) {
        SaveNativeToFile(FileName, CBNativeData->Checked());
    } else if (page == TabData) {
        CreateDataExporter()->SaveTextToFile(FileName);
    }
}

void TTeeExportFormBase::BSaveClick(TObject*)
{
    TTabSheet* page = PageControl1->ActivePage();
    if (page == TabPicture) {
        TTeeExportFormat* format = SelectedFormat();
        if (!format)
            return;
        SaveDialogPicture->SetDefaultExt(format->FileExtension());
        SaveDialogPicture->SetFilterIndex(format->FilterIndex());
        SaveDialogPicture->SetFileName("");
        if (!SaveDialogPicture->Execute())
            return;
        const std::string name = SaveDialogPicture->FileName();
        // The extension decides when it names a format; else the chosen filter does.
        std::string ext = ExtractFileExt(name);
        bool byExtension = false;
        for (auto& f : FFormats)
            byExtension = byExtension || (ext.size() > 1 && f->ChooseExtension(ext.substr(1)));
        if (!byExtension)
            for (int i = 0; i < int(FFormats.size()); ++i)
                if (FFormats[size_t(i)]->OwnsFilterIndex(SaveDialogPicture->FilterIndex())) {
                    LBFormat->SetItemIndex(i);
                    LBFormatClick(LBFormat);
                    break;
                }
        SaveActivePage(name);
    } else if (page == TabNative) {
        SaveDialogNative->SetFileName("");
        SaveDialogNative->SetDefaultExt(NativeExtension);
        SaveDialogNative->SetFilter(NativeFilter);
        if (!SaveDialogNative->Execute())
            return;
        const std::string chosen = SaveDialogNative->FileName();
        const std::string name = ChangeFileExt(chosen, std::string(".") + NativeExtension);
        // The dialog asked about the chosen name only; another file under the changed name
        // is not replaced without asking.
        if (name != chosen && FileExists(name)
            && MessageDlg("\"" + name + "\" already exists. Do you want to replace it?", mtConfirmation,
                          {mbYes, mbNo}, 0) != mrYes)
            return;
        SaveActivePage(name);
    } else if (page == TabData) {
        SaveDialogData->SetFileName("");
        SaveDialogData->SetFilter(DataFilter());
        SaveDialogData->SetFilterIndex(DataFilterIndex());
        if (!SaveDialogData->Execute())
            return;
        // The chosen filter entry sets the format and, for text, the delimiter; they go
        // back when the export fails.
        const int index = SaveDialogData->FilterIndex();
        const int format = RGText->ItemIndex(), delimiter = CBDelim->ItemIndex();
        TScopeGuard restore([&] {
            RGText->SetItemIndex(format);
            CBDelim->SetItemIndex(delimiter);
        });
        // An entry of no format takes the first one.
        RGText->SetItemIndex(0);
        for (int i = 0; DataFormat(i); ++i) {
            const int first = FirstDataFilterIndex(i);
            if (index >= first && index < first + FilterEntries(DataFormat(i)->FileFilter)) {
                RGText->SetItemIndex(i);
                if (DataFormat(i)->ByDelimiter)
                    CBDelim->SetItemIndex(index - first);
                break;
            }
        }
        SaveActivePage(SaveDialogData->FileName());
        restore.Dismiss();
    }
}

void TTeeExportFormBase::BSendClick(TObject*)
{
    const std::string folder = CreatePrivateTempFolder();
    if (folder.empty())
        throw Exception("Can not find Temp folder");
    // The exported file lives only as long as the hand-off.
    TScopeGuard remove([&] {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    });
    TTabSheet* page = PageControl1->ActivePage();
    std::string ext;
    if (page == TabPicture)
        ext = SelectedFormat() ? SelectedFormat()->FileExtension() : std::string();
    else if (page == TabNative)
        ext = NativeExtension;
    else
        ext = FilterExtension(DataFilter(), DataFilterIndex());
    const std::string file = folder + "/" + BaseFileName + "." + ext;
    SaveActivePage(file);
    const int result = RunProgram(MailCommand, {"--subject", BaseFileName, "--attach", file});
    if (result != 0)
        throw Exception(::Format("Can not email RurEvido. Mapi Error: %d", {result}));
}

std::string GetWindowsHelpFolder(const std::string& FileName)
{
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly("SOFTWARE\\Microsoft\\Windows\\Help") || !registry.ValueExists(FileName))
        return {};
    try {
        const std::string folder = registry.ReadString(FileName);
        return folder.empty() ? std::string() : folder + "\\" + FileName;
    } catch (const ERegistryException&) {
        return {};
    }
}
