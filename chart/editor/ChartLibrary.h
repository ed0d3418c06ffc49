// Start-up and finalisation of the whole chart component, in dependency order.
#pragma once

// The chart component's units: those below the editor (InitializeSeriesUnits: texts,
// engine, series, functions, chart files, export), then the editor's pages and dialogs,
// each after the units it uses. For a program or test that has its application object
// already.
void InitializeChartUnits();
// The same units' finalisations, in reverse order.
void FinalizeChartUnits();
