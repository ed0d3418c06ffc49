#include "Startup.h"

#include "RizUridu.h"
#include "TeeButtons.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeePenDlg.h"
#include "TeeStore.h"
#include "controls/Forms.h"

// Each unit starts after the units it uses and finishes before them.
void InitializeUnits()
{
    InitializeFormsUnit();
    TeeConstInitialization();
    RizUriduInitialization();
    TeEngineInitialization();
    TeeStoreInitialization();
    TeeButtonsInitialization();
    TeePenDlgInitialization();
    // The application's own units (Unit2, Unit3, ChatUnit, StrParser) need no start-up.
}

void FinalizeUnits()
{
    TeePenDlgFinalization();
    TeeButtonsFinalization();
    TeeStoreFinalization();
    TeEngineFinalization();
    RizUriduFinalization();
    TeeConstFinalization();
    FinalizeFormsUnit();
}
