// The "Numeric Format" dialog: builds a number, date-time, geographic or custom format
// text for value, percent and axis label formats.
#pragma once

#include "controls/FormBuilder.h"

#include <string>

class TFormatEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TFormatEditor)
    explicit TFormatEditor(TComponent* AOwner);

    TPanel* Panel1;
    TButton* Button1;
    TButton* Button2;
    TGroupBox* GroupBox1;
    TRadioButton* RBDate;
    TComboBox* CBDate;
    TRadioButton* RBCustom;
    TComboBox* CBCustom;
    TRadioButton* RBGeo;
    TComboBox* CBGeo;
    TPanel* Panel2;
    TRadioButton* RBInteger;
    TCheckBox* CBPercent;
    TCheckBox* CBThousands;
    TCheckBox* CBCurrency;
    TEdit* Edit1;
    TUpDown* UpDown1;
    TCheckBox* CBFixedDecimals;
    TEdit* Edit2;
    TUpDown* UpDown2;

    // The format being edited; the flags say it is known to be a date-time or a
    // geographic format.
    std::string TheFormat;
    bool IsDateTime = false;
    bool IsGeographic = false;

    // Sets the controls from a format text.
    void ReadFormat(const std::string& Format);
    // The format the controls describe.
    std::string BuildFormat() const;

    void FormShow(TObject* Sender);
    void OptionChange(TObject* Sender);
    void RBIntegerClick(TObject* Sender);
    void CBPercentClick(TObject* Sender);

private:
    bool FUpdating = false;
};

// Runs the dialog on the format (its OK and Cancel shown when ShowButtons): the built
// format on OK, else the format unchanged.
std::string ShowFormatEditor(TComponent* AOwner, const std::string& Format, bool ShowButtons = true);

void FormatEditorInitialization();
void FormatEditorFinalization();
