#include "ChatUnit.h"

#include "EditChar.h"

#include "controls/FormBuilder.h"

#include "Unit2/BandCore.h"
#include "Unit2/RunCore.h"

TPointArray TData;
TPointArray CpData;

TfmChart* fmChart = nullptr;

namespace {

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

void FillSeries(TChartSeries* Series, const std::vector<TChartPoint>& Points)
{
    for (const TChartPoint& p : Points)
        Series->AddPointXY(p.X, p.Y, "", clDefault);
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
    sbUndoZoom->SetVisible(false);
    sbUndoZoom->OnClick = [this](TObject* Sender) { sbUndoZoomClick(Sender); };
    SpeedButton1->OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); };

    // The chart, flat, with a white back wall and the title "Cp".
    Chart1->SetView3D(false);
    Chart1->BackWall()->SetColor(clWhite);
    Chart1->BackWall()->Brush()->SetStyle(bsClear);
    Chart1->Title()->Text()->SetText("Cp");
    Chart1->Title()->Font()->SetColor(clBlack);
    Chart1->Title()->Font()->SetStyle(fsItalic);
    Chart1->Foot()->SetAlignment(taRightJustify);
    Chart1->Foot()->Font()->SetColor(clBlack);
    Chart1->Foot()->Text()->Add("");
    Chart1->Zoom()->Pen()->SetColor(clBlack);
    Chart1->OnZoom = [this](TObject* Sender) { Chart1Zoom(Sender); };
    Chart1->OnScroll = [this](TObject* Sender) { Chart1Zoom(Sender); };

    Series1 = NewSeries<TLineSeries>(this, Chart1, "Series1", "Calculated");
    Series1->Marks()->SetVisible(false);
    Series1->Pointer()->SetStyle(psRectangle);
    Series1->Pointer()->SetVisible(false);
    Series2 = NewSeries<TPointSeries>(this, Chart1, "Series2", "Experiment");
    Series2->Pointer()->SetStyle(psCircle);
    Series2->Pointer()->SetVisible(true);
    Series2->SetClickableLine(false);
    Series3 = NewSeries<TLineSeries>(this, Chart1, "Series3", "T^3 law");
    Series3->SetSeriesColor(clBlue);
    Series3->Pointer()->SetVisible(false);

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

void TfmChart::RemoveBandSeries()
{
    // The band series stay owned by the chart; they only leave its list.
    for (int i = 0; i < 2; ++i)
        if (Chart1->SeriesCount() > 3)
            Chart1->RemoveSeriesAt(Chart1->SeriesCount() - 1);
}

void TfmChart::ShowRunResults(const TRunResult& Run, const std::string& XTitle, const std::string& YTitle,
                              const std::string& ChartTitle)
{
    Series1->Clear();
    Series2->Clear();
    Series3->Clear();
    FillSeries(Series1, Run.Calculated);
    FillSeries(Series2, Run.Experiment);
    FillSeries(Series3, Run.CubicLaw);
    FXAxis = Run.XAxis;
    FYAxis = Run.YAxis;
    Chart1->UndoZoom();
    sbUndoZoom->Hide();
    Chart1->LeftAxis()->Title()->SetCaption(YTitle);
    Chart1->BottomAxis()->Title()->SetCaption(XTitle);
    TStrings* title = Chart1->Title()->Text();
    if (title->Count() == 0)
        title->Add(ChartTitle);
    else
        title->Put(0, ChartTitle);
    Show();
}

void TfmChart::ShowBand(const std::vector<TBandPoint>& Band)
{
    // Two black line series, owned by the chart, after the three of the run; created the
    // first time and cleared after.
    if (Chart1->SeriesCount() == 3) {
        for (const char* title : {"Max. value (+3 sigma)", "Min. value (-3 sigma)"}) {
            auto* band = new TLineSeries(Chart1);
            band->SetTitle(title);
            band->SetSeriesColor(clBlack);
            band->Pointer()->SetVisible(false);
            Chart1->AddSeries(band);
        }
    } else {
        Chart1->Series(Chart1->SeriesCount() - 2)->Clear();
        Chart1->Series(Chart1->SeriesCount() - 1)->Clear();
    }
    TChartSeries* upper = Chart1->Series(Chart1->SeriesCount() - 2);
    TChartSeries* lower = Chart1->Series(Chart1->SeriesCount() - 1);
    for (const TBandPoint& p : Band) {
        const TChartPoint high = ChartPoint(FXAxis, FYAxis, p.T, p.Upper);
        const TChartPoint low = ChartPoint(FXAxis, FYAxis, p.T, p.Lower);
        upper->AddPointXY(high.X, high.Y, "", clDefault);
        lower->AddPointXY(low.X, low.Y, "", clDefault);
    }
    Show();
}
