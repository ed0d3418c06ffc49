// The series types and functions in the series-type registry after the units start:
// order, gallery names, pages and counts; series made through the registry with sample
// values and gallery previews.
#include "series_fixture.h"

#include "ArrowCha.h"
#include "BubbleCh.h"
#include "Chart.h"
#include "chart_fixture.h"
#include "GanttCh.h"
#include "ShapeSeries.h"
#include "TeeFunci.h"
#include "system/Random.h"

#include <string>
#include <vector>

namespace seriestest {
namespace {

struct SeriesRegistration : SeriesTest {
    void SetUp() override
    {
        SeriesTest::SetUp();
        RegisterSeriesUnitTypes();   // as the gallery's start-up does, after the series units
        TeeFunciInitialization();    // a second start-up registers nothing twice
        RegisterSeriesUnitTypes();
    }
    void TearDown() override
    {
        TeeFunciFinalization();
        SeriesTest::TearDown();
    }
    std::string Entry(int Index) const
    {
        const TTeeSeriesType* t = SeriesTypeList()->Get(Index);
        const TClassInfo* c = t->SeriesClass != nullptr ? t->SeriesClass : t->FunctionClass;
        return c->ClassName + "|" + t->DescriptionText() + "|" + t->GalleryPageText() + "|" +
               std::to_string(t->NumGallerySeries);
    }
};

TEST_F(SeriesRegistration, TypesAndFunctionsInRegistrationOrder)
{
    const std::vector<std::string> expected = {
        "TLineSeries|Line|Standard|2",
        "TBarSeries|Bar|Standard|2",
        "THorizBarSeries|Horizontal\rBar|Standard|2",
        "TAreaSeries|Area|Standard|2",
        "TPointSeries|Point|Standard|2",
        "TPieSeries|Pie|Standard|1",
        "TFastLineSeries|Fast Line|Standard|2",
        "THorizLineSeries|Horizontal\rLine|Standard|1",
        "THorizAreaSeries|Horizontal\rArea|Standard|1",
        "TAddTeeFunction|Add|Standard|2",
        "TSubtractTeeFunction|Subtract|Standard|2",
        "TMultiplyTeeFunction|Multiply|Standard|2",
        "TDivideTeeFunction|Divide|Standard|2",
        "THighTeeFunction|High|Standard|2",
        "TLowTeeFunction|Low|Standard|2",
        "TAverageTeeFunction|Average|Standard|2",
        "TCustomTeeFunction|y = f(x)|Standard|2",
        "TMedianTeeFunction|Median|Standard|2",
        "TModeTeeFunction|Mode|Standard|2",
        "TChartShape|Shape|Standard|2",
        "TGanttSeries|Gantt|Standard|1",
        "TArrowSeries|Arrow|Extended|2",
        "TBubbleSeries|Bubble|Standard|1",
    };
    std::vector<std::string> actual;
    for (int t = 0; t < SeriesTypeList()->Count(); ++t)
        actual.push_back(Entry(t));
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(SeriesTypeList()->Get(9)->SeriesClass, nullptr);
    EXPECT_EQ(GetClass("TMedianTeeFunction"), TMedianTeeFunction::StaticClassInfo());
}

TEST_F(SeriesRegistration, SeriesMadeByTheRegistryWithSamplesAndPreviews)
{
    RandSeed = 1234;
    auto* gantt = dynamic_cast<TGanttSeries*>(CreateSeriesInChart(&form, chart.get(), TGanttSeries::StaticClassInfo()));
    ASSERT_NE(gantt, nullptr);
    EXPECT_EQ(GalleryNameOfSeries(gantt), "Gantt");
    gantt->FillSampleValues(25);
    // At least ten tasks, rows 0..9 in turn with their labels, each lasting 9..24 days,
    // and every link pointing forward to a task that starts after its task ends.
    ASSERT_GE(gantt->Count(), 11);
    ASSERT_LE(gantt->Count(), 25);
    int links = 0;
    for (int t = 0; t < gantt->Count(); ++t) {
        EXPECT_EQ(gantt->YValue(t), t % 10);
        const double length = gantt->EndValues()->Value(t) - gantt->XValue(t);
        EXPECT_GE(length, 9);
        EXPECT_LE(length, 24);
        const int next = int(gantt->NextTask()->Value(t));
        if (next != -1) {
            ++links;
            EXPECT_GT(next, t);
            EXPECT_LE(gantt->EndValues()->Value(t), gantt->XValue(next));
        }
    }
    EXPECT_GT(links, 0);
    EXPECT_EQ(gantt->LabelText(1), "Prototyping");

    auto* bubbles = dynamic_cast<TBubbleSeries*>(CreateSeriesInChart(&form, chart.get(), TBubbleSeries::StaticClassInfo()));
    ASSERT_NE(bubbles, nullptr);
    bubbles->FillSampleValues();
    EXPECT_EQ(bubbles->Count(), 8);
    for (int t = 0; t < bubbles->Count(); ++t)
        EXPECT_GT(bubbles->RadiusValues()->Value(t), 0);

    // Shape previews: the chart's second series an "abc" circle, the others "123" triangles.
    chart->RemoveSeries(gantt);
    chart->RemoveSeries(bubbles);
    auto* first = new TChartShape(&form);
    auto* second = new TChartShape(&form);
    chart->AddSeries(first);
    chart->AddSeries(second);
    first->SetUpGalleryPreview(true);
    second->SetUpGalleryPreview(true);
    EXPECT_EQ(first->Style(), chasTriangle);
    EXPECT_EQ(first->Text()->Strings(0), "123");
    EXPECT_EQ(first->SeriesColor(), clRed);
    EXPECT_EQ(second->Style(), chasCircle);
    EXPECT_EQ(second->Brush()->Color(), clBlue);
    EXPECT_EQ(second->Font()->Color(), clYellow);
    EXPECT_EQ(second->Count(), 2);
    second->SetUpGalleryPreview(false);
    EXPECT_EQ(second->SeriesColor(), clSilver);
    EXPECT_EQ(second->Font()->Color(), clGray);
    second->ApplySubGalleryStyle(13);
    EXPECT_EQ(second->Style(), chasInvertPyramid);
    second->ApplySubGalleryStyle(14);
    EXPECT_TRUE(second->Transparent());
}

TEST_F(SeriesRegistration, SubGalleryStylesListedAndApplied)
{
    const auto styles = [](TChartSeries* S) {
        std::vector<std::string> names;
        S->AddSubGalleryStyles(names);
        return names;
    };
    auto* line = new TLineSeries(&form);
    auto* point = new TPointSeries(&form);
    auto* area = new TAreaSeries(&form);
    auto* fast = new TFastLineSeries(&form);
    auto* arrow = new TArrowSeries(&form);
    auto* bubble = new TBubbleSeries(&form);
    auto* shape = new TChartShape(&form);
    EXPECT_EQ(styles(line), (std::vector<std::string>{"Normal", "Stairs", "Points", "Height", "Hollow", "Colors",
                                                      "Marks", "No Border", "Outline"}));
    EXPECT_EQ(styles(new THorizLineSeries(&form)).size(), 9u);
    EXPECT_EQ(styles(point).size(), 13u);
    EXPECT_EQ(styles(point)[12], "Diamond");
    EXPECT_EQ(styles(bubble), styles(point));
    EXPECT_EQ(styles(new TGanttSeries(&form)), styles(point));
    EXPECT_EQ(styles(arrow).size(), 6u);   // no pointer styles
    EXPECT_EQ(styles(area).size(), 10u);
    EXPECT_EQ(styles(new THorizAreaSeries(&form)).size(), 10u);
    EXPECT_EQ(styles(fast), (std::vector<std::string>{"Normal", "Marks", "Dotted", "Stairs"}));
    EXPECT_EQ(styles(shape).size(), 15u);
    EXPECT_EQ(styles(shape)[4], "Ellipse");

    line->ApplySubGalleryStyle(3);
    EXPECT_EQ(line->LineHeight(), 5);
    point->ApplySubGalleryStyle(9);
    EXPECT_EQ(point->Pointer()->Style(), psCircle);
    EXPECT_EQ(point->Pointer()->HorizSize(), 8);
    arrow->ApplySubGalleryStyle(9);   // beyond its list: nothing
    EXPECT_EQ(arrow->Pointer()->Style(), psRectangle);
    area->ApplySubGalleryStyle(7);
    EXPECT_EQ(area->MultiArea(), maStacked100);
    fast->ApplySubGalleryStyle(2);
    EXPECT_TRUE(fast->LinePen()->SmallDots());
    shape->ApplySubGalleryStyle(4);
    EXPECT_EQ(shape->Style(), chasCircle);
}

// A series of each registered type without points, added to a chart that shows a line,
// neither stretches an axis (ranges, margins, depth) nor draws a pixel, flat and in 3D.
// A type that uses no axes hides them with or without points: only its ranges count.
TEST_F(SeriesRegistration, SeriesWithoutPointsOfEveryTypeAddNothingToTheChart)
{
    constexpr int W = 300, H = 200;
    for (int t = 0; t < SeriesTypeList()->Count(); ++t)
        for (const bool view3D : {false, true}) {
            const TTeeSeriesType* type = SeriesTypeList()->Get(t);
            SCOPED_TRACE(type->DescriptionText() + (view3D ? " in 3D" : " flat"));
            auto c = charttest::MakeChart(W, H);
            c->SetView3D(view3D);
            auto* line = new TLineSeries(&form);
            line->SetSeriesColor(clRed);
            line->AddPointXY(1, 2);
            line->AddPointXY(4, 7);
            line->AddPointXY(6, 3);
            c->AddSeries(line);
            const auto ranges = [&] {
                std::vector<double> r;
                for (TChartAxis* a : {c->LeftAxis(), c->BottomAxis(), static_cast<TChartAxis*>(c->DepthAxis())})
                    r.insert(r.end(), {a->Map().Minimum, a->Map().Maximum});
                return r;
            };
            const auto before = c->DrawToBitmap(clWhite, TRect(0, 0, W, H));
            const std::vector<double> rangesBefore = ranges();
            TChartSeries* s = CreateSeriesInChart(&form, c.get(),
                                                  type->SeriesClass != nullptr ? type->SeriesClass
                                                                               : TLineSeries::StaticClassInfo(),
                                                  type->FunctionClass);
            s->Clear();   // the shape's two corners
            ASSERT_EQ(s->Count(), 0);
            const auto after = c->DrawToBitmap(clWhite, TRect(0, 0, W, H));
            EXPECT_EQ(ranges(), rangesBefore);
            if (!s->UseAxis())
                continue;
            int differing = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    differing += Px(*before, x, y) != Px(*after, x, y);
            EXPECT_EQ(differing, 0);
        }
}

} // namespace
} // namespace seriestest
