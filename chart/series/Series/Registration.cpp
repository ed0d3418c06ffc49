// The standard series types in the series-type registry.
#include "Series.h"

#include "Chart.h"
#include "TeeConst.h"

// Factories of the joined-point series types, so that the registry can create them by
// class.
BEGIN_CLASS_INFO(TLineSeries, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(THorizLineSeries, TLineSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TPointSeries, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TAreaSeries, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(THorizAreaSeries, TAreaSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TFastLineSeries, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

void RegisterSeriesUnitTypes()
{
    RegisterSeriesType(TLineSeries::StaticClassInfo(), &TeeMsg_GalleryLine, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TBarSeries::StaticClassInfo(), &TeeMsg_GalleryBar, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(THorizBarSeries::StaticClassInfo(), &TeeMsg_GalleryHorizBar, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TAreaSeries::StaticClassInfo(), &TeeMsg_GalleryArea, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TPointSeries::StaticClassInfo(), &TeeMsg_GalleryPoint, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(TPieSeries::StaticClassInfo(), &TeeMsg_GalleryPie, &TeeMsg_GalleryStandard, 1);
    RegisterSeriesType(TFastLineSeries::StaticClassInfo(), &TeeMsg_GalleryFastLine, &TeeMsg_GalleryStandard, 2);
    RegisterSeriesType(THorizLineSeries::StaticClassInfo(), &TeeMsg_GalleryHorizLine, &TeeMsg_GalleryStandard, 1);
    RegisterSeriesType(THorizAreaSeries::StaticClassInfo(), &TeeMsg_GalleryHorizArea, &TeeMsg_GalleryStandard, 1);
}
