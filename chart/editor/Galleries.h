// The gallery panel: a grid of small live charts, one per registered series type or
// calculated function, each drawn with sample values by its own class; and the gallery
// dialog that hosts it to choose a type for a new series or for a series' new type.
#pragma once

#include "TeePenDlg.h"

#include "Chart.h"

#include "controls/FormBuilder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartGalleryPanel;
class TChartListBox;

// A chart made for the gallery grid; Tag holds the chosen sub-style (-1 without one).
class TGalleryChart : public TCustomChart {
public:
    DECLARE_CLASS_NAME(TGalleryChart)
    TGalleryChart(TComponent* AOwner, bool FocusRotation);

    // The registration the chart shows (its series and function class).
    TTeeSeriesType* SeriesType = nullptr;
    bool Smooth() const { return FSmooth; }
    // A change repaints the chart at once.
    void SetSmooth(bool Value);
    // Sets the look of the focused chart, or of the others; ShowMarker draws the
    // sub-gallery marker on it.
    void SetFocusLook(bool Focused, bool FocusRotation, bool ShowMarker = false);
    // The series class offers sub-styles: the chart can open a sub-gallery.
    bool HasSubStyles = false;
    // The sub-gallery marker area (12 x 12 at the bottom-left corner) holds the point.
    bool InSubMarker(int X, int Y) const;

    // Smooth: drawn at four times the size and reduced into the chart, then the title.
    void DrawToCanvas(TCanvas* Canvas, const TRect& Rect) override;

protected:
    void FireAfterDraw() override;
    // A smooth chart is drawn anew on each paint (the surface buffer holds the plain one).
    void Paint() override;

private:
    void DrawMarker(TCanvas* Canvas);
    bool FSmooth = false;
    bool FSmoothDrawing = false;
    bool FShowMarker = false;
};

class TChartGalleryPanel : public TCustomPanelNoCaption {
public:
    DECLARE_CLASS_NAME(TChartGalleryPanel)
    explicit TChartGalleryPanel(TComponent* AOwner);
    ~TChartGalleryPanel() override;

    bool DisplaySub() const { return FDisplaySub; }
    void SetDisplaySub(bool Value) { FDisplaySub = Value; }
    bool FocusRotation() const { return FFocusRotation; }
    void SetFocusRotation(bool Value) { FFocusRotation = Value; }
    int NumRows() const { return FNumRows; }
    void SetNumRows(int Value);
    int NumCols() const { return FNumCols; }
    void SetNumCols(int Value);
    // Anti-aliased drawing of every chart; starts from the editor option "SmoothGallery".
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    bool View3D() const { return FView3D; }
    void SetView3D(bool Value);

    TNotifyEvent OnSelectedChart;
    TNotifyEvent OnChangeChart;
    TNotifyEvent OnSubSelected;

    // The charts in grid order (owned).
    int ChartCount() const { return static_cast<int>(FCharts.size()); }
    TGalleryChart* Charts(int Index) const;
    // Frees every chart.
    void Clear();
    // Places every chart in its cell.
    void RelayOut();
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }

    // Charts are calculated functions (offered for CurrentSeries as their source).
    bool FunctionsMode = false;
    // The series being changed: pre-selected, and the source functions must accept.
    TChartSeries* CurrentSeries = nullptr;

    TGalleryChart* SelectedChart() const { return FSelected; }
    // Focuses the chart (nothing for a disabled one).
    virtual void SetSelectedChart(TGalleryChart* Chart);
    // The first enabled chart, focused.
    void FocusFirst();
    // Fires OnSelectedChart when a chart is focused.
    void SelectFocused();
    // Opens the pop-up sub-gallery of the focused chart when its class offers sub-styles;
    // a chosen style is stored in the chart's Tag and applied to its series, then
    // OnSubSelected fires. True when a style was chosen.
    bool ShowSubGallery();
    // The panel fills a sub-gallery: charts are chosen with Enter, not a double click.
    bool IsSubGallery() const { return FSubGallery; }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void Resize() override;

private:
    friend TGalleryChart* AddGalleryChart(TChartGalleryPanel*, TTeeSeriesType*, const std::string*);
    void MoveFocus(int Columns, int Rows);
    void ChartMouseDown(TGalleryChart* Chart, int X, int Y);
    bool FSubGallery = false;

    std::vector<std::unique_ptr<TGalleryChart>> FCharts;
    int FCellWidth = 0;
    int FCellHeight = 0;
    TGalleryChart* FSelected = nullptr;
    bool FDisplaySub = true;
    bool FFocusRotation = true;
    int FNumRows = 3;
    int FNumCols = 4;
    bool FSmooth = false;
    bool FSmoothAtStart = false;
    bool FView3D = true;
};

// Creates and places one chart for the registration (titled with Description when
// given, else the registration's description); answers it.
TGalleryChart* AddGalleryChart(TChartGalleryPanel* Panel, TTeeSeriesType* SeriesType,
                               const std::string* Description = nullptr);
// Fills the panel with every registration of the page (functions only in functions
// mode, series types otherwise), in registry order.
void CreateGalleryPage(TChartGalleryPanel* Panel, const std::string& PageName);
// The rows a page of Count charts gets: 3 while they fit in two rows, else as many as
// they need.
int GalleryRowsFor(int Count, int NumCols);
// False when no chart is selected; else the selected chart's series class, function
// class (nullptr for none) and sub-style (-1 for none).
bool GetSelectedTypes(TChartGalleryPanel* Panel, TChartSeriesClass& SeriesClass, TTeeFunctionClass& FunctionClass,
                      int& SubIndex);

// The tabbed gallery dialog.
class TTeeGallery : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeGallery)
    explicit TTeeGallery(TComponent* AOwner);

    TTabControl* TabTypes;
    TTabControl* TabPages;
    TChartGalleryPanel* ChartGalleryPanel1;
    TCheckBox* CB3D;
    TCheckBox* CBSmooth;
    TButton* BOk;
    TButton* BCancel;

    // Offers no functions (a series' type is being changed).
    void SetChangeMode(bool Value);

    void FormShow(TObject* Sender);
    void TabTypesChange(TObject* Sender);
    void TabPagesChange(TObject* Sender);
};

// The alternate gallery dialog: a list of the series types of a page, and for the chosen
// one its sub-styles in the panel.
class TTeeGalleryForm : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeGalleryForm)
    explicit TTeeGalleryForm(TComponent* AOwner);
    ~TTeeGalleryForm() override;

    TChartListBox* ChartListBox1;
    TChartGalleryPanel* ChartGalleryPanel1;
    TLabel* LPage;
    TComboFlat* CBPage;
    TCheckBox* CB3D;
    TCheckBox* CBSmooth;
    TButton* BOK;
    TButton* BCancel;

    // Lists one series per series type of the chosen page ("(all)": every page).
    void CBPageChange(TObject* Sender);
    // Fills the panel with the sub-styles of the chosen list entry's class.
    void ShowSubStyles();

private:
    std::unique_ptr<TCustomChart> FChart;
    TChartSeriesClass FShownClass = nullptr;
};

// Fills the panel with one chart per sub-style of the registration's series class, the
// style applied to its first series and its index as the chart's Tag.
void FillSubStyles(TChartGalleryPanel* Panel, TTeeSeriesType* SeriesType);

// Runs the gallery; true on OK with the chosen classes, sub-style and 3D answer.
bool ShowSeriesGallery(TComponent* AOwner, TChartSeries* Series, TCustomChart* Chart, bool FunctionsMode,
                       TChartSeries* CurrentSeries, TChartSeriesClass& SeriesClass,
                       TTeeFunctionClass& FunctionClass, int& SubIndex, bool& View3D);
// What the series list adds through the gallery: a new series of the chosen type in the
// chart (nullptr when cancelled).
TChartSeries* NewSeriesFromGallery(TComponent* AOwner, TCustomChart* Chart);
// A new type for the series through the gallery; the series becomes the new one.
// Answers the (new) series' class, or nullptr when cancelled.
TChartSeriesClass ChangeSeriesTypeFromGallery(TComponent* AOwner, TChartSeries*& Series);

// Unit start-up: registers the standard series types and the gallery's form classes and
// installs the series list's gallery hooks; finalisation takes them back.
// The picture of a series type (a function: a line series with it) for the editor's
// lists: a small flat chart of the type with the gallery's sample values, Size x Size.
void DrawClassPicture(TChartSeriesClass SeriesClass, TTeeFunctionClass FunctionClass, TBitmap* Bitmap, int Size = 16);
// The picture of the series' type and function.
void DrawClassPicture(const TChartSeries* Series, TBitmap* Bitmap, int Size = 16);

void GalleriesInitialization();
void GalleriesFinalization();

// A chooser of items between two lists (used by the function editor to pick sources).
class TSelectListForm : public TForm {
public:
    DECLARE_CLASS_NAME(TSelectListForm)
    explicit TSelectListForm(TComponent* AOwner);

    TLabel* LFrom;
    TListBox* FromList;
    TLabel* LTo;
    TListBox* ToList;
    TButton* BRightOne;
    TButton* BRightAll;
    TButton* BLeftOne;
    TButton* BLeftAll;
    TSpeedButton* BMoveUP;
    TSpeedButton* BMoveDown;

    TNotifyEvent OnChange;

    // Re-enables the buttons from the lists' contents and selection, then fires OnChange.
    void EnableButtons();
    // Moves the selected item of ToList by Delta places, keeping it selected.
    void MoveSelected(int Delta);
};
