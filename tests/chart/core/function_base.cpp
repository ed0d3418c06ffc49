// Calculated functions: the whole source, periods of points and of X ranges (plain and
// calendar), alignment, the moving window, several sources, recalculation when a source
// or a setting changes, and who frees the function.
#include "tools_fixture.h"

#include "system/SysUtils.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

using toolstest::ToolsTest;

// Sums the read list over a range, or across the sources at one index.
template <class Base>
class SumOf : public Base {
public:
    explicit SumOf(TComponent* AOwner, bool* Freed = nullptr) : Base(AOwner), FFreed(Freed) {}
    ~SumOf() override
    {
        if (FFreed != nullptr)
            *FFreed = true;
    }
    double CalculateRange(TChartSeries* Source, int First, int Last) override
    {
        TChartValueList* list = this->ValueListText(Source);
        if (First == -1 && Last == -1)
            return list->Total();
        double sum = 0;
        for (int t = First; t <= Last; ++t)
            sum += list->Value(t);
        return sum;
    }
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override
    {
        double sum = 0;
        for (TChartSeries* s : Sources)
            if (Index < s->Count())
                sum += this->ValueListText(s)->Value(Index);
        return sum;
    }
    int Cleared = 0;
    void DataCleared() override { ++Cleared; }

private:
    bool* FFreed;
};
using SumFunction = SumOf<TTeeFunction>;
using MovingSum = SumOf<TTeeMovingFunction>;

// A series type that shows a whole-source result as a level line.
class LevelSeries : public TChartSeries {
public:
    explicit LevelSeries(TComponent* AOwner) : TChartSeries(AOwner) { FFunctionOnePoint = false; }
};

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TChartSeries* S)
{
    Points result;
    for (int t = 0; t < S->Count(); ++t)
        result.emplace_back(S->XValue(t), S->YValue(t));
    return result;
}

// The series' points, compared with a tolerance for positions computed in steps.
void ExpectPoints(const TChartSeries* S, const Points& Expected)
{
    const Points actual = PointsOf(S);
    ASSERT_EQ(actual.size(), Expected.size());
    for (size_t t = 0; t < actual.size(); ++t) {
        EXPECT_NEAR(actual[t].first, Expected[t].first, 1e-9) << "point " << t;
        EXPECT_NEAR(actual[t].second, Expected[t].second, 1e-9) << "point " << t;
    }
}

struct FunctionTest : ToolsTest {
    // A source with X = 0..Count-1 (plus Offset) and Y = X.
    TChartSeries* Source(const char* Name, int Count, double Offset = 0)
    {
        TChartSeries* s = AddSeries(Name);
        for (int t = 0; t < Count; ++t)
            s->AddPointXY(t + Offset, t + Offset);
        return s;
    }
    // A series of the chart computed by a new sum function from Src.
    template <class F = SumFunction>
    std::pair<TChartSeries*, F*> Computed(TChartSeries* Src, double Period = 0,
                                          TChartSeries* Series = nullptr)
    {
        TChartSeries* s = Series != nullptr ? Series : AddSeries("Result");
        auto* f = new F(&form);
        f->BeginUpdate();
        f->SetPeriod(Period);
        s->SetFunction(f);
        f->EndUpdate();
        s->SetDataSource(Src);
        return {s, f};
    }
};

TEST_F(FunctionTest, WholeSourceGivesOnePointOrALevelLine)
{
    TChartSeries* src = Source("Src", 10, 1);   // X and Y 1..10
    auto [bar, f] = Computed(src);
    EXPECT_EQ(f->ParentSeries(), bar);
    EXPECT_EQ(PointsOf(bar), (Points{{5.5, 55}}));

    auto* line = new LevelSeries(&form);
    chart->AddSeries(line);
    Computed(src, 0, line);
    EXPECT_EQ(PointsOf(line), (Points{{1, 55}, {10, 55}}));

    // A horizontal parent takes the value along X.
    auto* horiz = new TChartSeries(&form);
    horiz->SetHorizontal();
    chart->AddSeries(horiz);
    Computed(src, 0, horiz);
    EXPECT_EQ(PointsOf(horiz), (Points{{55, 5.5}}));

    // The parent's ValueSource picks the source's list of that name.
    auto* extra = new TChartValueList(src, "Extra");
    for (int t = 0; t < src->Count(); ++t)
        extra->InsertAt(t, 2);
    bar->MandatoryValueList()->SetValueSource("extra");
    f->Recalculate();
    EXPECT_EQ(PointsOf(bar), (Points{{5.5, 20}}));
}

TEST_F(FunctionTest, PeriodsOfPointsAlignedFirstCentreLast)
{
    TChartSeries* src = Source("Src", 10);   // X and Y 0..9
    auto [res, f] = Computed(src, 3);
    // The tenth point makes no complete period.
    EXPECT_EQ(PointsOf(res), (Points{{1, 3}, {4, 12}, {7, 21}}));
    f->SetPeriodAlign(paFirst);
    EXPECT_EQ(PointsOf(res), (Points{{0, 3}, {3, 12}, {6, 21}}));
    f->SetPeriodAlign(paLast);
    EXPECT_EQ(PointsOf(res), (Points{{2, 3}, {5, 12}, {8, 21}}));
    // Period 2.5 rounds half to even: periods of 2 points.
    f->SetPeriod(2.5);
    EXPECT_EQ(res->Count(), 5);
    EXPECT_EQ(res->YValue(4), 17);
    // A period rounding to no points takes one point each, and ends.
    f->SetPeriod(0.4);
    ASSERT_EQ(res->Count(), 10);
    EXPECT_EQ(res->YValue(9), 9);
}

TEST_F(FunctionTest, PeriodsOfXRangeIncludingEmptyOnes)
{
    TChartSeries* src = Source("Src", 10);
    auto [res, f] = Computed(src, 5);
    f->BeginUpdate();
    f->SetPeriodStyle(psRange);
    f->SetPeriodAlign(paFirst);
    // No recalculation while updating: still periods of five points, centred.
    EXPECT_EQ(PointsOf(res), (Points{{2, 10}, {7, 35}}));
    f->EndUpdate();
    EXPECT_EQ(PointsOf(res), (Points{{0, 10}, {5, 35}}));
    f->SetPeriodAlign(paLast);
    ExpectPoints(res, {{4.995, 10}, {9.995, 35}});

    // A period without source points gives a point of value 0.
    src->Clear();
    src->AddPointXY(0, 1);
    src->AddPointXY(1, 2);
    src->AddPointXY(12, 4);
    f->SetPeriodAlign(paCenter);
    ExpectPoints(res, {{2.4975, 3}, {7.4975, 0}, {12.4975, 4}});

    // A period too small to advance at the source's magnitude stops instead of looping.
    src->Clear();
    src->AddPointXY(1e20, 1);
    src->AddPointXY(2e20, 2);
    f->SetPeriod(1);
    EXPECT_EQ(res->Count(), 0);
}

TEST_F(FunctionTest, DateTimeRangesFollowTheCalendarOnExactAxes)
{
    TChartSeries* src = AddSeries("Src");
    src->XValues()->SetDateTime(true);
    for (auto [m, d] : {std::pair{1, 1}, {1, 31}, {2, 15}, {3, 1}, {3, 31}})
        src->AddPointXY(EncodeDate(2021, m, d), 1);
    auto [res, f] = Computed(src, 30);   // one month
    f->SetPeriodAlign(paFirst);
    f->SetPeriodStyle(psRange);
    EXPECT_TRUE(res->XValues()->DateTime());
    EXPECT_EQ(PointsOf(res), (Points{{EncodeDate(2021, 1, 1), 2}, {EncodeDate(2021, 2, 1), 1},
                                     {EncodeDate(2021, 3, 1), 2}}));
    // Without exact steps the period is 30 days.
    chart->BottomAxis()->SetExactDateTime(false);
    f->Recalculate();
    EXPECT_EQ(PointsOf(res), (Points{{EncodeDate(2021, 1, 1), 1}, {EncodeDate(2021, 1, 31), 3},
                                     {EncodeDate(2021, 3, 2), 1}}));
}

TEST_F(FunctionTest, MovingWindowSlidesOnePointAtATime)
{
    TChartSeries* src = Source("Src", 10);
    auto [res, f] = Computed<MovingSum>(src, 3);
    EXPECT_TRUE(f->SingleSource());
    ASSERT_EQ(res->Count(), 8);
    for (int t = 0; t < 8; ++t) {
        EXPECT_EQ(res->XValue(t), t + 2);
        EXPECT_EQ(res->YValue(t), 3 * (t + 1));
    }
    // Period 0 is a window of one point rather than a read before the first point.
    f->SetPeriod(0);
    EXPECT_EQ(PointsOf(res), PointsOf(src));
    // Fewer points than a window add nothing.
    f->SetPeriod(11);
    EXPECT_EQ(res->Count(), 0);
    // A new moving function starts with Period 1.
    EXPECT_EQ(MovingSum(nullptr).Period(), 1);
}

TEST_F(FunctionTest, SeveralSourcesCombineAtEachIndexOfTheLongest)
{
    TChartSeries* a = Source("A", 3);
    TChartSeries* b = Source("B", 5, 10);
    b->SetLabel(4, "last");
    auto [res, f] = Computed(a);
    res->AddDataSource(b);
    EXPECT_EQ(PointsOf(res), (Points{{10, 10}, {11, 12}, {12, 14}, {13, 13}, {14, 14}}));
    EXPECT_EQ(res->LabelText(4), "last");
}

TEST_F(FunctionTest, SourceAndSettingChangesRecompute)
{
    TChartSeries* src = Source("Src", 4);
    auto [res, f] = Computed(src);
    EXPECT_EQ(PointsOf(res), (Points{{1.5, 6}}));
    src->AddPointXY(4, 4);
    EXPECT_EQ(PointsOf(res), (Points{{2, 10}}));
    src->Delete(0);
    EXPECT_EQ(PointsOf(res), (Points{{2.5, 10}}));
    src->YValues()->SetValue(0, 11);
    src->BeginUpdate();
    src->EndUpdate();
    EXPECT_EQ(PointsOf(res), (Points{{2.5, 20}}));
    const int cleared = f->Cleared;
    src->Clear();
    EXPECT_EQ(res->Count(), 0);
    EXPECT_GT(f->Cleared, cleared);
    // An empty source gives nothing, with or without periods.
    f->SetPeriod(2);
    EXPECT_EQ(res->Count(), 0);
    f->ComputeFromSource(src, src->XValues());
    f->CalculateWholeSource(src, src->XValues());
    EXPECT_EQ(res->Count(), 0);
}

TEST_F(FunctionTest, AFreedSourceLeavesTheFunctionToWhatRemains)
{
    TChartSeries* a = Source("A", 3);
    TChartSeries* b = Source("B", 2, 10);
    auto [res, f] = Computed(a);
    res->AddDataSource(b);
    EXPECT_EQ(PointsOf(res), (Points{{0, 10}, {1, 12}, {2, 2}}));
    // The first source goes: the other one alone is summed.
    delete a;
    EXPECT_EQ(res->DataSources()->Count(), 1);
    EXPECT_EQ(PointsOf(res), (Points{{10.5, 21}}));
    // The last one goes: nothing is left to show.
    delete b;
    EXPECT_EQ(res->DataSource(), nullptr);
    EXPECT_EQ(res->Count(), 0);
}

TEST_F(FunctionTest, PeriodMustBeFiniteAndNotNegative)
{
    SumFunction f(nullptr);
    f.SetPeriod(2);
    for (double bad : {-1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        try {
            f.SetPeriod(bad);
            ADD_FAILURE() << bad;
        } catch (const ChartException& e) {
            EXPECT_STREQ(e.what(), "Function Period should be >= 0");
        }
        EXPECT_EQ(f.Period(), 2);
    }
}

TEST_F(FunctionTest, TheSeriesOwnsItsFunction)
{
    TChartSeries* src = Source("Src", 4);
    TChartSeries* s1 = AddSeries("S1");
    TChartSeries* s2 = AddSeries("S2");
    s1->SetDataSource(src);
    s2->SetDataSource(src);

    // A new function frees the previous one.
    bool firstFreed = false;
    auto* first = new SumFunction(&form, &firstFreed);
    s1->SetFunction(first);
    bool secondFreed = false;
    auto* second = new SumFunction(&form, &secondFreed);
    s1->SetFunction(second);
    EXPECT_TRUE(firstFreed);
    EXPECT_EQ(s1->FunctionType(), second);
    EXPECT_EQ(PointsOf(s1), (Points{{1.5, 6}}));

    // Moving a function: the old series forgets it without freeing it.
    second->SetParentSeries(s2);
    EXPECT_FALSE(secondFreed);
    EXPECT_EQ(s1->FunctionType(), nullptr);
    EXPECT_EQ(s2->FunctionType(), second);
    EXPECT_EQ(second->GetParentComponent(), s2);

    // A function freed on its own is forgotten.
    delete second;
    EXPECT_EQ(s2->FunctionType(), nullptr);

    // The series frees its function with itself.
    bool thirdFreed = false;
    auto* third = new SumFunction(&form, &thirdFreed);
    third->SetParentComponent(s1);
    EXPECT_EQ(s1->FunctionType(), third);
    delete s1;
    EXPECT_TRUE(thirdFreed);
    EXPECT_EQ(form.FindComponent("S1"), nullptr);

    // Freed with the form, in either order of creation: a function made after its series
    // goes first and is forgotten; one made before goes with its series.
    bool lateFreed = false;
    auto* late = new SumFunction(&form, &lateFreed);
    s2->SetFunction(late);
    bool earlyFreed = false;
    auto* early = new SumFunction(&form, &earlyFreed);
    auto* s3 = new TChartSeries(&form);
    chart->AddSeries(s3);
    s3->SetFunction(early);
    form.DestroyComponents();
    EXPECT_TRUE(lateFreed);
    EXPECT_TRUE(earlyFreed);
    EXPECT_EQ(form.ComponentCount(), 0);
}

} // namespace
