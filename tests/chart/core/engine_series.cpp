// The series base: points kept in step across lists, colours and labels; deletion,
// exchange and sorting; texts; dependent series.
#include "TeEngine.h"
#include "TeeConst.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

namespace {

// The chart texts come from unit start-up.
struct EngineSeries : testsupport::ChartStartedTest {};

std::vector<double> XOf(const TChartSeries& S)
{
    std::vector<double> r;
    for (int t = 0; t < S.Count(); ++t)
        r.push_back(S.XValue(t));
    return r;
}
std::vector<double> YOf(const TChartSeries& S)
{
    std::vector<double> r;
    for (int t = 0; t < S.Count(); ++t)
        r.push_back(S.YValue(t));
    return r;
}
std::vector<std::string> LabelsOf(const TChartSeries& S)
{
    std::vector<std::string> r;
    for (int t = 0; t < S.Count(); ++t)
        r.push_back(S.LabelText(t));
    return r;
}

TEST_F(EngineSeries, AddPointXYKeepsListsColoursAndLabelsInStep)
{
    TChartSeries s(nullptr);
    EXPECT_EQ(s.AddPointXY(3, 30, "c"), 0);
    EXPECT_EQ(s.Colors(), nullptr);   // the default colour makes no colour list
    EXPECT_EQ(s.AddPointXY(1, 10, "a", clRed), 0);
    ASSERT_NE(s.Colors(), nullptr);
    EXPECT_EQ(*s.Colors(), (std::vector<TColor>{clRed, clDefault}));
    EXPECT_EQ(s.AddPointXY(2, 20, "", clBlue), 1);
    EXPECT_EQ(s.AddPointXY(2, 21, "b2"), 2);   // equal X goes after the earlier one
    EXPECT_EQ(XOf(s), (std::vector<double>{1, 2, 2, 3}));
    EXPECT_EQ(YOf(s), (std::vector<double>{10, 20, 21, 30}));
    EXPECT_EQ(LabelsOf(s), (std::vector<std::string>{"a", "", "b2", "c"}));
    EXPECT_EQ(*s.Colors(), (std::vector<TColor>{clRed, clBlue, clDefault, clDefault}));
    EXPECT_EQ(s.ValueColor(0), clRed);
    EXPECT_EQ(s.ValueColor(3), s.SeriesColor());
    EXPECT_EQ(s.Count(), 4);
    EXPECT_EQ(s.YValues()->Count(), 4);
}

TEST_F(EngineSeries, LabelsStayEmptyUntilOneIsGivenAndExtraListsFollow)
{
    TChartSeries s(nullptr);
    TChartValueList* extra = new TChartValueList(&s, "End");
    s.AddPointXY(5, 1);
    EXPECT_EQ(s.Labels()->Count(), 0);
    extra->TempValue = 7;
    s.AddPointXY(0, 2, "first");
    EXPECT_EQ(s.Labels()->Count(), 1);   // inserted at index 0 only
    EXPECT_EQ(LabelsOf(s), (std::vector<std::string>{"first", ""}));
    EXPECT_EQ(extra->Count(), 2);
    EXPECT_EQ(extra->Value(0), 7);
    EXPECT_EQ(s.ValueListByName("end"), extra);
    EXPECT_EQ(s.ValueListByName("none"), s.YValues());
}

TEST_F(EngineSeries, BeforeAddCanRefuseAndAfterAddHearsIndex)
{
    TChartSeries s(nullptr);
    std::vector<int> added;
    s.OnAfterAdd = [&](TChartSeries*, int i) { added.push_back(i); };
    s.OnBeforeAdd = [](TChartSeries* S) { return S->XValues()->TempValue >= 0; };
    EXPECT_EQ(s.AddPointXY(-1, 1), -1);
    EXPECT_EQ(s.Count(), 0);
    s.AddPointXY(2, 1);
    s.AddPointXY(1, 1);
    EXPECT_EQ(added, (std::vector<int>{0, 0}));
}

TEST_F(EngineSeries, AddAndNullsUseCountAndNullColour)
{
    TChartSeries s(nullptr);
    EXPECT_EQ(s.Add(5), 0);
    EXPECT_EQ(s.AddNull("gap"), 1);
    EXPECT_EQ(s.AddNullPointXY(7, 3), 2);
    EXPECT_EQ(XOf(s), (std::vector<double>{0, 1, 7}));
    EXPECT_FALSE(s.IsNull(0));
    EXPECT_TRUE(s.IsNull(1));
    EXPECT_TRUE(s.IsNull(2));
    TChartSeries h(nullptr);
    h.SetHorizontal();
    h.Add(4);
    h.Add(9);
    EXPECT_EQ(XOf(h), (std::vector<double>{4, 9}));
    EXPECT_EQ(YOf(h), (std::vector<double>{0, 1}));
    EXPECT_EQ(h.MandatoryValueAt(1), 9);
}

TEST_F(EngineSeries, ClearEmptiesEverythingAndFiresEvent)
{
    TChartSeries s(nullptr);
    int cleared = 0;
    s.OnClearValues = [&](TObject*) { ++cleared; };
    s.AddPointXY(1, 2, "a", clRed);
    s.Clear();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.YValues()->Count(), 0);
    EXPECT_EQ(s.Colors(), nullptr);
    EXPECT_EQ(s.Labels()->Count(), 0);
    EXPECT_EQ(s.XValues()->Capacity(), 0);
}

TEST_F(EngineSeries, DeleteChecksIndexAndRemovesEveryEntry)
{
    TChartSeries s(nullptr);
    for (int t = 0; t < 5; ++t)
        s.AddPointXY(t, t * 10, "p" + std::to_string(t), t == 3 ? clRed : clDefault);
    try {
        s.Delete(5);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "Series Delete: ValueIndex 5 out of bounds (0 to 4).");
    }
    EXPECT_THROW(s.Delete(-1), ChartException);
    s.Delete(1);
    EXPECT_EQ(XOf(s), (std::vector<double>{0, 2, 3, 4}));
    EXPECT_EQ(YOf(s), (std::vector<double>{0, 20, 30, 40}));
    EXPECT_EQ(LabelsOf(s), (std::vector<std::string>{"p0", "p2", "p3", "p4"}));
    EXPECT_EQ(s.ValueColor(2), clRed);
    EXPECT_EQ(s.Colors()->size(), 4u);
}

TEST_F(EngineSeries, DeleteRangeChecksAndRenumbers)
{
    TChartSeries s(nullptr);
    for (int t = 0; t < 5; ++t)
        s.AddPointXY(t * 2, t, "", t < 2 ? clRed : clDefault);
    try {
        s.DeleteRange(0, 0);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "Quantity of data points to delete must be greater than zero.");
    }
    try {
        s.DeleteRange(3, 3);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "Quantity of data to delete must be less than Count.");
    }
    s.DeleteRange(7, 1);   // past the end: nothing
    EXPECT_EQ(s.Count(), 5);
    s.DeleteRange(0, 2, true);
    EXPECT_EQ(XOf(s), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(YOf(s), (std::vector<double>{2, 3, 4}));
    ASSERT_NE(s.Colors(), nullptr);
    EXPECT_EQ(s.Colors()->size(), 3u);
    EXPECT_EQ(s.ValueColor(0), s.SeriesColor());
    // Removing every coloured entry frees the colour list.
    TChartSeries c(nullptr);
    c.AddPointXY(0, 0, "", clRed);
    c.AddPointXY(1, 1, "", clRed);
    c.AddPointXY(2, 2);
    c.DeleteRange(0, 3);
    EXPECT_EQ(c.Colors(), nullptr);
    EXPECT_EQ(c.Count(), 0);
}

TEST_F(EngineSeries, ExchangeAndSortMoveEveryList)
{
    TChartSeries s(nullptr);
    s.XValues()->SetOrder(loNone);
    TChartValueList* extra = new TChartValueList(&s, "Z");
    const double xs[] = {3, 1, 2};
    for (double x : xs) {
        extra->TempValue = x * 100;
        s.AddPointXY(x, x * 10, "L" + std::to_string(int(x)), x == 1 ? clRed : clDefault);
    }
    s.ExchangePoints(0, 2);
    EXPECT_EQ(XOf(s), (std::vector<double>{2, 1, 3}));
    EXPECT_EQ(YOf(s), (std::vector<double>{20, 10, 30}));
    EXPECT_EQ(extra->Value(0), 200);
    EXPECT_EQ(LabelsOf(s), (std::vector<std::string>{"L2", "L1", "L3"}));
    EXPECT_EQ(s.ValueColor(1), clRed);
    EXPECT_THROW(s.ExchangePoints(0, 3), ChartException);

    s.XValues()->SetOrder(loDescending);
    s.XValues()->SortPoints();
    EXPECT_EQ(XOf(s), (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(YOf(s), (std::vector<double>{30, 20, 10}));
    EXPECT_EQ(extra->Value(2), 100);
    EXPECT_EQ(LabelsOf(s), (std::vector<std::string>{"L3", "L2", "L1"}));
    EXPECT_EQ(s.ValueColor(2), clRed);
    EXPECT_EQ(s.ValueColor(0), s.SeriesColor());
}

TEST_F(EngineSeries, TextsAndLegendStrings)
{
    TChartSeries s(nullptr);
    s.AddPointXY(1, 1000, "one");
    s.AddPointXY(2, -3000);
    EXPECT_EQ(s.ValueText(0), "1,000");
    EXPECT_EQ(s.PercentText(0), "25 %");
    EXPECT_EQ(s.XValueText(1), "2");
    const std::string sep(1, char(6));
    EXPECT_EQ(s.LegendString(0, ltsPlain), "one");
    EXPECT_EQ(s.LegendString(0, ltsLeftValue), "1,000" + sep + "one");
    EXPECT_EQ(s.LegendString(0, ltsRightPercent), "one" + sep + "25 %");
    EXPECT_EQ(s.LegendString(1, ltsRightValue), "-3,000");
    EXPECT_EQ(s.LegendString(1, ltsXAndValue), "2" + sep + "-3,000");
    TChartSeries zeros(nullptr);
    zeros.Add(0);
    zeros.Add(0);
    EXPECT_EQ(zeros.PercentText(1), "100 %");
}

TEST_F(EngineSeries, ValueColorsAndSeriesColor)
{
    TChartSeries s(nullptr);
    s.Add(1);
    s.SetValueColor(0, clDefault);   // no list and no colour: nothing
    EXPECT_EQ(s.Colors(), nullptr);
    s.SetValueColor(0, clLime);
    EXPECT_EQ(s.ValueColor(0), clLime);
    EXPECT_THROW(s.SetValueColor(1, clRed), ERangeError);
    s.Add(2);
    s.SetColorEachPoint(true);
    EXPECT_EQ(s.ValueColor(1), GetDefaultPaletteColor(1));
    EXPECT_EQ(s.SeriesColor(), clDefault);
    s.SetSeriesColor(clBlue);
    EXPECT_EQ(s.SeriesColor(), clBlue);
    EXPECT_EQ(s.DefaultColor(), clBlue);
}

TEST_F(EngineSeries, DependentSeriesFollowTheirSourceWithoutAChart)
{
    // Links made directly, as a chart does when it accepts a series source.
    TChartSeries source(nullptr);
    TChartSeries copy(nullptr);
    source.AddLinkedSeries(&copy);
    source.AddPointXY(2, 20, "b");
    source.AddPointXY(1, 10, "a", clRed);
    EXPECT_EQ(XOf(copy), (std::vector<double>{1, 2}));
    EXPECT_EQ(LabelsOf(copy), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(copy.ValueColor(0), clRed);
    source.Delete(0);
    EXPECT_EQ(XOf(copy), (std::vector<double>{2}));
    source.AddPointXY(5, 50);
    source.AddPointXY(6, 60);
    source.DeleteRange(0, 2);   // a range: the dependent copies the source again
    EXPECT_EQ(XOf(copy), (std::vector<double>{6}));
    source.Clear();
    EXPECT_EQ(copy.Count(), 0);
    source.SetRefreshOptions(0);
    copy.SetRefreshOptions(srfOnDelete);
    source.AddPointXY(1, 1);
    EXPECT_EQ(copy.Count(), 0);
    // Updates are batched: the dependent copies once at the end.
    copy.SetRefreshOptions(srfAll);
    source.BeginUpdate();
    source.AddPointXY(2, 2);
    source.AddPointXY(3, 3);
    EXPECT_EQ(copy.Count(), 0);
    source.EndUpdate();
    EXPECT_EQ(XOf(copy), (std::vector<double>{1, 2, 3}));
    source.RemoveLinkedSeries(&copy);
}

} // namespace
