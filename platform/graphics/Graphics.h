// The graphics unit of the platform: colours, pens, brushes, fonts, regions, the
// device-context canvas, bitmaps and pictures.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/Colors.h"
#include "graphics/GdiConsts.h"
#include "graphics/GraphicsObjects.h"
#include "graphics/Region.h"
#include "graphics/TextMeasure.h"
#include "graphics/Types.h"
