// The "3D" page of the chart editor: the chart's 3D view options on one tab, and six
// preset views on another, a click on one of which gives the chart that view.
#pragma once

#include "EditorPage.h"
#include "Galleries.h"

#include "Chart.h"

class TFormTee3D : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTee3D)
    TFormTee3D(TComponent* AOwner, TCustomChart* AChart);

    TPageControl* PageControl1;
    TTabSheet* TabOptions;
    TCheckBox* CBView3d;
    TEdit* SE3d;
    TUpDown* UD3D;
    TCheckBox* CBOrthogonal;
    TEdit* EOrthoAngle;
    TUpDown* UDOrthoAngle;
    TCheckBox* CBZoomText;
    TCheckBox* CBClipPoints;
    TTrackBar* SBZoom;
    TLabel* LZoom;
    TTrackBar* SBRotation;
    TLabel* LRotation;
    TTrackBar* SBElevation;
    TLabel* LElevation;
    TTrackBar* SBHOffset;
    TLabel* LHOffset;
    TTrackBar* SBVOffset;
    TLabel* LVOffset;
    TTrackBar* SBPerspec;
    TLabel* LPerspec;
    TEdit* ETextSize;
    TUpDown* UDTextSize;
    TLabel* LTextSize;
    TTabSheet* TabViews;
    TChartGalleryPanel* ChartGalleryPanel1;

    TCustomChart* TheChart() const { return FChart; }
    // The names of the preset views, in the order the Views tab shows them.
    static const char* const PresetNames[6];

    void FormShow(TObject* Sender);
    void PageControl1Change(TObject* Sender);
    void ChartGalleryPanel1ChangeChart(TObject* Sender);

private:
    void LoadOptions();
    // Enables the controls that depend on 3D, orthogonal view and rotation.
    void EnableControls();
    bool RotationAllowed() const;
    void BuildViews();
    void FocusMatchingView();

    TCustomChart* FChart;
    bool FViewsNotBuilt = true;
};

// The page for the chart; shown inside Parent when one is given.
TFormTee3D* Create3DEditor(TComponent* AOwner, TCustomChart* Chart, TWinControl* Parent = nullptr);

void TeeEdi3DInitialization();
void TeeEdi3DFinalization();
