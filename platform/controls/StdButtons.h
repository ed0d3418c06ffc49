// The platform's push button, which descendants may paint over, and glyphs on speed
// buttons.
#pragma once

#include "Buttons.h"
#include "Controls.h"
#include "Dialogs.h"

#include <memory>

class TBitmap;
class TCanvas;

// A push button (QPushButton). A click sets the parent form's ModalResult to the
// button's own (when that is not mrNone) and then fires OnClick. Default makes Enter
// press it anywhere on its form, Cancel makes Escape press it.
//
// Painting: the toolkit's button is drawn into an image of the button's size, then
// PaintOver draws on a canvas over that image, and the image is shown. PaintTo does the
// same into a bitmap, so that tests can read the pixels of what the window shows.
class TButton : public TWinControl {
public:
    DECLARE_CLASS_NAME(TButton)
    explicit TButton(TComponent* AOwner);
    ~TButton() override;

    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    void Click() override;

    // Schedules a paint of the button.
    void Invalidate();
    virtual void Repaint() { Invalidate(); }
    // Makes Bitmap the button's size and paints the button into it.
    void PaintTo(TBitmap* Bitmap);

protected:
    // Draws over the painted button; Canvas is in client pixels. The base draws nothing.
    virtual void PaintOver(TCanvas* Canvas) {}
    void TextChanged() override;

private:
    friend class PushButtonWidget;
    struct Impl;
    std::unique_ptr<Impl> d;
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

// Gives the speed button a glyph: the bitmap's bottom-left pixel marks the see-through
// colour, as for the platform's glyphs. An empty bitmap removes the glyph.
void SetSpeedButtonGlyph(TSpeedButton* Button, const TBitmap& Glyph);
// True when the speed button shows a glyph.
bool SpeedButtonHasGlyph(const TSpeedButton* Button);

// The Close button of a form that is shown alone or inside another window: alone it
// shows and is the default and cancel button; inside another window it is hidden and
// neither, as that window's own buttons close it.
void ShowOwnCloseButton(TButton* Button, const TControl* Form);
