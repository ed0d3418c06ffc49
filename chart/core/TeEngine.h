// The chart engine: value lists and the series' points they make up, chart elements and
// series, point symbols and callouts, axes, the chart panel that holds the series and the
// axes, tools, series sources and series groups.
#pragma once

#include "TeEngine/Axis.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/ChartElement.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Function.h"
#include "TeEngine/Lists.h"
#include "TeEngine/Marks.h"
#include "TeEngine/Pointer.h"
#include "TeEngine/Series.h"
#include "TeEngine/SeriesGroups.h"
#include "TeEngine/SeriesPoints.h"
#include "TeEngine/SeriesSource.h"
#include "TeEngine/Startup.h"
#include "TeEngine/Tools.h"
#include "TeEngine/ValueList.h"
