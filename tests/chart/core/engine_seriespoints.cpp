// The points of a series as a store on their own, without a series or a chart: edits
// keep lists, labels and colours in step, and the store tells its owner only of the
// changes its lists and labels make by themselves.
#include "TeEngine.h"
#include "TeeConst.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The texts of the store's messages come from unit start-up.
struct SeriesPointsTest : testsupport::ChartStartedTest {
    static std::vector<double> ValuesOf(const TChartValueList* List)
    {
        std::vector<double> r;
        for (int t = 0; t < List->Count(); ++t)
            r.push_back(List->Value(t));
        return r;
    }
    static std::vector<std::string> LabelsOf(const TSeriesPoints& P)
    {
        std::vector<std::string> r;
        for (int t = 0; t < P.Count(); ++t)
            r.push_back(P.LabelText(t));
        return r;
    }
    static std::vector<TColor> ColorsOf(const TSeriesPoints& P)
    {
        std::vector<TColor> r;
        for (int t = 0; t < P.Count(); ++t)
            r.push_back(P.StoredColor(t));
        return r;
    }
};

// Writes down what it hears; sorting's swaps go back to the store.
struct RecordingOwner : TSeriesPointsOwner {
    TSeriesPoints* Points = nullptr;
    std::vector<std::string> Heard;
    void SeriesPointsModified(int ValueIndex) override { Heard.push_back("modified " + std::to_string(ValueIndex)); }
    void SeriesPointsSourceChanged() override { Heard.push_back("source"); }
    void SeriesPointsChanged() override { Heard.push_back("changed"); }
    void SeriesPointsExchange(int A, int B) override
    {
        Heard.push_back("exchange");
        Points->ExchangePoints(A, B);
    }
};

TEST_F(SeriesPointsTest, EditsWithoutASeriesKeepLabelsAndColoursWithTheirPoints)
{
    TSeriesPoints p;
    EXPECT_EQ(p.AddXY(3, 30, "c", clRed), 0);
    EXPECT_EQ(p.AddXY(1, 10, "a"), 0);
    EXPECT_EQ(p.AddXY(2, 20, "b", clBlue), 1);
    EXPECT_EQ(ValuesOf(p.XValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(ValuesOf(p.YValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(LabelsOf(p), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ColorsOf(p), (std::vector<TColor>{clDefault, clBlue, clRed}));

    p.Delete(0);
    EXPECT_THROW(p.Delete(2), ChartException);
    p.ExchangePoints(0, 1);
    EXPECT_EQ(ValuesOf(p.XValues()), (std::vector<double>{3, 2}));
    EXPECT_EQ(LabelsOf(p), (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(ColorsOf(p), (std::vector<TColor>{clRed, clBlue}));

    // Sorting a store that has no owner swaps its own points.
    p.YValues()->SetOrder(loAscending);
    p.YValues()->SortPoints();
    EXPECT_EQ(ValuesOf(p.YValues()), (std::vector<double>{20, 30}));
    EXPECT_EQ(LabelsOf(p), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(ColorsOf(p), (std::vector<TColor>{clBlue, clRed}));

    p.Clear();
    EXPECT_EQ(p.Count(), 0);
    EXPECT_EQ(p.Colors(), nullptr);
    EXPECT_EQ(p.Labels()->Count(), 0);
}

TEST_F(SeriesPointsTest, HorizontalStoreTakesValuesAlongXAndCopiesCrossed)
{
    TSeriesPoints horizontal;
    horizontal.SetHorizontal();
    auto* end = new TChartValueList(&horizontal, "End");
    EXPECT_EQ(horizontal.ValueListByName("end"), end);
    EXPECT_EQ(horizontal.ValueListByName("Other"), horizontal.YValues());
    horizontal.Add(7.5);
    horizontal.Add(2.5, "low");
    EXPECT_EQ(ValuesOf(horizontal.XValues()), (std::vector<double>{2.5, 7.5}));
    EXPECT_EQ(ValuesOf(horizontal.YValues()), (std::vector<double>{1, 0}));

    // From a vertical store: X and Y change places; the list it lacks gives 0.
    TSeriesPoints vertical;
    vertical.AddXY(4, 40, "v", clRed);
    end->TempValue = 99;
    const int index = horizontal.CopyPointValues(vertical, 0);
    horizontal.CopyPointExtras(vertical, 0, index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(ValuesOf(horizontal.XValues()), (std::vector<double>{2.5, 7.5, 40}));
    EXPECT_EQ(ValuesOf(horizontal.YValues()), (std::vector<double>{1, 0, 4}));
    EXPECT_EQ(ValuesOf(end), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(LabelsOf(horizontal), (std::vector<std::string>{"low", "", "v"}));
    EXPECT_EQ(ColorsOf(horizontal), (std::vector<TColor>{clDefault, clDefault, clRed}));

    // List settings cross the same way, both ways: the values' date-time goes with them.
    vertical.YValues()->SetDateTime(true);
    horizontal.AssignListSettings(vertical);
    EXPECT_TRUE(horizontal.XValues()->DateTime());
    EXPECT_FALSE(horizontal.YValues()->DateTime());
    TSeriesPoints back;
    back.AssignListSettings(horizontal);
    EXPECT_TRUE(back.YValues()->DateTime());
    EXPECT_FALSE(back.XValues()->DateTime());
}

TEST_F(SeriesPointsTest, OwnerHearsOnlyTheChangesListsAndLabelsMakeThemselves)
{
    RecordingOwner owner;
    TSeriesPoints p(&owner);
    owner.Points = &p;
    p.AddXY(1, 30, "a");
    p.AddXY(2, 10);
    p.AddXY(3, 20);
    p.Delete(2);
    p.ExchangePoints(0, 1);
    p.ExchangePoints(0, 1);
    p.AddXY(3, 20);
    // The store's own edits: the owner adds its events around them.
    EXPECT_EQ(owner.Heard, (std::vector<std::string>{"modified 0", "modified 0", "modified 0", "modified 0"}));
    owner.Heard.clear();

    p.YValues()->Exchange(2, 1);
    p.XValues()->FillWithIndexes();
    p.YValues()->SetValueSource("Cost");
    p.YValues()->SetDateTime(true);
    p.SetLabel(1, "b");
    p.SetValueColor(2, clRed);
    EXPECT_EQ(owner.Heard, (std::vector<std::string>{"modified 2", "modified 0", "source", "changed", "changed", "changed"}));
    owner.Heard.clear();

    // Sorting swaps through the owner.
    p.YValues()->SetOrder(loAscending);
    p.YValues()->SortPoints();
    EXPECT_EQ(ValuesOf(p.YValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(LabelsOf(p), (std::vector<std::string>{"", "b", "a"}));
    EXPECT_EQ(ColorsOf(p), (std::vector<TColor>{clRed, clDefault, clDefault}));
    EXPECT_GT(std::count(owner.Heard.begin(), owner.Heard.end(), "exchange"), 0);
}

} // namespace
