// The chart library's about box: name and version, the rights notice and the web
// address over a slowly pulsing grey gradient; and OpenURL, which opens a web address
// with the desktop's browser.
#pragma once

#include "controls/CustomControls.h"
#include "controls/Forms.h"
#include "controls/StdButtons.h"
#include "controls/StdCtrls.h"
#include "controls/Timers.h"
#include "graphics/Colors.h"

#include <string>

// The library's name and version as the about box and its caption show them.
inline constexpr const char* ChartLibraryVersion = "RurEvido Pro 7";
// The address the web labels show.
inline constexpr const char* ChartLibraryWebAddress = "https://www.korvan-software.example/rurevido";

// Opens Address with the desktop's browser. Only http and https addresses are opened
// (a label's caption must not run a program or open a local file); false otherwise or
// when the desktop refused.
bool OpenURL(TWinControl* Window, const std::string& Address);

// The gradient behind the about box's texts.
class TAboutBackground : public TCustomControl {
public:
    DECLARE_CLASS_NAME(TAboutBackground)
    using TCustomControl::TCustomControl;
    TColor StartColor = clSilver;
    TColor EndColor = clGray;

protected:
    void Paint() override;
};

class TRurOzuviForm : public TForm {
public:
    DECLARE_CLASS_NAME(TRurOzuviForm)
    explicit TRurOzuviForm(TComponent* AOwner);

    TAboutBackground* Background;
    TLabel* LabelVersion;
    TLabel* LabelCopy;
    TLabel* Label1;
    TLabel* Labelwww;
    TButton* BClose;
    TTimer* Timer1;

    TColor Color1() const { return FColor1; }
    TColor Color2() const { return FColor2; }
    int Step() const { return FStep; }

    void LabelwwwClick(TObject* Sender);
    // One animation step: the first colour darkens and the second lightens by the step,
    // each component kept in 0..255; the step turns round when either reaches black.
    void Timer1Timer(TObject* Sender);

private:
    TColor FColor1 = TColor(0xE0E0E0);
    TColor FColor2 = TColor(0x808080);
    int FStep = 4;
};

// Shows the about box modally.
void TeeShowAboutBox(TComponent* AOwner);

void RurOzuviInitialization();
void RurOzuviFinalization();
