#include "SeriesUnits.h"

#include "ArrowCha.h"
#include "BubbleCh.h"
#include "Chart.h"
#include "DataExport.h"
#include "GanttCh.h"
#include "PictureExport.h"
#include "RizUridu.h"
#include "ShapeSeries.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeFunci.h"
#include "TeeStore.h"

void InitializeSeriesUnits()
{
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
    DataExportInitialization();
}

void FinalizeSeriesUnits()
{
    DataExportFinalization();
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
}
