#include "ChatUnit.h"

#include "EditChar.h"

#include "controls/FormBuilder.h"

#include "Unit2/BandCore.h"
#include "Unit2/RunCore.h"

#include <cmath>

TPointArray TData;
TPointArray CpData;

TfmChart* fmChart = nullptr;

namespace {

// The chart's title before any run.
const char* const DefaultTitle = "Cp";

// A series of the chart window: X values "X" kept in ascending order (the curve joins the
// points in X order whatever the transform), Y values "Y" unordered.
template <class T>
T* NewSeries(TComponent* Owner, TChart* Chart, const char* Name, const char* Title)
{
    auto* s = new T(Owner);
    s->SetName(Name);
    s->SetTitle(Title);
    s->XValues()->SetName("X");
    s->XValues()->SetOrder(loAscending);
    s->YValues()->SetName("Y");
    s->YValues()->SetOrder(loNone);
    Chart->AddSeries(s);
    return s;
}

// A point at infinity under the axis transform (1/T or Cp/T at T = 0, T^3 beyond the
// doubles) has no place on the chart: one such value leaves the axes without a range and
// the whole chart blank, so it is left out.
void AddChartPoint(TChartSeries* Series, const TChartPoint& P)
{
    if (std::isfinite(P.X) && std::isfinite(P.Y))
        Series->AddPointXY(P.X, P.Y, "", clDefault);
}

void FillSeries(TChartSeries* Series, const std::vector<TChartPoint>& Points)
{
    for (const TChartPoint& p : Points)
        AddChartPoint(Series, p);
}

} // namespace

TfmChart::TfmChart(TComponent* AOwner) : TForm(AOwner)
{
    SetName("fmChart");
    SetCaption("Chart");
    SetPosition(poScreenCenter);

    // A tool row above the chart area, which the chart fills.
    BuildForm(this, 696, 480, {
        Panel(Panel1, "Panel1", {Line({KindButton(BitBtn1, "BitBtn1", bkClose, 81),
                                      Ctl(sbUndoZoom, "sbUndoZoom", "Undo Zoom", 89),
                                      Ctl(SpeedButton1, "SpeedButton1", "&EDIT", 73), Stretch()})}),
        Growing(Panel(Panel2, "Panel2", {Growing(Ctl(Chart1, "Chart1"))})),
    });
    SetMinimumSize(Chart1, 200, 150);
    // The chart takes no keys and shows no focus: Tab goes among the buttons only.
    Chart1->SetTabStop(false);
    // "Undo Zoom" comes and goes with the zoom; EDIT stays where the user last found it.
    KeepRoomWhenHidden(sbUndoZoom);
    sbUndoZoom->SetVisible(false);
    sbUndoZoom->OnClick = [this](TObject* Sender) { sbUndoZoomClick(Sender); };
    SpeedButton1->OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); };

    // The chart, flat, with a white back wall and the title "Cp".
    Chart1->SetView3D(false);
    Chart1->BackWall()->SetColor(clWhite);
    Chart1->BackWall()->Brush()->SetStyle(bsClear);
    Chart1->Title()->Text()->SetText(DefaultTitle);
    Chart1->Title()->Font()->SetColor(clBlack);
    Chart1->Title()->Font()->SetStyle(fsItalic);
    Chart1->Foot()->SetAlignment(taRightJustify);
    Chart1->Foot()->Font()->SetColor(clBlack);
    Chart1->Foot()->Text()->Add("");
    Chart1->Zoom()->Pen()->SetColor(clBlack);
    Chart1->OnZoom = [this](TObject* Sender) { Chart1Zoom(Sender); };
    Chart1->OnScroll = [this](TObject* Sender) { Chart1Zoom(Sender); };
    // A zoom undone on the chart itself (a drag up and to the left) leaves nothing to undo.
    Chart1->OnUndoZoom = [this](TObject*) { sbUndoZoom->Hide(); };

    auto* calculated = NewSeries<TLineSeries>(this, Chart1, "Series1", "Calculated");
    calculated->Marks()->SetVisible(false);
    calculated->Pointer()->SetStyle(psRectangle);
    calculated->Pointer()->SetVisible(false);
    auto* experiment = NewSeries<TPointSeries>(this, Chart1, "Series2", "Experiment");
    experiment->Pointer()->SetStyle(psCircle);
    experiment->Pointer()->SetVisible(true);
    experiment->SetClickableLine(false);
    auto* cubic = NewSeries<TLineSeries>(this, Chart1, "Series3", "T^3 law");
    cubic->SetSeriesColor(clBlue);
    cubic->Pointer()->SetVisible(false);
    Series1 = calculated;
    Series2 = experiment;
    Series3 = cubic;

    DoCreate();
}

void TfmChart::sbUndoZoomClick(TObject* Sender)
{
    Chart1->UndoZoom();
    sbUndoZoom->Hide();
}

void TfmChart::Chart1Zoom(TObject* Sender)
{
    sbUndoZoom->Show();
}

void TfmChart::SpeedButton1Click(TObject* Sender)
{
    ShowChartEditor(this, Chart1);
}

void TfmChart::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    for (TChartSeries** field : {&Series1, &Series2, &Series3, &FUpper, &FLower})
        if (*field == AComponent)
            *field = nullptr;
}

void TfmChart::FindRunSeries()
{
    const auto named = [this](const char* name) { return dynamic_cast<TChartSeries*>(FindComponent(name)); };
    Series1 = named("Series1");
    Series2 = named("Series2");
    Series3 = named("Series3");
}

void TfmChart::RemoveBandSeries()
{
    // The band series stay owned by the chart; they only leave its list.
    for (TChartSeries* band : {FUpper, FLower})
        if (band != nullptr && Chart1->SeriesList()->IndexOf(band) >= 0)
            Chart1->RemoveSeries(band);
}

void TfmChart::ShowRunResults(const TRunResult& Run, const std::string& XTitle, const std::string& YTitle,
                              const std::string& ChartTitle)
{
    FindRunSeries();
    const std::pair<TChartSeries*, const std::vector<TChartPoint>*> fills[] = {
        {Series1, &Run.Calculated}, {Series2, &Run.Experiment}, {Series3, &Run.CubicLaw}};
    for (const auto& [series, points] : fills)
        if (series != nullptr) {
            series->Clear();
            FillSeries(series, *points);
        }
    FXAxis = Run.XAxis;
    FYAxis = Run.YAxis;
    ResetView(ChartTitle, XTitle, YTitle);
    // The keyboard stays in the window the user works in.
    ShowWithoutActivating();
}

void TfmChart::ClearRunResults()
{
    RemoveBandSeries();
    FindRunSeries();
    for (TChartSeries* series : {Series1, Series2, Series3})
        if (series != nullptr)
            series->Clear();
    ResetView(DefaultTitle, "", "");
}

void TfmChart::ResetView(const std::string& Title, const std::string& XTitle, const std::string& YTitle)
{
    Chart1->UndoZoom();
    sbUndoZoom->Hide();
    Chart1->LeftAxis()->Title()->SetCaption(YTitle);
    Chart1->BottomAxis()->Title()->SetCaption(XTitle);
    TStrings* title = Chart1->Title()->Text();
    if (title->Count() == 0)
        title->Add(Title);
    else
        title->Put(0, Title);
}

void TfmChart::ShowBand(const std::vector<TBandPoint>& Band)
{
    // Two black line series, made the first time (and again after the editor deleted one)
    // and refilled after; back at the end of the chart's list. They are owned by this window
    // like the run's series: a series owned by the chart would make the editor give every
    // later series to the chart, and its Data Source page offers only series of one owner.
    const char* titles[] = {"Max. value (+3 sigma)", "Min. value (-3 sigma)"};
    TChartSeries** bands[] = {&FUpper, &FLower};
    for (int k = 0; k < 2; ++k) {
        TChartSeries*& band = *bands[k];
        if (band == nullptr) {
            auto* line = new TLineSeries(this);
            line->SetTitle(titles[k]);
            line->SetSeriesColor(clBlack);
            line->Pointer()->SetVisible(false);
            line->FreeNotification(this);
            band = line;
        }
        band->Clear();
        if (Chart1->SeriesList()->IndexOf(band) < 0)
            Chart1->AddSeries(band);
    }
    for (const TBandPoint& p : Band) {
        const TChartPoint high = ChartPoint(FXAxis, FYAxis, p.T, p.Upper);
        const TChartPoint low = ChartPoint(FXAxis, FYAxis, p.T, p.Lower);
        AddChartPoint(FUpper, high);
        AddChartPoint(FLower, low);
    }
    // The keyboard stays in the window the user works in.
    ShowWithoutActivating();
}
