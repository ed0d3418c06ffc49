// The pen editor dialog, the button that opens it, and the small routines every editor
// form shares: creating dialogs, embedding forms as pages, confirming deletions, value
// formats, cursor lists, arrow glyphs and moving items between list boxes.
#pragma once

#include "TeePenDlg/DialogHelpers.h"
#include "TeePenDlg/PenDialog.h"

// Unit start-up: registers the pen dialog's form class and readies the arrow glyphs;
// finalisation removes the registration.
void TeePenDlgInitialization();
void TeePenDlgFinalization();
