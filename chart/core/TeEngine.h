// The chart engine: value lists, chart elements and series, point symbols and callouts,
// and the chart panel that holds the series.
#pragma once

#include "TeEngine/AxisPanel.h"
#include "TeEngine/ChartElement.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Lists.h"
#include "TeEngine/Pointer.h"
#include "TeEngine/Series.h"
#include "TeEngine/ValueList.h"
