// Test helper for the editor forms: answers modal forms by handing them to Act (shown, as
// the modal loop shows them), colour dialogs with PickColor, message boxes with OK, and
// saves pictures of forms under the artifacts folder.
#pragma once

#include "StyleEditors.h"
#include "TeeConst.h"
#include "TeePenDlg.h"

#include "ChartStarted.h"
#include "DialogRecorder.h"
#include "TestSupport.h"

#include "controls/CommonDialogs.h"
#include "controls/FormBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace editortest {

class EditorDriver {
public:
    // The library started for the driver's life (constructed first, finished last).
    testsupport::ChartStarted Started;
    // Works a modal form's controls; the form's modal result (or Cancel) is the answer.
    std::function<void(TForm*)> Act;
    // What a colour dialog answers; clNone cancels it.
    TColor PickColor = clNone;
    // Answers message boxes (OK unless set).
    int MessageAnswer = mrOk;
    std::vector<std::string> Messages;
    int Shown = 0;

    EditorDriver()
    {
        Dialogs.Answer = [this](TDialogRequest& r) { return Answer(r); };
    }
    DialogRecorder Dialogs;

private:
    int Answer(TDialogRequest& r)
    {
        if (TColorDialogRequest* c = AsColorDialogRequest(r)) {
            if (PickColor == clNone)
                return mrCancel;
            c->Color = PickColor;
            return mrOk;
        }
        if (r.Kind == TDialogKind::dkMessage) {
            Messages.push_back(r.Text);
            return MessageAnswer;
        }
        if (r.Kind != TDialogKind::dkModalForm || r.Form == nullptr)
            return mrCancel;
        ++Shown;
        r.Form->Show();
        if (Act)
            Act(r.Form);
        return r.Form->ModalResult() == mrNone ? mrCancel : r.Form->ModalResult();
    }
};

// Saves the form's picture as editor-<Name>.png when pictures are wanted.
inline void SavePicture(TControl* Form, const std::string& Name)
{
    if (const std::string path = testsupport::ArtifactPath("editor-" + Name + ".png"); !path.empty()) {
        EXPECT_TRUE(SaveControlPicture(Form, path));
    }
}

} // namespace editortest
