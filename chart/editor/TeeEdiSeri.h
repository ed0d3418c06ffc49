// The chart editor's page for one series: a combo of the chart's series, and tabs for
// the series type's own option form (found by class name), the general options, the
// marks and the data source (manual grid, random values, a calculated function). Every
// control writes its property at once.
#pragma once

#include "ChartGrid.h"
#include "ChartListBox.h"
#include "StyleEditors.h"

#include "Chart.h"

#include "controls/FormBuilder.h"

#include <array>
#include <string>

class TFormTeeSeries;

// The colour swatch of the page's header: the series' legend symbol; a click picks the
// series colour.
class TSeriesColorBox : public TCustomControl {
public:
    DECLARE_CLASS_NAME(TSeriesColorBox)
    explicit TSeriesColorBox(TComponent* AOwner);
    TChartSeries* Series = nullptr;

protected:
    void Paint() override;
};

class TFormTeeSeries : public TForm, public IPanelEventListener {
public:
    DECLARE_CLASS_NAME(TFormTeeSeries)
    explicit TFormTeeSeries(TComponent* AOwner);
    ~TFormTeeSeries() override;

    // The most editor forms the page embeds at once (the type's form and the pages it adds).
    static constexpr int MaxEmbeddedForms = 4;
    // The most random sample values the data-source tab fills a series with.
    static constexpr int MaxSampleValues = 100000;

    // Header.
    TComboBox* CBSeries;
    TImage* ImageSeries;
    TLabel* LabelSeriesClass;
    TSeriesColorBox* PaintBox1;
    TPageControl* PageSeries;
    // "Format".
    TTabSheet* TheTabSheet;
    // "General".
    TTabSheet* TabGeneral;
    TCheckBox* CBShowInLegend;
    TLabel* LCursor;
    TComboBox* CBCursor;
    TLabel* LDepth;
    TEdit* EDepth;
    TUpDown* UDDepth;
    TCheckBox* CBDepth;
    TGroupBox* GBFormats;
    TComboBox* CBFormat;
    TButton* BFormat;
    TEdit* EPercentFormat;
    TButton* BPercentFormat;
    TGroupBox* GBHorizAxis;
    TComboBox* CBHorizAxis;
    TCheckBox* CBXDateTime;
    TGroupBox* GBVertAxis;
    TComboBox* CBVertAxis;
    TCheckBox* CBYDateTime;
    TCheckBox* CBZDateTime;
    TLabel* LSort;
    TComboBox* CBSort;
    // "Marks".
    TTabSheet* TabMarks;
    TPageControl* PageControlMarks;
    TTabSheet* TabMarksStyle;
    TCheckBox* CBMarksVisible;
    TCheckBox* CBMarkClip;
    TEdit* SEMarksAngle;
    TUpDown* UDMarksAngle;
    TEdit* EMarksEvery;
    TUpDown* UDEvery;
    TCheckBox* CBMultiLine;
    TCheckBox* CBAllVisible;
    TRadioGroup* RGMarkStyle;
    TTabSheet* TabArrows;
    TButtonPen* BMarkLinCol;
    TEdit* SEArrowLength;
    TUpDown* UDArrowLength;
    TEdit* EArrowDist;
    TUpDown* UDArrowDist;
    TButton* BCalloutPointer;
    TComboBox* CBHead;
    TEdit* Edit1;
    TUpDown* UDHeadSize;
    TTabSheet* TabSymbol;
    // "Data Source".
    TTabSheet* TabDataSource;
    TComboBox* CBDataSourcestyle;
    TButton* NewDataButton;
    TButton* EditDataButton;
    TButton* DeleteDataButton;
    TChartGrid* ChartGrid1;
    TChartGridNavigator* ChartGridNavigator1;
    TPanel* Panel4;
    TEdit* ESamples;
    TUpDown* UDSamples;
    TCheckBox* CBSamplesDefault;
    TButton* BApplyRandom;
    TButton* Button3;
    // Holds the random values, the grid and the data-source editor form.
    TPanel* PanelData;
    TCheckBox* CBPersistent;

    // Set by the editor window before the page shows.
    bool ShowPersistent = false;
    bool ShowDataSource = true;
    bool ShowGeneral = true;
    bool ShowMarks = true;

    // The series list box the page keeps in step (not owned).
    TChartListBox* SeriesListBox() const { return FListBox; }
    void SetSeriesListBox(TChartListBox* Value) { FListBox = Value; }

    TChartSeries* TheSeries() const { return FSeries; }
    // Fills the series combo with the chart's series.
    void FillSeries(TCustomAxisPanel* Chart);
    // Selects the series' item and sets the page up for it; nullptr hides the tabs.
    void SelectSeries(TChartSeries* Series);

    int EmbeddedCount() const { return FEmbeddedCount; }
    TForm* EmbeddedForm(int Index) const;
    TForm* SourceEditor() const { return FSourceEditor; }
    TFormTeeShape* MarksEditor() const { return FMarksEditor; }
    TFormTeeShape* SymbolEditor() const { return FSymbolEditor; }
    TCheckBox* SymbolVisible() const { return FSymbolVisible; }

    void CBSeriesChange(TObject* Sender);
    void PageSeriesChange(TObject* Sender);
    void CBDataSourcestyleChange(TObject* Sender);
    void ESamplesChange(TObject* Sender);
    void BApplyRandomClick(TObject* Sender);
    void Button3Click(TObject* Sender);
    void CBSortChange(TObject* Sender);
    void RGMarkStyleClick(TObject* Sender);
    void CBAllVisibleClick(TObject* Sender);
    void PaintBox1Click(TObject* Sender);

    void HandleEvent(TTeeEvent* Event) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend TForm* AddEditorPage(TFormTeeSeries*, const std::string&, int, TChartSeries*, const std::string&);
    friend bool EmbedEditorForm(TFormTeeSeries*, TForm*, TTabSheet*, TObject*);

    void SetUpSeries(const std::string& ReturnTab);
    void FreeEmbedded();
    void FreeSourceEditor();
    void LoadGeneral();
    TChartAxis* ListedCustomAxis(TComboBox* Combo, int Index);
    void LoadMarks();
    void LoadDataSource();
    void ShowSourceEditor(int Item);
    void EnableMultiLine();
    void ListenTo(TCustomAxisPanel* Chart);
    // The handlers of the general and marks tabs write only when this holds.
    bool Editing() const { return !FLoading && !FChanging && FSeries != nullptr; }

    std::array<TForm*, MaxEmbeddedForms> FEmbedded{};
    int FEmbeddedCount = 0;
    bool FLoading = true;
    bool FChanging = false;
    bool FDestroying = false;
    TChartSeries* FLastSeries = nullptr;
    TChartSeries* FSeries = nullptr;
    TForm* FSourceEditor = nullptr;
    int FSourceItem = -1;
    TFormTeeShape* FMarksEditor = nullptr;
    TFormTeeShape* FSymbolEditor = nullptr;
    TCheckBox* FSymbolVisible = nullptr;
    TCustomAxisPanel* FChart = nullptr;
    TChartListBox* FListBox = nullptr;
};

// A new tab with Caption at Index of the page's tabs holding a new form of the registered
// class (owned by the page, its Tag the series); nullptr when the class is unknown or the
// page already holds its most embedded forms.
TForm* AddEditorPage(TFormTeeSeries* Page, const std::string& FormClassName, int Index, TChartSeries* Series,
                     const std::string& Caption);
// Embeds the form in Tab with Tagged (the series, or what the form edits) as its Tag and
// counts it; false (and the form is freed) when the page already holds its most embedded
// forms.
bool EmbedEditorForm(TFormTeeSeries* Page, TForm* Form, TTabSheet* Tab, TObject* Tagged);

void TeeEdiSeriInitialization();
void TeeEdiSeriFinalization();
