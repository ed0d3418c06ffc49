#include "TeEngine/AxisPanel.h"

#include "TeEngine/Exceptions.h"
#include "TeEngine/Series.h"
#include "TeEngine/SeriesGroups.h"
#include "TeEngine/SeriesSource.h"
#include "TeeConst.h"

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner)
    : TCustomTeePanelExtended(AOwner), FSeriesList(std::make_unique<TChartSeriesList>()),
      FAxes(std::make_unique<TChartAxes>())
{
    const bool repaint = AutoRepaint();
    SetAutoRepaint(false);
    FCustomAxes = std::make_unique<TChartCustomAxes>(this);

    // Each axis joins the axes list as it is made: bottom, top, left, right, depth,
    // depth-top.
    FBottomAxis = std::make_unique<TChartAxis>(this);
    FBottomAxis->SetHorizontal(true);

    FTopAxis = std::make_unique<TChartAxis>(this);
    FTopAxis->SetHorizontal(true);
    FTopAxis->SetOtherSide(true);
    FTopAxis->SetZPosition(100);
    FTopAxis->Grid()->SetDefaultZPosition(100);

    FLeftAxis = std::make_unique<TChartAxis>(this);
    FLeftAxis->Title()->SetDefaultAngle(90);

    FRightAxis = std::make_unique<TChartAxis>(this);
    FRightAxis->Title()->SetDefaultAngle(270);
    FRightAxis->SetOtherSide(true);
    FRightAxis->SetZPosition(100);
    FRightAxis->Grid()->SetDefaultZPosition(100);

    FDepthAxis = std::make_unique<TChartDepthAxis>(this);
    FDepthAxis->SetOtherSide(true);
    FDepthTopAxis = std::make_unique<TChartDepthAxis>(this);
    FTools = std::make_unique<TChartTools>(this);
    SetAutoRepaint(repaint);
}

TCustomAxisPanel::~TCustomAxisPanel()
{
    // Listeners hear nothing more; axis tools lose their axes before any axis goes;
    // every series leaves the chart and is freed (its owner, if any, forgets it).
    Destroying();
    FTools->AxisRemoved(nullptr);
    while (SeriesCount() > 0) {
        TChartSeries* s = FSeriesList->Series(SeriesCount() - 1);
        s->SetParentChart(nullptr);
        FSeriesList->Remove(s);   // in case an override kept it listed
        delete s;
    }
    // The tools go after the series (a series tool forgets its series as that goes).
    FTools.reset();
    // Custom axes first (their masters may be standard axes), then the standard ones;
    // each leaves the axes list as it goes.
    FCustomAxes.reset();
    FDepthTopAxis.reset();
    FDepthAxis.reset();
    FRightAxis.reset();
    FLeftAxis.reset();
    FTopAxis.reset();
    FBottomAxis.reset();
}

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis* Axis) const
{
    if (!FAxisVisible || Axis == nullptr || !Axis->Visible())
        return false;
    if (Axis->IsDepthAxis())
        return View3D();
    if (ActiveSeriesCount() == 0)
        return true;
    for (TChartSeries* s : FSeriesList->Items()) {
        if (!s->Active())
            continue;
        if (!s->UseAxis())
            return false;
        if (s->IsBoundToAxis(const_cast<TChartAxis*>(Axis)))
            return true;
    }
    return false;
}

double TCustomAxisPanel::MinMaxValue(TChartAxis* Axis, bool IsMin, bool IsX) const
{
    if (Axis->IsDepthAxis()) {
        if (Axis->GetLabelStyle() != talValue)
            return IsMin ? -0.5 : MaxZOrder + 0.5;
        bool first = true;
        double result = 0;
        for (TChartSeries* s : FSeriesList->Items()) {
            if (!s->Active())
                continue;
            const double v = IsMin ? s->LeastZ() : s->GreatestZ();
            if (first || (IsMin ? v < result : v > result))
                result = v;
            first = false;
        }
        return result;
    }
    // Active series only, unless none of them is bound to the axis (a chart whose
    // series are all hidden still scales from them).
    bool onlyActive = false;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsBoundToAxis(Axis)) {
            onlyActive = true;
            break;
        }
    bool first = true;
    double result = 0;
    for (TChartSeries* s : FSeriesList->Items()) {
        if ((onlyActive && !s->Active()) || s->Count() == 0)
            continue;
        const bool uses = IsX ? (s->GetHorizAxis() == Axis || s->HorizAxis() == aBothHorizAxis)
                              : (s->GetVertAxis() == Axis || s->VertAxis() == aBothVertAxis);
        if (!uses)
            continue;
        const double v = IsX ? (IsMin ? s->LeastX() : s->GreatestX()) : (IsMin ? s->LeastY() : s->GreatestY());
        if (first || (IsMin ? v < result : v > result))
            result = v;
        first = false;
    }
    return result;
}

TChartSeries* TCustomAxisPanel::Series(int Index) const
{
    if (Index < 0 || Index >= SeriesCount())
        throw ERangeError();
    return FSeriesList->Series(Index);
}

int TCustomAxisPanel::IndexOfSeries(const TCustomChartSeries* S) const
{
    const auto& items = FSeriesList->Items();
    for (size_t t = 0; t < items.size(); ++t)
        if (static_cast<const TCustomChartSeries*>(items[t]) == S)
            return static_cast<int>(t);
    return -1;
}

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* S)
{
    S->SetParentChart(this);
    return S;
}

void TCustomAxisPanel::InternalAddSeries(TChartSeries* S)
{
    if (FSeriesList->IndexOf(S) >= 0)
        return;
    S->TCustomChartElement::SetParentChart(this);
    S->AttachedToChart();
    FSeriesList->Add(S);
    // A listener may free the series while it hears of it; S is not used afterwards.
    BroadcastSeriesEvent(S, seAdd);
    RequestRepaint();
}

void TCustomAxisPanel::RemoveSeriesAt(int Index)
{
    if (Index < 0)
        return;
    TChartSeries* s = Series(Index);
    BroadcastSeriesEvent(s, seRemove);
    // A listener may have removed (or freed) the series meanwhile: look it up again and
    // touch it only while it is still listed.
    const int index = FSeriesList->IndexOf(s);
    if (index < 0)
        return;
    s->DetachedFromChart();
    FSeriesList->Delete(FSeriesList->IndexOf(s));
    FSeriesList->Groups()->RemoveSeries(s);
    // The series no longer belongs to this chart; no longer listed, it does not come
    // back here, and its marks let the chart go with it.
    if (s->ParentChart() == this)
        s->SetParentChart(nullptr);
    RequestRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* S)
{
    RemoveSeriesAt(FSeriesList->IndexOf(S));
}

void TCustomAxisPanel::RemoveEverySeries(const std::function<bool(const TChartSeries*)>& Match)
{
    int t = 0;
    while (t < SeriesCount()) {
        TChartSeries* s = FSeriesList->Series(t);
        if (!Match || Match(s)) {
            s->SetParentChart(nullptr);
            FSeriesList->Remove(s);
            delete s;
        } else {
            ++t;
        }
    }
}

void TCustomAxisPanel::ExchangeSeries(int A, int B)
{
    TChartSeries* a = FSeriesList->Series(A);
    TChartSeries* b = FSeriesList->Series(B);
    FSeriesList->Exchange(A, B);
    TSeriesGroups* groups = FSeriesList->Groups();
    for (int t = 0; t < groups->Count(); ++t) {
        TCustomSeriesList* list = groups->Group(t)->Series();
        const int ia = list->IndexOf(a), ib = list->IndexOf(b);
        if (ia >= 0 && ib >= 0)
            list->Exchange(ia, ib);
    }
    BroadcastSeriesEvent(nullptr, seSwap);
    RequestRepaint();
}

void TCustomAxisPanel::ExchangeSeries(TChartSeries* A, TChartSeries* B)
{
    ExchangeSeries(FSeriesList->IndexOf(A), FSeriesList->IndexOf(B));
}

int TCustomAxisPanel::ActiveSeriesCount() const
{
    int result = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active())
            ++result;
    return result;
}

int TCustomAxisPanel::MaxPointsCount() const
{
    int result = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->Count() > result)
            result = s->Count();
    return result;
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeries* S, int Code)
{
    TTeeSeriesEvent event;
    event.Event = static_cast<TTeeSeriesEventStyle>(Code);
    event.Series = S;
    BroadcastEvent(&event);
}

TColor TCustomAxisPanel::PaletteColor(int Index) const
{
    if (FColorPalette.empty())
        return GetDefaultPaletteColor(Index);
    const int n = static_cast<int>(FColorPalette.size());
    const int i = ((Index % n) + n) % n;
    return FColorPalette[static_cast<size_t>(i)];
}

TColor TCustomAxisPanel::UnusedSeriesColor(bool CheckBackground, TChartSeries* S)
{
    const int n = FColorPalette.empty() ? static_cast<int>(DefaultPalette().size())
                                        : static_cast<int>(FColorPalette.size());
    for (int t = 0; t < n; ++t) {
        const TColor c = PaletteColor(t);
        if (IsColorUnused(c, CheckBackground, S))
            return c;
    }
    return PaletteColor(n - 1);
}

void TCustomAxisPanel::AssignSeriesColors()
{
    const std::vector<TChartSeries*> items = FSeriesList->Items();
    for (TChartSeries* s : items)
        if (s->SeriesColor() == clDefault)
            s->SetSeriesColor(UnusedSeriesColor(true, s));
}

bool TCustomAxisPanel::IsValidDataSource(TChartSeries* S, TComponent* Source)
{
    if (Source == nullptr || Source == S)
        return false;
    if (dynamic_cast<TTeeSeriesSource*>(Source) != nullptr)
        return true;
    return S != nullptr && dynamic_cast<TChartSeries*>(Source) != nullptr && S->AcceptsDataSource(Source);
}

void TCustomAxisPanel::SeriesSourceRemoved(TChartSeries* S, TComponent* Source)
{
    // A source under destruction is past its own part: it closes itself.
    if (Source == nullptr || Source->IsDestroying())
        return;
    if (auto* source = dynamic_cast<TTeeSeriesSource*>(Source); source != nullptr && source->Series() == S)
        source->SetSeries(nullptr);
}

void TCustomAxisPanel::CheckCircularDependence(TChartSeries* S, TComponent* Source)
{
    auto* source = dynamic_cast<TChartSeries*>(Source);
    if (source == nullptr)
        return;
    // Every source of Source, not only its first, is followed: a loop through any of
    // them would refresh forever.
    TDataSourcesList* sources = source->DataSources();
    for (int t = 0; t < sources->Count(); ++t) {
        TComponent* c = sources->Item(t);
        if (c == S)
            throw ChartException(TeeMsg_CircularSeries);
        CheckCircularDependence(S, c);
    }
}

void TCustomAxisPanel::RefreshSeriesData(TChartSeries* S)
{
    if (S->IsLoading())
        return;
    // Without a source a series keeps its points (calculated functions and sample values
    // join with their own work).
    TComponent* source = S->DataSource();
    if (auto* series = dynamic_cast<TChartSeries*>(source))
        S->AddValues(series);
    else if (auto* seriesSource = dynamic_cast<TTeeSeriesSource*>(source))
        if (seriesSource->Active() && !seriesSource->IsLoading())
            seriesSource->LoadData();
}

// ---- mouse ------------------------------------------------------------------------------
// The drawing pipeline tells the tools of its stages in the same way: cteAfterBackground
// after the background, cteBeforeDrawAxes before the axes, cteBeforeDrawSeries before and
// cteAfterDrawSeries after the series, cteAfterDraw after everything.

void TCustomAxisPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTeePanelExtended::MouseDown(Button, Shift, X, Y);
    if (!CancelMouse)
        FTools->HandleMouse(meDown, Button, Shift, X, Y);
}

void TCustomAxisPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomTeePanelExtended::MouseMove(Shift, X, Y);
    if (!CancelMouse && !IsDesigning())
        FTools->HandleMouse(meMove, mbLeft, Shift, X, Y);
}

void TCustomAxisPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTeePanelExtended::MouseUp(Button, Shift, X, Y);
    if (!CancelMouse)
        FTools->HandleMouse(meUp, Button, Shift, X, Y);
}

void TCustomAxisPanel::MouseLeave()
{
    TCustomTeePanelExtended::MouseLeave();
    FTools->NotifyStage(cteMouseLeave);
}
