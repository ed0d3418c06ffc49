#include "TeEngine/AxisPanel.h"

#include "TeEngine/Exceptions.h"
#include "TeEngine/Function.h"
#include "TeEngine/Marks.h"
#include "TeEngine/Series.h"
#include "TeEngine/SeriesGroups.h"
#include "TeEngine/SeriesSource.h"
#include "TeeConst.h"
#include "classes/TypInfo.h"
#include "controls/Printers.h"
#include "system/ScopeGuard.h"
#include "graphics/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TCustomAxisPanel, TCustomTeePanelExtended)
    .Bool("AxisBehind", &TCustomAxisPanel::AxisBehind, &TCustomAxisPanel::SetAxisBehind).Default(true)
    .Bool("AxisVisible", &TCustomAxisPanel::AxisVisible, &TCustomAxisPanel::SetAxisVisible).Default(true)
    .Object("BottomAxis", &TCustomAxisPanel::BottomAxis)
    .Int("Chart3DPercent", &TCustomAxisPanel::Chart3DPercent, &TCustomAxisPanel::SetChart3DPercent)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(15)
    .Bool("ClipPoints", &TCustomAxisPanel::ClipPoints, &TCustomAxisPanel::SetClipPoints).Default(true)
    .Object("CustomAxes", &TCustomAxisPanel::CustomAxes)
    .Object("DepthAxis", &TCustomAxisPanel::DepthAxis)
    .Object("DepthTopAxis", &TCustomAxisPanel::DepthTopAxis)
    .Object("LeftAxis", &TCustomAxisPanel::LeftAxis)
    .Int("MaxPointsPerPage", &TCustomAxisPanel::MaxPointsPerPage, &TCustomAxisPanel::SetMaxPointsPerPage).Default(0)
    .Int("Page", &TCustomAxisPanel::Page, &TCustomAxisPanel::SetPage).Default(1)
    .Object("RightAxis", &TCustomAxisPanel::RightAxis)
    .Bool("ScaleLastPage", &TCustomAxisPanel::ScaleLastPage, &TCustomAxisPanel::SetScaleLastPage).Default(true)
    .Object("SeriesGroups", &TCustomAxisPanel::SeriesGroups)
    .Object("TopAxis", &TCustomAxisPanel::TopAxis)
    .Bool("View3DWalls", &TCustomAxisPanel::View3DWalls, &TCustomAxisPanel::SetView3DWalls).Default(true)
    .Event("OnBeforeDrawAxes")
    .Event("OnBeforeDrawChart")
    .Event("OnBeforeDrawSeries")
    .Event("OnGetAxisLabel")
    .Event("OnGetNextAxisLabel")
    .Event("OnPageChange")
END_CLASS_INFO

void TCustomAxisPanel::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    TCustomTeePanelExtended::GetChildren(Proc, Root);
    auto ownedByRoot = [this, Root](TComponent* c) { return c->Owner() == Root || c->Owner() == nullptr; };
    for (int t = 0; t < SeriesCount(); ++t)
        if (ownedByRoot(Series(t)))
            Proc(Series(t));
    for (int t = 0; t < FTools->Count(); ++t)
        if (ownedByRoot(FTools->Tool(t)))
            Proc(FTools->Tool(t));
}

void TCustomAxisPanel::Loaded()
{
    TCustomTeePanelExtended::Loaded();
    // The groups read from the stream find their series, which are read after them.
    FSeriesList->Groups()->ResolveNames(*FSeriesList);
}

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
    // Paging: the axis along which the points run shows the current page only.
    if (FMaxPointsPerPage > 0) {
        TChartSeries* first = FirstSeriesForAxis(Axis);
        const bool pagingAxis = first == nullptr || (first->YMandatory() ? IsX : !IsX);
        if (pagingAxis) {
            TChartSeries* s = SeriesWithMostPointsForAxis(Axis);
            if (s == nullptr || s->Count() == 0)
                return 0;
            int f = 0, l = 0;
            PageValueRange(s, f, l);
            if (f < 0)
                return 0;
            const TChartValueList* list = IsX ? s->XValues() : s->YValues();
            const double lo = list->Value(f);
            double hi = list->Value(l);
            const int n = l - f + 1;
            // A short last page keeps the spacing of a full page.
            if (!FScaleLastPage && n < FMaxPointsPerPage) {
                if (hi == lo)
                    hi = lo + double(FMaxPointsPerPage) / n;
                else
                    hi = lo + (hi - lo) * (double(FMaxPointsPerPage) / n);
            }
            return IsMin ? lo : hi;
        }
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
    // Their places among their owner's components too, so that a stream keeps the order.
    if (a != b && a->Owner() != nullptr && a->Owner() == b->Owner()) {
        TChartSeries* lower = a->ComponentIndex() < b->ComponentIndex() ? a : b;
        TChartSeries* upper = lower == a ? b : a;
        const int low = lower->ComponentIndex(), high = upper->ComponentIndex();
        lower->SetComponentIndex(high);
        upper->SetComponentIndex(low);
    }
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

TChartSeries* TCustomAxisPanel::AddSeriesOfClass(const TClassInfo* SeriesClass)
{
    TComponent* created = CreateComponentOfClass(SeriesClass, Owner());
    auto* series = dynamic_cast<TChartSeries*>(created);
    if (series == nullptr) {
        delete created;
        throw EClassNotFound(Format(SClassNotFound, {SeriesClass->ClassName}));
    }
    return AddSeries(series);
}

TLegendTextStyle TCustomAxisPanel::LegendTextStyle() const
{
    return ltsLeftValue;
}

int TCustomAxisPanel::LargestMarkWidth()
{
    int result = 0;
    int lines = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active())
            for (int t = 0; t < s->Count(); ++t)
                result = std::max(result, MultiLineTextWidth(this, s->ValueMarkText(t), lines));
    return result;
}

void DrawClassBitmap(TCanvas* Canvas, const TObject* Object, int X, int Y)
{
    TBitmap bitmap;
    if (Canvas != nullptr && LoadBitmapForClass(Object, &bitmap))
        Canvas->Draw(X, Y, &bitmap);
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
    if (auto* seriesSource = dynamic_cast<TTeeSeriesSource*>(Source))
        return seriesSource->AcceptsSeries(S);
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
    TComponent* source = S->DataSource();
    if (source == nullptr) {
        // A function that needs no source computes from nothing; a series in a design
        // state shows sample values; any other series keeps its points.
        if (TTeeFunction* function = S->FunctionType()) {
            if (S->Active()) {
                S->BeginUpdate();
                TScopeGuard endUpdate([S] { S->EndUpdate(); });
                S->Clear();
                function->AddPoints(nullptr);
            }
        } else if (S->IsDesigning()) {
            S->FillSampleValues(S->SampleCount());
        }
        return;
    }
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

// ---- settings -----------------------------------------------------------------------------

void TCustomAxisPanel::SetChart3DPercent(int v)
{
    if (v < 1 || v > 100)
        throw Exception(Format(TeeMsg_3dPercent, {1, 100}));
    SetAndRepaint(FChart3DPercent, v);
}

void TCustomAxisPanel::Calc3DSize()
{
    if (!View3D()) {
        SeriesWidth3D = SeriesHeight3D = Width3D = Height3D = 0;
        return;
    }
    double p = FChart3DPercent * 0.001;
    if (!View3DOptions()->Orthogonal())
        p *= 2;
    // Rounding halves to even, as everywhere in the chart.
    SeriesWidth3D = static_cast<int>(std::nearbyint(ChartWidth * p));
    const double z = View3DOptions()->Zoom() * 0.01;
    if (z > 1)
        SeriesWidth3D = static_cast<int>(std::nearbyint(SeriesWidth3D / z));
    SeriesHeight3D = static_cast<int>(std::nearbyint(SeriesWidth3D * z));
    const int n = std::max(1, MaxZOrder + 1);
    Width3D = SeriesWidth3D * n;
    Height3D = SeriesHeight3D * n;
}

// ---- paging -------------------------------------------------------------------------------

void TCustomAxisPanel::SetMaxPointsPerPage(int Value)
{
    if (Value < 0)
        throw ChartException(TeeMsg_MaxPointsPerPage);
    if (Value == FMaxPointsPerPage)
        return;
    FMaxPointsPerPage = Value;
    const int pages = NumPages();
    if (FPage > pages)
        FPage = pages;
    RequestRepaint();
    TChartChangePage event;
    BroadcastEvent(&event);
}

void TCustomAxisPanel::SetPage(int Value)
{
    const int v = std::clamp(Value, 1, std::max(1, NumPages()));
    if (v == FPage)
        return;
    FPage = v;
    RequestRepaint();
    TChartChangePage event;
    BroadcastEvent(&event);
    if (OnPageChange)
        OnPageChange(this);
}

int TCustomAxisPanel::PageCountOfAxis(TChartAxis* Axis) const
{
    int most = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsBoundToAxis(Axis))
            most = std::max(most, s->Count());
    if (most == 0)
        return 1;
    return int((int64_t(most) + FMaxPointsPerPage - 1) / FMaxPointsPerPage);
}

int TCustomAxisPanel::NumPages() const
{
    if (FMaxPointsPerPage <= 0 || SeriesCount() == 0)
        return 1;
    TChartSeries* first = FSeriesList->Series(0);
    if (first->YMandatory())
        return std::max(PageCountOfAxis(FTopAxis.get()), PageCountOfAxis(FBottomAxis.get()));
    return std::max(PageCountOfAxis(FRightAxis.get()), PageCountOfAxis(FLeftAxis.get()));
}

void TCustomAxisPanel::PrintPages(int FromPage, int ToPage)
{
    const int last = ToPage == 0 ? NumPages() : ToPage;
    const int first = FromPage == 0 ? 1 : FromPage;
    const int old = FPage;
    TPrinter* printer = Printer();
    printer->SetTitle(Name());
    printer->BeginDoc();
    TScopeGuard restorePage([this, old] { SetPage(old); });
    TScopeGuard abortOnError([printer] { printer->Abort(); });
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer->NewPage();
        SetPage(page);
        PrintToPrinter(CalcPrintRect());
    }
    abortOnError.Dismiss();
    printer->EndDoc();
}

void TCustomAxisPanel::PageValueRange(const TChartSeries* S, int& First, int& Last) const
{
    First = Last = -1;
    const int n = S->Count();
    if (n == 0)
        return;
    if (FMaxPointsPerPage <= 0) {
        First = 0;
        Last = n - 1;
        return;
    }
    long long first = static_cast<long long>(FPage - 1) * FMaxPointsPerPage;
    // Past the end: the last full page, ending at the last point.
    if (first >= n)
        first = std::max(0, n - FMaxPointsPerPage);
    First = static_cast<int>(first);
    Last = static_cast<int>(std::min<long long>(first + FMaxPointsPerPage - 1, n - 1));
}

// ---- series look-ups ----------------------------------------------------------------------

TChartSeries* TCustomAxisPanel::FirstSeriesForAxis(TChartAxis* Axis) const
{
    bool anyActive = false;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsBoundToAxis(Axis))
            anyActive = true;
    for (TChartSeries* s : FSeriesList->Items())
        if ((!anyActive || s->Active()) && s->IsBoundToAxis(Axis))
            return s;
    return nullptr;
}

TChartSeries* TCustomAxisPanel::SeriesWithMostPointsForAxis(TChartAxis* Axis) const
{
    bool anyActive = false;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsBoundToAxis(Axis))
            anyActive = true;
    TChartSeries* result = nullptr;
    for (TChartSeries* s : FSeriesList->Items())
        if ((!anyActive || s->Active()) && s->IsBoundToAxis(Axis) && (result == nullptr || s->Count() > result->Count()))
            result = s;
    return result;
}

TChartSeries* TCustomAxisPanel::SeriesLegend(int Index, bool OnlyActive) const
{
    int n = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->ShowInLegend() && (!OnlyActive || s->Active())) {
            if (n == Index)
                return s;
            ++n;
        }
    return nullptr;
}

std::string TCustomAxisPanel::LegendSeriesTitle(int Index, bool OnlyActive) const
{
    TChartSeries* s = SeriesLegend(Index, OnlyActive);
    return s != nullptr ? s->Title() : std::string();
}

bool TCustomAxisPanel::IsSeriesHit(int X, int Y)
{
    bool result = false;
    // A handler may change the series list: the series of the moment are asked.
    const std::vector<TChartSeries*> series = FSeriesList->Items();
    for (auto it = series.rbegin(); it != series.rend(); ++it)
        if (FSeriesList->IndexOf(*it) >= 0 && (*it)->Active() && (*it)->CheckMouse(X, Y)) {
            // The topmost series under the mouse shows its cursor.
            if (!result)
                SetCursor((*it)->Cursor());
            result = true;
        }
    return result;
}

// ---- drawing slots ------------------------------------------------------------------------

void TCustomAxisPanel::FireAfterDraw()
{
    if (OnAfterDraw)
        OnAfterDraw(this);
}

void TCustomAxisPanel::FireBeforeDrawAxes()
{
    if (OnBeforeDrawAxes)
        OnBeforeDrawAxes(this);
}

void TCustomAxisPanel::FireBeforeDrawChart()
{
    if (OnBeforeDrawChart)
        OnBeforeDrawChart(this);
}

void TCustomAxisPanel::FireBeforeDrawSeries()
{
    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries(this);
}

bool TCustomAxisPanel::IsPlaneBackFacing(int Z) const
{
    // A flat chart is always seen from the front.
    if (!View3D())
        return false;
    const std::array<TPoint, 4> p = ProjectRectCorners3D(Canvas(), ChartRect, Z);
    return !TriangleOrientation(p[0], p[1], p[2]);
}

void TCustomAxisPanel::FillLegendSymbol(const TRect& R)
{
    TTeeCanvas3D* c = Canvas();
    CanvasRectangleOfRect(c, R);
    if (c->Brush()->Color() == GetBackColor()) {
        // A symbol in the back colour would vanish: outline it instead.
        c->Brush()->SetStyle(bsClear);
        if (GetBackColor() == clBlack)
            c->Pen()->SetColor(clWhite);
        CanvasRectangleOfRect(c, R);
    }
}

// ---- the drawing pipeline -----------------------------------------------------------------

namespace {
std::vector<TChartAxis*> AxesOf(const TChartAxes* Axes)
{
    std::vector<TChartAxis*> result;
    for (int t = 0; t < Axes->Count(); ++t)
        result.push_back(Axes->Items(t));
    return result;
}
}  // namespace

void TCustomAxisPanel::LayoutAxes()
{
    const std::vector<TChartAxis*> axes = AxesOf(FAxes.get());
    for (TChartAxis* a : axes)
        a->RefreshRange();
    for (TChartAxis* a : axes)
        a->CalcPositions();
    TRect r = ChartRect;
    for (size_t t = 0; t < axes.size(); ++t) {
        if (!IsAxisVisible(axes[t]))
            continue;
        TRect r2 = r;
        axes[t]->CalcRect(r2, t < 5);
        // An axis whose room would swallow the plot takes none.
        if (r2.Left < r.Right && r.Left < r2.Right && r2.Top < r.Bottom && r.Top < r2.Bottom)
            r = r2;
    }
    ChartRect = r;
    RecalcWidthHeight();
    for (TChartAxis* a : axes)
        a->CalcPositions();
}

void TCustomAxisPanel::ApplySeriesMargins()
{
    for (TChartAxis* a : AxesOf(FAxes.get())) {
        int left = 0, top = 0, right = 0, bottom = 0;
        for (TChartSeries* s : FSeriesList->Items()) {
            // A series without points keeps no room for them.
            if (!s->Active() || !s->IsBoundToAxis(a) || s->Count() == 0)
                continue;
            int m0 = 0, m1 = 0;
            if (a->Horizontal()) {
                s->AxisMarginsA(m0, m1);
                if (a->AutomaticMinimum())
                    left = std::max(left, m0);
                if (a->AutomaticMaximum())
                    right = std::max(right, m1);
            } else {
                s->AxisMarginsB(m0, m1);
                if (a->AutomaticMaximum())
                    top = std::max(top, m0);
                if (a->AutomaticMinimum())
                    bottom = std::max(bottom, m1);
            }
        }
        const bool offsets = a->MinimumOffset() != 0 || a->MaximumOffset() != 0;
        if (offsets) {
            const int lo = a->Inverted() ? a->MaximumOffset() : a->MinimumOffset();
            const int hi = a->Inverted() ? a->MinimumOffset() : a->MaximumOffset();
            if (a->Horizontal()) {
                left += lo;
                right += hi;
            } else {
                bottom += lo;
                top += hi;
            }
        }
        if (left != 0 || top != 0 || right != 0 || bottom != 0)
            a->FitToRect(TRect(left, top, right, bottom));
        if (offsets)
            a->PosTitle = a->OutwardPos(a->PosLabels, a->SizeLabels());
    }
}

void TCustomAxisPanel::DrawAxes()
{
    if (!FAxisVisible)
        return;
    FireBeforeDrawAxes();
    const bool bottomHidden = IsPlaneBackFacing(0);
    for (TChartAxis* a : AxesOf(FAxes.get()))
        if (IsAxisVisible(a) && !(a == FBottomAxis.get() && bottomHidden))
            a->DrawAxis(true);
}

void TCustomAxisPanel::ClipToPlot()
{
    TRect r = ChartRect;
    ++r.Bottom;
    if (View3D())
        Canvas()->ClipToBoxOutline(r, 0, Width3D);
    else
        Canvas()->ClipToRect(r);
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries* S)
{
    TSeriesMarks* marks = S->Marks();
    if (S->Count() == 0 || marks == nullptr || !marks->Visible())
        return;
    const bool clip = marks->Clip();
    if (clip)
        ClipToPlot();
    S->DrawMarks();
    if (clip)
        Canvas()->RemoveClipping();
}

void TCustomAxisPanel::DrawOneSeries(TChartSeries* S, int Index)
{
    auto sharesWith = [&](TChartSeries* other) {
        return other != S && other->Active() && other->ZOrder() == S->ZOrder();
    };
    bool shared = false;
    if (View3D() && S->SharesZOrder())
        for (TChartSeries* o : FSeriesList->Items())
            if (sharesWith(o))
                shared = true;

    if (!shared) {
        S->FindVisibleIndexRange();
        if (S->FirstValueIndex() < 0 || S->LastValueIndex() < S->FirstValueIndex())
            return;
        S->FireBeforeDrawValues();
        const bool clip = S->UseAxis() && FClipPoints;
        if (clip)
            ClipToPlot();
        S->DrawVisiblePoints();
        if (clip)
            Canvas()->RemoveClipping();
        DrawSeriesMarks(S);
        S->FireAfterDrawValues();
        return;
    }
    // Series sharing one depth are drawn together, point by point, by the first of them.
    for (int t = 0; t < Index; ++t) {
        TChartSeries* o = FSeriesList->Series(t);
        if (o->Active() && o->ZOrder() == S->ZOrder())
            return;
    }
    std::vector<TChartSeries*> group;
    for (int t = Index; t < SeriesCount(); ++t) {
        TChartSeries* o = FSeriesList->Series(t);
        if (o->Active() && o->ZOrder() == S->ZOrder())
            group.push_back(o);
    }
    int first = -1, last = -1;
    bool clip = false;
    for (TChartSeries* o : group) {
        o->FindVisibleIndexRange();
        first = std::max(first, o->FirstValueIndex());
        last = std::max(last, o->LastValueIndex());
        o->FireBeforeDrawValues();
        if (o->UseAxis() && FClipPoints)
            clip = true;
    }
    if (clip)
        ClipToPlot();
    if (first >= 0) {
        auto drawIndex = [&](int i) {
            for (TChartSeries* o : group)
                if (o->Count() > i)
                    o->DrawValue(i);
        };
        if (S->PointOrderForward())
            for (int i = first; i <= last; ++i)
                drawIndex(i);
        else
            for (int i = last; i >= first; --i)
                drawIndex(i);
    }
    if (clip)
        Canvas()->RemoveClipping();
    for (TChartSeries* o : group) {
        DrawSeriesMarks(o);
        o->FireAfterDrawValues();
    }
}

void TCustomAxisPanel::DrawAllSeries()
{
    const bool inverted = FDepthAxis->Inverted();
    const bool backFacing = IsPlaneBackFacing(Width3D);
    const bool forward = inverted == backFacing;
    // A copy: drawing code may not change the list, but a listener might.
    const std::vector<TChartSeries*> items = FSeriesList->Items();
    const int n = static_cast<int>(items.size());
    for (int k = 0; k < n; ++k) {
        const int t = forward ? k : n - 1 - k;
        if (items[static_cast<size_t>(t)]->Active())
            DrawOneSeries(items[static_cast<size_t>(t)], t);
    }
}

void TCustomAxisPanel::DrawZoomRectangle()
{
    TTeeZoom* zoom = Zoom();
    if (zoom == nullptr || !zoom->Active)
        return;
    // Drawn as the mouse code draws it, so that it can erase it by drawing it again.
    DrawZoomRectangleOn(Canvas(), zoom, GetBackColor());
}

void TCustomAxisPanel::DrawContents(const TRect& R)
{
    // Properties set while drawing request no repaint; the old setting comes back even
    // when a drawing step fails.
    TScopeGuard restoreRepaint([this, old = AutoRepaint()] { SetAutoRepaint(old); });
    SetAutoRepaint(false);

    TView3DOptions* view = View3DOptions();
    FBackFacing = View3D() && (view->Orthogonal() ? view->OrthoAngle() > 90 : view->Rotation() < 180);
    FDrawRect = R;
    TTeeCanvas3D* c = Canvas();
    const bool true3D = c->IsTrue3D();

    if (!true3D)
        DrawBackground(R);
    NotifyToolsStage(cteAfterBackground);
    FireBeforeDrawChart();
    const std::vector<TChartSeries*> items = FSeriesList->Items();
    for (TChartSeries* s : items)
        if (s->Active())
            s->PrepareSeriesPositions();
    if (!true3D)
        PlaceTitlesAndLegend(true);

    MaxZOrder = View3D() ? -1 : 0;
    for (TChartSeries* s : items)
        if (s->Active()) {
            s->ComputeZOrder();
            // A series without points takes no depth of its own.
            if (View3D() && s->Count() > 0)
                MaxZOrder = std::max(MaxZOrder, s->ZOrder());
        }
    // The first series goes to the back and the last to the front, so that drawing the
    // list in order paints the front series last.
    if (View3D() && !FDepthAxis->Inverted())
        for (TChartSeries* s : items)
            if (s->Active())
                s->SetComputedZOrder(MaxZOrder - s->ZOrder());

    ReserveWallSpace();
    LayoutAxes();
    for (TChartSeries* s : items)
        if (s->Active())
            s->ComputeDepthExtent();
    ApplySeriesMargins();
    c->SetupView(Width3D, ChartRect);
    if (true3D) {
        DrawBackground(R);
        PlaceTitlesAndLegend(true);
    }
    DrawWalls();
    if (FAxisBehind) {
        NotifyToolsStage(cteBeforeDrawAxes);
        DrawAxes();
    }
    NotifyToolsStage(cteBeforeDrawSeries);
    FireBeforeDrawSeries();
    DrawAllSeries();
    NotifyToolsStage(cteAfterDrawSeries);
    if (!FAxisBehind) {
        NotifyToolsStage(cteBeforeDrawAxes);
        DrawAxes();
    }
    PlaceTitlesAndLegend(false);
    DrawZoomRectangle();
    NotifyToolsStage(cteAfterDraw);
    c->ClearCurrentFont();
    FireAfterDraw();
}

// By field: the page setter keeps the page within this chart's pages, while a copy takes
// the source's page as it is; the palette is not published.
void TCustomAxisPanel::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TCustomAxisPanel*>(Source); p != nullptr && p != this) {
        FChart3DPercent = p->FChart3DPercent;
        FAxisBehind = p->FAxisBehind;
        FAxisVisible = p->FAxisVisible;
        FBottomAxis->Assign(p->FBottomAxis.get());
        FTopAxis->Assign(p->FTopAxis.get());
        FLeftAxis->Assign(p->FLeftAxis.get());
        FRightAxis->Assign(p->FRightAxis.get());
        FDepthAxis->Assign(p->FDepthAxis.get());
        FDepthTopAxis->Assign(p->FDepthTopAxis.get());
        FClipPoints = p->FClipPoints;
        FColorPalette = p->FColorPalette;
        FCustomAxes->Assign(p->FCustomAxes.get());
        FMaxPointsPerPage = p->FMaxPointsPerPage;
        FPage = p->FPage;
        FScaleLastPage = p->FScaleLastPage;
        FView3DWalls = p->FView3DWalls;
        FSeriesList->Groups()->AssignNamed(*p->FSeriesList->Groups(), *FSeriesList);
    }
    TCustomTeePanelExtended::Assign(Source);
}
