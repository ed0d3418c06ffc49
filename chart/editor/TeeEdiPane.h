// The "Panel" page of the chart editor: the chart panel's colour, back image, borders
// and bevels, with its gradient and shadow on editor tabs of their own.
#pragma once

#include "EditorPage.h"
#include "StyleEditors.h"

#include "Chart.h"

class TFormTeePanel : public TEditorPage {
public:
    DECLARE_CLASS_NAME(TFormTeePanel)
    TFormTeePanel(TComponent* AOwner, TCustomTeePanelExtended* APanel);

    TPageControl* PageControl1;
    // Background
    TTabSheet* TabBack;
    TButtonColor* BPanelColor;
    TCheckBox* CBColorDef;
    TRadioGroup* RGBitmap;
    TButton* BBrowseImage;
    TCheckBox* CBImageInside;
    TCheckBox* CBTransp;
    TEdit* ELeft;
    TUpDown* UDLeft;
    TEdit* ETop;
    TUpDown* UDTop;
    // Borders
    TTabSheet* TabBorders;
    TEdit* SEPanelBor;
    TUpDown* UDPanelBor;
    TEdit* SEPanelWi;
    TUpDown* UDPanelWi;
    TEdit* ERound;
    TUpDown* UDRound;
    TComboBox* CBInner;
    TComboBox* CBOuter;
    TButtonPen* BBorder;
    // Gradient and shadow
    TTabSheet* TabGradient;
    TTabSheet* TabShadow;

    TCustomTeePanelExtended* ThePanel() const { return FPanel; }
    TTeeGradientEditor* GradientEditor() const { return FGradientEditor; }
    TTeeShadowEditor* ShadowEditor() const { return FShadowEditor; }

    void FormShow(TObject* Sender);
    void BBrowseImageClick(TObject* Sender);

private:
    void LoadImageControls();
    void LoadColorDefault();

    TCustomTeePanelExtended* FPanel;
    TTeeGradientEditor* FGradientEditor = nullptr;
    TTeeShadowEditor* FShadowEditor = nullptr;
};

// Loads a picture file chosen in the open dialog into Picture when it is empty, else
// empties it; true when the picture changed.
bool BrowseOrClearImage(TComponent* AOwner, TPicture* Picture);

// The page for the panel; shown inside Parent when one is given.
TFormTeePanel* CreatePanelEditor(TComponent* AOwner, TCustomTeePanelExtended* Panel, TWinControl* Parent = nullptr);

void TeeEdiPaneInitialization();
void TeeEdiPaneFinalization();
