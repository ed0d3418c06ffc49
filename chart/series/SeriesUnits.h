// Start-up and finalisation of the chart units below the editor, in dependency order.
#pragma once

// The core's units (InitializeCoreUnits), functions, the series types' units, chart files and
// picture export, each after the units it uses. The program's start-up runs this before
// the editor's units; a test of these units calls it rather than repeating the order.
void InitializeSeriesUnits();
// The same units' finalisations, in reverse order.
void FinalizeSeriesUnits();
