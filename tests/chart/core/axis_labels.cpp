// Axis increments and labels: the step choice for numeric, logarithmic and date-time
// ranges, the label values and texts, events, text labels and custom labels.
#include "axis_fixture.h"

#include "TeEngine/AxisLabelLoop.h"
#include "system/ScopeGuard.h"

#include <cmath>
#include <limits>

using namespace axistest;
using Strings = std::vector<std::string>;

using AxisLabels = AxisTest;
// Label texts and steps without a chart.
using AxisLabelValues = testsupport::ChartStartedTest;

namespace {

// A label pass over an axis' settings and a copy of its map.
struct LabelPass {
    explicit LabelPass(TChartAxis* Axis) : Map(Axis->Map()), Loop(*Axis, Map, Formatter) {}
    TAxisScaleMap Map;
    TAxisLabelFormatter Formatter;
    TAxisLabelLoop Loop;
};

}  // namespace

TEST_F(AxisLabels, NextStepValueWalksOneTwoFive)
{
    EXPECT_DOUBLE_EQ(NextStepValue(0.3), 0.5);
    EXPECT_DOUBLE_EQ(NextStepValue(7), 10);
    EXPECT_DOUBLE_EQ(NextStepValue(20), 50);
    EXPECT_DOUBLE_EQ(NextStepValue(1), 2);
    EXPECT_DOUBLE_EQ(NextStepValue(2), 5);
    EXPECT_DOUBLE_EQ(NextStepValue(5), 10);
    EXPECT_DOUBLE_EQ(NextStepValue(10), 20);
    EXPECT_DOUBLE_EQ(NextStepValue(0.0125), 0.02);
    // Exact round steps, so that labels counted down from the top land on 0.
    EXPECT_EQ(NextStepValue(5000), 10000);
    EXPECT_EQ(NextStepValue(3e-4), 5e-4);
    EXPECT_EQ(NextStepValue(1.5e7), 2e7);
    for (double s : {1e-300, 3e-9, 0.999, 1.0001, 9.99, 123456.0, 1e300})
        EXPECT_GT(NextStepValue(s), s) << s;
    // Nothing to grow: answered as given rather than looping.
    EXPECT_EQ(NextStepValue(0), 0);
    EXPECT_TRUE(std::isnan(NextStepValue(std::nan(""))));
}

TEST_F(AxisLabelValues, NumericStepGrowsUntilTheLabelsFit)
{
    TAxisStepSettings steps;   // a label separation of 10 %
    EXPECT_DOUBLE_EQ(NumericLabelStep(steps, 10, 5, false), 2);
    steps.LabelsSeparation = 0;
    EXPECT_DOUBLE_EQ(NumericLabelStep(steps, 10, 5, false), 10.0 / 6);
    steps.Increment = 3;
    EXPECT_DOUBLE_EQ(NumericLabelStep(steps, 10, 5, false), 3);
    EXPECT_EQ(NumericLabelStep(TAxisStepSettings{}, 0, 5, false), 1);
    // Whole steps: one label per point at most.
    EXPECT_DOUBLE_EQ(NumericLabelStep(TAxisStepSettings{}, 2, 10, false), 0.2);
    EXPECT_EQ(NumericLabelStep(TAxisStepSettings{}, 2, 10, true), 1);
}

TEST_F(AxisLabels, FewPointsAlongTheAxisTakeWholeSteps)
{
    // Three points along X: one label per point at most; none on the Y axis.
    AddSeries({{0, 1}, {1, 5}, {2, 3}});
    Layout();
    EXPECT_EQ(LabelPass(chart->BottomAxis()).Loop.StepForCount(10), 1);
    EXPECT_DOUBLE_EQ(LabelPass(chart->LeftAxis()).Loop.StepForCount(10), 0.5);
    EXPECT_EQ(LabelPass(chart->BottomAxis()).Loop.StepForCount(0), 1e-12);
}

TEST_F(AxisLabels, IncrementChoiceEndsForExtremeRanges)
{
    TChartAxis* a = chart->LeftAxis();
    Layout();
    const double inf = std::numeric_limits<double>::infinity();
    for (auto [lo, hi] : std::vector<std::pair<double, double>>{
             {0, 1e308}, {-1e308, 1e308}, {0, 1e-300}, {0, inf}, {0, std::nan("")}}) {
        EXPECT_FALSE(NumericLabelStep(TAxisStepSettings{}, hi - lo, 10, false) == 0) << lo << ".." << hi;
        EXPECT_GT(DateTimeLabelStep(0, hi - lo, 10), 0) << lo << ".." << hi;
        a->SetRangeInUse(lo, hi);
        a->CalcLabels(nullptr);   // must end
    }
    // A logarithmic base below 1 cannot shrink the step for ever.
    EXPECT_GE(NumericLabelStep(TAxisStepSettings{0, 10, true, 0.5}, 1e6 - 1, 3, false), 1e6 / 4);
    a->SetFixedRange(1, 1e6);
    a->SetLogarithmicBase(0.5);
    a->SetLogarithmic(true);
    Layout();
    a->CalcLabels(nullptr);
}

TEST_F(AxisLabelValues, DateTimeStepTakesCalendarSteps)
{
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 3650, 4), 4 * 365.0);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 1, 8), 0.25);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 1, 30), 1.0 / 24);
    // More than a million steps of the wanted increment: it starts from range / 1e6.
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(DateTimeStep[dtOneMicroSecond], 100, 2000000), 100 / 1e6);
}

TEST_F(AxisLabelValues, TextsFollowThePictureTheDecimalsAndTheDates)
{
    struct Case {
        double Value;
        std::string Format;   // empty: the default picture
        bool Logarithmic;
        int Decimals;
        std::string Text;
    };
    const Case cases[] = {
        {1234567.891, "", false, 3, "1,234,567.891"},
        {0.12345, "", false, 3, "0.123"},
        {0.0005, "", false, 3, "0.001"},
        {1e-17, "", false, 3, "0"},
        {123456789012.0, "", false, 3, "123,456,789,012"},
        // Beyond fifteen digits the general format, to twelve digits.
        {5.00000000000001e306, "", false, 3, "5E306"},
        // The step's decimals widen the default picture only.
        {0.000095, "", false, 6, "0.000095"},
        {0.000095, "", false, 3, "0"},
        {0.000095, "0.00", false, 6, "0.00"},
        // Logarithmic powers below the picture's reach keep their value.
        {1e-6, "", true, 3, "1E-6"},
        {std::exp(-1.0), "", true, 3, "0.368"},
        {0.0015, "", true, 3, "0.0015"},
        {0.0005, "0.00", true, 3, "0.00"},
    };
    for (const Case& c : cases) {
        TAxisLabelFormatter formatter;
        formatter.SetDecimals(c.Decimals);
        TAxisLabelSettings labels;
        if (!c.Format.empty())
            labels.ValuesFormat = c.Format;
        EXPECT_EQ(formatter.Text(c.Value, labels, c.Logarithmic, false, 1), c.Text) << c.Value << " " << c.Format;
    }
    // Dates: none before day 0; the format given, else by the range (a day: time of day).
    TAxisLabelFormatter formatter;
    TAxisLabelSettings labels;
    EXPECT_EQ(formatter.Text(45000.25, labels, false, true, 2), "3/15/2023");
    labels.DateTimeFormat = "yyyy-mm-dd hh:nn";
    EXPECT_EQ(formatter.Text(45000.5, labels, false, true, 1), "2023-03-15 12:00");
    EXPECT_EQ(formatter.Text(-1, labels, false, true, 1), "");
    // When the default picture takes the decimals of the step.
    TAxisStepSettings steps;
    EXPECT_TRUE(TAxisLabelFormatter::StepNeedsDecimals(0.0001, labels, steps, false));
    EXPECT_FALSE(TAxisLabelFormatter::StepNeedsDecimals(0.001, labels, steps, false));
    EXPECT_FALSE(TAxisLabelFormatter::StepNeedsDecimals(0.0001, labels, steps, true));
    steps.Logarithmic = true;
    EXPECT_FALSE(TAxisLabelFormatter::StepNeedsDecimals(0.0001, labels, steps, false));
}

TEST_F(AxisLabelValues, KeptTextsFollowANewFormatAndNewSeparators)
{
    TAxisLabelFormatter formatter;
    TAxisLabelSettings labels;
    EXPECT_EQ(formatter.Text(1234567.891, labels, false, false, 1), "1,234,567.891");
    labels.ValuesFormat = "0.0";
    EXPECT_EQ(formatter.Text(1234567.891, labels, false, false, 1), "1234567.9");
    {
        auto restore = RestoreOnExit(FormatSettings());
        FormatSettings().DecimalSeparator = ',';
        EXPECT_EQ(formatter.Text(1234567.891, labels, false, false, 1), "1234567,9");
    }
    EXPECT_EQ(formatter.Text(1234567.891, labels, false, false, 1), "1234567.9");
    // Minus zero keeps its own text.
    EXPECT_EQ(formatter.Text(-0.0, labels, false, false, 1), FormatFloat("0.0", -0.0));
    EXPECT_EQ(formatter.Text(0.0, labels, false, false, 1), "0.0");
}

TEST_F(AxisLabels, ValueLabelsForTypicalRanges)
{
    TChartAxis* y = chart->LeftAxis();
    TChartAxis* x = chart->BottomAxis();
    AddSeries({{0, 0}});   // the axes show values
    y->SetFixedRange(0, 1);
    x->SetFixedRange(0, 1e6);
    Layout();
    std::vector<Label> ys = LabelsOf(y);
    ASSERT_EQ(ys.size(), 21u);
    EXPECT_EQ(ys.front().Text, "1");
    EXPECT_EQ(ys[1].Text, "0.95");
    EXPECT_EQ(ys[2].Text, "0.9");
    EXPECT_EQ(ys.back().Text, "0");
    EXPECT_EQ(ys.front().Pos, 20);
    EXPECT_EQ(ys.back().Pos, 320);
    EXPECT_EQ(y->Tick.size(), 21u);

    EXPECT_EQ(Texts(LabelsOf(x)), (Strings{"1,000,000", "800,000", "600,000", "400,000", "200,000", "0"}));

    y->SetFixedRange(-50, -10);
    Layout();
    std::vector<Label> neg = LabelsOf(y);
    ASSERT_EQ(neg.size(), 21u);
    EXPECT_EQ(neg.front().Text, "-10");
    EXPECT_EQ(neg[1].Text, "-12");
    EXPECT_EQ(neg.back().Text, "-50");

    // One label for no range.
    y->SetFixedRange(2, 2);
    Layout();
    y->SetRangeInUse(2, 2);
    EXPECT_EQ(Texts(LabelsOf(y)), Strings{"2"});
}

TEST_F(AxisLabels, ADayOfDatesIsLabelledByTimeOfDay)
{
    TChartSeries* s = AddSeries({{45000, 1}, {45001, 2}});
    s->XValues()->SetDateTime(true);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(chart->BottomAxis())),
              (Strings{"12:00 AM", "6:00 PM", "12:00 PM", "6:00 AM", "12:00 AM"}));
    chart->BottomAxis()->SetDateTimeFormat("yyyy-mm-dd hh:nn");
    EXPECT_EQ(chart->BottomAxis()->LabelValueText(45000.5), "2023-03-15 12:00");
}

TEST_F(AxisLabels, LogarithmicLabelsArePowersOrMultiplesOfTheLowerPower)
{
    TChartAxis* y = chart->LeftAxis();
    AddSeries({{0, 1}});
    y->SetFixedRange(1, 1000);
    y->SetLogarithmic(true);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"1", "10", "100", "1,000"}));

    // Without a label separation the labels are never thinned: every multiple shows.
    y->SetLabelsSeparation(0);
    y->SetFixedRange(2, 8);
    Layout();
    std::vector<Label> labels = LabelsOf(y);
    ASSERT_EQ(labels.size(), 61u);
    EXPECT_EQ(labels.front().Text, "2");
    EXPECT_EQ(labels[1].Text, "2.1");
    EXPECT_EQ(labels.back().Text, "8");

    // Powers below the default picture's 0.001 keep their values rather than all reading
    // "0"; the others, and the labels of a user's own format, stay as the picture gives.
    y->SetFixedRange(1e-6, 1);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"1E-6", "0.00001", "0.0001", "0.001", "0.01", "0.1", "1"}));
    y->SetFixedRange(0.0002, 0.0008);
    Layout();
    labels = LabelsOf(y);
    ASSERT_GE(labels.size(), 51u);
    EXPECT_EQ(labels.front().Text, "0.0002");
    EXPECT_EQ(labels[9].Text, "0.00029");
    EXPECT_EQ(labels[50].Text, "0.0007");
    EXPECT_EQ(y->LabelValueText(0.0015), "0.0015");
}

namespace {

// Every label stands half its own and half its neighbour's size, plus the separation
// (10 % of the larger), from the next; ticks stand at the labels only.
void ExpectLabelsApart(TChartAxis* Axis, const std::vector<Label>& Labels, const std::string& Case)
{
    const bool heights = Axis->Horizontal() ? Axis->LabelsAngle() == 90 : Axis->LabelsAngle() == 0;
    const auto size = [&](const Label& L) { return heights ? 13 : 6 * static_cast<int>(L.Text.size()); };
    for (size_t i = 1; i < Labels.size(); ++i) {
        const int a = size(Labels[i - 1]);
        const int b = size(Labels[i]);
        EXPECT_GE(std::abs(Labels[i].Pos - Labels[i - 1].Pos), (a + b) / 2.0 + std::nearbyint(0.1 * std::max(a, b)))
            << Case << ": " << Labels[i - 1].Text << " and " << Labels[i].Text;
    }
    EXPECT_EQ(Axis->Tick.size(), Labels.size()) << Case;
}

}  // namespace

TEST_F(AxisLabels, CrowdedPowersAreThinnedToEveryKthKeepingTheUnitPower)
{
    AddSeries({{1, 1}});
    struct Case {
        bool Horizontal;
        double Base;
        double Low;
        bool Inverted;
        int Angle;
        size_t Count;  // labels of the smallest k that fits
        bool Alternate = false;
    };
    // 300 pixels high, 400 wide; labels 13 pixels high, 6 per character wide.
    const Case cases[] = {
        {false, 10, 1e-23, false, 0, 12},            // 13 pixels a decade: every 2nd
        {false, 10, 1e-23, true, 0, 12},             // the same, upside down
        {false, 2, std::ldexp(1.0, -80), false, 0, 20},  // 3.75 pixels a power: every 4th
        {false, std::exp(1.0), std::exp(-30.0), false, 0, 15},  // 10 pixels: every 2nd
        {true, 10, 1e-23, false, 0, 12},             // "1E-22" is 30 wide in 17 pixels
        {true, 10, 1e-23, true, 90, 23},             // upright, 13 high in 17 pixels: all fit
        {true, 2, std::ldexp(1.0, -80), false, 90, 27},  // 5 pixels a power: every 3rd
        {false, 10, 1e-23, false, 0, 23, true},      // on alternate rows 26 pixels apart: all fit
    };
    for (const Case& c : cases) {
        TChartAxis* a = c.Horizontal ? chart->BottomAxis() : chart->LeftAxis();
        a->SetLogarithmicBase(c.Base);
        a->SetLogarithmic(true);
        a->SetInverted(c.Inverted);
        a->SetLabelsAngle(c.Angle);
        a->SetLabelsAlternate(c.Alternate);
        a->SetFixedRange(c.Low * 1.0001, 2);  // Low itself is left out
        Layout();
        const std::vector<Label> labels = LabelsOf(a);
        const std::string name = std::string(c.Horizontal ? "horizontal" : "vertical") + " base " +
                                 std::to_string(c.Base) + " angle " + std::to_string(c.Angle);
        EXPECT_EQ(labels.size(), c.Count) << name;
        EXPECT_EQ(labels.empty() ? "" : labels.back().Text, "1") << name;  // the anchor
        if (!c.Alternate)
            ExpectLabelsApart(a, labels, name);
        a->SetLogarithmic(false);
        a->SetInverted(false);
        a->SetLabelsAngle(0);
        a->SetLabelsAlternate(false);
    }
}

TEST_F(AxisLabels, CrowdedMultiplesOfTheLowerPowerStepByOneTwoOrFive)
{
    AddSeries({{1, 1}});
    const Strings wholes{"2", "3", "4", "5", "6", "7", "8", "9"};
    const Strings halves{"2", "2.5", "3", "3.5", "4", "4.5", "5", "5.5", "6", "6.5", "7", "7.5", "8", "8.5", "9"};
    for (TChartAxis* a : {chart->LeftAxis(), chart->BottomAxis()}) {
        a->SetLogarithmic(true);
        a->SetFixedRange(2, 9);
        Layout();
        // Near 9, steps of 0.5 stand 11 pixels apart on the left (labels 13 high) and 15
        // at the bottom ("8.5" is 18 wide, "9" 6); 0.2 and 0.1 stand closer still.
        const std::vector<Label> labels = LabelsOf(a);
        EXPECT_EQ(Texts(labels), a->Horizontal() ? halves : wholes);
        ExpectLabelsApart(a, labels, a->Horizontal() ? "bottom" : "left");
        a->SetLogarithmic(false);
    }
}

TEST_F(AxisLabels, ARangeBelowTheNearestPowerIsLabelledByMultiplesOfTheLowerPower)
{
    // 4..8 rounds to the power 10, past its maximum: the multiples of 1 label it.
    AddSeries({{1, 1}});
    TChartAxis* y = chart->LeftAxis();
    y->SetLogarithmic(true);
    y->SetFixedRange(4, 8);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"4", "5", "6", "7", "8"}));
}

TEST_F(AxisLabels, NextLabelEventChoosesTheValues)
{
    TChartAxis* y = chart->LeftAxis();
    AddSeries({{0, 0}});
    y->SetFixedRange(0, 10);
    Layout();
    const size_t defaults = LabelsOf(y).size();

    int calls = 0;
    chart->OnGetNextAxisLabel = [&](TChartAxis*, int, double&, bool&) { ++calls; };
    EXPECT_EQ(LabelsOf(y).size(), defaults);
    EXPECT_EQ(calls, 1);

    chart->OnGetNextAxisLabel = [](TChartAxis*, int Index, double& V, bool& Stop) {
        Stop = false;
        V = Index * 3;
    };
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"0", "3", "6", "9"}));

    calls = 0;
    chart->OnGetNextAxisLabel = [&](TChartAxis*, int, double& V, bool& Stop) {
        ++calls;
        Stop = false;
        V = 5;
    };
    EXPECT_EQ(LabelsOf(y).size(), 2001u);
    EXPECT_EQ(calls, 2001);
}

TEST_F(AxisLabels, TextLabelsComeFromThePointsAndSkipOverlaps)
{
    TChartSeries* s = AddSeries({{0, 1}, {0.1, 2}, {10, 3}});
    s->SetLabel(0, "alpha");
    s->SetLabel(1, "beta");
    s->SetLabel(2, "gamma");
    TChartAxis* x = chart->BottomAxis();
    Layout();
    EXPECT_EQ(x->GetLabelStyle(), talText);
    EXPECT_EQ(chart->LeftAxis()->GetLabelStyle(), talValue);
    EXPECT_EQ(chart->TopAxis()->GetLabelStyle(), talNone);
    EXPECT_EQ(Texts(LabelsOf(x)), (Strings{"alpha", "gamma"}));
    x->SetLabelsSeparation(0);
    EXPECT_EQ(Texts(LabelsOf(x)), (Strings{"alpha", "beta", "gamma"}));
    EXPECT_EQ(x->MaxLabelsWidth(), 30);

    // An empty text from the event passes the point on to the next series.
    TChartSeries* other = AddSeries({{0, 5}});
    other->SetLabel(0, "other");
    chart->OnGetAxisLabel = [&](TChartAxis*, TChartSeries* S, int Index, std::string& Text) {
        if (S == s && Index == 0)
            Text.clear();
    };
    EXPECT_EQ(Texts(LabelsOf(x)), (Strings{"other", "beta", "gamma"}));
}

TEST_F(AxisLabels, CustomLabelsWithinTheRangeReplaceTheValues)
{
    TChartAxis* y = chart->LeftAxis();
    AddSeries({{0, 0}});
    y->SetFixedRange(0, 100);
    y->Items()->AddText(25, "quarter");
    y->Items()->Add(50);
    y->Items()->AddText(150, "outside");
    Layout();
    std::vector<TAxisItem*> formats;
    std::vector<Label> labels;
    y->CalcLabels([&](int P, const std::string& Text, TAxisItem* Format) {
        labels.push_back({P, Text});
        formats.push_back(Format);
    });
    EXPECT_EQ(Texts(labels), (Strings{"quarter", "50"}));
    EXPECT_EQ(labels[0].Pos, 245);
    EXPECT_EQ(formats[0], y->Items()->Item(0));
    EXPECT_EQ(y->MaxLabelsWidth(), 42);
    y->Items()->Clear();
    EXPECT_EQ(y->Items()->Count(), 0);
}

TEST_F(AxisLabels, WithoutLabelsOnAxisTheEndsAreLeftOutAndMeasuringKeepsTheEvent)
{
    AddSeries({{0, 0}, {10, 10}});
    chart->OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int, std::string& Text) { Text += " K"; };
    for (TChartAxis* a : {chart->LeftAxis(), chart->BottomAxis()}) {
        a->SetFixedRange(0, 10);
        a->SetIncrement(2);
        a->SetLabelsOnAxis(false);
    }
    Layout();
    for (TChartAxis* a : {chart->LeftAxis(), chart->BottomAxis()}) {
        std::vector<Label> labels;
        a->CalcLabels([&](int P, const std::string& Text, TAxisItem*) { labels.push_back({P, Text}); });
        EXPECT_EQ(Texts(labels), (Strings{"8 K", "6 K", "4 K", "2 K"})) << a->Horizontal();
    }
    // Measuring switches the event off only for its own texts.
    chart->LeftAxis()->MaxLabelsWidth();
    EXPECT_EQ(chart->LeftAxis()->LabelValueText(5), "5 K");
}

TEST_F(AxisLabels, AnAxisFromExactlyZeroLabelsZero)
{
    TChartAxis* x = chart->BottomAxis();
    AddSeries({{0, 0}, {99999, 1}});
    x->SetFixedRange(0, 99999);
    Layout();
    std::vector<Label> labels;
    x->CalcLabels([&](int P, const std::string& Text, TAxisItem*) { labels.push_back({P, Text}); });
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back().Text, "0");
}

TEST_F(AxisLabels, AnIncrementThatMeetsTheEndWithinRoundingLabelsIt)
{
    // 0.6 / 0.2 and 0.2 + 0.2 + 0.2 miss 3 and 0.6 in the last place.
    TChartAxis* y = chart->LeftAxis();
    AddSeries({{0, 0}});
    y->SetIncrement(0.2);
    y->SetFixedRange(0, 0.6);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"0.6", "0.4", "0.2", "0"}));
    EXPECT_EQ(LabelsOf(y).front().Pos, 20);
    y->SetFixedRange(-0.6, 0);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"0", "-0.2", "-0.4", "-0.6"}));
    EXPECT_EQ(LabelsOf(y).back().Pos, 320);
    // An end that lies a real fraction of a step off is no label.
    y->SetFixedRange(-0.59, 0.61);
    Layout();
    EXPECT_EQ(Texts(LabelsOf(y)), (Strings{"0.6", "0.4", "0.2", "0", "-0.2", "-0.4"}));
}

TEST_F(AxisLabels, TextsFollowTheFormatEventAndLineRules)
{
    TChartAxis* y = chart->LeftAxis();
    y->SetAxisValuesFormat("0.0");
    EXPECT_EQ(y->LabelValueText(1234567.891), "1234567.9");
    y->SetAxisValuesFormat("#,##0.###");
    chart->OnGetAxisLabel = [](TChartAxis*, TChartSeries* S, int Index, std::string& Text) {
        if (S == nullptr && Index == -1)
            Text += " K";
    };
    y->SetLabelsMultiLine(true);
    const std::string text = y->LabelValueText(5);
    EXPECT_EQ(text, std::string("5") + TeeLineSeparator + "K");
    EXPECT_EQ(CountLabelLines(text), 2);
    EXPECT_EQ(CountLabelLines(""), 0);
    int lines = 0;
    EXPECT_EQ(MultiLineTextWidth(chart.get(), "ab\rcdef\rg", lines), 24);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(MultiLineTextWidth(chart.get(), "", lines), 0);
    EXPECT_EQ(lines, 0);
    // Along a vertical axis a label takes its lines' height; turned, its width.
    EXPECT_EQ(LabelPass(y).Loop.LabelSize(5), 26);
    y->SetLabelsAngle(90);
    EXPECT_EQ(LabelPass(y).Loop.LabelSize(5), 6);
}

TEST_F(AxisLabels, AlternateLabelsHalveTheStep)
{
    TChartAxis* y = chart->LeftAxis();
    AddSeries({{0, 0}});
    y->SetFixedRange(0, 1);
    Layout();
    const double step = LabelPass(y).Loop.Step();
    y->SetLabelsAlternate(true);
    EXPECT_DOUBLE_EQ(LabelPass(y).Loop.Step(), step * 0.5);
    EXPECT_DOUBLE_EQ(NearestPowerOfBase(300, 10), 100);
    EXPECT_DOUBLE_EQ(NearestPowerOfBase(400, 10), 1000);
}

TEST_F(AxisLabels, HorizontalValueLabelsNeverTouch)
{
    // A line of ten points: whole steps, and label counts rounded up to the room.
    AddSeries({{4, 0}, {8, 1}, {12, 2}, {16, 3}, {20, 4}, {24, 5}, {28, 6}, {32, 7}, {36, 8}, {40, 9}});
    TChartAxis* x = chart->BottomAxis();
    for (double top = 20; top <= 45; top += 0.25) {
        x->SetFixedRange(0, top);
        Layout();
        std::vector<Label> labels = LabelsOf(x);
        ASSERT_GE(labels.size(), 2u) << top;
        for (size_t i = 1; i < labels.size(); ++i) {
            const int halves = 3 * static_cast<int>(labels[i - 1].Text.size() + labels[i].Text.size());
            // A blank (6 pixels) at least between the texts.
            EXPECT_GE(labels[i - 1].Pos - labels[i].Pos, halves + 6)
                << top << ": " << labels[i - 1].Text << " and " << labels[i].Text;
        }
    }
}

TEST_F(AxisLabels, HugeValuesKeepAFiniteRangeAndShortLabels)
{
    AddSeries({{0, 0}});
    TChartAxis* y = chart->LeftAxis();
    for (double top : {1e300, 1e308, 1.79e308}) {
        y->SetFixedRange(0, top);
        Layout();
        // Margins of 6 pixels at both ends, as a series' pointers ask.
        y->FitToRect(TRect(0, 6, 0, 6));
        ASSERT_TRUE(std::isfinite(y->Map().Minimum) && std::isfinite(y->Map().Maximum)) << top;
        ASSERT_GE(y->Map().Maximum, top) << top;
        std::vector<Label> labels = LabelsOf(y);
        ASSERT_GE(labels.size(), 2u) << top;
        // Steps of a round tenth of the range: round texts, without noise.
        for (const Label& l : labels)
            EXPECT_LE(l.Text.size(), 7u) << l.Text;
        EXPECT_EQ(labels.back().Text, "0") << top;
    }
}

TEST_F(AxisLabels, DeepZoomLabelsShowTheDecimalsThatTellThemApart)
{
    AddSeries({{0, 0}});
    TChartAxis* y = chart->LeftAxis();
    TChartAxis* x = chart->BottomAxis();
    y->SetFixedRange(0, 0.0001);
    x->SetFixedRange(12.5681, 12.5683);
    Layout();
    std::vector<Label> ys = LabelsOf(y);
    ASSERT_GE(ys.size(), 3u);
    EXPECT_EQ(ys.front().Text, "0.0001");
    EXPECT_EQ(ys[1].Text, "0.000095");
    EXPECT_EQ(ys.back().Text, "0");
    std::vector<Label> xs = LabelsOf(x);
    ASSERT_GE(xs.size(), 2u);
    EXPECT_EQ(xs.front().Text, "12.5683");
    EXPECT_EQ(xs.back().Text, "12.5681");
    for (size_t i = 1; i < xs.size(); ++i) {
        EXPECT_NE(xs[i - 1].Text, xs[i].Text);
        // The wider texts still keep apart.
        EXPECT_GT(xs[i - 1].Pos - xs[i].Pos, 3 * static_cast<int>(xs[i - 1].Text.size() + xs[i].Text.size()));
    }
    // An ordinary step keeps the picture's three decimals; a chosen format is kept.
    y->SetFixedRange(0, 1);
    Layout();
    EXPECT_EQ(LabelsOf(y)[1].Text, "0.95");
    y->SetFixedRange(0, 0.0001);
    y->SetAxisValuesFormat("0.00");
    Layout();
    EXPECT_EQ(LabelsOf(y)[1].Text, "0.00");
}
