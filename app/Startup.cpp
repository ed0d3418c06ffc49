#include "Startup.h"

#include "Chart.h"
#include "ChartPreview.h"
#include "RizUridu.h"
#include "TeeButtons.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeePenDlg.h"
#include "controls/Forms.h"

// Each unit starts after the units it uses and finishes before them.
void InitializeUnits()
{
    InitializeFormsUnit();
    TeeConstInitialization();
    RizUriduInitialization();
    TeEngineInitialization();
    ChartInitialization();
    TeeButtonsInitialization();
    TeePenDlgInitialization();
    ChartPreviewInitialization();
    // The application's own units (Unit2, Unit3, ChatUnit, StrParser) need no start-up.
}

void FinalizeUnits()
{
    ChartPreviewFinalization();
    TeePenDlgFinalization();
    TeeButtonsFinalization();
    ChartFinalization();
    TeEngineFinalization();
    RizUriduFinalization();
    TeeConstFinalization();
    FinalizeFormsUnit();
}
