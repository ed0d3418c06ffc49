// The "Walls" page of the chart editor: the chart's left, right, bottom and back walls,
// one tab at a time, and the size of all of them at once.
#pragma once

#include "EditorPage.h"
#include "StyleEditors.h"

#include "Chart.h"

class TFormTeeWall : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTeeWall)
    TFormTeeWall(TComponent* AOwner, TCustomChartWall* AWall);

    TTabControl* TabSubWalls;
    TButtonColor* BWallColor;
    TButtonPen* BWallPen;
    TButton* BWallBrush;
    TButtonGradient* BGradient;
    TEdit* SEWallSize;
    TUpDown* UDWallSize;
    TCheckBox* CBTransp;
    TCheckBox* CBDark3D;
    TCheckBox* CBVisible;
    TEdit* Edit1;
    TUpDown* UDTransp;
    TCheckBox* CBAutoHide;
    TCheckBox* CBView3dWalls;
    TEdit* EAllSize;
    TUpDown* UDAllSize;

    TCustomChartWall* TheWall() const { return FWall; }

    void FormShow(TObject* Sender);
    void TabSubWallsChange(TObject* Sender);
    void BGradientClick(TObject* Sender);

private:
    TCustomChart* Chart() const;
    // The chart's wall of a tab (left, right, bottom, back).
    TCustomChartWall* WallOfTab(int Index) const;
    void LoadControls();

    TCustomChartWall* FWall;
};

// The page for the wall (one of a chart's); shown inside Parent when one is given.
TFormTeeWall* CreateWallEditor(TComponent* AOwner, TCustomChartWall* Wall, TWinControl* Parent = nullptr);

void TeeEdiWallInitialization();
void TeeEdiWallFinalization();
