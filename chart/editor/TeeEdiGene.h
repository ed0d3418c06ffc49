// The "General" page of the chart editor (zoom, scroll, cursor, margins and the print
// preview) and the page navigator, the navigator bar that moves through a chart's pages
// and prints them.
#pragma once

#include "EditorPage.h"
#include "Navigator.h"
#include "StyleEditors.h"

#include "Chart.h"

// The navigator over the pages of a chart with axes; any other panel counts as none.
class TChartPageNavigator : public TCustomRizIvoigator {
public:
    DECLARE_CLASS_NAME(TChartPageNavigator)
    explicit TChartPageNavigator(TComponent* AOwner);

    TCustomAxisPanel* Chart() const;
    void SetChart(TCustomAxisPanel* Value) { SetPanel(Value); }

    void HandleChartEvent(TTeeEvent* Event) override;
    void SetPanel(TCustomTeePanel* Value) override;
    void UpdateButtonStates() override;
    int PageCount() override;
    // The page the chart shows: its page, or the last one when it has fewer pages now.
    int ShownPage();
    // One page prints alone; of more, the pages chosen in the print dialog.
    void Print() override;
    void ButtonClicked(TRizIvoigateBtn Index) override;
};

class TFormTeeGeneral : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTeeGeneral)
    TFormTeeGeneral(TComponent* AOwner, TCustomChart* AChart);

    TButton* BPrint;
    TPageControl* PageControl1;
    // Zoom
    TTabSheet* TabZoom;
    TCheckBox* CBAllowZoom;
    TCheckBox* CBAnimatedZoom;
    TEdit* SEAniZoomSteps;
    TUpDown* UDAniZoomSteps;
    TButtonPen* BZoomPen;
    TButton* BZoomColor;
    TEdit* EMinPix;
    TUpDown* UDMinPix;
    TComboBox* CBDir;
    TComboBox* CBZoomMouse;
    TCheckBox* CBUpLeft;
    // Scroll
    TTabSheet* TabScroll;
    TRadioGroup* RGPanning;
    TComboBox* CBScrollMouse;
    // cursor and margins
    TComboBox* CBCursor;
    TGroupBox* GBMargins;
    TEdit* SETopMa;
    TUpDown* UDTopMa;
    TEdit* SELeftMa;
    TUpDown* UDLeftMa;
    TEdit* SEBotMa;
    TUpDown* UDBotMa;
    TEdit* SERightMa;
    TUpDown* UDRightMa;
    TComboBox* CBMarUnits;

    TCustomChart* TheChart() const { return FChart; }

    void FormShow(TObject* Sender);
    void BPrintClick(TObject* Sender);

private:
    void LoadControls();
    void SetMarginRanges();
    void EnableZoom();
    // Writes the margin of side Index (left, top, right, bottom) from its up-down, or,
    // in percent when it and the opposite margin would make 100 or more, puts the
    // up-down back to the current margin.
    void MarginChange(int Index);
    TUpDown* MarginUpDown(int Index) const;

    TCustomChart* FChart;
};

// The page for the chart; shown inside Parent when one is given.
TFormTeeGeneral* CreateGeneralEditor(TComponent* AOwner, TCustomChart* Chart, TWinControl* Parent = nullptr);

void TeeEdiGeneInitialization();
void TeeEdiGeneFinalization();
