// Internal to the controls: the platform's key codes and shift states of toolkit input.
#pragma once

#include "CustomControls.h"

#include <Qt>

#include <cstdint>

namespace ctlqt {

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
// The platform's virtual key of a toolkit key; 0 for keys it has no code for.
uint16_t VirtualKeyOf(int key);

} // namespace ctlqt
