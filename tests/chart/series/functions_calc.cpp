// The ten calculated functions against numbers worked out by hand on small sources: over
// a range of one source, across several sources at one index, by period through a parent
// series, and y = f(x) without a source.
#include "series_fixture.h"

#include "TeeFunci.h"

#include <vector>

namespace seriestest {
namespace {

struct FunctionCalc : SeriesTest {
    // A series of the chart with X = 0..n-1 and the given Y values.
    TChartSeries* Source(std::initializer_list<double> Values)
    {
        auto* s = new TLineSeries(&form);
        double x = 0;
        for (double v : Values)
            s->AddPointXY(x++, v);
        chart->AddSeries(s);
        return s;
    }
    template <class F> F* Make() { return new F(&form); }
};

TEST_F(FunctionCalc, SumHighAndLowOverTheWholeSourceAndOverARange)
{
    TChartSeries* s = Source({9, 3, 7, 7, 2});
    auto* add = Make<TAddTeeFunction>();
    auto* high = Make<THighTeeFunction>();
    auto* low = Make<TLowTeeFunction>();
    EXPECT_EQ(add->CalculateRange(s, -1, -1), 28);
    EXPECT_EQ(add->CalculateRange(s, 1, 3), 17);
    EXPECT_EQ(add->CalculateRange(s, 3, 2), 0);
    EXPECT_EQ(high->CalculateRange(s, -1, -1), 9);
    EXPECT_EQ(low->CalculateRange(s, -1, -1), 2);
    // A range starts from its own first value, not from the source's first (9).
    EXPECT_EQ(high->CalculateRange(s, 1, 4), 7);
    EXPECT_EQ(low->CalculateRange(s, 1, 3), 3);
    EXPECT_EQ(low->CalculateRange(s, 2, 3), 7);
    EXPECT_EQ(high->CalculateRange(s, 4, 3), 0);
    // ... and ends with its own last value, where the extreme may lie.
    EXPECT_EQ(high->CalculateRange(s, 1, 2), 7);
    EXPECT_EQ(low->CalculateRange(s, 2, 4), 2);
}

TEST_F(FunctionCalc, AcrossSourcesAtOneIndex)
{
    TChartSeries* a = Source({10, 1, 2});
    TChartSeries* b = Source({0, 3, 4, 5, 6});
    TChartSeries* c = Source({2, -8, 1});
    const std::vector<TChartSeries*> abc{a, b, c};
    // Only the longer source reaches index 4.
    EXPECT_EQ(Make<TAddTeeFunction>()->CalculateAtIndex({a, b}, 4), 6);
    EXPECT_EQ(Make<TAddTeeFunction>()->CalculateAtIndex(abc, 1), -4);
    EXPECT_EQ(Make<TSubtractTeeFunction>()->CalculateAtIndex(abc, 1), 1 - 3 + 8);
    EXPECT_EQ(Make<TMultiplyTeeFunction>()->CalculateAtIndex(abc, 2), 2 * 4 * 1);
    // 10 / 0 leaves 10, then / 2.
    EXPECT_EQ(Make<TDivideTeeFunction>()->CalculateAtIndex({a, b, c}, 0), 5);
    EXPECT_EQ(Make<TDivideTeeFunction>()->CalculateAtIndex(abc, 7), 0);
    // Over one source there is nothing to combine.
    EXPECT_EQ(Make<TSubtractTeeFunction>()->CalculateRange(a, -1, -1), 0);
    EXPECT_EQ(Make<THighTeeFunction>()->CalculateAtIndex(abc, 1), 3);
    EXPECT_EQ(Make<TLowTeeFunction>()->CalculateAtIndex(abc, 1), -8);
    // Negative values only, the first source too short: the result is not the 0 it
    // would start from.
    TChartSeries* n1 = Source({-5});
    TChartSeries* n2 = Source({-5, -3});
    TChartSeries* n3 = Source({-5, -4});
    EXPECT_EQ(Make<THighTeeFunction>()->CalculateAtIndex({n1, n2, n3}, 1), -3);
    EXPECT_EQ(Make<TLowTeeFunction>()->CalculateAtIndex({n3, n2}, 0), -5);
    EXPECT_EQ(Make<TMedianTeeFunction>()->CalculateAtIndex({n1, n2, n3}, 1), -3.5);
    EXPECT_EQ(Make<TAverageTeeFunction>()->CalculateAtIndex({}, 0), 0);
}

TEST_F(FunctionCalc, AverageWithAndWithoutNullPoints)
{
    TChartSeries* s = Source({2});
    s->AddNullPointXY(1, 10);
    s->AddPointXY(2, 6);
    auto* avg = Make<TAverageTeeFunction>();
    EXPECT_EQ(avg->CalculateRange(s, -1, -1), 6);
    EXPECT_EQ(avg->CalculateRange(s, 1, 2), 8);
    avg->SetIncludeNulls(false);
    EXPECT_EQ(avg->CalculateRange(s, -1, -1), 4);
    EXPECT_EQ(avg->CalculateRange(s, 1, 1), 0);
    TChartSeries* t = Source({4, 4, 4});
    EXPECT_EQ(avg->CalculateAtIndex({s, t}, 1), 4);
    avg->SetIncludeNulls(true);
    EXPECT_EQ(avg->CalculateAtIndex({s, t}, 1), 7);
    EXPECT_EQ(avg->CalculateRange(Source({}), -1, -1), 0);
}

TEST_F(FunctionCalc, MedianOfOddAndEvenCountsAndMode)
{
    auto* median = Make<TMedianTeeFunction>();
    auto* mode = Make<TModeTeeFunction>();
    EXPECT_EQ(median->CalculateRange(Source({4, 1, 3, 2}), -1, -1), 2.5);
    EXPECT_EQ(median->CalculateRange(Source({3, 1, 2}), -1, -1), 2);
    EXPECT_EQ(median->CalculateRange(Source({9, 1, 9, 8, 2, 9}), -1, -1), 8.5);
    EXPECT_EQ(median->CalculateRange(Source({7}), -1, -1), 7);
    EXPECT_EQ(median->CalculateRange(Source({}), -1, -1), 0);
    EXPECT_EQ(median->CalculateRange(Source({100, 5, 1, 3, 100}), 1, 3), 3);
    TChartSeries* withNull = Source({1, 2, 3});
    withNull->AddNullPointXY(3, 100);
    EXPECT_EQ(median->CalculateRange(withNull, -1, -1), 2.5);
    median->SetIncludeNulls(false);
    EXPECT_EQ(median->CalculateRange(withNull, -1, -1), 2);

    EXPECT_EQ(mode->CalculateRange(Source({3, 2, 1, 3, 2}), -1, -1), 2);
    EXPECT_EQ(mode->CalculateRange(Source({5}), -1, -1), 5);
    EXPECT_EQ(mode->CalculateRange(Source({4, 1, 4, 2, 2, 4}), -1, -1), 4);
    // The last run counts too.
    EXPECT_EQ(mode->CalculateRange(Source({1, 7, 7}), -1, -1), 7);
    EXPECT_EQ(mode->CalculateRange(Source({}), -1, -1), 0);
}

TEST_F(FunctionCalc, MedianAndModeOfALongSourceWithNegativeValues)
{
    // 70,000 values k - 500.25 (k = 0..999, 70 of each) and 100 more each of -250.25
    // and 300.75: two runs of 170, of which the smaller value wins.
    TChartSeries* s = Source({});
    s->BeginUpdate();
    for (int t = 0; t < 70000; ++t)
        s->AddPointXY(t, (t * 7919) % 1000 - 500.25);
    for (int t = 0; t < 100; ++t) {
        s->AddPointXY(70000 + t, 300.75);
        s->AddPointXY(70100 + t, -250.25);
    }
    s->EndUpdate();
    EXPECT_EQ(Make<TModeTeeFunction>()->CalculateRange(s, -1, -1), -250.25);
    EXPECT_EQ(Make<TMedianTeeFunction>()->CalculateRange(s, -1, -1), -0.75);
}

TEST_F(FunctionCalc, AverageByPeriodThroughAParentSeries)
{
    TChartSeries* src = Source({1, 3, 5, 7, 9, 11, 13});
    auto* res = new TPointSeries(&form);
    chart->AddSeries(res);
    auto* avg = Make<TAverageTeeFunction>();
    avg->SetPeriod(2);
    res->SetFunction(avg);
    res->SetDataSource(src);
    // Periods of two points at X 0-1, 2-3, 4-5; the seventh point makes no period.
    ASSERT_EQ(res->Count(), 3);
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(res->XValue(t), 2 * t + 0.5);
        EXPECT_EQ(res->YValue(t), 4 * t + 2);
    }
    // The whole source: one level across a line series' X range.
    auto* line = new TLineSeries(&form);
    chart->AddSeries(line);
    line->SetFunction(Make<TMedianTeeFunction>());
    line->SetDataSource(src);
    ASSERT_EQ(line->Count(), 2);
    EXPECT_EQ(line->XValue(1), 6);
    EXPECT_EQ(line->YValue(0), 7);
    EXPECT_EQ(line->YValue(1), 7);
}

TEST_F(FunctionCalc, APeriodLongerThanTheSourceAddsNothing)
{
    TChartSeries* src = Source({4, 8, 6});
    auto* res = new TPointSeries(&form);
    chart->AddSeries(res);
    auto* high = Make<THighTeeFunction>();
    res->SetFunction(high);
    res->SetDataSource(src);
    // Exactly the source's length: one period over all of it.
    high->SetPeriod(3);
    ASSERT_EQ(res->Count(), 1);
    EXPECT_EQ(res->XValue(0), 1);
    EXPECT_EQ(res->YValue(0), 8);
    // One point more than the source holds: no complete period.
    high->SetPeriod(4);
    EXPECT_EQ(res->Count(), 0);
    high->SetPeriod(1e300);
    EXPECT_EQ(res->Count(), 0);
}

TEST_F(FunctionCalc, YOfXFillsItsSeriesWithoutASource)
{
    auto* f = Make<TCustomTeeFunction>();
    EXPECT_TRUE(f->NoSourceRequired());
    auto* res = new TLineSeries(&form);
    chart->AddSeries(res);
    res->SetFunction(f);
    res->AddPointXY(99, 99);
    f->AddPoints(nullptr);   // without OnCalculate nothing happens
    EXPECT_EQ(res->Count(), 1);
    f->SetNumPoints(3);
    f->SetPeriod(0.5);
    std::vector<double> xs;
    f->OnCalculate = [&](TCustomTeeFunction* Sender, double X, double& Y) {
        xs.push_back(Sender->X());
        Y = X * X;
    };
    // The series has no source: a recalculation refills it from the function alone.
    f->Recalculate();
    EXPECT_EQ(xs, (std::vector<double>{0, 0.5, 1}));
    ASSERT_EQ(res->Count(), 3);
    EXPECT_EQ(res->XValue(2), 1);
    EXPECT_EQ(res->YValue(1), 0.25);
    // A horizontal series takes the result along X.
    auto* horiz = new THorizLineSeries(&form);
    chart->AddSeries(horiz);
    auto* g = Make<TCustomTeeFunction>();
    horiz->SetFunction(g);
    g->SetStartX(2);
    g->SetNumPoints(1);
    g->OnCalculate = [](TCustomTeeFunction*, double X, double& Y) { Y = X + 10; };
    g->AddPoints(nullptr);
    ASSERT_EQ(horiz->Count(), 1);
    EXPECT_EQ(horiz->XValue(0), 12);
    EXPECT_EQ(horiz->YValue(0), 2);
}

} // namespace
} // namespace seriestest
