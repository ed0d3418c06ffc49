// Start-up and finalisation of the program's units, as explicit calls in dependency
// order (static initialisers of a static library may be dropped by the linker).
#pragma once

// Runs every unit's start-up: the platform's forms unit (the application object), then
// the units that need one, each after the units it uses.
void InitializeUnits();
// Runs the finalisations in reverse order.
void FinalizeUnits();

// The chart component's units alone (texts, engine, series, functions, export, editor),
// for a program or test that has its application object already.
void InitializeChartUnits();
void FinalizeChartUnits();
