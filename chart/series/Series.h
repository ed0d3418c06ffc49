// The series types: line, horizontal line, point, fast line and area series over their
// common engine, and the bar and pie series.
#pragma once

#include "Series/AreaSeries.h"
#include "Series/BarSeries.h"
#include "Series/FastLine.h"
#include "Series/LineSeries.h"
#include "Series/PieSeries.h"

// Enters the standard series types in the series-type registry, in gallery order, on the
// "Standard" page; the gallery unit calls it when it starts.
void RegisterSeriesUnitTypes();
