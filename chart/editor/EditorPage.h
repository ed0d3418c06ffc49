// The common ground of the chart editor's pages: a client-aligned form that ignores its
// controls' events while it fills them (from creation until the end of its first show,
// and whenever it reloads), and binds each control to one write into the edited object.
// Its show handler runs again each time its tab shows again, so it must only load.
#pragma once

#include "TeePenDlg.h"

#include "controls/ComCtrls.h"
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"

#include <functional>

class TEditorPage : public TForm {
public:
    DECLARE_CLASS_NAME(TEditorPage)
    explicit TEditorPage(TComponent* AOwner);

    bool Loading() const { return FLoading; }

protected:
    // Runs Write on the control's change unless the page is loading.
    void OnEdit(TEdit* Edit, std::function<void()> Write);
    void OnCheck(TCheckBox* Box, std::function<void()> Write);
    void OnCombo(TComboBox* Combo, std::function<void(int ItemIndex)> Write);
    void OnRadio(TRadioGroup* Group, std::function<void(int ItemIndex)> Write);
    void OnTrack(TTrackBar* Bar, std::function<void(int Position)> Write);
    // Runs Write when the up-down's arrows step it and when the user is done typing in its
    // edit (left it or pressed Enter), not on every keystroke, unless the page is loading:
    // for a value checked against others, so that it can be typed digit by digit.
    void OnUpDown(TUpDown* UpDown, std::function<void()> Write);
    // Calls Fill with the loading flag set (and put back afterwards).
    void Load(const std::function<void()>& Fill);
    // Ends the first load: clears the flag and passes the page to the form-show hook.
    void FinishFirstShow();

    bool FLoading = true;
};
