// Random sample values, gallery previews, and the refresh of a series that has no data
// source (a function that computes from nothing, a series in a design state).
#include "chart_fixture_support.h"

#include "system/Random.h"
#include "system/SysUtils.h"

#include <cmath>

namespace {

using charttest::ChartTest;

TEST_F(ChartTest, SampleValuesCountRangeAndRepeatableSequence)
{
    auto* s = new TChartSeries(&form);
    chart->AddSeries(s);
    EXPECT_THROW(
        try { s->FillSampleValues(-1); } catch (const ChartException& e) {
            EXPECT_STREQ(e.what(), "FillSampleValues NumValues must be > 0");
            throw;
        },
        ChartException);
    s->SetManualData(true);
    RandSeed = 1;
    s->FillSampleValues();
    ASSERT_EQ(s->Count(), 25);
    EXPECT_FALSE(s->ManualData());
    // Alone in the chart: X runs 0..24 and Y stays within reach of 0..1000.
    EXPECT_EQ(s->XValues()->First(), 0);
    EXPECT_EQ(s->XValues()->Last(), 24);
    for (int t = 0; t < s->Count(); ++t) {
        EXPECT_GE(s->YValue(t), 0);
        EXPECT_LE(s->YValue(t), 1250);
    }
    s->SetSampleCount(7);
    s->FillSampleValues(0);
    EXPECT_EQ(s->Count(), 7);

    // The same seed repeats the same points.
    auto* t = new TChartSeries(&form);
    RandSeed = 1;
    t->FillSampleValues();
    RandSeed = 1;
    s->FillSampleValues(25);
    ASSERT_EQ(t->Count(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(s->YValue(i), t->YValue(i)) << i;

    // A second series spreads over the X range the chart already shows; a flat Y range
    // of 5 becomes 5..10.
    s->Clear();
    s->AddPointXY(10, 5);
    s->AddPointXY(20, 5);
    t->Clear();
    chart->AddSeries(t);
    EXPECT_DOUBLE_EQ(t->SampleRange(11).MinY, 5);
    EXPECT_DOUBLE_EQ(t->SampleRange(11).RangeY, 5);
    t->FillSampleValues(11);
    EXPECT_EQ(t->XValues()->First(), 10);
    EXPECT_EQ(t->XValues()->Last(), 20);
}

TEST_F(ChartTest, GalleryPreviewSetsUpEverySeriesOfTheChart)
{
    auto* first = new TChartSeries(&form);
    auto* second = new TChartSeries(&form);
    chart->AddSeries(first);
    chart->AddSeries(second);
    second->SetColorEachPoint(true);
    second->Marks()->SetVisible(true);
    TTeeFunction function(nullptr);
    function.SetUpGalleryPreview(chart.get());
    EXPECT_EQ(first->Count(), 4);
    EXPECT_EQ(second->Count(), 4);
    EXPECT_FALSE(second->Marks()->Visible());
    EXPECT_EQ(second->Marks()->Font()->Size(), 7);
    EXPECT_EQ(second->Marks()->Callout()->Length(), 4);
    EXPECT_EQ(second->Marks()->DrawEvery(), 2);
    EXPECT_FALSE(second->ColorEachPoint());
    EXPECT_EQ(first->SeriesColor(), chart->PaletteColor(0));
    EXPECT_EQ(second->SeriesColor(), chart->PaletteColor(3));
    second->SetUpGalleryPreview(false);
    EXPECT_EQ(second->SeriesColor(), clSilver);
}

// Computes three points without any source.
class ThreePoints : public TTeeFunction {
public:
    using TTeeFunction::TTeeFunction;
    void AddPoints(TChartSeries* Source) override
    {
        if (Source == nullptr)
            for (int x = 0; x < 3; ++x)
                ParentSeries()->AddPointXY(x, x * x);
    }
};

TEST_F(ChartTest, SeriesWithoutSourceRefreshesFromItsFunctionOrSampleValues)
{
    auto* s = new TChartSeries(&form);
    chart->AddSeries(s);
    s->AddPointXY(7, 7);
    s->SetFunction(new ThreePoints(&form));
    ASSERT_EQ(s->Count(), 3);
    EXPECT_EQ(s->YValue(2), 4);
    s->SetActive(false);
    s->AddPointXY(9, 9);
    s->CheckDataSource();
    EXPECT_EQ(s->Count(), 4);   // an inactive function series is left alone

    // A plain series keeps its points, unless it is being designed.
    auto* plain = new TChartSeries(&form);
    chart->AddSeries(plain);
    plain->AddPointXY(1, 1);
    plain->CheckDataSource();
    EXPECT_EQ(plain->Count(), 1);
    plain->SetDesigning(true);
    plain->SetSampleCount(6);
    plain->CheckDataSource();
    EXPECT_EQ(plain->Count(), 6);
}

} // namespace
