// Start-up and finalisation of the program's units, as explicit calls in dependency
// order (static initialisers of a static library may be dropped by the linker).
#pragma once

// Runs every unit's start-up: the platform's forms unit (the application object), then
// the units that need one, each after the units it uses.
void InitializeUnits();
// Runs the finalisations in reverse order.
// (The chart component's own order is InitializeChartUnits in chart/editor/ChartLibrary.h.)
void FinalizeUnits();
