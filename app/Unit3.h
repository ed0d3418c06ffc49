// The data window: the text of the opened data file, and its loader into TData/CpData.
#pragma once

#include "DataFile.h"
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

    // Parses Memo1 into TData/CpData (see ParseDataFile) with the divider and T(max) of
    // the window. A fault (T(max) or a number that does not read, a line without Cp, an
    // empty line between points, a text that is no data file) is shown in one message box
    // naming it and ends the load with PointCount 0 and the result false; fewer than 5
    // lines are no data and no fault.
    bool LoadDataPoints();

    // Shows the text of a file as File > Open read it (see ReadDataFileText), as loaded,
    // not modified; the loads that follow know what the text is of the file.
    void SetFileText(const TDataFileText& Text);
    // The window shows only the first lines of a large file (some perhaps shortened),
    // which must not be saved over it.
    bool ShownInPart() const { return FShownInPart; }

    // The point count of the last load (0: no data), the first-point number read from
    // the file, and the T(max) filter in force (0: none).
    // Whether the data text was changed since it was loaded or saved.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    int32_t PointCount() const { return FPointCount; }
    int32_t FirstPoint() const { return FFirstPoint; }
    double TMaxLimit() const { return FTMaxLimit; }

private:
    int32_t FPointCount = 0;
    int32_t FFirstPoint = 0;
    double FTMaxLimit = 0;
    bool FModified = false;
    bool FShownInPart = false;
    TDataFileSource FSource;
};

extern TfmData* fmData;

// The application's number reader (see TryReadPlainNumber). For a text that does not
// read it shows "Invalid number: " + Text and returns false. It never raises.
bool StrToFloatChecked(const std::string& Text, double& Value);
// The same, returning the number, or 0 after the message.
double StrToFloatChecked(const std::string& Text);
