// Entry points of the chart editor window.
#pragma once

#include "TeeEditCha.h"

// A new chart editor for the chart, owned by the application object, with the help set up.
TChartEditForm* CreateChartEditor(TCustomChart* Chart);
// Shows the chart editor modally on the page (a start-page code, -1 for none) and frees it.
void ShowChartEditorAtPage(TComponent* AOwner, TCustomChart* Chart, int Page);
// The same on the series list.
void ShowChartEditor(TComponent* AOwner, TCustomChart* Chart);
