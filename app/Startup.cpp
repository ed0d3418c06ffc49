#include "Startup.h"

#include "ChartLibrary.h"
#include "controls/Forms.h"

// Each unit starts after the units it uses and finishes before them.
void InitializeUnits()
{
    InitializeFormsUnit();
    InitializeChartUnits();
    // The application's own units (Unit2, Unit3, ChatUnit, StrParser) need no start-up.
}

void FinalizeUnits()
{
    FinalizeChartUnits();
    FinalizeFormsUnit();
}
