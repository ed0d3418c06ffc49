// Test helper: drives the pen dialog as a user would, through the dialog entry point.
#pragma once

#include "TeePenDlg.h"

#include "ChartStarted.h"
#include "DialogRecorder.h"

#include "controls/CommonDialogs.h"

#include <QComboBox>

#include <functional>

namespace pendlgtest {

// Picks an item of a combo box as the user does (the box's activation fires OnChange).
inline void Choose(TComboBox* Combo, int Index)
{
    auto* box = static_cast<QComboBox*>(Combo->Widget());
    box->setCurrentIndex(Index);
    emit box->activated(Index);
}

// Answers the pen dialog: shows it (as the modal loop does), lets Act work the controls,
// and answers the modal result its buttons left. Colour dialogs opened meanwhile are
// answered with PickColor (a cancel for clNone).
class PenDialogDriver {
public:
    // The library started for the driver's life (constructed first, finished last).
    testsupport::ChartStarted Started;
    std::function<void(TPenDialog*)> Act;
    TColor PickColor = clNone;
    int Shown = 0;
    int ColorDialogs = 0;

    PenDialogDriver()
    {
        Dialogs.Answer = [this](TDialogRequest& r) { return Answer(r); };
    }
    DialogRecorder Dialogs;

private:
    int Answer(TDialogRequest& r)
    {
        if (TColorDialogRequest* c = AsColorDialogRequest(r)) {
            ++ColorDialogs;
            if (PickColor == clNone)
                return mrCancel;
            c->Color = PickColor;
            return mrOk;
        }
        auto* dialog = dynamic_cast<TPenDialog*>(r.Form);
        if (r.Kind != TDialogKind::dkModalForm || dialog == nullptr)
            return r.Kind == TDialogKind::dkMessage ? mrOk : mrCancel;
        ++Shown;
        dialog->Show();
        if (Act)
            Act(dialog);
        return dialog->ModalResult() == mrNone ? mrCancel : dialog->ModalResult();
    }
};

} // namespace pendlgtest
