// The modal pen editor and the button that shows a pen's sample and opens the editor.
#pragma once

#include "TeeButtons.h"

#include "controls/ComCtrls.h"
#include "controls/Forms.h"
#include "controls/StdCtrls.h"

#include <memory>

// "Border Editor": edits a pen (a TChartPen, or a plain TPen without visibility, small dots
// and end styles) control by control, writing every change into the pen at once; Cancel
// puts back what the pen was when the dialog was shown.
class TPenDialog : public TForm {
public:
    DECLARE_CLASS_NAME(TPenDialog)
    explicit TPenDialog(TComponent* AOwner);
    ~TPenDialog() override;

    TCheckBox* CBVisible;
    TLabel* LStyle;
    TComboFlat* CBStyle;
    TLabel* LWidth;
    TEdit* SEWidth;
    TUpDown* UDWidth;
    TButtonColor* BColor;
    TComboFlat* CBEndStyle;
    TButton* BOk;
    TButton* BCancel;

    // The pen being edited (not owned); set before the dialog is shown.
    TPen* ThePen() const { return FPen; }
    void SetPen(TPen* Value) { FPen = Value; }
    // The copy of the pen taken when the dialog was shown.
    TChartPen* BackupPen() const { return FBackupPen.get(); }
    bool Modified() const { return FModified; }
    // When the pen was changed: puts back the copy taken at showing (quietly for a chart
    // pen, whose owner is then told once).
    void RestorePen();

    // Whether the platform draws extended pens (end styles and small dots); true here.
    // Without them the style list has five items, there is no end style, and only pens
    // one pixel wide may have a style other than solid.
    bool ExtendedPens() const { return FExtendedPens; }
    void SetExtendedPens(bool Value) { FExtendedPens = Value; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void CBVisibleClick(TObject* Sender);
    void SEWidthChange(TObject* Sender);
    void CBStyleChange(TObject* Sender);
    void CBEndStyleChange(TObject* Sender);
    void BColorClick(TObject* Sender);
    void BCancelClick(TObject* Sender);
    void CBStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);

private:
    void EnableWidth(bool Value);
    // Without extended pens, a style other than solid needs a width of 1.
    void ApplyWidthRule();

    std::unique_ptr<TChartPen> FBackupPen;
    bool FModified = false;
    TPen* FPen = nullptr;
    bool FLoading = true;   // from creation to the end of showing: control events are ignored
    bool FExtendedPens = true;
};

// A button with a sample of its linked pen at its right; its click edits the pen in the
// pen dialog.
class TButtonPen : public TTeeButton {
public:
    DECLARE_CLASS_NAME(TButtonPen)
    explicit TButtonPen(TComponent* AOwner);

    TPen* LinkedPen() const { return dynamic_cast<TPen*>(FInstance); }
    // Passed to the dialog: hides its colour button.
    bool HideColor() const { return FHideColor; }
    void SetHideColor(bool Value) { FHideColor = Value; }

    // The colour the pen is drawn in where its owner draws it in a colour of its own (a
    // 2D line in its series' colour): the dialog opens with it, and Cancel puts the
    // pen's own colour back. Unset: the pen's colour.
    std::function<TColor()> DrawnColor;

    // Without a pen, the plain click. Else the pen dialog; on OK the button repaints and
    // OnClick fires; on Cancel nothing more happens.
    void Click() override;

protected:
    // A line at half the height from Width - 17 to Width - 6 in the pen (at most 6 pixels
    // wide, without telling the pen's owner).
    void DrawSymbol(TTeeCanvas* Canvas) override;

private:
    bool FHideColor = false;
};

// Shows the pen dialog for the pen (its colour button hidden when HideColor); true when
// the user pressed OK.
bool ShowPenEditor(TComponent* AOwner, TPen* Pen, bool HideColor = false);
// Links the pen to the button and repaints it.
void AttachPen(TButtonPen* Button, TPen* Pen);
