#include "Startup.h"

#include "ChartPreview.h"
#include "RurOzuvi.h"
#include "TeeEditCha.h"
#include "TeeEditTools.h"
#include "SeriesEditors.h"
#include "SeriesUnits.h"
#include "TeeButtons.h"
#include "TeePenDlg.h"
#include "FormatEditor.h"
#include "Galleries.h"
#include "PointerEditor.h"
#include "StyleEditors.h"
#include "TeeEdiAxis.h"
#include "TeeFuncEdit.h"
#include "TeeEdiSeri.h"
#include "TeeEdiLege.h"
#include "TeeEdiPane.h"
#include "TeeEdiTitl.h"
#include "TeeEdiWall.h"
#include "TeeEdiGene.h"
#include "TeeEdiPage.h"
#include "TeeEdi3D.h"
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

void InitializeChartUnits()
{
    InitializeSeriesUnits();
    TeeButtonsInitialization();
    TeePenDlgInitialization();
    StyleEditorsInitialization();
    FormatEditorInitialization();
    PointerEditorInitialization();
    TeeEdiAxisInitialization();
    GalleriesInitialization();
    TeeFuncEditInitialization();
    TeeEdiSeriInitialization();
    TeeEdiLegeInitialization();
    TeeEdiPaneInitialization();
    TeeEdiTitlInitialization();
    TeeEdiWallInitialization();
    TeeEdiGeneInitialization();
    TeeEdiPageInitialization();
    TeeEdi3DInitialization();
    ChartPreviewInitialization();
    // The series types' option pages.
    SeriesEditorsInitialization();
    TeeEditToolsInitialization();
    RurOzuviInitialization();
    TeeEditChaInitialization();
}

void FinalizeChartUnits()
{
    TeeEditChaFinalization();
    RurOzuviFinalization();
    TeeEditToolsFinalization();
    SeriesEditorsFinalization();
    ChartPreviewFinalization();
    TeeEdi3DFinalization();
    TeeEdiPageFinalization();
    TeeEdiGeneFinalization();
    TeeEdiWallFinalization();
    TeeEdiTitlFinalization();
    TeeEdiPaneFinalization();
    TeeEdiLegeFinalization();
    TeeEdiSeriFinalization();
    TeeFuncEditFinalization();
    GalleriesFinalization();
    TeeEdiAxisFinalization();
    PointerEditorFinalization();
    FormatEditorFinalization();
    StyleEditorsFinalization();
    TeePenDlgFinalization();
    TeeButtonsFinalization();
    FinalizeSeriesUnits();
}
