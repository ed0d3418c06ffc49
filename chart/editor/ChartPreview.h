// Print preview: a panel that shows a sheet of paper in the proportions of the printer's
// page with chart panels placed on it by their print margins (dragged with the mouse),
// and prints them on one page; and the dialog around it with the printer choice and
// set-up, orientation, margin fields, detail, proportional and smooth options.
#pragma once

#include "Navigator.h"
#include "RizUridu.h"

#include "controls/ComCtrls.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "controls/StdButtons.h"
#include "controls/StdCtrls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TTeePreviewPanelOrientation { ppoDefault, ppoPortrait, ppoLandscape };

// The pen of the margin lines: small dots, visible.
class TPreviewChartPen : public TChartPen {
public:
    DECLARE_CLASS_NAME(TPreviewChartPen)
    explicit TPreviewChartPen(TNotifyEvent onChange = nullptr);
};

// The panels a preview shows; it owns none of them.
class TTeePanelsList : public TObject {
public:
    DECLARE_CLASS_NAME(TTeePanelsList)
    int Count() const { return static_cast<int>(FItems.size()); }
    TCustomTeePanel* Items(int Index) const;   // EListError outside 0..Count-1
    int IndexOf(const TCustomTeePanel* Panel) const;
    void Add(TCustomTeePanel* Panel) { FItems.push_back(Panel); }
    void Insert(int Index, TCustomTeePanel* Panel) { FItems.insert(FItems.begin() + Index, Panel); }
    void Delete(int Index);
    int Remove(const TCustomTeePanel* Panel);

private:
    std::vector<TCustomTeePanel*> FItems;
};

// Where a press on the chart rectangle lands: an edge, a corner, inside, or nowhere.
enum TPreviewDragZone { pdNone, pdLeft, pdTop, pdRight, pdBottom, pdLeftTop, pdLeftBottom, pdRightTop,
                        pdRightBottom, pdMove };

using TPreviewChangeMarginsEvent = std::function<void(TObject* Sender, bool DisableProportional, const TRect& NewMargins)>;
using TPreviewPaperRectEvent = std::function<void(TObject* Sender, TRect& PaperRect)>;

class TTeePreviewPanel : public TCustomTeePanelExtended {
public:
    DECLARE_CLASS_INFO(TTeePreviewPanel)
    explicit TTeePreviewPanel(TComponent* AOwner);
    ~TTeePreviewPanel() override;

    // The first panel of the list. Setting another one replaces the first entry (nullptr
    // just removes it); the preview itself is never listed.
    TCustomTeePanel* Panel() const { return FPanels.Count() > 0 ? FPanels.Items(0) : nullptr; }
    void SetPanel(TCustomTeePanel* Value);
    TTeePanelsList* Panels() { return &FPanels; }
    // Adds a further panel to print on the same page.
    void AddPanel(TCustomTeePanel* Value);

    TPreviewChartPen* Margins() const { return FMargins.get(); }
    TTeePreviewPanelOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTeePreviewPanelOrientation Value);
    TColor PaperColor() const { return FPaperColor; }
    void SetPaperColor(TColor Value) { SetAndRepaint(FPaperColor, Value); }
    TTeeShadow* PaperShadow() const { return FPaperShadow.get(); }
    bool AllowResize() const { return FAllowResize; }
    void SetAllowResize(bool Value) { FAllowResize = Value; }
    bool AllowMove() const { return FAllowMove; }
    void SetAllowMove(bool Value) { FAllowMove = Value; }
    bool AsBitmap() const { return FAsBitmap; }
    void SetAsBitmap(bool Value) { SetAndRepaint(FAsBitmap, Value); }
    bool SmoothBitmap() const { return FSmoothBitmap; }
    void SetSmoothBitmap(bool Value) { SetAndRepaint(FSmoothBitmap, Value); }
    bool ShowImage() const { return FShowImage; }
    void SetShowImage(bool Value) { SetAndRepaint(FShowImage, Value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    TPreviewChangeMarginsEvent OnChangeMargins;
    TPreviewPaperRectEvent OnGetPaperRect;

    // The paper in client pixels, and a panel's rectangle on it (from its margins).
    TRect PaperRect();
    TRect PanelRect(TCustomTeePanel* APanel);
    // The zone of the first panel's rectangle at (X, Y).
    TPreviewDragZone ZoneAt(int X, int Y);
    // The printer's orientation from Orientation (when not ppoDefault).
    void ApplyOrientation();
    // Prints every listed panel on one page.
    void Print();

protected:
    // Draws afresh on every paint: the panels shown change without telling the preview
    // (a chart edited on another tab of the editor), so its buffer is never up to date.
    void Paint() override;
    void DrawContents(const TRect& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DrawPanel(TCanvas* Canvas, TCustomTeePanel* APanel, const TRect& R);
    void Drag(int X, int Y);

    TTeePanelsList FPanels;
    std::unique_ptr<TPreviewChartPen> FMargins;
    TTeePreviewPanelOrientation FOrientation = ppoDefault;
    TColor FPaperColor = clWhite;
    std::unique_ptr<TTeeShadow> FPaperShadow;
    bool FAllowResize = true;
    bool FAllowMove = true;
    bool FAsBitmap = false;
    bool FSmoothBitmap = true;
    bool FShowImage = true;
    std::string FTitle;
    TRect FPaper;
    TRect FChartRect;
    TPreviewDragZone FDragZone = pdNone;
    bool FDragging = false;
    TPoint FDownPoint;
    TRect FDownRect;
    TRect FDownMargins;
};

// The print preview dialog. A non-zero Tag names the panel to preview when shown.
class TChartPreview : public TForm {
public:
    DECLARE_CLASS_NAME(TChartPreview)
    explicit TChartPreview(TComponent* AOwner);
    ~TChartPreview() override;

    TPanel* PanelTop = nullptr;
    TLabel* LPrinters = nullptr;
    TComboBox* CBPrinters = nullptr;
    TButton* BSetupPrinter = nullptr;
    TRadioGroup* Orientation = nullptr;
    TGroupBox* GBMargins = nullptr;
    TEdit* SELeftMa = nullptr;
    TUpDown* UDLeftMa = nullptr;
    TEdit* SETopMa = nullptr;
    TUpDown* UDTopMa = nullptr;
    TEdit* SERightMa = nullptr;
    TUpDown* UDRightMa = nullptr;
    TEdit* SEBotMa = nullptr;
    TUpDown* UDBotMa = nullptr;
    TButton* BReset = nullptr;
    TLabel* LResolution = nullptr;
    TTrackBar* Resolution = nullptr;
    TLabel* LMore = nullptr;
    TLabel* LNormal = nullptr;
    TCheckBox* ShowMargins = nullptr;
    TCheckBox* CBProp = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TButton* BPrint = nullptr;
    TButton* BClose = nullptr;
    TTeePreviewPanel* TeePreviewPanel1 = nullptr;

    // Makes the page navigator the dialog shows at its top (the paging page gives one);
    // nullptr for none.
    std::function<TCustomRizIvoigator*(TComponent* Owner)> MakePageNavigator;
    TCustomRizIvoigator* PageNavigator() const { return FPageNavigator; }

    void FormShow(TObject* Sender);
    void CBPrintersChange(TObject* Sender);
    void BSetupPrinterClick(TObject* Sender);
    void OrientationClick(TObject* Sender);
    void MarginChange(TEdit* Edit);
    void BResetClick(TObject* Sender);
    void ResolutionChange(TObject* Sender);
    void ShowMarginsClick(TObject* Sender);
    void CBPropClick(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void BPrintClick(TObject* Sender);

private:
    void FillPrinters();
    void ShowMarginFields();
    void PanelMarginsChanged(bool DisableProportional, const TRect& NewMargins);
    TCustomTeePanel* PreviewedPanel() const { return TeePreviewPanel1->Panel(); }

    TRect FOldMargins;
    bool FFilling = false;
    TCustomRizIvoigator* FPageNavigator = nullptr;
};

// Opens the print preview of Panel modally.
void ChartPreview(TComponent* AOwner, TCustomTeePanel* Panel);

// Unit start-up: registers the dialog's form class.
void ChartPreviewInitialization();
void ChartPreviewFinalization();
