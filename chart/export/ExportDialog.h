// The export dialog: a chart panel copied, saved or mailed as a picture (through the
// registered picture formats), as a chart file, or as its data.
#pragma once

#include "DataExport.h"
#include "PictureExport.h"
#include "controls/Dialogs.h"
#include "controls/FormBuilder.h"

#include <memory>
#include <string>

class TTeeExportFormBase : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeExportFormBase)
    explicit TTeeExportFormBase(TComponent* AOwner);
    ~TTeeExportFormBase() override;

    TPageControl* PageControl1;
    TTabSheet* TabPicture;
    TGroupBox* RGFormat;
    TListBox* LBFormat;
    TPageControl* PageOptions;
    TTabSheet* TabOptions;
    TTabSheet* TabSize;
    TEdit* EWidth;
    TUpDown* UDWidth;
    TEdit* EHeight;
    TUpDown* UDHeight;
    TCheckBox* CBAspect;
    TTabSheet* TabNative;
    TCheckBox* CBNativeData;
    TCheckBox* CBFileSize;
    TLabel* LabelSize;
    TComboBox* CBNativeFormat;
    TTabSheet* TabData;
    TPanel* Panel5;
    TComboBox* CBSeries;
    TRadioGroup* RGText;
    TComboBox* CBDelim;
    TEdit* ECustom;
    TEdit* EQuotes;
    TGroupBox* GroupBox1;
    TCheckBox* CBLabels;
    TCheckBox* CBIndex;
    TCheckBox* CBHeader;
    TCheckBox* CBColors;
    TButton* BCopy;
    TButton* BSave;
    TButton* BSend;
    TButton* BClose;
    TSaveDialog* SaveDialogPicture;
    TSaveDialog* SaveDialogData;
    TSaveDialog* SaveDialogNative;

    // The panel to export (not owned).
    TCustomTeePanel* Panel = nullptr;

    virtual std::unique_ptr<TSeriesData> CreateDataExporter();
    virtual void SaveNativeToFile(const std::string& FileName, bool IncludeData);
    virtual bool CanExportData();
    virtual std::unique_ptr<TMemoryStream> CreateNativeStream();
    virtual void FillSeriesCombo();

    // The format of a list line, and the selected one.
    TTeeExportFormat* Format(int Index) const;
    TTeeExportFormat* SelectedFormat() const;
    // The format that writes files with FileName's extension, else the selected one.
    TTeeExportFormat* FormatForFile(const std::string& FileName);
    // The delimiter of the text export from CBDelim: for "Custom" the first character of
    // ECustom (all its UTF-8 bytes), or a blank.
    std::string Delimiter() const;
    // The registered data format of an RGText line; null for none.
    static const TDataExportFormat* DataFormat(int Index);
    const TDataExportFormat* SelectedDataFormat() const;
    // The data filter's entry for the chosen format and delimiter (the registered formats'
    // entries in registration order, from 1).
    int DataFilterIndex() const;

    void FormShow(TObject* Sender);
    void LBFormatClick(TObject* Sender);
    void SizeChanged(TEdit* Changed);
    void EnableButtons();
    void RGTextClick(TObject* Sender);
    void CBDelimChange(TObject* Sender);
    void RefreshFileSize();
    void BCopyClick(TObject* Sender);
    void BSaveClick(TObject* Sender);
    void BSendClick(TObject* Sender);

protected:
    // Builds the chosen page's file at FileName (as Save does, without a dialog).
    void SaveActivePage(const std::string& FileName);

private:
    void ClearFormats();
    double FAspect = 0;
    bool FChanging = false;
    std::vector<std::unique_ptr<TTeeExportFormat>> FFormats;
    TForm* FShownOptions = nullptr;
};

class TTeeExportForm : public TTeeExportFormBase {
public:
    DECLARE_CLASS_NAME(TTeeExportForm)
    // On the editor's "Export" tab it lists the series again each time the tab shows, and
    // measures the native file again.
    explicit TTeeExportForm(TComponent* AOwner);
    std::unique_ptr<TSeriesData> CreateDataExporter() override;
    void SaveNativeToFile(const std::string& FileName, bool IncludeData) override;
    bool CanExportData() override;
    std::unique_ptr<TMemoryStream> CreateNativeStream() override;
    void FillSeriesCombo() override;
    // Lists the chart's series again (after series were added, deleted or renamed
    // elsewhere), keeping the chosen one while it is still there.
    void RefreshSeriesList();

protected:
    // A listed series that is destroyed leaves the series combo ("(all)" is chosen when
    // it was the chosen one).
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

// The mail program the dialog hands exports to ("xdg-email" on the search path); tests
// point it at a stand-in. Mail is available when it can be run.
extern std::string MailCommand;
bool MailAvailable();

// The help file FileName in the folder the local machine's help key names for it
// (folder, "\\", FileName); empty, so that the caller uses its default folder, when the key
// or a non-empty value for FileName is missing.
std::string GetWindowsHelpFolder(const std::string& FileName);
