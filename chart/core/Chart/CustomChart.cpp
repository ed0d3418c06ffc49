#include "Chart/CustomChart.h"
#include "classes/Streaming.h"

#include "Chart/SeriesTypes.h"
#include "TeeConst.h"

#include "TeEngine/Marks.h"
#include "TeEngine/Series.h"


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TCustomChart, TCustomAxisPanel)
    .Object("BackWall", &TCustomChart::BackWall)
    .Object("BottomWall", &TCustomChart::BottomWall)
    .Object("Foot", &TCustomChart::Foot)
    .Object("Frame", &TCustomChart::Frame)
    .Object("LeftWall", &TCustomChart::LeftWall)
    .Object("Legend", &TCustomChart::Legend)
    .Object("RightWall", &TCustomChart::RightWall)
    .Enum("ScrollMouseButton", &TCustomChart::ScrollMouseButton, &TCustomChart::SetScrollMouseButton,
          {"mbLeft", "mbRight", "mbMiddle"}).Default(mbRight)
    .Object("SubFoot", &TCustomChart::SubFoot)
    .Object("SubTitle", &TCustomChart::SubTitle)
    .Object("Title", &TCustomChart::Title)
    .Event("OnAllowScroll")
    .Event("OnClickAxis")
    .Event("OnClickBackground")
    .Event("OnClickLegend")
    .Event("OnClickSeries")
    .Event("OnClickTitle")
    .Event("OnGetLegendPos")
    .Event("OnGetLegendRect")
    .Event("OnGetLegendText")
END_CLASS_INFO

BEGIN_CLASS_INFO(TChart, TCustomChart)
    .ComponentFactory()
END_CLASS_INFO

void TCustomChart::DefineProperties(TFiler* Filer)
{
    TCustomAxisPanel::DefineProperties(Filer);
    Filer->DefineProperty(
        "BackColor",
        [this](TReader* Reader) { SetBackColor(ReadStreamedColor(Reader)); },
        nullptr, false);
    const auto* ancestor = dynamic_cast<TCustomChart*>(Filer->Ancestor());
    Filer->DefineProperty(
        "ColorPaletteIndex", [this](TReader* Reader) { SetColorPaletteIndex(Reader->ReadInteger()); },
        [this](TWriter* Writer) { Writer->WriteInteger(FColorPaletteIndex); },
        ancestor != nullptr ? ancestor->FColorPaletteIndex != FColorPaletteIndex : FColorPaletteIndex >= 1);
}

std::function<void(TCustomChart*)> TeeNewChartHook;

TCustomChart::TCustomChart(TComponent* AOwner, const char* ClassTitle) : TCustomAxisPanel(AOwner)
{
    // The chart stays inert while it is being made.
    const bool repaint = AutoRepaint();
    SetAutoRepaint(false);
    FTitle = std::make_unique<TChartTitle>(this);
    if (IsDesigning())
        FTitle->Text()->Add(ClassTitle);
    FSubTitle = std::make_unique<TChartTitle>(this);
    FFoot = std::make_unique<TChartFootTitle>(this);
    FSubFoot = std::make_unique<TChartFootTitle>(this);
    FWalls = std::make_unique<TChartWalls>(this);
    FLegend = std::make_unique<TChartLegend>(this);
    NothingSaved = true;
    SetAutoRepaint(repaint);
    if (IsDesigning() && (Owner() == nullptr || !Owner()->IsLoading()) && TeeNewChartHook)
        TeeNewChartHook(this);
}

TCustomChart::~TCustomChart()
{
    // The titles' and walls' change handlers repaint this chart: no repaint from them now.
    SetAutoRepaint(false);
    FTitle.reset();
    FSubTitle.reset();
    FFoot.reset();
    FSubFoot.reset();
    FWalls.reset();
    FLegend.reset();
}

// ---- colours ------------------------------------------------------------------------------

TColor TCustomChart::GetBackColor() const
{
    return BackWall()->Transparent() ? Color() : BackWall()->Color();
}

void TCustomChart::SetBackColor(TColor v)
{
    BackWall()->SetColor(v);
    if (Parent() != nullptr && !IsLoading())
        BackWall()->Brush()->SetStyle(bsSolid);
}

bool TCustomChart::IsColorUnused(TColor Color, bool CheckBackground, TChartSeries* ExceptSeries)
{
    for (int t = 0; t < SeriesCount(); ++t) {
        TChartSeries* s = Series(t);
        if (s != ExceptSeries && s->SeriesColor() == Color)
            return false;
    }
    if (CheckBackground && (Color == this->Color() || Color == BackWall()->Color()))
        return false;
    return true;
}

std::string TCustomChart::FormatLegendString(TChartSeries* Series, int ValueIndex)
{
    if (Series == nullptr)
        return {};
    return FLegend->FormatValueText(Series, ValueIndex);
}

TColor TCustomChart::LegendColor() const
{
    const TColor c = FLegend->Color();
    return c == clDefault ? Color() : c;
}

void TCustomChart::FillLegendSymbol(const TRect& R)
{
    TLegendSymbol* symbol = FLegend->Symbol();
    TTeeCanvas3D* c = Canvas();
    if (symbol->Gradient()->Visible()) {
        AssignPenToCanvas(c, symbol->Pen());
        symbol->Gradient()->SetEndColor(c->Brush()->Color());
        symbol->Gradient()->Draw(c, R);
        c->Brush()->SetStyle(bsClear);
        if (symbol->Pen()->Visible())
            CanvasRectangleOfRect(c, R);
        return;
    }
    // The legend's own symbol pen outlines every symbol when the series' pens are not used.
    if (!symbol->DefaultPen())
        AssignPenToCanvas(c, symbol->Pen());
    TCustomAxisPanel::FillLegendSymbol(R);
}

void TCustomChart::SetColorPaletteIndex(int v)
{
    FColorPaletteIndex = v;
    ApplyPaletteColors(this, v);
}

// ---- look-ups -----------------------------------------------------------------------------

std::string TCustomChart::GetAxisName(const TChartAxis* Axis) const
{
    if (!Axis->Title()->Caption().empty())
        return Axis->Title()->Caption();
    if (Axis == DepthAxis())
        return TeeMsg_DepthAxis;
    if (Axis == DepthTopAxis())
        return TeeMsg_DepthTopAxis;
    if (Axis->Horizontal())
        return Axis->OtherSide() ? TeeMsg_TopAxis : TeeMsg_BottomAxis;
    return Axis->OtherSide() ? TeeMsg_RightAxis : TeeMsg_LeftAxis;
}

TChartSeries* TCustomChart::FirstActiveSeries() const
{
    for (int t = 0; t < SeriesCount(); ++t)
        if (Series(t)->Active())
            return Series(t);
    return nullptr;
}

bool TCustomChart::SomeSeriesUsesAxes() const
{
    bool anyActive = false;
    for (int t = 0; t < SeriesCount(); ++t) {
        TChartSeries* s = Series(t);
        if (s->Active()) {
            anyActive = true;
            if (s->UseAxis())
                return true;
        }
    }
    return !anyActive;
}

TChartClickedPart TCustomChart::ClickedPart(int X, int Y, bool OnlyWithEvents)
{
    TChartClickedPart part;
    if (LegendToDraw() && LegendCustomPosition()) {
        const int i = LegendClicked(X, Y);
        if (i >= 0) {
            part.Part = cpLegend;
            part.PointIndex = i;
            return part;
        }
    }
    for (int t = SeriesCount() - 1; t >= 0; --t) {
        TChartSeries* s = Series(t);
        if (!s->Active())
            continue;
        if (OnlyWithEvents && !s->OnClick && !s->OnDblClick && !OnClickSeries)
            continue;
        int i = s->Clicked(X, Y);
        if (i >= 0) {
            part.Part = cpSeries;
            part.PointIndex = i;
            part.ASeries = s;
            return part;
        }
        if (s->Marks() != nullptr && s->Marks()->Visible()) {
            i = s->Marks()->Clicked(X, Y);
            if (i >= 0) {
                part.Part = cpSeriesMarks;
                part.PointIndex = i;
                part.ASeries = s;
                return part;
            }
        }
    }
    for (int t = 0; t < Axes()->Count(); ++t) {
        TChartAxis* a = Axes()->Items(t);
        // Only an axis the chart shows can be clicked.
        if (IsAxisVisible(a) && a->Clicked(X, Y)) {
            part.Part = cpAxis;
            part.AAxis = a;
            return part;
        }
    }
    if (LegendToDraw() && !LegendCustomPosition()) {
        const int i = LegendClicked(X, Y);
        if (i >= 0) {
            part.Part = cpLegend;
            part.PointIndex = i;
            return part;
        }
    }
    const std::pair<TChartTitle*, TChartClickedPartStyle> titles[] = {
        {FTitle.get(), cpTitle}, {FSubTitle.get(), cpSubTitle}, {FFoot.get(), cpFoot}, {FSubFoot.get(), cpSubFoot}};
    for (const auto& [title, kind] : titles)
        // A title that is not drawn (no text) has no place to be clicked.
        if (title->Text()->Count() > 0 && title->Clicked(X, Y)) {
            part.Part = kind;
            return part;
        }
    if (X >= ChartRect.Left && X < ChartRect.Right && Y >= ChartRect.Top && Y < ChartRect.Bottom && ActiveSeriesCount() > 0)
        part.Part = cpChartRect;
    return part;
}

void TCustomChart::NotifyToolsMouse(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Tools()->HandleMouse(Kind, Button, Shift, X, Y);
}

// ---- mouse --------------------------------------------------------------------------------

void TCustomChart::DrawBackClick(TMouseButton Button, TShiftState Shift, int X, int Y, bool& Handled)
{
    if (OnClickBackground) {
        CancelMouse = true;
        OnClickBackground(this, Button, Shift, X, Y);
        Handled = CancelMouse;
    }
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // The panel's own handling first (listeners), without the axis panel's tool round:
    // the chart tells its tools itself, below.
    TCustomTeePanelExtended::MouseDown(Button, Shift, X, Y);
    DropLostDrags(Button);
    if (CancelMouse || Zoom()->Active || Panning()->Active)
        return;
    CancelMouse = false;
    NotifyToolsMouse(meDown, Button, Shift, X, Y);
    if (CancelMouse)
        return;

    const TChartClickedPart part = ClickedPart(X, Y, true);
    bool handled = false;
    auto claim = [&](const std::function<void()>& Call) {
        CancelMouse = true;
        Call();
        handled = CancelMouse;
    };
    switch (part.Part) {
    case cpLegend:
        handled = FLegend->ClickCheckBox(part.PointIndex);
        if (OnClickLegend)
            claim([&] { OnClickLegend(this, Button, Shift, X, Y); });
        break;
    case cpAxis:
        if (OnClickAxis)
            claim([&] { OnClickAxis(this, part.AAxis, Button, Shift, X, Y); });
        if (!handled)
            StartZoomOrPan(Button, Shift, X, Y);
        break;
    case cpSeries:
    case cpSeriesMarks: {
        CancelMouse = false;
        TChartSeries* s = part.ASeries;
        if (Shift.Test(ssDouble)) {
            if (s->OnDblClick)
                s->OnDblClick(s, part.PointIndex, Button, Shift, X, Y);
        } else if (s->OnClick) {
            s->OnClick(s, part.PointIndex, Button, Shift, X, Y);
        }
        handled = CancelMouse;
        if (OnClickSeries)
            claim([&] { OnClickSeries(this, s, part.PointIndex, Button, Shift, X, Y); });
        if (!handled)
            StartZoomOrPan(Button, Shift, X, Y);
        break;
    }
    case cpTitle:
    case cpSubTitle:
    case cpFoot:
    case cpSubFoot: {
        TChartTitle* title = part.Part == cpTitle      ? FTitle.get()
                             : part.Part == cpSubTitle ? FSubTitle.get()
                             : part.Part == cpFoot     ? static_cast<TChartTitle*>(FFoot.get())
                                                       : static_cast<TChartTitle*>(FSubFoot.get());
        if (OnClickTitle)
            claim([&] { OnClickTitle(this, title, Button, Shift, X, Y); });
        if (!handled)
            StartZoomOrPan(Button, Shift, X, Y);
        break;
    }
    case cpChartRect:
        DrawBackClick(Button, Shift, X, Y, handled);
        if (!handled)
            StartZoomOrPan(Button, Shift, X, Y);
        break;
    case cpNone:
        break;
    }
    if (!handled && part.Part != cpChartRect) {
        DrawBackClick(Button, Shift, X, Y, handled);
        // A click on the background, not claimed, may start a zoom or pan too.
        if (!handled && part.Part == cpNone)
            StartZoomOrPan(Button, Shift, X, Y);
    }
    CancelMouse = false;
}

// ---- titles and legend --------------------------------------------------------------------

void TCustomChart::DrawTitles(bool Custom)
{
    for (TChartTitle* t : {FTitle.get(), FSubTitle.get(), static_cast<TChartTitle*>(FFoot.get()),
                           static_cast<TChartTitle*>(FSubFoot.get())})
        if (t->CustomPosition() == Custom)
            t->Draw();
}

void TCustomChart::PlaceTitlesAndLegend(bool FirstPass)
{
    {
        // The legend and the titles are flat, drawn over the 3D chart.
        TTeeCanvas3D* c = Canvas();
        c->BeginNested();
        struct EndNested {
            TTeeCanvas3D* C;
            ~EndNested() { C->EndNested(); }
        } endNested{c};

        if (FirstPass) {
            const bool legend = LegendToDraw() && !LegendCustomPosition();
            if (legend && LegendVertical())
                DrawLegend();
            DrawTitles(false);
            if (legend && !LegendVertical())
                DrawLegend();
            return;
        }
        if (LegendToDraw() && LegendCustomPosition())
            DrawLegend();
        DrawTitles(true);
    }

    // Walls and axes that stand in front of the data, drawn again where they stand in 3D.
    if (!View3D() || !View3DWalls() || !SomeSeriesUsesAxes() || ActiveSeriesCount() == 0)
        return;
    if (!SidePlaneFaces(false)) {
        if (WallInFront(RightWall()))
            DrawRightWall();
        if (IsAxisVisible(RightAxis()))
            RightAxis()->DrawAxis(false);
    }
    if (!SidePlaneFaces(true)) {
        if (WallInFront(LeftWall()))
            DrawLeftWall();
        if (IsAxisVisible(LeftAxis()))
            LeftAxis()->DrawAxis(false);
    }
    if (IsPlaneBackFacing(Width3D)) {
        if (IsAxisVisible(TopAxis()))
            TopAxis()->DrawAxis(false);
        if (IsAxisVisible(BottomAxis()))
            BottomAxis()->DrawAxis(false);
        if (WallInFront(BackWall()))
            DrawBackWall();
    }
}

void TCustomChart::Assign(TPersistent* Source)
{
    if (auto* c = dynamic_cast<TCustomChart*>(Source); c != nullptr && c != this) {
        FColorPaletteIndex = c->FColorPaletteIndex;   // not published: the editor's palette choice
        AssignOwnProperties(this, c, TCustomChart::StaticClassInfo());
    }
    TCustomAxisPanel::Assign(Source);
}
