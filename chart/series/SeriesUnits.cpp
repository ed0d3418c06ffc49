#include "SeriesUnits.h"

#include "ArrowCha.h"
#include "BubbleCh.h"
#include "CoreUnits.h"
#include "DataExport.h"
#include "GanttCh.h"
#include "PictureExport.h"
#include "ShapeSeries.h"
#include "TeeFunci.h"
#include "TeeStore.h"

void InitializeSeriesUnits()
{
    InitializeCoreUnits();
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
    FinalizeCoreUnits();
}
