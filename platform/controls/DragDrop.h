// Drag and drop between the controls of this program: a drag source starts a drag when
// the mouse moves far enough with the left button held; a drop target asks its
// OnDragOver whether it takes the source at a point and runs OnDragDrop when the source
// is let go there. Points are in the target control's coordinates.
#pragma once

#include "Controls.h"

#include <functional>

class TListBox;

using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;

// Lets the control start drags of itself (or stops it).
void SetDragSource(TControl* Control, bool Value);
// Makes the control a drop target with the handlers (empty handlers: no longer one).
void SetDropTarget(TControl* Control, TDragOverEvent OnDragOver, TDragDropEvent OnDragDrop);
bool IsDropTarget(const TControl* Control);

// The paths the toolkit's drag events take. DragOverTarget: whether the target takes
// the source at the point (no OnDragOver: it takes any source). DropOnTarget: runs
// OnDragDrop when the target takes the source; returns whether it did.
bool DragOverTarget(TControl* Target, TControl* Source, int X, int Y);
bool DropOnTarget(TControl* Target, TControl* Source, int X, int Y);

// The index of the list box item at the point of the control (-1 for none).
int ListItemAtPos(const TListBox* Box, int X, int Y);
