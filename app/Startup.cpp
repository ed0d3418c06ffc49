#include "Startup.h"

#include "ArrowCha.h"
#include "BubbleCh.h"
#include "Chart.h"
#include "ChartPreview.h"
#include "GanttCh.h"
#include "PictureExport.h"
#include "RizUridu.h"
#include "ShapeSeries.h"
#include "TeeButtons.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeFunci.h"
#include "TeePenDlg.h"
#include "TeeStore.h"
#include "controls/Forms.h"

// Each unit starts after the units it uses and finishes before them.
void InitializeUnits()
{
    InitializeFormsUnit();
    TeeConstInitialization();
    RizUriduInitialization();
    TeEngineInitialization();
    ChartInitialization();
    TeeFunciInitialization();
    ShapeSeriesInitialization();
    GanttChInitialization();
    ArrowChaInitialization();
    BubbleChInitialization();
    TeeStoreInitialization();
    PictureExportInitialization();
    TeeButtonsInitialization();
    TeePenDlgInitialization();
    ChartPreviewInitialization();
    // The application's own units (Unit2, Unit3, ChatUnit, StrParser) need no start-up.
}

void FinalizeUnits()
{
    ChartPreviewFinalization();
    TeePenDlgFinalization();
    TeeButtonsFinalization();
    PictureExportFinalization();
    TeeStoreFinalization();
    BubbleChFinalization();
    ArrowChaFinalization();
    GanttChFinalization();
    ShapeSeriesFinalization();
    TeeFunciFinalization();
    ChartFinalization();
    TeEngineFinalization();
    RizUriduFinalization();
    TeeConstFinalization();
    FinalizeFormsUnit();
}
