// The "Titles" page of the chart editor: one of the chart's four titles at a time, its
// text, alignment and position, with its frame, fill, font, gradient and shadow on
// text-box editor tabs.
#pragma once

#include "EditorPage.h"
#include "StyleEditors.h"

#include "Chart.h"

class TFormTeeTitle : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTeeTitle)
    TFormTeeTitle(TComponent* AOwner, TCustomChart* AChart, TChartTitle* ATitle);

    TComboBox* CBTitles;
    TPageControl* PageControlTitle;
    TTabSheet* TabStyle;
    TMemo* MText;
    TCheckBox* CBVisible;
    TCheckBox* CBAdjust;
    TComboBox* CBAlign;
    TCheckBox* CBCustPos;
    TEdit* ECustLeft;
    TUpDown* UDLeft;
    TEdit* ECustTop;
    TUpDown* UDTop;

    TChartTitle* TheTitle() const { return FTitle; }
    TFormTeeShape* ShapeEditor() const { return FShapeEditor; }

    void FormShow(TObject* Sender);
    void CBTitlesChange(TObject* Sender);
    // Edits that title of the chart as if it had been picked in the combo.
    void SelectTitle(TChartTitle* Value);

private:
    // The chart's title of a CBTitles item (title, sub-title, sub-foot, foot).
    TChartTitle* TitleOfItem(int Item) const;
    void LoadControls();
    void EnableCustom();

    TCustomChart* FChart;
    TChartTitle* FTitle;
    TFormTeeShape* FShapeEditor = nullptr;
    bool FUpdatingText = false;
};

// The page for the chart's title (the chart's Title when Title is nullptr); shown inside
// Parent when one is given.
TFormTeeTitle* CreateTitleEditor(TComponent* AOwner, TCustomChart* Chart, TChartTitle* Title,
                                 TWinControl* Parent = nullptr);

void TeeEdiTitlInitialization();
void TeeEdiTitlFinalization();
