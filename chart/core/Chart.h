// The chart control: walls, titles, the chart component and its published form.
#pragma once

#include "Chart/CustomChart.h"
#include "Chart/Legend.h"
#include "Chart/SeriesTypes.h"
#include "Chart/Titles.h"
#include "Chart/Walls.h"
