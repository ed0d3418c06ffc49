#include "Unit2.h"

#include "ChatUnit.h"
#include "DataFile.h"
#include "Unit2/BandCore.h"
#include "Unit2/RunCore.h"
#include "Unit2/ThermoTable.h"
#include "Unit3.h"
#include "WorkProgress.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>

namespace {

// R and 3R in J/(mol*K): the grid shows amplitudes in units of 3R.
constexpr double GasConstant = 8.3144621;

} // namespace

void TfmMain::sbrunClick(TObject* Sender)
{
    // Every input is read before anything changes: a fault ends the run with its one
    // message and leaves the report, the grid, the chart and the table file as they were.
    if (!fmData->LoadDataPoints()) {
        // The data window comes back (Close & RUN hid it) with the text to correct.
        fmData->Show();
        return;
    }
    if (fmData->PointCount() == 0) {
        // A T(max) below every point is the likely cause, and a user may not see it.
        const std::string cause = fmData->TMaxLimit() > 0
                                      ? "\nT(max) = " + FloatToStr(fmData->TMaxLimit()) + " leaves out every point above it."
                                      : std::string();
        MessageDlg("Number of data points = 0" + cause, mtError, {mbOK}, 0);
        fmData->Show();
        return;
    }

    TRunInput in;
    // A number of terms outside 1..10 (left in the edit by a fault) is refused by the run
    // with its message, also one too large to double.
    const int terms = StrToInt(Trim(edN->Text()));
    in.n = terms >= 1 && terms <= 10 ? 2 * terms : 0;
    in.Routine = cbRoutine->ItemIndex();
    in.ErrorType = cbErrortype->ItemIndex();
    in.Norm = cbNorm->ItemIndex();
    in.PrintProgress = chbTest->Checked();
    in.XAxis = cbX->ItemIndex();
    in.YAxis = cbY->ItemIndex();
    in.M = fmData->PointCount() - fmData->FirstPoint();

    // A cell that holds no number is named in the message, an empty one too.
    const auto readCell = [](const std::string& Text, double& Value, const std::string& Where) {
        if (TryReadPlainNumber(Text, Value))
            return true;
        ShowMessage("Invalid number: " + (Trim(Text).empty() ? std::string("(empty)") : Text) + " in " + Where);
        return false;
    };
    // Start point: the previous results (amplitudes back to J/(mol*K)) or the guesses as
    // typed (ln Theta for the Nelder-Mead routine).
    for (int k = 1; k <= in.n && k <= 20; ++k) {
        const std::string previous = Trim(sgIniGuess->Cells(2, k));
        const std::string unknown = "X" + IntToStr(k);
        double x = 0;
        if (chbPrev->Checked() && !previous.empty()) {
            if (!readCell(previous, x, "the previous result of " + unknown))
                return;
            if (k % 2 == 1)
                x = x * 3 * GasConstant;
            else if (in.Routine == RoutineNelderMead && x > 0)
                x = std::log(x);
        } else if (!readCell(sgIniGuess->Cells(1, k), x, "the initial guess of " + unknown)) {
            return;
        }
        in.X[k] = x;
    }

    // What the chart and the table will show is taken now, as the fit starts.
    const bool save = cbSave->Checked();
    const std::string xTitle = cbX->Text();
    const std::string yTitle = cbY->Text();
    const std::string chartTitle = Caption();

    TWorkProgress progress;
    in.Progress = &progress;
    TRunResult run;
    RunLongWork([&] { run = RunCore(in); }, progress, [&progress] {
        return "Iteration " + IntToStr(progress.Done.load()) + ", sum of squares " +
               Format("%9.3e", {progress.SumOfSquares.load()});
    });
    if (!run.Error.empty()) {
        MessageDlg(run.Error, mtError, {mbOK}, 0);
        return;
    }
    if (run.Stopped) {
        // A stopped fit says so and changes nothing else.
        Memo1->Lines()->SetText("");
        for (const std::string& line : run.Report)
            Memo1->Lines()->Add(line);
        return;
    }
    // The band series of the last confidence band leave the chart.
    fmChart->RemoveBandSeries();
    Memo2->Clear();
    Memo1->Clear();
    if (!run.Warning.empty())
        MessageDlg(run.Warning, mtWarning, {mbOK}, 0);
    if (!run.ConditionMessage.empty())
        Memo2->SetText(run.ConditionMessage);
    for (const std::string& message : run.Messages)
        ShowMessage(message);

    TStrings* report = Memo1->Lines();
    report->BeginUpdate();
    for (const std::string& line : run.Report)
        report->Add(line);
    report->EndUpdate();
    if (!run.Solved)
        return;

    for (const TGridText& cell : run.Grid)
        sgIniGuess->SetCells(cell.Col, cell.Row, cell.Text);

    if (save) {
        if (OpenDialog1->FileName().empty()) {
            MessageDlg("The table can not be saved: no data file is open.", mtError, {mbOK}, 0);
        } else {
            std::vector<std::string> lines;
            for (int i = 0; i < report->Count(); ++i)
                lines.push_back(report->Get(i));
            // A table that cannot be written is said so; the chart still shows the run.
            try {
                const std::string name = SaveThermoTable(OpenDialog1->FileName(), lines, run.a, run.Theta);
                MessageDlg("Results are saved into the file " + name, mtInformation, {mbOK}, 0);
            } catch (const Exception& e) {
                MessageDlg(e.Message(), mtError, {mbOK}, 0);
            }
        }
    }

    fmChart->ShowRunResults(run, xTitle, yTitle, chartTitle);
}

void TfmMain::SpeedButton1Click(TObject* Sender)
{
    // The band around the curve of the grid's coefficients, at the points of the last
    // load (the data are not reloaded).
    const int M = fmData->PointCount() - fmData->FirstPoint();
    const int N = StrToInt(Trim(edN->Text()));
    std::vector<double> coef;
    std::vector<double> unc;
    for (int k = 1; k < sgIniGuess->RowCount(); ++k) {
        const std::string c = Trim(sgIniGuess->Cells(2, k));
        const std::string u = Trim(sgIniGuess->Cells(3, k));
        if (c.empty()) {
            MessageDlg("Invalid value of coefficient", mtError, {mbOK}, 0);
            return;
        }
        if (u.empty()) {
            MessageDlg("Invalid value of uncertainty", mtError, {mbOK}, 0);
            return;
        }
        coef.push_back(StrToFloat(c));
        unc.push_back(StrToFloat(u));
    }
    TWorkProgress progress;
    std::vector<TBandPoint> band;
    const int points = std::max(M, 0);
    RunLongWork([&] { band = ConfidenceBand(coef, unc, N, points, TData, &progress); }, progress,
                [&progress, points] {
                    return "Band: " + IntToStr(progress.Done.load()) + " of " + IntToStr(points) + " points";
                });
    // A stopped band draws nothing.
    if (static_cast<int>(band.size()) < points)
        return;
    fmChart->ShowBand(band);
}

void TfmMain::sbStopClick(TObject* Sender)
{
    if (FWork != nullptr)
        FWork->Stop = true;
}

void TfmMain::RunLongWork(const std::function<void()>& Work, TWorkProgress& Progress,
                          const std::function<std::string()>& Status)
{
    // Off while the work runs: what starts other work, and N, whose change would reshape the
    // grid that the work's results are written into.
    TControl* starters[] = {sbrun, SpeedButton1, edN, fmData != nullptr ? fmData->sbrun : nullptr,
                            fmChart != nullptr ? fmChart->SpeedButton1 : nullptr};
    for (TControl* c : starters)
        if (c != nullptr)
            c->SetEnabled(false);
    Open1->SetEnabled(false);
    sbStop->SetEnabled(true);
    FWork = &Progress;
    TScopeGuard restore([&] {
        FWork = nullptr;
        sbStop->SetEnabled(false);
        lbProgress->SetCaption("");
        Open1->SetEnabled(true);
        for (TControl* c : starters)
            if (c != nullptr)
                c->SetEnabled(true);
    });
    TBackgroundWork task;
    task.Work = Work;
    task.Progress = [this, &Status] { lbProgress->SetCaption(Status()); };
    task.OnEscape = [&Progress] { Progress.Stop = true; };
    RunInBackground(task);
}
