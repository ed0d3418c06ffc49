// The standard series types in the series-type registry.
#include "Series.h"

#include "Chart.h"
#include "TeeConst.h"

void RegisterSeriesUnitTypes()
{
    // The common types lead the registry, so the galleries open on them although the
    // gallery registers them after the units that register their own types.
    const int first = SeriesTypeList()->Count();
    RegisterSeriesType(TLineSeries::StaticClassInfo(), &TeeMsg_GalleryLine, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TBarSeries::StaticClassInfo(), &TeeMsg_GalleryBar, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(THorizBarSeries::StaticClassInfo(), &TeeMsg_GalleryHorizBar, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TAreaSeries::StaticClassInfo(), &TeeMsg_GalleryArea, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TPointSeries::StaticClassInfo(), &TeeMsg_GalleryPoint, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TPieSeries::StaticClassInfo(), &TeeMsg_GalleryPie, &TeeMsg_GalleryStandard, 1);
    RegisterSeriesType(TFastLineSeries::StaticClassInfo(), &TeeMsg_GalleryFastLine, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(THorizLineSeries::StaticClassInfo(), &TeeMsg_GalleryHorizLine, &TeeMsg_GalleryStandard, 1);
    RegisterSeriesType(THorizAreaSeries::StaticClassInfo(), &TeeMsg_GalleryHorizArea, &TeeMsg_GalleryStandard, 1);
    SeriesTypeList()->MoveToFront(first);
}
