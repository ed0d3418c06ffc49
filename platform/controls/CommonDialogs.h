// Further common dialogs of the platform layer: the colour dialog, and a message box at
// a chosen screen position. Both run through the dialog entry point (Dialogs.h), so a
// test can answer them.
#pragma once

#include "Dialogs.h"

#include "graphics/Colors.h"
#include "graphics/GraphicsObjects.h"

#include <memory>
#include <string>
#include <vector>

// The entry point's kind for the colour dialog; its request is a TColorDialogRequest.
inline constexpr TDialogKind dkColorDialog = TDialogKind::dkColor;
// The number of custom colours the colour dialog keeps.
inline constexpr int ColorDialogCustomCount = 16;

// The colour dialog's request: the answerer (or the real dialog) sets Color to the chosen
// colour and may change CustomColors, then answers mrOk; any other answer cancels.
struct TColorDialogRequest : TDialogRequest {
    TColor Color = clBlack;
    std::vector<TColor> CustomColors;   // ColorDialogCustomCount entries
};

// The colour request behind Request, or nullptr when Request is of another kind.
TColorDialogRequest* AsColorDialogRequest(TDialogRequest& Request);

// The common colour dialog. CustomColors holds lines "ColorA=HHHHHH" to "ColorP=HHHHHH"
// (the colour values in hexadecimal); missing lines stand for white.
class TColorDialog : public TComponent {
public:
    DECLARE_CLASS_NAME(TColorDialog)
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TStrings* CustomColors() const { return FCustomColors.get(); }
    void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }

    // Asks for a colour; true with Color and CustomColors set when the user confirms,
    // false (both unchanged) when the user cancels.
    bool Execute();

private:
    TColor FColor = clBlack;
    std::unique_ptr<TStringList> FCustomColors;
};

// The font dialog's request: the answerer (or the real dialog) changes the font's name,
// size, style and colour and answers mrOk; any other answer cancels.
struct TFontDialogRequest : TDialogRequest {
    std::string Name;
    int Size = 8;
    TFontStyles Style;
    TColor Color = clBlack;
};
TFontDialogRequest* AsFontDialogRequest(TDialogRequest& Request);

// The common font dialog over a font of its own: Execute starts from Font and, when the
// user confirms, leaves the choice in it.
class TFontDialog : public TComponent {
public:
    DECLARE_CLASS_NAME(TFontDialog)
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;

    TFont* Font() const { return FFont.get(); }
    bool Execute();

private:
    std::unique_ptr<TFont> FFont;
};

// A message box like MessageDlg whose top-left corner is at (X, Y) on the screen.
int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
