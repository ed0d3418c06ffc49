// The series that join their points: line, horizontal line and point series over their
// common engine.
#pragma once

#include "Series/LineSeries.h"
