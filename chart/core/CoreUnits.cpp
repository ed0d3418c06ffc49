#include "CoreUnits.h"

#include "Chart.h"
#include "RizUridu.h"
#include "TeEngine.h"
#include "TeeButtons.h"
#include "TeeConst.h"

void InitializeCoreUnits()
{
    TeeConstInitialization();
    RizUriduInitialization();
    TeEngineInitialization();
    ChartInitialization();
    TeeButtonsInitialization();
}

void FinalizeCoreUnits()
{
    TeeButtonsFinalization();
    ChartFinalization();
    TeEngineFinalization();
    RizUriduFinalization();
    TeeConstFinalization();
}
