// What forms of the platform have beyond the Forms unit: the border style and border
// icons of a form's window, whether a form takes its parent's colour, its client size,
// and the screen's cursor.
#pragma once

#include "Cursors.h"
#include "Forms.h"

#include "system/Flags.h"
#include "system/ScopeGuard.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TBorderIconFlag : unsigned {
    biSystemMenu = 1u << 0,
    biMinimize = 1u << 1,
    biMaximize = 1u << 2,
    biHelp = 1u << 3,
};
using TBorderIcons = TFlags<TBorderIconFlag>;
DECLARE_FLAG_OPERATORS(TBorderIconFlag)

// A form's border style (bsSizeable until set). The style decides the frame of the form
// while it is a window of its own: none, fixed, sizeable or a fixed dialog frame.
TFormBorderStyle FormBorderStyle(const TForm* Form);
void SetFormBorderStyle(TForm* Form, TFormBorderStyle Value);
// The buttons of the form's title bar (system menu, minimise and maximise until set).
TBorderIcons FormBorderIcons(const TForm* Form);
void SetFormBorderIcons(TForm* Form, TBorderIcons Value);
// With ParentColor a form placed inside another control shows that control's colour
// instead of painting its own background (false until set).
bool FormParentColor(const TForm* Form);
void SetFormParentColor(TForm* Form, bool Value);

// The size of the form's client area.
int FormClientWidth(const TForm* Form);
int FormClientHeight(const TForm* Form);
// The size of a control's client area (a form's, a panel's inside its bevels, ...).
int ControlClientHeight(const TWinControl* Control);

// The cursor shown over every window of the program; crDefault lets each window show
// its own.
TCursor ScreenCursor();
void SetScreenCursor(TCursor Value);
// Shows Value as the screen cursor until the guard ends, then the cursor shown before.
inline auto ScreenCursorWhile(TCursor Value)
{
    const TCursor before = ScreenCursor();
    SetScreenCursor(Value);
    return TScopeGuard([before] { SetScreenCursor(before); });
}

// The control's top-left corner in screen pixels.
TPoint ControlScreenOrigin(const TControl* Control);
