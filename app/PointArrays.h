// The application's point arrays, apart from any window, so that the fitting code and the
// data-file reader need no window header.
#pragma once

#include "system/CheckedArray.h"

// Points of the last load, slots 1..1000: temperatures T in K and measured Cp in J/(mol*K).
// Only the data window's loader writes them; a slot that a load skips keeps its old value.
using TPointArray = TCheckedArray<double, 1, 1000>;
extern TPointArray TData;
extern TPointArray CpData;
