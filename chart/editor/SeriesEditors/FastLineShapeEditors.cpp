#include "SeriesEditors.h"

#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

// ---- TFastLineSeriesEditor ----------------------------------------------------------------------

TFastLineSeriesEditor::TFastLineSeriesEditor(TComponent* AOwner) : TPenDialog(AOwner)
{
    SetUniqueFormName(this, "FastLineSeriesEditor");
    AppendInto(this, this, {
        Line({Ctl(CBDrawAll, "CBDrawAll", "Draw &All"), Ctl(CBStairs, "CBStairs", "&Stairs"),
              Ctl(CBInvStairs, "CBInvStairs", "&Inverted"), Stretch()}),
        Ctl(CBNulls, "CBNulls", "&Ignore Nulls"),
    });
    CBNulls->SetChecked(true);
    SetAlign(alClient);

    const auto series = [this] { return Ready() ? FSeries : nullptr; };
    WhenChecked(CBDrawAll, series, &TFastLineSeries::SetDrawAllPoints);
    WhenStairs(CBStairs, CBInvStairs, series);
    WhenChecked(CBNulls, series, &TFastLineSeries::SetIgnoreNulls);
    BColor->OnClick = [this](TObject* s) {
        BColorClick(s);
        if (FSeries != nullptr) {
            FSeries->SetSeriesColor(FSeries->LinePen()->Color());
            FSeries->Repaint();
        }
    };
    // On the page OK and Cancel act on the pen alone: they neither end the window the page
    // sits in nor answer its Enter and Escape, which close it keeping what was written.
    // Cancel puts the pen back as it was when shown and shows it again; the copy stays
    // for the next Cancel.
    BOk->SetDefault(false);
    BOk->SetModalResult(mrNone);
    BCancel->SetCancel(false);
    BCancel->SetModalResult(mrNone);
    BCancel->OnClick = [this](TObject*) {
        RestorePen();
        if (FSeries != nullptr)
            FastLineShow(this);
    };
    OnShow = [this](TObject* s) { FastLineShow(s); };
    ReloadOnShowAgain(this);
}

void TFastLineSeriesEditor::FastLineShow(TObject* Sender)
{
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    FSeries = dynamic_cast<TFastLineSeries*>(TaggedSeries(this));
    if (FSeries != nullptr) {
        SetPen(FSeries->LinePen());
        CBDrawAll->SetChecked(FSeries->DrawAllPoints());
        ShowStairs(CBStairs, CBInvStairs, FSeries);
        CBNulls->SetChecked(FSeries->IgnoreNulls());
    }
    FormShow(Sender);
}

// ---- TChartShapeEditor ------------------------------------------------------------------------

namespace {

// The alignment items' order: left, centre, right.
const TAlignment ShapeAlignments[3] = {taLeftJustify, taCenter, taRightJustify};

} // namespace

TChartShapeEditor::TChartShapeEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "ChartShapeEditor");
    BuildForm(this, 340, 210, {
        Pages(PageControl1, "PageControl1", {
            Page(TabStyle, "TabStyle", "Style", {
                Row(LStyle, "LStyle", "&Style:", {Combo(CBStyle, "CBStyle", {
                    "Rectangle", "Circle", "Vertical Line", "Horiz. Line", "Triangle", "Invert. Triangle", "Line",
                    "Diamond", "Cube", "Cross", "Diagonal Cross", "Star", "Pyramid", "Invert. Pyramid"})}),
                Line({Ctl(CBRound, "CBRound", "&Round Rectangle"), Ctl(CBTrans, "CBTrans", "Tra&nsparent"), Stretch()}),
                Line({Ctl(BShapeColor, "BShapeColor", "&Color..."), Ctl(BShapePen, "BShapePen", "Bor&der..."), Stretch()}),
                Line({Ctl(BShapeBrush, "BShapeBrush", "&Pattern..."), Ctl(BGradient, "BGradient", "&Gradient..."), Stretch()}),
            }),
            Page(TabPosition, "TabPosition", "Position", {
                Row("&Units:", {Combo(CBUnits, "CBUnits", {"Pixels", "Axis", "Axis Origin"})}),
                Row("&Left:", {Ctl(SEX0, "SEX0")}),
                Row("&Top:", {Ctl(SEY0, "SEY0")}),
                Row("&Right", {Ctl(SEX1, "SEX1")}),
                Row("&Bottom:", {Ctl(SEY1, "SEY1")}),
            }),
            Page(TabText, "TabText", "Text", {
                // The caption above the memo takes the focus into it by its accelerator.
                Ctl(LText, "LText", "Te&xt:"),
                Growing(Ctl(MemoText, "MemoText")),
                Radios(RGAlign, "RGAlign", "&Horiz. Alignment", {"Left", "Center", "Right"}, 3),
                Radios(RGVertAlign, "RGVertAlign", "&Alignment", {"Top", "Center", "Bottom"}, 3),
            }),
            Page(TabFont, "TabFont", "Font", {}),
        }),
    });
    SetAlign(alClient);
    PageControl1->SetActivePage(TabStyle);
    FFontEditor = EmbedFontEditor(TabFont);

    auto ready = [this] { return !FLoading && FSeries != nullptr; };
    CBStyle->OnChange = [this, ready](TObject*) {
        if (ready() && CBStyle->ItemIndex() >= 0)
            FSeries->SetStyle(static_cast<TChartShapeStyle>(CBStyle->ItemIndex()));
        EnableRound();
    };
    CBRound->OnClick = [this, ready](TObject*) {
        if (ready())
            FSeries->SetRoundRectangle(CBRound->Checked());
    };
    BShapeBrush->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        ShowBrushEditor(this, FSeries->Brush());
        BShapeColor->Repaint();
    };
    CBTrans->OnClick = [this, ready](TObject*) {
        if (ready())
            FSeries->SetTransparent(CBTrans->Checked());
    };
    MemoText->OnChange = [this, ready](TObject*) {
        if (ready())
            FSeries->SetText(MemoText->Lines());
    };
    RGAlign->OnClick = [this, ready](TObject*) {
        const int index = RGAlign->ItemIndex();
        if (ready() && index >= 0 && index < 3)
            FSeries->SetAlignment(ShapeAlignments[index]);
    };
    RGVertAlign->OnClick = [this, ready](TObject*) {
        if (ready() && RGVertAlign->ItemIndex() >= 0)
            FSeries->SetVertAlign(static_cast<TTeeVertAlign>(RGVertAlign->ItemIndex()));
    };
    SEX0->OnChange = [this](TObject*) { CornerChange(SEX0, &TChartShape::SetX0); };
    SEX1->OnChange = [this](TObject*) { CornerChange(SEX1, &TChartShape::SetX1); };
    SEY0->OnChange = [this](TObject*) { CornerChange(SEY0, &TChartShape::SetY0); };
    SEY1->OnChange = [this](TObject*) { CornerChange(SEY1, &TChartShape::SetY1); };
    CBUnits->OnChange = [this, ready](TObject*) {
        if (ready() && CBUnits->ItemIndex() >= 0)
            FSeries->SetXYStyle(static_cast<TChartShapeXYStyle>(CBUnits->ItemIndex()));
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

// A corner field writes its number; an empty or half-typed text writes nothing.
void TChartShapeEditor::CornerChange(TEdit* Edit, void (TChartShape::*Set)(double))
{
    double value = 0;
    if (!FLoading && FSeries != nullptr && TypedNumber(Edit, value))
        (FSeries->*Set)(value);
}

void TChartShapeEditor::EnableRound()
{
    CBRound->SetEnabled(CBStyle->ItemIndex() == chasRectangle && FSeries != nullptr && !SeriesIn3DChart(FSeries));
}

void TChartShapeEditor::FormShow(TObject*)
{
    FLoading = true;
    auto loaded = TScopeGuard([this] { FLoading = false; });
    FSeries = dynamic_cast<TChartShape*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    CBStyle->SetItemIndex(int(FSeries->Style()));
    CBRound->SetChecked(FSeries->RoundRectangle());
    EnableRound();
    BShapeColor->LinkProperty(FSeries, "SeriesColor");
    AttachPen(BShapePen, FSeries->Pen());
    AttachGradient(BGradient, FSeries->Gradient());
    CBTrans->SetChecked(FSeries->Transparent());
    TTeeFont* font = FSeries->Font();
    MemoText->SetFontName(font->Name());
    MemoText->SetFontSize(font->Size());
    MemoText->SetFontStyle(font->Style());
    MemoText->SetFontColor(font->Color());
    MemoText->Lines()->Assign(FSeries->Text());
    for (int i = 0; i < 3; ++i)
        if (ShapeAlignments[i] == FSeries->Alignment())
            RGAlign->SetItemIndex(i);
    RGVertAlign->SetItemIndex(int(FSeries->VertAlign()));
    if (FSeries->Count() == 2) {
        SEX0->SetText(FloatToStr(FSeries->X0()));
        SEY0->SetText(FloatToStr(FSeries->Y0()));
        SEX1->SetText(FloatToStr(FSeries->X1()));
        SEY1->SetText(FloatToStr(FSeries->Y1()));
    }
    CBUnits->SetItemIndex(int(FSeries->XYStyle()));
    LoadFontControls(FFontEditor, font);
    CallFormShowHook(this);
}
