// The small modal dialog that edits one end of an axis' range: a number, or for a
// date-time axis a date and a time.
#pragma once

#include "controls/FormBuilder.h"

class TAxisMaxMin : public TForm {
public:
    DECLARE_CLASS_NAME(TAxisMaxMin)
    explicit TAxisMaxMin(TComponent* AOwner);

    TLabel* Label1;
    TEdit* EMaximum;
    TLabel* Label2;
    TEdit* EMinimum;
    TButton* BitBtn1;
    TButton* BCancel;

    bool IsDateTime = false;
    double Value = 0;

    void FormShow(TObject* Sender);
    // Reads the value; closes with OK only when the texts convert, else says why.
    void BitBtn1Click(TObject* Sender);

private:
    bool DateShown() const;
};
