#include "ChatUnit.h"

#include "EditChar.h"

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
    SetBounds(0, 0, 696, 480);
    SetPosition(poScreenCenter);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(0, 0, 696, 41);
    Panel1->SetAlign(alTop);

    Panel2 = new TPanel(this);
    Panel2->SetName("Panel2");
    Panel2->SetParent(this);
    Panel2->SetAlign(alClient);
    Panel2->SetBevelOuter(bvNone);

    // The chart, flat, with a white back wall and the title "Cp".
    Chart1 = new TChart(this);
    Chart1->SetName("Chart1");
    Chart1->SetParent(Panel2);
    Chart1->SetAlign(alClient);
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

    BitBtn1 = new TBitBtn(this);
    BitBtn1->SetName("BitBtn1");
    BitBtn1->SetParent(Panel1);
    BitBtn1->SetBounds(8, 8, 81, 25);
    BitBtn1->SetKind(bkClose);

    sbUndoZoom = new TSpeedButton(this);
    sbUndoZoom->SetName("sbUndoZoom");
    sbUndoZoom->SetParent(Panel1);
    sbUndoZoom->SetBounds(104, 8, 89, 25);
    sbUndoZoom->SetCaption("Undo Zoom");
    sbUndoZoom->SetVisible(false);
    sbUndoZoom->OnClick = [this](TObject* Sender) { sbUndoZoomClick(Sender); };

    SpeedButton1 = new TSpeedButton(this);
    SpeedButton1->SetName("SpeedButton1");
    SpeedButton1->SetParent(Panel1);
    SpeedButton1->SetBounds(208, 8, 73, 25);
    SpeedButton1->SetCaption("&EDIT");
    SpeedButton1->OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); };

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
        upper->AddPointXY(p.T, p.Upper, "", clDefault);
        lower->AddPointXY(p.T, p.Lower, "", clDefault);
    }
    Show();
}
