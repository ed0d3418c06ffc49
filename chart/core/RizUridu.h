// The chart panel unit: the chart panel with its margins, background, printing, pictures
// and listeners; the framed text boxes; the shared helpers and the date-time step helpers.
#pragma once

#include "RizUridu/DateSteps.h"
#include "RizUridu/Helpers.h"
#include "RizUridu/PanelBase.h"
#include "RizUridu/PanelExtended.h"
#include "RizUridu/Shapes.h"
#include "RizUridu/ZoomState.h"
#include "TeeHtml/SurfaceMarkup.h"
