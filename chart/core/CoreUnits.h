// Start-up and finalisation of the chart core's units, in dependency order.
#pragma once

// Texts, helpers, engine, the chart with its standard series types and the editor
// dialogs' small controls, each after the units it uses. The series' start-up runs this first; a test of the core alone calls it
// rather than repeating the order.
void InitializeCoreUnits();
// The same units' finalisations, in reverse order.
void FinalizeCoreUnits();
