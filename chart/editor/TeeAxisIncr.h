// The "Axis Increment" dialog: the desired label step of an axis, a number for a numeric
// axis, and for a date-time axis one of the standard date-time steps (optionally exact
// calendar steps) or a custom step typed as days and a time.
#pragma once

#include "controls/FormBuilder.h"

#include "RizUridu.h"

#include <array>
#include <string>

// The names of the 27 date-time steps, in table order.
extern const std::array<const char*, 27> DateTimeStepNames;

class TAxisIncrement : public TForm {
public:
    DECLARE_CLASS_NAME(TAxisIncrement)
    explicit TAxisIncrement(TComponent* AOwner);

    TCheckBox* CBExact;
    TRadioGroup* RadioGroup1;
    TComboBox* CBSteps;
    TLabel* Label1;
    TEdit* ECustom;
    TButton* BOk;
    TButton* BCancel;

    bool IsDateTime = false;
    bool Exact = false;
    double Increment = 0;
    int StepIndex = dtNone;

    void FormShow(TObject* Sender);
    void CBExactClick(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void CBStepsChange(TObject* Sender);
    void BOkClick(TObject* Sender);

    // The text of an increment of days in the custom edit: 0 for none, whole days with
    // the time of the fraction after a blank, or the time of a step below a day.
    static std::string CustomText(double Value);
    // Reads the custom edit's text as days (raises the conversion error of the number
    // or time read last).
    static double ReadCustomText(const std::string& Text);

private:
    bool FFilling = false;
};

// "Incorrect value. Reason: %s" with the error's text.
void ShowIncrementError(const std::string& Reason);

void TeeAxisIncrInitialization();
void TeeAxisIncrFinalization();
