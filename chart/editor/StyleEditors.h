// Editors of the chart's style objects: gradient, shadow, brush (pattern), font and the
// framed text box. Each can run as a modal dialog or sit as a page inside another
// editor; every control writes its property at once. The gradient and brush dialogs keep
// a copy of the object and put it back on Cancel (also when closed by the close box).
#pragma once

#include "TeePenDlg.h"

#include "RizUridu.h"

#include "controls/ComCtrls.h"
#include "controls/CustomControls.h"
#include "controls/ExtCtrls.h"
#include "controls/FormBuilder.h"
#include "controls/ListBoxes.h"

#include <array>
#include <memory>
#include <string>

// ---- gradient ---------------------------------------------------------------------

// A panel that shows nothing but its own background, which is its gradient.
class TPreviewGradient : public TCustomTeePanelExtended {
public:
    DECLARE_CLASS_NAME(TPreviewGradient)
    explicit TPreviewGradient(TComponent* AOwner);
    void DrawContents(const TRect& Rect) override;
};

// A button that shows the linked gradient in its symbol and edits it in the gradient
// editor; HideEndColor hides the editor's end colour and swap buttons.
class TButtonGradient : public TTeeButton {
public:
    DECLARE_CLASS_NAME(TButtonGradient)
    explicit TButtonGradient(TComponent* AOwner);

    TCustomTeeGradient* LinkedGradient() const { return dynamic_cast<TCustomTeeGradient*>(FInstance); }
    bool HideEndColor() const { return FHideEndColor; }
    void SetHideEndColor(bool Value) { FHideEndColor = Value; }
    // Without a gradient the plain click; else the editor, and on OK a repaint and OnClick.
    void Click() override;

protected:
    void DrawSymbol(TTeeCanvas* Canvas) override;

private:
    bool FHideEndColor = false;
};

// One colour theme of the gradient editor's list.
struct TGradientTheme {
    const char* Name;
    TColor Start, Middle, End;
    int Balance;
    TGradientDirection Direction;
};
extern const std::array<TGradientTheme, 17> GradientThemes;
// Gives the gradient the theme's colours, then direction, then balance.
void ApplyGradientTheme(TCustomTeeGradient* Gradient, int ThemeIndex);

// "Gradient Editor".
class TTeeGradientEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeGradientEditor)
    explicit TTeeGradientEditor(TComponent* AOwner);
    ~TTeeGradientEditor() override;

    TPanel* PanelTop;
    TCheckBox* CBVisible;
    TLabel* LDirection;
    TComboBox* CBDirection;
    TPageControl* PageControl1;
    TTabSheet* TabDefault;
    TListBox* Gallery;
    TPreviewGradient* Preview;
    TTabSheet* TabColors;
    TButtonColor* BStart;
    TButtonColor* BMid;
    TButtonColor* BEnd;
    TCheckBox* CBMid;
    TButton* BSwap;
    TTabSheet* TabOptions;
    TLabel* LBalance;
    TScrollBar* SBBalance;
    TLabel* LabelBalance;
    TGroupBox* GBRadial;
    TTrackBar* TrackBar1;
    TLabel* LRadialX;
    TTrackBar* TrackBar2;
    TLabel* LRadialY;
    TTabSheet* TabDirections;
    std::array<TPreviewGradient*, 10> Directions{};
    TPanel* Panel1;
    TButton* BOk;
    TButton* BCancel;

    TCustomTeeGradient* TheGradient() const { return FGradient; }
    bool HideEndColor() const { return FHideEndColor; }
    void SetHideEndColor(bool Value) { FHideEndColor = Value; }
    bool Modified() const { return FModified; }
    // The direction sample chosen last (-1 before any).
    int SelectedDirection() const { return FSelectedDirection; }

    virtual void LoadControls();
    virtual void UpdatePreview();
    virtual void SetGradient(TCustomTeeGradient* Gradient);
    // Puts the copy taken by SetGradient back when the gradient was changed, and tells
    // the gradient's owner once.
    void RestoreGradient();

    void FormShow(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void CBDirectionChange(TObject* Sender);
    void BSwapClick(TObject* Sender);
    void CBMidClick(TObject* Sender);
    void BMidClick(TObject* Sender);
    void ColorClick(TObject* Sender);
    void SBBalanceChange(TObject* Sender);
    void TrackBarChange(TObject* Sender);
    void DirectionsChangeChart(int Index);
    void GalleryClick(TObject* Sender);
    void BCancelClick(TObject* Sender);

private:
    void EnableControls();
    void SelectDirectionSample(int Index);

    std::unique_ptr<TTeeGradient> FBackup;
    bool FModified = false;
    bool FHideEndColor = false;
    bool FLoading = false;
    TCustomTeeGradient* FGradient = nullptr;
    int FSelectedDirection = -1;
};

// Modal gradient editor; HideEndColor hides the end colour and swap buttons,
// HideVisible the visible box. True on OK.
bool ShowGradientEditor(TComponent* AOwner, TCustomTeeGradient* Gradient, bool HideEndColor = false,
                        bool HideVisible = false);
// The editor made to sit inside another form: no OK/Cancel panel.
TTeeGradientEditor* CreateEmbeddedGradientEditor(TComponent* AOwner, TCustomTeeGradient* Gradient);
void AttachGradient(TButtonGradient* Button, TCustomTeeGradient* Gradient);

// ---- shadow -----------------------------------------------------------------------

// "Shadow editor".
class TTeeShadowEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeShadowEditor)
    explicit TTeeShadowEditor(TComponent* AOwner);

    TButtonColor* BShadowColor;
    TEdit* Edit1;
    TUpDown* UDShadowSize;
    TEdit* EVertSize;
    TUpDown* UDShaVert;
    TEdit* EShadowTransp;
    TUpDown* UDShadowTransp;
    TCheckBox* CBSmooth;
    TButton* BOK;

    TTeeShadow* TheShadow() const { return FShadow; }
    void SetShadow(TTeeShadow* Value) { FShadow = Value; }

    void FormShow(TObject* Sender);
    void SizeChange(TObject* Sender);
    void CBSmoothClick(TObject* Sender);

private:
    friend void LoadShadowControls(TTeeShadowEditor*, TTeeShadow*);
    bool FLoading = true;
    TTeeShadow* FShadow = nullptr;
};

// Modal with its OK button; true when closed with OK.
bool ShowShadowEditor(TComponent* AOwner, TTeeShadow* Shadow);
// A shadow editor (owned by Parent's owner) without OK button, embedded in Parent.
TTeeShadowEditor* EmbedShadowEditor(TWinControl* Parent);
void LoadShadowControls(TTeeShadowEditor* Editor, TTeeShadow* Shadow);

// ---- brush ------------------------------------------------------------------------

// "Pattern Color Editor".
class TBrushDialog : public TForm {
public:
    DECLARE_CLASS_NAME(TBrushDialog)
    explicit TBrushDialog(TComponent* AOwner);
    ~TBrushDialog() override;

    TListBox* LStyle;
    TButtonColor* BColor;
    TButton* Button1;
    TImage* Image1;
    TButton* Button2;
    TButton* Button3;

    TChartBrush* TheBrush() const { return FBrush; }
    void SetBrush(TChartBrush* Value) { FBrush = Value; }
    // Puts back the copy taken when the dialog was shown.
    void RestoreBrush();

    void FormShow(TObject* Sender);
    void LStyleClick(TObject* Sender);
    // The sample of the item's style or pattern and its name.
    void LStyleDrawItem(int Index, const TRect& Rect);
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);

private:
    void UpdateImage();
    void EnableColor();
    std::unique_ptr<TChartBrush> FBackup;
    TChartBrush* FBrush = nullptr;
};

// The bitmap of pattern item Index (8..26) of the brush list.
std::unique_ptr<TBitmap> BrushPatternBitmap(int Index);
// Modal; true on OK.
bool ShowBrushEditor(TComponent* AOwner, TChartBrush* Brush);

// ---- font -------------------------------------------------------------------------

// "TeeFont Editor".
class TTeeFontEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TTeeFontEditor)
    explicit TTeeFontEditor(TComponent* AOwner);

    TShape* SHText;
    TButton* Button3;
    TEdit* Edit2;
    TUpDown* UDInter;
    TButtonPen* BOutline;
    TButton* BShadow;
    TCheckBox* CBOutGrad;
    TButtonGradient* BGradient;

    TTeeFont* TheFont() const { return FFont; }

    void Button3Click(TObject* Sender);
    void SHTextClick();
    void Edit2Change(TObject* Sender);
    void BShadowClick(TObject* Sender);
    void CBOutGradClick(TObject* Sender);

private:
    friend void LoadFontControls(TTeeFontEditor*, TTeeFont*);
    bool FLoading = true;
    TTeeFont* FFont = nullptr;
};

// The platform's font dialog on a copy of the font; on OK the copy goes back. True on OK.
bool ShowFontDialog(TComponent* AOwner, TFont* Font);
TTeeFontEditor* EmbedFontEditor(TWinControl* Parent);
void LoadFontControls(TTeeFontEditor* Editor, TTeeFont* Font);

// ---- framed text box --------------------------------------------------------------

class TFormTeeShape : public TForm {
public:
    DECLARE_CLASS_NAME(TFormTeeShape)
    explicit TFormTeeShape(TComponent* AOwner);

    TPageControl* PC1;
    TTabSheet* TabFormat;
    TButtonColor* BBackColor;
    TButtonPen* Button4;
    TButton* Button6;
    TCheckBox* CBRound;
    TCheckBox* CBTransparent;
    TLabel* LBevel;
    TComboBox* CBBevel;
    TEdit* EBevWidth;
    TUpDown* UDBevW;
    TEdit* EShadowTransp;
    TUpDown* UDShadowTransp;
    TTabSheet* TabText;
    TTabSheet* TabGradient;
    TTabSheet* TabShadow;

    TTeeGradientEditor* GradientEditor() const { return FGradientEditor; }
    TTeeFontEditor* FontEditor() const { return FFontEditor; }
    TTeeShadowEditor* ShadowEditor() const { return FShadowEditor; }
    TTeeCustomShape* TheShape() const { return FShape; }
    void SetShape(TTeeCustomShape* Value) { FShape = Value; }

    void FormShow(TObject* Sender);
    void BColorClick(TObject* Sender);
    void CBVisibleChecked(TObject* Sender);

private:
    friend void LoadShapeControls(TFormTeeShape*, TTeeCustomShape*);
    void EnableBevelWidth();
    bool FLoading = true;
    TTeeGradientEditor* FGradientEditor = nullptr;
    TTeeFontEditor* FFontEditor = nullptr;
    TTeeShadowEditor* FShadowEditor = nullptr;
    TTeeCustomShape* FShape = nullptr;
};

// The editor for the shape; with a parent it sits in it without a frame, filling it.
TFormTeeShape* CreateShapeEditor(TComponent* AOwner, TTeeCustomShape* Shape, TWinControl* Parent = nullptr);
// The editor's four pages moved into Pages (the first made active).
TFormTeeShape* EmbedShapeEditor(TPageControl* Pages, TTeeCustomShape* Shape);
void LoadShapeControls(TFormTeeShape* Editor, TTeeCustomShape* Shape);

// Unit start-up: registers the editors' form classes; finalisation removes them.
void StyleEditorsInitialization();
void StyleEditorsFinalization();
