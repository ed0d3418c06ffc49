// The chart panel unit: the shared helpers and the date-time step helpers; the panel
// classes follow in this folder.
#pragma once

#include "RizUridu/DateSteps.h"
#include "RizUridu/Helpers.h"
