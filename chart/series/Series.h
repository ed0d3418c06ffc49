// The series that join their points: line, horizontal line, point, fast line and area
// series over their common engine.
#pragma once

#include "Series/AreaSeries.h"
#include "Series/FastLine.h"
#include "Series/LineSeries.h"

// Enters the standard series types in the series-type registry, in gallery order, on the
// "Standard" page; the gallery unit calls it when it starts.
void RegisterSeriesUnitTypes();
