#include "CoreUnits.h"

#include "Chart.h"
#include "RizUridu.h"
#include "TeEngine.h"
#include "TeeConst.h"

void InitializeCoreUnits()
{
    TeeConstInitialization();
    RizUriduInitialization();
    TeEngineInitialization();
    ChartInitialization();
}

void FinalizeCoreUnits()
{
    ChartFinalization();
    TeEngineFinalization();
    RizUriduFinalization();
    TeeConstFinalization();
}
