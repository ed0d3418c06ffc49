// Internal to the controls: the toolkit cursor of a platform cursor number.
#pragma once

#include "Cursors.h"

#include <QCursor>

namespace ctlqt {

// A standard cursor maps to the toolkit's shape; an added cursor to its picture; an
// unknown number to the arrow.
QCursor ToQCursor(TCursor Cursor);

} // namespace ctlqt
