// The run as a user starts it: open a data file, press RUN, read the report, the grid,
// the table file and the answered message boxes.
#include "AppWindows.h"

#include "ChatUnit.h"
#include "Chart/SeriesTypes.h"
#include "Series.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "Unit2.h"
#include "Unit2/BandCore.h"
#include "Unit3.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

class RunWindowTest : public AppWindowsTest {
protected:
    std::string Report() const { return main->Memo1->Lines()->Text(); }
    double Rms() const
    {
        const std::string key = "Root mean square (RMS) = ";
        TStrings* lines = main->Memo1->Lines();
        for (int i = 0; i < lines->Count(); ++i)
            if (lines->Get(i).rfind(key, 0) == 0)
                return StrToFloat(lines->Get(i).substr(key.size()));
        return -1;
    }
    bool ReportHas(const std::string& line) const
    {
        TStrings* lines = main->Memo1->Lines();
        for (int i = 0; i < lines->Count(); ++i)
            if (lines->Get(i) == line)
                return true;
        return false;
    }
};

TEST_F(RunWindowTest, RunFitsAnExampleAndFillsReportGridAndChartWindow)
{
    OpenExample("copper.dat");
    main->sbrunClick(main->sbrun);

    EXPECT_TRUE(dialogs.Requests.empty()) << dialogs.Texts().front();
    EXPECT_TRUE(ReportHas("ier = 1")) << Report();
    EXPECT_TRUE(ReportHas("Solution: ")) << Report();
    EXPECT_TRUE(ReportHas("    T      Cp(exp)   Cp(calc)     delta ")) << Report();
    EXPECT_TRUE(ReportHas("Extrapolation to Zero"));
    EXPECT_TRUE(ReportHas("Approximation errors:"));
    EXPECT_NE(Report().find("S(298.15) ~ "), std::string::npos);
    EXPECT_EQ(main->Memo1->Lines()->Count(), 1 + 1 + 4 + 2 + 60 + 2 + 20 + 1 + 5);

    // The grid's coefficient and uncertainty columns hold the reported numbers.
    for (int k = 1; k <= 4; ++k) {
        const std::string coefficient = main->sgIniGuess->Cells(2, k);
        EXPECT_EQ(coefficient.size(), 13u) << k;   // "%12.6e" of a positive value: 1.234560E+001
        EXPECT_NE(Report().find(coefficient), std::string::npos) << coefficient;
        EXPECT_FALSE(Trim(main->sgIniGuess->Cells(3, k)).empty());
    }
    // Physical sense: Theta values are positive and the amplitudes sum near 1 (3R at high T).
    const double a1 = StrToFloat(Trim(main->sgIniGuess->Cells(2, 1)));
    const double a2 = StrToFloat(Trim(main->sgIniGuess->Cells(2, 3)));
    EXPECT_GT(StrToFloat(Trim(main->sgIniGuess->Cells(2, 2))), 0);
    EXPECT_GT(StrToFloat(Trim(main->sgIniGuess->Cells(2, 4))), 0);
    EXPECT_NEAR(a1 + a2, 1.0, 0.1);
    EXPECT_TRUE(chart->Visible());
    EXPECT_FALSE(chart->sbUndoZoom->Visible());
}

// RUN takes no focus, so the guess being typed is still in the grid's editor when it runs.
TEST_F(RunWindowTest, RunReadsTheGuessStillBeingTypedAndEscapeTakesItBack)
{
    OpenExample("copper.dat");
    user::ShowAndActivate(main.get());
    ASSERT_TRUE(user::ClickItem(main->sgIniGuess, 4, 1));
    ASSERT_TRUE(user::Type("abc"));
    ASSERT_TRUE(user::Click(main->sbrun));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid number: abc in the initial guess of X4"});
    EXPECT_EQ(main->sgIniGuess->Cells(1, 4), "abc");

    ASSERT_TRUE(user::Key(Qt::Key_Escape));   // the edit given up: the cell's text before it
    EXPECT_EQ(main->sgIniGuess->Cells(1, 4), "1");
    ASSERT_TRUE(user::ClickItem(main->sgIniGuess, 3, 1));
    ASSERT_TRUE(user::Type("8"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));   // an edit ended with Enter stays
    EXPECT_EQ(main->sgIniGuess->Cells(1, 3), "8");
}

TEST_F(RunWindowTest, SecondRunFromPreviousResultsKeepsTheCoefficients)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    std::vector<std::string> first;
    for (int k = 1; k <= 4; ++k)
        first.push_back(main->sgIniGuess->Cells(2, k));

    main->chbPrev->SetChecked(true);
    main->sbrunClick(main->sbrun);
    for (int k = 1; k <= 4; ++k) {
        const double before = StrToFloat(Trim(first[k - 1]));
        const double after = StrToFloat(Trim(main->sgIniGuess->Cells(2, k)));
        EXPECT_NEAR(after, before, 1e-4 * std::abs(before)) << k;
    }
}

TEST_F(RunWindowTest, SaveWritesTheTableBesideTheDataFileAndNamesIt)
{
    const std::string path = OpenExample("lead_short.dat");
    main->cbSave->SetChecked(true);
    main->sbrunClick(main->sbrun);

    const std::string table = folder + "/lead_short.TBL";
    ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"Results are saved into the file " + table});
    std::ifstream in(table);
    ASSERT_TRUE(in.good());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1));
    const int reportLines = main->Memo1->Lines()->Count();
    ASSERT_EQ(static_cast<int>(lines.size()), reportLines + 1 + 2 + 44);
    EXPECT_EQ(lines[0], main->Memo1->Lines()->Get(0));
    EXPECT_EQ(lines[reportLines + 1], "T\t\tCp(T)\t\tS(T)\t\tF(T)\t\tH(T)-H(0)");
    EXPECT_EQ(lines.back().substr(0, 6), "1500\t\t");
}

TEST_F(RunWindowTest, ATableThatCannotBeWrittenIsSaidAndTheChartStillShowsTheRun)
{
    OpenExample("lead_short.dat");
    std::filesystem::create_directory(folder + "/lead_short.TBL");   // in the table's way
    main->cbSave->SetChecked(true);
    main->sbrunClick(main->sbrun);
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Type, mtError);
    EXPECT_NE(dialogs.Requests[0].Text.find(folder + "/lead_short.TBL"), std::string::npos) << dialogs.Requests[0].Text;
    EXPECT_TRUE(ReportHas("ier = 1"));
    EXPECT_TRUE(chart->Visible());
    EXPECT_EQ(chart->Series2->Count(), 10);
}

TEST_F(RunWindowTest, TooFewPointsForTheUnknownsIsRefusedWithoutAReport)
{
    OpenExample("lead_short.dat");
    main->edN->SetText("5");   // 10 unknowns for 10 points
    main->sbrunClick(main->sbrun);
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Type, mtError);
    EXPECT_NE(dialogs.Requests[0].Text.find("10 points"), std::string::npos) << dialogs.Requests[0].Text;
    EXPECT_NE(dialogs.Requests[0].Text.find("10 unknowns"), std::string::npos) << dialogs.Requests[0].Text;
    EXPECT_EQ(main->Memo1->Lines()->Count(), 0);
    EXPECT_FALSE(chart->Visible());
}

// The edit keeps a number of terms that its own check passed over (none at or below 0);
// the run refuses it with its message, also one whose double does not fit an integer.
TEST_F(RunWindowTest, ANumberOfTermsOutsideOneToTenIsRefusedByTheRun)
{
    OpenExample("copper.dat");
    for (const char* terms : {"0", "-1500000000"}) {
        main->edN->SetText(terms);
        dialogs.Requests.clear();
        main->sbrunClick(main->sbrun);
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Number of Einstein terms must be between 1 and 10"})
            << terms;
        EXPECT_EQ(main->Memo1->Lines()->Count(), 0);
    }
}

TEST_F(RunWindowTest, ADataFaultBringsTheDataWindowBackWithItsText)
{
    OpenExample("lead_short.dat");
    data->Memo1->Lines()->Put(7, "6.67 O.5");
    const std::string text = data->Memo1->Lines()->Text();
    user::ShowAndActivate(data.get());
    ASSERT_TRUE(user::Click(data->sbrun));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid number: O.5 in line 8"});
    EXPECT_TRUE(data->Visible());
    EXPECT_EQ(data->Memo1->Lines()->Text(), text);
    EXPECT_FALSE(chart->Visible());
}

// A file too large to show whole: RUN fits every point it declares, however long its lines
// or the text before them, or is refused with the number of declared points it could read.
TEST_F(RunWindowTest, ALargeFileRunsWithEveryDeclaredPointOrIsRefused)
{
    // One Einstein term, a = 1 and Theta = 200 K, that the fit finds again.
    const auto point = [](int i) {
        const double t = 4 + 0.5 * i, u = 200 / t;
        const double cp = 3 * 8.3144621 * u * u * std::exp(-u) / ((1 - std::exp(-u)) * (1 - std::exp(-u)));
        return FloatToStr(t) + " " + FloatToStr(cp);
    };
    const auto lines = [&point](int from, int to, const std::string& columns) {
        std::string text;
        for (int i = from; i <= to; ++i)
            text += point(i) + columns + "\n";
        return text;
    };
    const auto header = [](const std::string& beforeCount, int declared) {
        return "spreadsheet export\nsample\nT Cp" + beforeCount + "\n" + std::to_string(declared) + "\n0\n";
    };
    std::string columns;   // 200 more columns: about 1.7 KB a line
    for (int c = 0; c < 200; ++c)
        columns += " " + std::to_string(1000000 + 7 * c);
    const std::string spaces(DataFileShowLimit, ' ');
    const std::string refused = "Only 4 of the 40 declared points could be read: the data window holds the first 9 "
                                "lines of a file too large to show whole, which is read no further than its first "
                                "2005 lines and 16 MB.";
    const struct {
        std::string Text;
        int Points;            // 0: refused
        std::string Caption;   // after the file name
        std::string Refusal;
    } cases[] = {
        {header("", 1000) + lines(1, 1001, columns), 1000, " (first 1005 lines, long lines shortened)", ""},
        {header(spaces, 30) + lines(1, 30, "") + spaces, 30, " (first 35 lines, long lines shortened)", ""},
        // The 5th point's line runs past the bytes read: the text ends before it.
        {header("", 40) + lines(1, 4, "") + "5" + std::string(DataFileReadLimit, '5') + "\n" + lines(6, 40, ""), 0,
         " (first 9 lines)", refused},
    };
    main->edN->SetText("1");
    for (const auto& c : cases) {
        const std::string path = folder + "/large.dat";
        std::ofstream(path, std::ios::binary) << c.Text;
        ASSERT_GT(c.Text.size(), DataFileShowLimit);
        dialogs.Answer = [path](TDialogRequest& r) {
            if (r.Kind == TDialogKind::dkOpenFile)
                r.FileName = path;
            return mrOk;
        };
        main->Open1Click(main->Open1);
        ASSERT_EQ(dialogs.Requests.size(), 2u);
        EXPECT_EQ(dialogs.Requests[1].Type, mtInformation);
        EXPECT_EQ(dialogs.Requests[1].Text.find("a run is refused") != std::string::npos, c.Points == 0)
            << dialogs.Requests[1].Text;
        EXPECT_EQ(dialogs.Requests[1].Text.find("bytes are shown shortened") != std::string::npos,
                  c.Caption.find("shortened") != std::string::npos)
            << dialogs.Requests[1].Text;
        EXPECT_EQ(data->Caption(), path + c.Caption);
        dialogs.Requests.clear();
        data->Close();
        main->sgIniGuess->SetCells(1, 2, "150");
        main->sbrunClick(main->sbrun);
        SCOPED_TRACE(c.Points);
        EXPECT_EQ(data->PointCount(), c.Points);
        if (c.Points > 0) {
            EXPECT_TRUE(dialogs.Requests.empty()) << dialogs.Texts().front();
            EXPECT_TRUE(ReportHas("ier = 1"));
            EXPECT_EQ(chart->Series2->Count(), c.Points);
            EXPECT_NEAR(StrToFloat(Trim(main->sgIniGuess->Cells(2, 2))), 200, 1e-3);
        } else {
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.Refusal});
            EXPECT_TRUE(data->Visible());
        }
        dialogs.Requests.clear();
    }
}

TEST_F(RunWindowTest, RunWithoutDataSaysSoAndChangesNothing)
{
    main->sbrunClick(main->sbrun);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Number of data points = 0"});
    EXPECT_FALSE(chart->Visible());
    // A T(max) below every point is named as the cause.
    OpenExample("lead_short.dat");
    data->edTmax->SetText("1.5");
    dialogs.Requests.clear();
    user::ShowAndActivate(data.get());
    ASSERT_TRUE(user::Click(data->sbrun));
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{"Number of data points = 0\nT(max) = 1.5 leaves out every point above it."});
    EXPECT_FALSE(chart->Visible());
    // The data window comes back (Close & RUN hid it), where T(max) is corrected.
    EXPECT_TRUE(data->Visible());
}

TEST_F(RunWindowTest, NelderMeadRoutineFitsAnExampleConsistently)
{
    OpenExample("copper.dat");
    main->sbrunClick(main->sbrun);
    const double lmRms = Rms();
    std::vector<double> lm;
    for (int k = 1; k <= 4; ++k)
        lm.push_back(StrToFloat(Trim(main->sgIniGuess->Cells(2, k))));

    // The hidden routine choice, with start values near the solution, Theta as ln Theta.
    main->cbRoutine->SetItemIndex(0);
    main->sgIniGuess->SetCells(1, 1, FloatToStr(lm[0] * 3 * 8.3144621 * 1.1));
    main->sgIniGuess->SetCells(1, 2, FloatToStr(std::log(lm[1] * 0.9)));
    main->sgIniGuess->SetCells(1, 3, FloatToStr(lm[2] * 3 * 8.3144621 * 0.9));
    main->sgIniGuess->SetCells(1, 4, FloatToStr(std::log(lm[3] * 1.1)));
    main->sbrunClick(main->sbrun);
    EXPECT_TRUE(dialogs.Requests.empty());
    EXPECT_TRUE(ReportHas("Solution: ")) << Report();
    // Theta values come back in K; the fit is as good as the Levenberg-Marquardt one.
    EXPECT_GT(StrToFloat(Trim(main->sgIniGuess->Cells(2, 2))), 1.0);
    EXPECT_GT(StrToFloat(Trim(main->sgIniGuess->Cells(2, 4))), 1.0);
    ASSERT_GT(lmRms, 0);
    EXPECT_LT(Rms(), 1.5 * lmRms);
}

} // namespace

namespace {

TEST_F(RunWindowTest, ConfidenceBandNeedsEveryCoefficientAndUncertainty)
{
    main->SpeedButton1Click(main->SpeedButton1);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid value of coefficient"});
    EXPECT_FALSE(chart->Visible());

    dialogs.Requests.clear();
    main->sgIniGuess->SetCells(2, 1, "1");
    main->sgIniGuess->SetCells(2, 2, "100");
    main->sgIniGuess->SetCells(2, 3, "1");
    main->sgIniGuess->SetCells(2, 4, "100");
    main->sgIniGuess->SetCells(3, 1, "0.1");
    main->SpeedButton1Click(main->SpeedButton1);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid value of uncertainty"});
}

TEST_F(RunWindowTest, ConfidenceBandAfterARunShowsTheChartWindow)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    chart->Hide();
    main->SpeedButton1Click(main->SpeedButton1);
    EXPECT_TRUE(dialogs.Requests.empty());
    EXPECT_TRUE(chart->Visible());
}

} // namespace

namespace {

TEST_F(RunWindowTest, RunFillsTheChartUnderTheAxisChoices)
{
    const std::string path = OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    EXPECT_EQ(chart->Chart1->SeriesCount(), 3);
    EXPECT_EQ(chart->Series1->Count(), 10);
    EXPECT_EQ(chart->Series2->Count(), 10);
    EXPECT_EQ(chart->Series3->Count(), 0);   // the cubic law only with X = T^3
    EXPECT_EQ(chart->Chart1->BottomAxis()->Title()->Caption(), "T");
    EXPECT_EQ(chart->Chart1->LeftAxis()->Title()->Caption(), "Cp(T)");
    EXPECT_EQ(chart->Chart1->Title()->Text()->Get(0), path);
    // "Experiment" holds the measured points, "Calculated" the fitted curve, in T order.
    EXPECT_DOUBLE_EQ(chart->Series2->XValues()->Value(0), TData[1]);
    EXPECT_DOUBLE_EQ(chart->Series2->YValues()->Value(0), CpData[1]);

    main->cbX->SetItemIndex(3);   // T^3
    main->cbY->SetItemIndex(1);   // Cp(T)/T
    main->sbrunClick(main->sbrun);
    EXPECT_EQ(chart->Series3->Count(), 10);
    EXPECT_DOUBLE_EQ(chart->Series2->XValues()->Value(0), TData[1] * TData[1] * TData[1]);
    EXPECT_DOUBLE_EQ(chart->Series2->YValues()->Value(0), CpData[1] / TData[1]);
    EXPECT_EQ(chart->Chart1->BottomAxis()->Title()->Caption(), "T^3");
    EXPECT_EQ(chart->Chart1->LeftAxis()->Title()->Caption(), "Cp(T)/T");

    // "1/T" still joins the points in ascending 1/T.
    main->cbX->SetItemIndex(1);
    main->sbrunClick(main->sbrun);
    for (int i = 1; i < chart->Series1->Count(); ++i)
        EXPECT_LT(chart->Series1->XValues()->Value(i - 1), chart->Series1->XValues()->Value(i));

    if (const std::string picture = testsupport::ArtifactPath("chart-window-run.png"); !picture.empty()) {
        main->cbX->SetItemIndex(0);
        main->cbY->SetItemIndex(0);
        OpenExample("copper.dat");
        main->sbrunClick(main->sbrun);
        const auto bitmap = chart->Chart1->DrawToBitmap(clWhite, TRect(0, 0, 680, 420));
        bitmap->SaveToFile(picture);
    }
}

TEST_F(RunWindowTest, BandLiesOverTheCurveUnderTheAxesOfTheShownRun)
{
    OpenExample("lead_short.dat");
    main->cbX->SetItemIndex(1);   // 1/T
    main->cbY->SetItemIndex(1);   // Cp(T)/T
    main->sbrunClick(main->sbrun);
    // A choice made after the run changes nothing until the next run.
    main->cbX->SetItemIndex(0);
    main->cbY->SetItemIndex(0);
    // Uncertainties of 5 % give a band of visible width.
    for (int k = 1; k < main->sgIniGuess->RowCount(); ++k) {
        const double coefficient = StrToFloat(Trim(main->sgIniGuess->Cells(2, k)));
        main->sgIniGuess->SetCells(3, k, FloatToStr(0.05 * std::fabs(coefficient)));
    }
    main->SpeedButton1Click(main->SpeedButton1);
    ASSERT_EQ(chart->Chart1->SeriesCount(), 5);
    TChartSeries* upper = chart->Chart1->Series(3);
    TChartSeries* lower = chart->Chart1->Series(4);
    ASSERT_EQ(upper->Count(), chart->Series1->Count());
    for (int i = 0; i < upper->Count(); ++i) {
        EXPECT_DOUBLE_EQ(upper->XValues()->Value(i), chart->Series1->XValues()->Value(i));
        EXPECT_DOUBLE_EQ(lower->XValues()->Value(i), chart->Series1->XValues()->Value(i));
        const double curve = chart->Series1->YValues()->Value(i);
        EXPECT_GT(upper->YValues()->Value(i), curve);
        EXPECT_LT(lower->YValues()->Value(i), curve);
    }
    // The band's Cp values divided by T, at X = 1/T (points in ascending 1/T).
    std::vector<double> coef, unc;
    for (int k = 1; k < main->sgIniGuess->RowCount(); ++k) {
        coef.push_back(StrToFloat(Trim(main->sgIniGuess->Cells(2, k))));
        unc.push_back(StrToFloat(Trim(main->sgIniGuess->Cells(3, k))));
    }
    const std::vector<TBandPoint> band = ConfidenceBandSerial(coef, unc, 2, upper->Count(), TData);
    for (std::size_t k = 0; k < band.size(); ++k) {
        const int i = upper->Count() - 1 - static_cast<int>(k);
        EXPECT_DOUBLE_EQ(upper->YValues()->Value(i), band[k].Upper / band[k].T);
        EXPECT_DOUBLE_EQ(lower->YValues()->Value(i), band[k].Lower / band[k].T);
    }
}

// The band takes the points of the last load, even of a run that was refused: a point at
// 0 K lies at infinity under X = 1/T and is left out, so the chart keeps its axes.
TEST_F(RunWindowTest, BandPointAtInfinityUnderTheAxesIsLeftOut)
{
    OpenExample("lead_short.dat");
    main->cbX->SetItemIndex(1);   // 1/T
    main->sbrunClick(main->sbrun);
    ASSERT_EQ(chart->Series2->Count(), 10);
    data->Memo1->Lines()->Put(5, "0 0");   // the first point at 0 K
    main->sbrunClick(main->sbrun);
    ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"Temperatures must be above 0 K: T = 0 K at point 1"});

    main->SpeedButton1Click(main->SpeedButton1);
    ASSERT_EQ(chart->Chart1->SeriesCount(), 5);
    for (int s = 3; s < 5; ++s) {
        TChartSeries* band = chart->Chart1->Series(s);
        ASSERT_EQ(band->Count(), 9) << s;
        for (int i = 0; i < band->Count(); ++i)
            EXPECT_DOUBLE_EQ(band->XValues()->Value(i), chart->Series2->XValues()->Value(i)) << s;
    }
    TChartAxis* bottom = chart->Chart1->BottomAxis();
    chart->Chart1->DrawToBitmap(clWhite, TRect(0, 0, 680, 420));
    EXPECT_TRUE(std::isfinite(bottom->Maximum()));
    EXPECT_DOUBLE_EQ(bottom->Maximum(), 1 / 4.0);   // the measured point at 4 K of the run shown
}

TEST_F(RunWindowTest, BandSeriesAreAddedOnceAndLeaveWithTheNextRun)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    main->SpeedButton1Click(main->SpeedButton1);
    ASSERT_EQ(chart->Chart1->SeriesCount(), 5);
    TChartSeries* upper = chart->Chart1->Series(3);
    EXPECT_EQ(upper->Title(), "Max. value (+3 sigma)");
    EXPECT_EQ(chart->Chart1->Series(4)->Title(), "Min. value (-3 sigma)");
    EXPECT_EQ(upper->Count(), 10);
    EXPECT_GE(upper->YValues()->Value(0), chart->Chart1->Series(4)->YValues()->Value(0));
    // A series the editor adds now has the owner of the run's series, so that its Data
    // Source page can offer them.
    TChartSeries* added =
        CreateSeriesInChart(chart->Chart1->Owner(), chart->Chart1, TBarSeries::StaticClassInfo(), nullptr);
    EXPECT_EQ(added->Owner(), chart->Series1->Owner());
    delete added;

    // Pressing again refills the same two series.
    main->SpeedButton1Click(main->SpeedButton1);
    EXPECT_EQ(chart->Chart1->SeriesCount(), 5);
    EXPECT_EQ(chart->Chart1->Series(3), upper);
    EXPECT_EQ(upper->Count(), 10);

    // The next run takes them off the chart.
    main->sbrunClick(main->sbrun);
    EXPECT_EQ(chart->Chart1->SeriesCount(), 3);
}

TEST_F(RunWindowTest, OpeningAnotherFileClearsThePreviousFilesResults)
{
    OpenExample("lead_short.dat");
    main->cbX->SetItemIndex(3);   // T^3: the cubic law is drawn too
    main->sbrunClick(main->sbrun);
    main->SpeedButton1Click(main->SpeedButton1);
    main->Memo2->SetText("information of the previous run");
    chart->Chart1Zoom(chart->Chart1);
    ASSERT_EQ(chart->Chart1->SeriesCount(), 5);
    ASSERT_GT(chart->Series3->Count(), 0);

    const std::string copper = OpenExample("copper.dat");
    EXPECT_EQ(main->Memo1->Lines()->Count(), 0);
    EXPECT_EQ(main->Memo2->Text(), "");
    EXPECT_EQ(chart->Chart1->SeriesCount(), 3);
    for (TChartSeries* series : {chart->Series1, chart->Series2, chart->Series3})
        EXPECT_EQ(series->Count(), 0) << series->Title();
    EXPECT_EQ(chart->Chart1->Title()->Text()->Get(0), "Cp");
    EXPECT_EQ(chart->Chart1->BottomAxis()->Title()->Caption(), "");
    EXPECT_FALSE(chart->sbUndoZoom->Visible());

    // A run of the new file shows its own results under its name.
    main->sbrunClick(main->sbrun);
    EXPECT_EQ(chart->Series2->Count(), 60);
    EXPECT_EQ(chart->Chart1->Title()->Text()->Get(0), copper);
}

} // namespace

namespace {

TEST_F(RunWindowTest, KeyboardStaysWhereTheUserWorksAndReachesTheChartWindowsButtons)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    ASSERT_TRUE(chart->Visible());
    // Close & RUN in the data window: the user goes on in the main window, which the
    // chart window shown again by the run leaves the keyboard to.
    user::ShowAndActivate(main.get());
    user::ShowAndActivate(fmData);
    ASSERT_TRUE(user::Click(fmData->sbrun));
    EXPECT_FALSE(fmData->Visible());
    EXPECT_EQ(QApplication::activeWindow(), main->Widget());
    // So does the band.
    ASSERT_TRUE(user::Click(main->SpeedButton1));
    EXPECT_EQ(QApplication::activeWindow(), main->Widget());

    // In the chart window Tab passes over the chart, which takes no keys, and reaches
    // Undo Zoom, which Space presses.
    chart->Chart1Zoom(chart->Chart1);
    user::ShowAndActivate(chart.get());
    ASSERT_TRUE(user::Focus(chart->BitBtn1));
    bool reached = false;
    for (int tab = 0; tab < 3 && !reached; ++tab) {
        ASSERT_TRUE(user::Key(Qt::Key_Tab));
        EXPECT_NE(QApplication::focusWidget(), chart->Chart1->Widget()) << tab;
        reached = QApplication::focusWidget() == chart->sbUndoZoom->Widget();
    }
    ASSERT_TRUE(reached);
    ASSERT_TRUE(user::Key(Qt::Key_Space));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !chart->sbUndoZoom->Visible(); }, 2000));
}

TEST_F(RunWindowTest, ZoomingShowsUndoZoomAndItsButtonRestoresTheAxes)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    TChart* c = chart->Chart1;
    c->SetBounds(0, 0, 600, 400);
    (void)c->DrawToBitmap(clWhite, TRect(0, 0, 600, 400));   // lays the axes out
    const double autoMax = c->BottomAxis()->Maximum();
    const TRect r = c->ChartRect;

    // A drag from the plot's top-left quarter to its centre zooms in.
    c->ZoomRect(TRect(r.Left + 10, r.Top + 10, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    EXPECT_TRUE(chart->sbUndoZoom->Visible());
    EXPECT_LT(c->BottomAxis()->Maximum(), autoMax);

    // The left axis' room between its title and the plot holds every label drawn after
    // the zoom ("12.5" between "9" and "18").
    const auto zoomed = c->DrawToBitmap(clWhite, TRect(0, 0, 600, 400));
    TChartAxis* left = c->LeftAxis();
    std::vector<std::string> labels;
    left->CalcLabels([&](int, const std::string& Text, TAxisItem*) { labels.push_back(Text); });
    ASSERT_GT(labels.size(), 3u);
    c->Canvas()->ApplyFont(left->LabelsFont());
    for (const std::string& text : labels)
        EXPECT_LE(c->Canvas()->TextWidth(text), left->PosLabels - left->PosTitle) << text;
    if (const std::string picture = testsupport::ArtifactPath("chart-window-zoomed.png"); !picture.empty())
        zoomed->SaveToFile(picture);

    chart->sbUndoZoomClick(chart->sbUndoZoom);
    EXPECT_FALSE(chart->sbUndoZoom->Visible());
    (void)c->DrawToBitmap(clWhite, TRect(0, 0, 600, 400));
    EXPECT_DOUBLE_EQ(c->BottomAxis()->Maximum(), autoMax);

    // A run after zooming resets the zoom.
    c->ZoomRect(TRect(r.Left + 10, r.Top + 10, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    main->sbrunClick(main->sbrun);
    EXPECT_FALSE(chart->sbUndoZoom->Visible());
    (void)c->DrawToBitmap(clWhite, TRect(0, 0, 600, 400));
    EXPECT_DOUBLE_EQ(c->BottomAxis()->Maximum(), autoMax);
}

// The button follows the chart's zoom whichever way the user scrolls or undoes it.
TEST_F(RunWindowTest, UndoZoomShowsAfterAWheelTurnAndGoesWithADragBack)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    user::ShowAndActivate(chart.get());
    TChart* c = chart->Chart1;
    const double autoMax = c->LeftAxis()->Maximum();
    const TRect r = c->ChartRect;
    const QPoint centre((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);

    ASSERT_TRUE(user::Wheel(user::W(c), -1, centre));
    EXPECT_TRUE(chart->sbUndoZoom->Visible());
    EXPECT_GT(c->LeftAxis()->Maximum(), autoMax);

    // A drag up and to the left undoes the scroll.
    ASSERT_TRUE(user::Drag(user::W(c), centre + QPoint(60, 40), centre - QPoint(60, 40)));
    EXPECT_FALSE(chart->sbUndoZoom->Visible());
    (void)c->DrawToBitmap(clWhite, TRect(0, 0, c->Width(), c->Height()));
    EXPECT_DOUBLE_EQ(c->LeftAxis()->Maximum(), autoMax);
}

} // namespace

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(RunWindowTest, AnyBadInputEndsTheRunWithOneMessageAndLeavesTheResults)
{
    OpenExample("lead_short.dat");
    main->cbSave->SetChecked(true);
    main->sbrunClick(main->sbrun);
    const std::string table = folder + "/lead_short.TBL";
    const std::string tableBefore = FileBytes(table);
    ASSERT_FALSE(tableBefore.empty());
    const std::string reportBefore = Report();
    const std::string coefficientBefore = main->sgIniGuess->Cells(2, 1);
    const std::string originalData = data->Memo1->Lines()->Text();

    // Each input of the run: a guess, a previous result, T(max), a data value, the wrong
    // dividing string (every line would fail; only the first is named).
    const std::function<void()> spoil[] = {
        [&] { main->sgIniGuess->SetCells(1, 2, "abc"); },
        [&] { main->sgIniGuess->SetCells(1, 4, " "); },
        [&] {
            main->chbPrev->SetChecked(true);
            main->sgIniGuess->SetCells(2, 3, "1.0E+001x");
        },
        [&] { data->edTmax->SetText("1OO"); },
        [&] { data->Memo1->Lines()->Put(7, "6.67 1e400"); },
        [&] { data->cbDivString->SetItemIndex(1); },
    };
    const std::string expected[] = {"Invalid number: abc in the initial guess of X2",
                                    "Invalid number: (empty) in the initial guess of X4",
                                    "Invalid number: 1.0E+001x in the previous result of X3", "Invalid T(max) value: 1OO",
                                    "Invalid number: 1e400 in line 8",
                                    "Invalid number: 4 0.107821 in line 6 (the line is divided by spaces: choose the "
                                    "dividing string \"Space\")"};
    for (size_t i = 0; i < std::size(spoil); ++i) {
        spoil[i]();
        dialogs.Requests.clear();
        chart->Hide();
        main->sbrunClick(main->sbrun);
        ASSERT_EQ(dialogs.Requests.size(), 1u) << i;
        EXPECT_EQ(dialogs.Requests[0].Text, expected[i]);
        EXPECT_EQ(Report(), reportBefore) << i;
        EXPECT_EQ(main->sgIniGuess->Cells(2, 1), coefficientBefore) << i;
        EXPECT_EQ(FileBytes(table), tableBefore) << i;
        EXPECT_FALSE(chart->Visible()) << i;

        // Mended again, the run goes through.
        main->chbPrev->SetChecked(false);
        main->sgIniGuess->SetCells(1, 2, "1");
        main->sgIniGuess->SetCells(1, 4, "1");
        data->edTmax->SetText("");
        data->cbDivString->SetItemIndex(0);
        data->Memo1->Lines()->SetText(originalData);
    }
}

// What the user did to the chart's series in the editor stays through later runs and bands.
TEST_F(RunWindowTest, RunsAndBandsFollowTheSeriesTheEditorChanged)
{
    OpenExample("lead_short.dat");
    main->sbrunClick(main->sbrun);
    TChart* c = chart->Chart1;
    // The editor's "Change..." to a pie, "Delete" of the cubic law, "Add..." of a bar series.
    TChartSeries* experiment = chart->Series2;
    ReplaceSeriesClass(experiment, TPieSeries::StaticClassInfo());
    delete chart->Series3;
    EXPECT_EQ(chart->Series3, nullptr);
    auto* added = new TBarSeries(chart.get());
    added->SetParentChart(c);
    added->Add(5, "", clDefault);

    main->sbrunClick(main->sbrun);
    EXPECT_TRUE(dialogs.Requests.empty());
    EXPECT_EQ(chart->Series2, experiment);
    EXPECT_EQ(chart->Series2->Count(), 10);
    main->SpeedButton1Click(main->SpeedButton1);   // the band goes after the user's series
    ASSERT_EQ(c->SeriesCount(), 5);
    EXPECT_EQ(c->Series(2), added);
    EXPECT_EQ(added->Count(), 1);
    EXPECT_EQ(c->Series(3)->Count(), chart->Series1->Count());

    delete c->Series(4);   // a band series deleted: the next band makes it again
    main->sbrunClick(main->sbrun);
    ASSERT_EQ(c->SeriesCount(), 3);   // the band left with the run
    EXPECT_EQ(c->Series(2), added);
    main->SpeedButton1Click(main->SpeedButton1);
    ASSERT_EQ(c->SeriesCount(), 5);
    EXPECT_EQ(c->Series(4)->Count(), chart->Series1->Count());
    EXPECT_EQ(added->Count(), 1);
}

} // namespace
