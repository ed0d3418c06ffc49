// The option pages of the series types. Each is a form that the series page creates by
// its registered class name (the series' EditorClassName), hands the series in its Tag
// and embeds; every control writes its property at once. Pages that need more room add
// tabs beside the one they sit on.
#pragma once

#include "PointerEditor.h"
#include "StyleEditors.h"

#include "ArrowCha.h"
#include "BubbleCh.h"
#include "GanttCh.h"
#include "Series.h"
#include "ShapeSeries.h"

#include "controls/FormBuilder.h"

#include <functional>
#include <string>
#include <type_traits>

// ---- shared helpers --------------------------------------------------------------------

// The series in the form's Tag (nullptr when the Tag holds none).
TChartSeries* TaggedSeries(const TForm* Form);

// When Form sits on a tab of a page control (the series page's "Format" tab), inserts a
// tab with Caption at PageIndex (-1: at the end) and embeds Page in it with Tagged as
// its Tag. Form owns the new tab and Page, so both go when Form goes. Without such a
// host Page is freed and nullptr answered.
TTabSheet* AddEditorTab(TForm* Form, TForm* Page, int PageIndex, const std::string& Caption, TObject* Tagged);

// The pointer editor of the series on a tab of its own at the end, through AddEditorTab;
// nullptr without a host.
TSeriesPointerEditor* AddPointerTab(TForm* Form, TChartSeries* Series, const std::string& Caption);

// Whether the series' chart shows in 3D.
bool SeriesIn3DChart(const TChartSeries* Series);

// The number in Edit's text; false (and Value kept) while the text is not a number,
// such as "" or "-" half-way through typing.
bool TypedNumber(const TEdit* Edit, double& Value);
// Makes Apply Edit's change handler, run only while the text is a number.
void WhenNumber(TEdit* Edit, std::function<void()> Apply);

// The check boxes shared by the line, area and fast-line pages. Target answers the page's
// series while the page may write into it (shown and not filling its controls), else
// nullptr; a box writes its state through Set at once.
template <class Target, class Setter>
void WhenChecked(TCheckBox* Box, Target Series, Setter Set)
{
    Box->OnClick = [Box, Series, Set](TObject*) {
        if (auto* s = Series())
            (s->*Set)(Box->Checked());
    };
}
// Stairs enables Inverted; they write the series' Stairs and InvertedStairs.
template <class Target>
void WhenStairs(TCheckBox* Stairs, TCheckBox* Inverted, Target Series)
{
    Stairs->OnClick = [Stairs, Inverted, Series](TObject*) {
        Inverted->SetEnabled(Stairs->Checked());
        if (auto* s = Series())
            s->SetStairs(Stairs->Checked());
    };
    WhenChecked(Inverted, Series, &std::remove_pointer_t<decltype(Series())>::SetInvertedStairs);
}
// The two boxes showing the series' stairs.
template <class S>
void ShowStairs(TCheckBox* Stairs, TCheckBox* Inverted, const S* Series)
{
    Stairs->SetChecked(Series->Stairs());
    Inverted->SetChecked(Series->InvertedStairs());
    Inverted->SetEnabled(Series->Stairs());
}
// "Color Each" disables the colour button while each point has its own colour.
template <class Target>
void WhenColorEach(TCheckBox* Box, TControl* ColorButton, Target Series)
{
    Box->OnClick = [Box, ColorButton, Series](TObject*) {
        ColorButton->SetEnabled(!Box->Checked());
        if (auto* s = Series())
            s->SetColorEachPoint(Box->Checked());
    };
}

// ---- line, horizontal line and point series ---------------------------------------------

class TCustomSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TCustomSeriesEditor)
    explicit TCustomSeriesEditor(TComponent* AOwner);

    TButtonPen* BLineBorder;
    TButtonColor* BLineColor;
    TGroupBox* GBStair;
    TCheckBox* CBStairs;
    TCheckBox* CBInvStairs;
    TCheckBox* CBColorEach;
    TCheckBox* CBDark3D;
    TLabel* LStack;
    TComboBox* CBStack;
    TLabel* LHeight;
    TEdit* EHeight;
    TUpDown* UDHeight;
    TCheckBox* CBClick;
    TButton* BBrush;
    TButtonPen* BOutline;
    TCheckBox* CheckBox1;
    TButton* Button1;

    TCustomSeries* TheSeries() const { return FSeries; }
    TSeriesPointerEditor* PointerEditor() const { return FPointerEditor; }

    void FormShow(TObject* Sender);

private:
    bool Ready() const { return FShowing && FSeries != nullptr; }
    bool FShowing = false;
    TCustomSeries* FSeries = nullptr;
    TSeriesPointerEditor* FPointerEditor = nullptr;
};

// ---- area series --------------------------------------------------------------------------

class TAreaSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TAreaSeriesEditor)
    explicit TAreaSeriesEditor(TComponent* AOwner);

    TRadioGroup* RGMultiArea;
    TCheckBox* CBStairs;
    TCheckBox* CBInvStairs;
    TButtonPen* BAreaLinesPen;
    TButtonPen* BAreaLinePen;
    TButton* BPattern;
    TButton* Button1;
    TCheckBox* CBColorEach;
    TButtonColor* BAreaColor;
    TCheckBox* CBUseOrigin;
    TLabel* LOrigin;
    TEdit* EOrigin;
    TUpDown* UDOrigin;
    TEdit* ETransp;
    TUpDown* UDTransp;

    TAreaSeries* TheSeries() const { return FSeries; }
    TSeriesPointerEditor* PointerEditor() const { return FPointerEditor; }
    TTeeGradientEditor* GradientEditor() const { return FGradientEditor; }

    void FormShow(TObject* Sender);

private:
    void EnableOrigin();
    bool Ready() const { return FShowing && FSeries != nullptr; }
    bool FShowing = false;
    TAreaSeries* FSeries = nullptr;
    TSeriesPointerEditor* FPointerEditor = nullptr;
    TTeeGradientEditor* FGradientEditor = nullptr;
};

// ---- bar series ---------------------------------------------------------------------------

// How related bar series share their room, their stack group and their origin.
class TStackBarSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TStackBarSeriesEditor)
    explicit TStackBarSeriesEditor(TComponent* AOwner);

    TRadioGroup* RGMultiBar;
    TLabel* LGroup;
    TEdit* EGroup;
    TUpDown* UDGroup;
    TCheckBox* CBYOrigin;
    TEdit* EYOrigin;

    TCustomBarSeries* TheSeries() const { return FSeries; }

    void FormShow(TObject* Sender);

private:
    void EnableGroup();
    bool FLoading = true;
    TCustomBarSeries* FSeries = nullptr;
};

class TBarSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TBarSeriesEditor)
    explicit TBarSeriesEditor(TComponent* AOwner);

    TPageControl* PageControl1;
    TTabSheet* TabFormat;
    TLabel* LStyle;
    TComboBox* CBBarStyle;
    TButton* BGradient;
    TLabel* LBevel;
    TEdit* EBevel;
    TUpDown* UDBevel;
    TButtonPen* BBarPen;
    TButton* BBarBrush;
    TButtonPen* BTickLines;
    TCheckBox* CBColorEach;
    TButtonColor* BBarColor;
    TCheckBox* CBDarkBar;
    TTabSheet* TabSize;
    TEdit* SEBarwidth;
    TUpDown* UDBarWidth;
    TEdit* SEBarOffset;
    TUpDown* UDBarOffset;
    TEdit* Edit1;
    TUpDown* UDDepth;
    TCheckBox* CBBarSideMargins;
    TCheckBox* CBMarksAutoPosition;

    TCustomBarSeries* TheSeries() const { return FSeries; }
    TStackBarSeriesEditor* StackEditor() const { return FStackEditor; }

    void FormShow(TObject* Sender);

private:
    void EnableStyleControls();
    bool FLoading = true;
    TCustomBarSeries* FSeries = nullptr;
    TStackBarSeriesEditor* FStackEditor = nullptr;
};

// ---- pie series ---------------------------------------------------------------------------

// The options of round series: circled, rotation, radii and the circle's background.
class TCircledSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TCircledSeriesEditor)
    explicit TCircledSeriesEditor(TComponent* AOwner);

    TCheckBox* CBCircled;
    TCheckBox* CB3D;
    TEdit* Edit1;
    TUpDown* UDRot;
    TGroupBox* GBRadius;
    TEdit* Edit2;
    TUpDown* UDX;
    TCheckBox* CBAutoXR;
    TEdit* Edit3;
    TUpDown* UDY;
    TCheckBox* CBAutoYR;
    TButtonColor* BBack;
    TCheckBox* CBTransp;
    TButtonGradient* BGradient;

    TCircledSeries* TheSeries() const { return FSeries; }

    void FormShow(TObject* Sender);

private:
    void ShowRadii();
    bool FLoading = false;
    TCircledSeries* FSeries = nullptr;
};

class TPieSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TPieSeriesEditor)
    explicit TPieSeriesEditor(TComponent* AOwner);

    TPageControl* PageControl1;
    TTabSheet* TabOptions;
    TCheckBox* CBDark3d;
    TEdit* SEExpBig;
    TUpDown* UDExpBig;
    TCheckBox* CBPatterns;
    TButtonPen* BPen;
    TEdit* Edit1;
    TUpDown* UDAngleSize;
    TButton* BShadow;
    TCheckBox* CBMarksAutoPosition;
    TButtonGradient* BGradient;
    TEdit* Edit2;
    TUpDown* UpDown1;
    TComboBox* CBMultiple;
    TTabSheet* TabGroup;
    TComboBox* CBOther;
    TEdit* EOtherValue;
    TEdit* EOtherLabel;
    TButton* Button2;
    TTabSheet* TabColors;
    TCheckBox* CBColorEach;
    TButtonColor* BColor;

    TPieSeries* TheSeries() const { return FSeries; }
    TCircledSeriesEditor* CircledEditor() const { return FCircledEditor; }

    void FormShow(TObject* Sender);

private:
    void EnableOther();
    bool Ready() const { return FShowing && FSeries != nullptr; }
    bool FShowing = false;
    TPieSeries* FSeries = nullptr;
    TCircledSeriesEditor* FCircledEditor = nullptr;
};

// ---- fast line series ---------------------------------------------------------------------

// The pen dialog on the series' line pen, with the fast line's own options below.
class TFastLineSeriesEditor : public TPenDialog {
public:
    DECLARE_CLASS_NAME(TFastLineSeriesEditor)
    explicit TFastLineSeriesEditor(TComponent* AOwner);

    TCheckBox* CBDrawAll;
    TCheckBox* CBStairs;
    TCheckBox* CBInvStairs;
    TCheckBox* CBNulls;

    TFastLineSeries* TheSeries() const { return FSeries; }

    void FastLineShow(TObject* Sender);

private:
    bool Ready() const { return FShowing && FSeries != nullptr; }
    bool FShowing = false;
    TFastLineSeries* FSeries = nullptr;
};

// ---- shape series -------------------------------------------------------------------------

class TChartShapeEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TChartShapeEditor)
    explicit TChartShapeEditor(TComponent* AOwner);

    TPageControl* PageControl1;
    TTabSheet* TabStyle;
    TLabel* LStyle;
    TComboBox* CBStyle;
    TCheckBox* CBRound;
    TButtonColor* BShapeColor;
    TButtonPen* BShapePen;
    TButton* BShapeBrush;
    TButtonGradient* BGradient;
    TCheckBox* CBTrans;
    TTabSheet* TabPosition;
    TEdit* SEX0;
    TEdit* SEX1;
    TEdit* SEY0;
    TEdit* SEY1;
    TComboBox* CBUnits;
    TTabSheet* TabText;
    TLabel* LText;
    TMemo* MemoText;
    TRadioGroup* RGAlign;
    TRadioGroup* RGVertAlign;
    TTabSheet* TabFont;

    TChartShape* TheSeries() const { return FSeries; }
    TTeeFontEditor* FontEditor() const { return FFontEditor; }

    void FormShow(TObject* Sender);

private:
    void EnableRound();
    void CornerChange(TEdit* Edit, void (TChartShape::*Set)(double));
    bool FLoading = true;
    TChartShape* FSeries = nullptr;
    TTeeFontEditor* FFontEditor = nullptr;
};

// ---- Gantt, arrow and bubble series -------------------------------------------------------

class TGanttSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TGanttSeriesEditor)
    explicit TGanttSeriesEditor(TComponent* AOwner);

    TEdit* SEPointVertSize;
    TUpDown* UDPointVertSize;
    TButtonPen* BConnLines;
    TButtonColor* BColor;
    TCheckBox* CBColorEach;
    TEdit* Edit1;
    TUpDown* UpDown1;

    TGanttSeries* TheSeries() const { return FSeries; }
    TSeriesPointerEditor* PointerEditor() const { return FPointerEditor; }

    void FormShow(TObject* Sender);

private:
    bool Ready() const { return FShowing && FSeries != nullptr; }
    bool FShowing = false;
    TGanttSeries* FSeries = nullptr;
    TSeriesPointerEditor* FPointerEditor = nullptr;
};

class TArrowSeriesEditor : public TForm {
public:
    DECLARE_CLASS_NAME(TArrowSeriesEditor)
    explicit TArrowSeriesEditor(TComponent* AOwner);

    TButtonPen* BPen;
    TButton* BBrush;
    TEdit* SEArrowWidth;
    TUpDown* UDArrowWidth;
    TEdit* SEArrowHeight;
    TUpDown* UDArrowHeight;
    TScrollBar* SBPercent;
    TLabel* LPercent;
    TCheckBox* CBColorEach;
    TButtonColor* BArrowColor;

    TArrowSeries* TheSeries() const { return FSeries; }

    void FormShow(TObject* Sender);

private:
    bool Ready() const { return FShowing && FSeries != nullptr; }
    bool FShowing = false;
    TArrowSeries* FSeries = nullptr;
};

// The pointer editor's page (without its visible box) and the bubbles' transparency.
class TBubbleSeriesEditor : public TSeriesPointerEditor {
public:
    DECLARE_CLASS_NAME(TBubbleSeriesEditor)
    explicit TBubbleSeriesEditor(TComponent* AOwner);

    TEdit* Edit1;
    TUpDown* UDTransp;

    TBubbleSeries* TheSeries() const { return FSeries; }

    void BubbleShow(TObject* Sender);

private:
    bool FLoading = true;
    TBubbleSeries* FSeries = nullptr;
};

// Unit start-up: registers every option page's form class by name; finalisation removes
// them.
void SeriesEditorsInitialization();
void SeriesEditorsFinalization();
