// Items that their owner draws (combo boxes and list boxes): the item states and the
// drawing event.
#pragma once

#include "graphics/Types.h"
#include "system/Flags.h"

#include <functional>

// States of an owner-drawn item, as bits.
enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1u << 0,
    odGrayed = 1u << 1,
    odDisabled = 1u << 2,
    odChecked = 1u << 3,
    odFocused = 1u << 4,
    odDefault = 1u << 5,
    odComboBoxEdit = 1u << 12,
};
using TOwnerDrawState = TFlags<TOwnerDrawStateFlag>;
DECLARE_FLAG_OPERATORS(TOwnerDrawStateFlag)

class TWinControl;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
