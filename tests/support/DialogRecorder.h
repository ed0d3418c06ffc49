// Test helper: answers every message box and modal dialog of the platform through the
// dialog entry point, keeping what was asked.
#pragma once

#include "controls/Dialogs.h"
#include "controls/Forms.h"

#include <functional>
#include <string>
#include <vector>

class DialogRecorder {
public:
    // Answers message boxes with OK and cancels open dialogs and modal forms, unless
    // Answer is set.
    std::function<int(TDialogRequest&)> Answer;
    std::vector<TDialogRequest> Requests;

    DialogRecorder()
    {
        InitializeFormsUnit();
        Application->Initialize();
        FPrevious = SetDialogAnswerer([this](TDialogRequest& r) {
            int result = Answer ? Answer(r) : (r.Kind == TDialogKind::dkMessage ? mrOk : mrCancel);
            Requests.push_back(r);
            return result;
        });
    }
    ~DialogRecorder() { SetDialogAnswerer(FPrevious); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& r : Requests)
            texts.push_back(r.Text);
        return texts;
    }

private:
    TDialogAnswerer FPrevious;
};
