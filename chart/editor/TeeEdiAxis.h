// The "Axis" page of the chart editor: the chart's axes in a list and, for the chosen
// axis, tabs that edit every property of the axis at once.
#pragma once

#include "StyleEditors.h"

#include "Chart.h"

#include <functional>
#include <string>

class TFormTeeAxis : public TForm {
public:
    DECLARE_CLASS_NAME(TFormTeeAxis)
    TFormTeeAxis(TComponent* AOwner, TChartAxis* AAxis);

    // left panel
    TLabel* LAxes;
    TListBox* LBAxes;
    TCheckBox* CBShow;
    TCheckBox* CBAxisBeh;
    TButton* BAdd;
    TButton* BDelete;
    TPageControl* PageAxis;
    // Scales
    TTabSheet* TabScales;
    TCheckBox* CBAutomatic;
    TCheckBox* CBVisible;
    TCheckBox* CBInverted;
    TButton* BIncre;
    TLabel* LAxisIncre;
    TCheckBox* CBLogarithmic;
    TLabel* LLogBase;
    TEdit* ELogBase;
    TCheckBox* LogE;
    TPageControl* PageScales;
    TTabSheet* TabMinimum;
    TCheckBox* CBAutoMin;
    TButton* BAxisMin;
    TLabel* LAxisMin;
    TEdit* EMinOff;
    TUpDown* UDMinOff;
    TTabSheet* TabMaximum;
    TCheckBox* CBAutoMax;
    TButton* BAxisMax;
    TLabel* LAxisMax;
    TEdit* EMaxOff;
    TUpDown* UDMaxOff;
    // Title
    TTabSheet* TabTitle;
    TPageControl* PageTitle;
    TTabSheet* TabTitleStyle;
    TEdit* ETitle;
    TEdit* SETitleAngle;
    TUpDown* UDTitleAngle;
    TEdit* SETitleSize;
    TUpDown* UDTitleSize;
    TCheckBox* CBTitleVisible;
    TTabSheet* TabTitleText;
    // Labels
    TTabSheet* TabLabels;
    TPageControl* PageLabels;
    TTabSheet* TabLabelsStyle;
    TCheckBox* CBLabels;
    TComboBox* CBLabelStyle;
    TCheckBox* CBMultiline;
    TCheckBox* CBOnAxis;
    TCheckBox* CBRoundFirst;
    TEdit* SELabelsSize;
    TUpDown* UDLabelsSize;
    TEdit* SELabelsAngle;
    TUpDown* UDLabelsAngle;
    TEdit* SESepar;
    TUpDown* UDSepar;
    TCheckBox* CBAlternate;
    TTabSheet* TabLabelsFormat;
    TLabel* LFormat;
    TComboBox* CBFormat;
    TButton* Button1;
    TCheckBox* CBExpo;
    TCheckBox* CBLabelAlign;
    TTabSheet* TabLabelsText;
    // Ticks and minor ticks
    TTabSheet* TabTicks;
    TEdit* SEAxisTickLength;
    TUpDown* UDAxisTickLength;
    TEdit* SEInnerTicksLength;
    TUpDown* UDInnerTicksLength;
    TCheckBox* CBTickOnLabels;
    TCheckBox* CBGridCentered;
    TEdit* Edit2;
    TButtonPen* BAxisPen;
    TButtonPen* BTicksPen;
    TButtonPen* BInnerPen;
    TButtonPen* BGridPen;
    TTabSheet* TabMinor;
    TEdit* SEAxisMinorTickLen;
    TUpDown* UDAxisMinorTickLen;
    TEdit* SEMinorCount;
    TUpDown* UDMinorCount;
    TButtonPen* BMinorTicksPen;
    TButtonPen* BMinorGridPen;
    // Position
    TTabSheet* TabPosition;
    TEdit* EPos;
    TUpDown* UDPos;
    TEdit* EStart;
    TUpDown* UDStart;
    TEdit* EEnd;
    TUpDown* UDEnd;
    TEdit* Edit1;
    TComboBox* CBPosUnits;
    TCheckBox* CBOtherSide;
    TCheckBox* CBHorizAxis;

    TChartAxis* Axis() const { return FAxis; }
    TTeeFontEditor* TitleFontEditor() const { return FTitleFont; }
    TTeeFontEditor* LabelsFontEditor() const { return FLabelsFont; }
    // Called after the horizontal flag of a custom axis changed.
    std::function<void()> OnAfterHorizontal;

    // The increment as the page shows it.
    static std::string IncrementText(bool IsDateTime, bool Exact, const std::string& Format, double Value);
    // Fills Items with the chart's axes: the four standard ones, the two depth axes when
    // WithDepth, then "Custom 0", "Custom 1", ...
    static void FillAxesList(TCustomChart* Chart, TStrings* Items, bool WithDepth);
    // The chart's axis of an item of that list.
    static TChartAxis* AxisOfIndex(TCustomChart* Chart, int Index);
    // Edits the axis (one of the page's chart) as if it had been picked in the list.
    void SelectAxis(TChartAxis* Value);

    void FormShow(TObject* Sender);
    void FillPage();
    void PageAxisChange(TObject* Sender);
    void LBAxesClick(TObject* Sender);
    void BAddClick(TObject* Sender);
    void BDeleteClick(TObject* Sender);
    void BIncreClick(TObject* Sender);
    void EditMinMax(bool IsMax);
    void Button1Click(TObject* Sender);

private:
    TCustomChart* Chart() const;
    TChartAxis* AxisOfListIndex(int Index) const;
    void SelectAxisInList();
    void FillScales();
    void FillLabels();
    void FillFormatList();
    void LinkPens();
    void ApplyLogBase();
    // Binds a control's change to a write into the axis that runs only while not filling.
    void OnEdit(TEdit* Edit, std::function<void()> Write);
    void OnCheck(TCheckBox* Box, std::function<void()> Write);

    TChartAxis* FAxis = nullptr;
    bool FFilling = true;
    TTeeFontEditor* FTitleFont = nullptr;
    TTeeFontEditor* FLabelsFont = nullptr;
};

void TeeEdiAxisInitialization();
void TeeEdiAxisFinalization();
