// The chart engine: value lists, chart elements and series, point symbols and callouts,
// axes, and the chart panel that holds the series and the axes.
#pragma once

#include "TeEngine/Axis.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/ChartElement.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Lists.h"
#include "TeEngine/Pointer.h"
#include "TeEngine/Series.h"
#include "TeEngine/ValueList.h"
