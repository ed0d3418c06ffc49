// The editor of a series pointer: embedded as a page of the series editor, or as a modal
// "Pointer" dialog for a bare pointer. Every control writes its property at once.
#pragma once

#include "StyleEditors.h"

#include "TeEngine.h"

class TSeriesPointerEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TSeriesPointerEditor)
    explicit TSeriesPointerEditor(TComponent* AOwner);

    TGroupBox* GPPoint;
    TCheckBox* CBDrawPoint;
    TCheckBox* CB3dPoint;
    TCheckBox* CBPoDark;
    TCheckBox* CBInflate;
    TLabel* LStyle;
    TComboFlat* CBStyle;
    TLabel* LWidth;
    TEdit* SEPointHorizSize;
    TUpDown* UDPointHorizSize;
    TLabel* LHeight;
    TEdit* SEPointVertSize;
    TUpDown* UDPointVertSize;
    TGroupBox* GroupBox1;
    TButton* BPointFillColor;
    TCheckBox* CBDefBrushColor;
    TButtonPen* BPoinPenCol;
    TCheckBox* CBColorEach;
    TButtonGradient* BGradient;
    TPanel* PanelBottom;
    TButton* Button1;

    TSeriesPointer* ThePointer() const { return FPointer; }
    // False keeps the size rows hidden also for a pointer that allows size changes (a
    // page that edits the sizes itself).
    bool ShowSizes = true;

    void FormShow(TObject* Sender);
    void CBDrawPointClick(TObject* Sender);
    void CB3dPointClick(TObject* Sender);
    void CBPoDarkClick(TObject* Sender);
    void SizeChange(TObject* Sender);
    void CBStyleChange(TObject* Sender);
    void CBInflateClick(TObject* Sender);
    void BPointFillColorClick(TObject* Sender);
    void BPoinPenColClick(TObject* Sender);
    void CBDefBrushColorClick(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void CBStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);

private:
    void Enable3D();
    void EnableVisible();
    void CheckDefaultColor();
    TChartSeries* Series() const;
    // Shown with a pointer: the handlers write.
    bool Ready() const { return FShowing && FPointer != nullptr; }
    bool FShowing = false;
    TSeriesPointer* FPointer = nullptr;
};

// The modal "Pointer" dialog for a pointer; answers True.
bool ShowPointerEditor(TComponent* AOwner, TSeriesPointer* Pointer);

// Embeds a pointer editor of Tagged (a series with a pointer, or a pointer) as a tab with
// Caption at the end of the series page that hosts Page; nullptr (nothing embedded) when
// Page is not hosted by the series page or that page holds its most embedded forms.
TSeriesPointerEditor* EmbedPointerEditor(TForm* Page, TObject* Tagged, const std::string& Caption = "Point");

void PointerEditorInitialization();
void PointerEditorFinalization();
