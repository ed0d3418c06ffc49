// The data window: the text of the opened data file, and its loader into TData/CpData.
#pragma once

#include "StrParser.h"
#include "controls/Buttons.h"
#include "controls/Forms.h"
#include "controls/StdCtrls.h"

#include <cstdint>
#include <string>

class TfmData : public TForm {
public:
    DECLARE_CLASS_NAME(TfmData)
    explicit TfmData(TComponent* AOwner);

    TMemo* Memo1;
    TSpeedButton* sbrun;
    TLabel* Label1;
    TComboBox* cbDivString;
    TLabel* Label2;
    TEdit* edTmax;
    TStrParser* StrParser1;
    TBitBtn* BitBtn1;

    void FormCreate(TObject* Sender);
    // Hides the window, then runs the main window's RUN.
    void sbrunClick(TObject* Sender);

    // Parses Memo1 into TData/CpData. Line 4 holds the point count P, line 5 the first
    // point F; memo lines F+5 .. P+5 hold "T Cp", the line at index L going to slot
    // L-4-F. Empty lines and lines with T above T(max) are skipped and leave their slot
    // alone. PointCount ends as P capped at the accepted lines, or 0 when the text is not
    // a data file (with the error box "Invalid data file").
    void LoadDataPoints();

    // The point count of the last load (0: no data), the first-point number read from
    // the file, and the T(max) filter in force (0: none).
    int32_t PointCount() const { return FPointCount; }
    int32_t FirstPoint() const { return FFirstPoint; }
    double TMaxLimit() const { return FTMaxLimit; }

private:
    int32_t FPointCount = 0;
    int32_t FFirstPoint = 0;
    double FTMaxLimit = 0;
};

extern TfmData* fmData;

// The application's number reader: the first "," of Text counts as the decimal point;
// otherwise Text must be a plain decimal number (sign, digits, point, exponent; blanks
// around are allowed). For any other text it shows "Invalid number: " + Text and returns
// 0. It never raises.
double StrToFloatChecked(const std::string& Text);
