#include "Startup.h"

#include "Chart.h"
#include "RizUridu.h"
#include "TeeButtons.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeePenDlg.h"
#include "FormatEditor.h"
#include "Galleries.h"
#include "PointerEditor.h"
#include "StyleEditors.h"
#include "TeeEdiAxis.h"
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
    StyleEditorsInitialization();
    FormatEditorInitialization();
    PointerEditorInitialization();
    TeeEdiAxisInitialization();
    GalleriesInitialization();
    // The application's own units (Unit2, Unit3, ChatUnit, StrParser) need no start-up.
}

void FinalizeUnits()
{
    GalleriesFinalization();
    TeeEdiAxisFinalization();
    PointerEditorFinalization();
    FormatEditorFinalization();
    StyleEditorsFinalization();
    TeePenDlgFinalization();
    TeeButtonsFinalization();
    ChartFinalization();
    TeEngineFinalization();
    RizUriduFinalization();
    TeeConstFinalization();
    FinalizeFormsUnit();
}
