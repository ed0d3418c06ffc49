#include "Startup.h"

#include "controls/Forms.h"

void InitializeUnits()
{
    InitializeFormsUnit();
    // The application's own units (Unit2, Unit3, ChatUnit, StrParser) need no start-up.
}

void FinalizeUnits()
{
    FinalizeFormsUnit();
}
