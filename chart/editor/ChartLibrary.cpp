#include "ChartLibrary.h"

#include "ChartPreview.h"
#include "FormatEditor.h"
#include "Galleries.h"
#include "PointerEditor.h"
#include "RurOzuvi.h"
#include "SeriesEditors.h"
#include "SeriesUnits.h"
#include "TeeAxisIncr.h"
#include "StyleEditors.h"
#include "TeeEdi3D.h"
#include "TeeEdiAxis.h"
#include "TeeEdiGene.h"
#include "TeeEdiLege.h"
#include "TeeEdiPage.h"
#include "TeeEdiPane.h"
#include "TeeEdiSeri.h"
#include "TeeEdiTitl.h"
#include "TeeEdiWall.h"
#include "TeeEditCha.h"
#include "TeeEditTools.h"
#include "TeeFuncEdit.h"
#include "TeePenDlg.h"

void InitializeChartUnits()
{
    InitializeSeriesUnits();
    TeePenDlgInitialization();
    StyleEditorsInitialization();
    FormatEditorInitialization();
    PointerEditorInitialization();
    TeeAxisIncrInitialization();
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
    TeeAxisIncrFinalization();
    PointerEditorFinalization();
    FormatEditorFinalization();
    StyleEditorsFinalization();
    TeePenDlgFinalization();
    FinalizeSeriesUnits();
}
