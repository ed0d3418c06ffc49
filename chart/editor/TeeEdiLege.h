// The "Legend" page of the chart editor: every property of the chart's legend, its
// symbols and its title, with the frame, fill, font, gradient and shadow of the legend and
// of its title on text-box editor tabs.
#pragma once

#include "EditorPage.h"
#include "StyleEditors.h"

#include "Chart.h"

class TFormTeeLegend : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTeeLegend)
    TFormTeeLegend(TComponent* AOwner, TCustomChartLegend* ALegend);

    TPageControl* PageControl1;
    // Style
    TTabSheet* TabStyle;
    TCheckBox* CBShow;
    TCheckBox* CBInverted;
    TComboBox* CBLegendStyle;
    TComboBox* CBLegStyle;
    TButtonPen* BDivLines;
    TEdit* EVertSpacing;
    TUpDown* UDVertSpacing;
    TCheckBox* CBFontColor;
    TComboBox* CBCheckBoxes;
    // Position
    TTabSheet* TabPosition;
    TRadioGroup* RGPosition;
    TCheckBox* CBResizeChart;
    TEdit* SETopPos;
    TUpDown* UDTopPos;
    TEdit* SEMargin;
    TUpDown* UDMargin;
    TCheckBox* CBCustPos;
    TEdit* ECustLeft;
    TUpDown* UDLeft;
    TEdit* ECustTop;
    TUpDown* UDTop;
    // Symbols
    TTabSheet* TabSymbol;
    TEdit* SEColWi;
    TUpDown* UDColWi;
    TComboBox* CBColWUnits;
    TComboBox* CBSymbolPos;
    TCheckBox* CBContinuous;
    TCheckBox* CBVisible;
    TCheckBox* CBSquared;
    TCheckBox* CBSymPen;
    TButtonPen* BSymPen;
    TButtonGradient* BSymGradient;
    // Title
    TTabSheet* TabTitle;
    TPageControl* PageControl2;
    TTabSheet* TabTitleStyle;
    TMemo* MemoText;
    TComboBox* CBTextAlign;
    TCheckBox* CBTitleVisible;

    TCustomChartLegend* Legend() const { return FLegend; }
    TFormTeeShape* LegendShapeEditor() const { return FLegendShape; }
    TFormTeeShape* TitleShapeEditor() const { return FTitleShape; }

    void FormShow(TObject* Sender);
    void CBCustPosClick(TObject* Sender);
    void MemoTextChange(TObject* Sender);

private:
    void LoadControls();
    void LoadMargin();
    void EnablePosition();
    void EnableSymbol();

    TCustomChartLegend* FLegend;
    TFormTeeShape* FLegendShape = nullptr;
    TFormTeeShape* FTitleShape = nullptr;
};

// The page for the legend, with the text-box editors of the legend and its title on its
// tabs; shown inside Parent when one is given.
TFormTeeLegend* CreateLegendEditor(TComponent* AOwner, TCustomChartLegend* Legend, TWinControl* Parent = nullptr);

void TeeEdiLegeInitialization();
void TeeEdiLegeFinalization();
