// The factories of the chart editor's pages that take the object they edit when they are
// created: the axis page, and those of the legend, panel, titles, walls, general,
// paging, 3D and series pages where their units are part of the build.
#include "TeeEditCha.h"

#include "TeeEdiAxis.h"

#if __has_include("TeeEdiGene.h")
#include "TeeEdiGene.h"
#endif
#if __has_include("TeeEdiTitl.h")
#include "TeeEdiTitl.h"
#endif
#if __has_include("TeeEdiLege.h")
#include "TeeEdiLege.h"
#endif
#if __has_include("TeeEdiPane.h")
#include "TeeEdiPane.h"
#endif
#if __has_include("TeeEdiPage.h")
#include "TeeEdiPage.h"
#endif
#if __has_include("TeeEdiWall.h")
#include "TeeEdiWall.h"
#endif
#if __has_include("TeeEdi3D.h")
#include "TeeEdi3D.h"
#endif
#if __has_include("TeeEdiSeri.h")
#include "TeeEdiSeri.h"
#endif

void RegisterChartEditorPages()
{
    // The axis page starts on the left axis.
    RegisterChartEditorPage("TFormTeeAxis", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return new TFormTeeAxis(Owner, Chart->LeftAxis());
    });
#if __has_include("TeeEdiGene.h")
    RegisterChartEditorPage("TFormTeeGeneral", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateGeneralEditor(Owner, Chart);
    });
#endif
#if __has_include("TeeEdiTitl.h")
    RegisterChartEditorPage("TFormTeeTitle", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateTitleEditor(Owner, Chart, Chart->Title());
    });
#endif
#if __has_include("TeeEdiLege.h")
    RegisterChartEditorPage("TFormTeeLegend", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateLegendEditor(Owner, Chart->Legend());
    });
#endif
#if __has_include("TeeEdiPane.h")
    RegisterChartEditorPage("TFormTeePanel", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreatePanelEditor(Owner, Chart);
    });
#endif
#if __has_include("TeeEdiPage.h")
    RegisterChartEditorPage("TFormTeePage", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreatePagingEditor(Owner, Chart);
    });
#endif
#if __has_include("TeeEdiWall.h")
    RegisterChartEditorPage("TFormTeeWall", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return CreateWallEditor(Owner, Chart->LeftWall());
    });
#endif
#if __has_include("TeeEdi3D.h")
    RegisterChartEditorPage("TFormTee3D", [](TComponent* Owner, TCustomChart* Chart, TChartListBox*) -> TForm* {
        return Create3DEditor(Owner, Chart);
    });
#endif
#if __has_include("TeeEdiSeri.h")
    // The series page follows the series list and opens on its selected series.
    RegisterChartEditorPage("TFormTeeSeries", [](TComponent* Owner, TCustomChart* Chart, TChartListBox* SeriesList) -> TForm* {
        auto* page = new TFormTeeSeries(Owner);
        page->SetSeriesListBox(SeriesList);
        page->FillSeries(Chart);
        page->SelectSeries(SeriesList->SelectedSeries());
        return page;
    });
#endif
}
