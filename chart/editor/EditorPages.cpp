// The factories of the chart editor's pages that take the object they edit when they are
// created: the axis, legend, panel, titles, walls, general, paging, 3D and series pages;
// and the export page, found by its class name.
#include "TeeEditCha.h"

#include "ExportDialog.h"
#include "TeeEdiAxis.h"
#include "TeeEdiGene.h"
#include "TeeEdiTitl.h"
#include "TeeEdiLege.h"
#include "TeeEdiPane.h"
#include "TeeEdiPage.h"
#include "TeeEdiWall.h"
#include "TeeEdi3D.h"
#include "TeeEdiSeri.h"

void RegisterChartEditorPages()
{
    // The axis page starts on the left axis.
    RegisterChartEditorPage("TFormTeeAxis", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return new TFormTeeAxis(Owner, Chart->LeftAxis());
    });
    RegisterChartEditorPage("TFormTeeGeneral", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateGeneralEditor(Owner, Chart);
    });
    RegisterChartEditorPage("TFormTeeTitle", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateTitleEditor(Owner, Chart, Chart->Title());
    });
    RegisterChartEditorPage("TFormTeeLegend", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateLegendEditor(Owner, Chart->Legend());
    });
    RegisterChartEditorPage("TFormTeePanel", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreatePanelEditor(Owner, Chart);
    });
    RegisterChartEditorPage("TFormTeePage", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreatePagingEditor(Owner, Chart);
    });
    RegisterChartEditorPage("TFormTeeWall", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateWallEditor(Owner, Chart->LeftWall());
    });
    RegisterChartEditorPage("TFormTee3D", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return Create3DEditor(Owner, Chart);
    });
    // The series page follows the series list and opens on its selected series.
    RegisterChartEditorPage("TFormTeeSeries", [](TComponent* Owner, TCustomChart* Chart, TChartListBox* SeriesList) -> TForm* {
        auto* page = new TFormTeeSeries(Owner);
        // The editor's options and hidden pages decide which tabs the page offers.
        if (auto* editor = dynamic_cast<TChartEditForm*>(Owner)) {
            page->ShowDataSource = editor->Options().Test(ceDataSource);
            page->ShowGeneral = editor->HiddenPages.count(cetSeriesGeneral) == 0;
            page->ShowMarks = editor->HiddenPages.count(cetSeriesMarks) == 0;
        }
        page->SetSeriesListBox(SeriesList);
        page->FillSeries(Chart);
        page->SelectSeries(SeriesList->SelectedSeries());
        return page;
    });
    // The export dialog takes its chart from its Tag, as a dialog of its own does.
    RegisterFormClass<TTeeExportForm>("TTeeExportForm");
}
