#include "ChatUnit.h"

#include "Unit2/BandCore.h"
#include "Unit2/RunCore.h"

TPointArray TData;
TPointArray CpData;

TfmChart* fmChart = nullptr;

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
    sbUndoZoom->Hide();
}

void TfmChart::SpeedButton1Click(TObject* Sender)
{
}

void TfmChart::RemoveBandSeries()
{
    // The chart holds no band series until the chart component draws them.
}

void TfmChart::ShowRunResults(const TRunResult& Run, const std::string& XTitle, const std::string& YTitle,
                              const std::string& ChartTitle)
{
    // The series, axis titles and chart title join here with the chart component.
    sbUndoZoom->Hide();
    Show();
}

void TfmChart::ShowBand(const std::vector<TBandPoint>& Band)
{
    // The band series join here with the chart component.
    Show();
}
