// The "Paging" page of the chart editor: how many points a page of the chart shows, and
// a navigator through the pages.
#pragma once

#include "TeeEdiGene.h"

class TFormTeePage : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTeePage)
    TFormTeePage(TComponent* AOwner, TCustomChart* AChart);

    TEdit* SEPointsPerPage;
    TUpDown* UDPointsPerPage;
    TCheckBox* CBScaleLast;
    TCheckBox* CBPageLegend;
    TChartPageNavigator* ChartPageNavigator1;
    TLabel* LabelPages;
    // Shown only when the chart core offers a page-number tool, which it does not.
    TCheckBox* CBPageNum;

    TCustomChart* TheChart() const { return FChart; }

    void FormShow(TObject* Sender);
    void SEPointsPerPageChange(TObject* Sender);
    void ChartPageNavigator1ButtonClicked(TObject* Sender, TRizIvoigateBtn Index);

private:
    void ShowPages();
    TCustomChart* FChart;
};

// The page for the chart; shown inside Parent when one is given.
TFormTeePage* CreatePagingEditor(TComponent* AOwner, TCustomChart* Chart, TWinControl* Parent = nullptr);

void TeeEdiPageInitialization();
void TeeEdiPageFinalization();
