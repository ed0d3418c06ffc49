// Value lists: ordered insertion, statistics, growth, editing and copying.
#include "TeEngine.h"

#include <gtest/gtest.h>

namespace {

// A series only to own the lists under test.
struct ValueListFixture : ::testing::Test {
    TChartSeries series{nullptr};
    TChartValueList* list = nullptr;

    void SetUp() override { list = new TChartValueList(&series, "Test"); }

    void Fill(std::initializer_list<double> Values)
    {
        for (double v : Values)
            list->InsertAt(list->Count(), v);
    }
    std::vector<double> Values() const
    {
        std::vector<double> result;
        for (int t = 0; t < list->Count(); ++t)
            result.push_back(list->Value(t));
        return result;
    }
};

TEST_F(ValueListFixture, NewListJoinsItsSeriesAfterXAndY)
{
    ASSERT_EQ(series.ValuesList()->Count(), 3);
    EXPECT_EQ(series.ValuesList()->ValueList(2), list);
    EXPECT_EQ(series.ValuesList()->Get(3), nullptr);
    EXPECT_THROW(series.ValuesList()->ValueList(3), EListError);
    EXPECT_EQ(series.XValues()->Name(), "X");
    EXPECT_EQ(series.XValues()->Order(), loAscending);
    EXPECT_EQ(series.YValues()->Name(), "Y");
    EXPECT_EQ(series.YValues()->Order(), loNone);
}

TEST_F(ValueListFixture, AscendingInsertIsStableForEqualValues)
{
    // Each value added to its own copy of 1, 2, 2, 3.
    const std::pair<double, int> cases[] = {{2, 3}, {0, 0}, {5, 4}, {1, 1}, {2.5, 3}};
    for (auto [value, expected] : cases) {
        list->ClearValues();
        list->SetOrder(loAscending);
        Fill({1, 2, 2, 3});
        EXPECT_EQ(list->AddInOrder(value), expected) << value;
        EXPECT_EQ(list->Value(expected), value);
        EXPECT_EQ(list->Count(), 5);
    }
    list->ClearValues();
    Fill({1, 2, 2, 3});
    list->AddInOrder(2);
    list->AddInOrder(0);
    EXPECT_EQ(Values(), (std::vector<double>{0, 1, 2, 2, 2, 3}));
}

TEST_F(ValueListFixture, DescendingInsert)
{
    list->SetOrder(loDescending);
    Fill({3, 2, 1});
    EXPECT_EQ(list->AddInOrder(2), 2);
    EXPECT_EQ(list->AddInOrder(4), 0);
    EXPECT_EQ(list->AddInOrder(0), 5);
    EXPECT_EQ(Values(), (std::vector<double>{4, 3, 2, 2, 1, 0}));
}

TEST_F(ValueListFixture, UnorderedListAppends)
{
    Fill({5, 1});
    EXPECT_EQ(list->AddInOrder(3), 2);
    EXPECT_EQ(Values(), (std::vector<double>{5, 1, 3}));
}

TEST_F(ValueListFixture, StatisticsOfEmptyAndFilledLists)
{
    EXPECT_EQ(list->MaxValue(), 0);
    EXPECT_EQ(list->MinValue(), 0);
    EXPECT_EQ(list->Total(), 0);
    EXPECT_EQ(list->TotalAbsolute(), 0);
    Fill({3, -5, 4});
    EXPECT_EQ(list->MaxValue(), 4);
    EXPECT_EQ(list->MinValue(), -5);
    EXPECT_EQ(list->Total(), 2);
    EXPECT_EQ(list->TotalAbsolute(), 12);
    EXPECT_EQ(list->Range(), 9);
    EXPECT_FALSE(list->Modified());
    // A later change makes the cached numbers stale and they follow it.
    list->SetValue(1, 10);
    EXPECT_TRUE(list->Modified());
    EXPECT_EQ(list->MaxValue(), 10);
    EXPECT_EQ(list->MinValue(), 3);
    list->Delete(1);
    EXPECT_EQ(list->Total(), 7);
}

TEST_F(ValueListFixture, GrowsByStepsAndClearReleases)
{
    for (int t = 0; t < 1000; ++t)
        list->AddInOrder(t);
    EXPECT_EQ(list->Capacity(), 1000);
    list->AddInOrder(1000);
    EXPECT_EQ(list->Capacity(), 2000);
    EXPECT_EQ(list->Count(), 1001);
    EXPECT_EQ(list->Last(), 1000);
    list->ClearValues();
    EXPECT_EQ(list->Capacity(), 0);
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(ValueListFixture, IndexChecksAndAssertions)
{
    EXPECT_THROW(list->First(), ERangeError);
    EXPECT_THROW(list->Last(), ERangeError);
    Fill({1, 2, 3});
    EXPECT_THROW(list->Value(-1), ERangeError);
    EXPECT_THROW(list->Value(list->Capacity()), ERangeError);
    try {
        list->Exchange(0, 3);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    try {
        list->Exchange(-1, 7);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
    try {
        list->DeleteRange(1, 3);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "Quantity of data to delete must be less than Count.");
    }
    try {
        list->SetCount(-1);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "ValueList Count must be greater than zero.");
    }
    list->SetCount(list->Capacity() + 1);
    try {
        list->Count();
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(std::string(e.what()), "ValueList Count (1001) greater than array length (1000).");
    }
    // The statistics refresh brings the count back within the array.
    list->MaxValue();
    EXPECT_EQ(list->Count(), 1000);
}

TEST_F(ValueListFixture, EditingOperations)
{
    Fill({1, 2, 3, 4, 5});
    list->Exchange(0, 4);
    EXPECT_EQ(Values(), (std::vector<double>{5, 2, 3, 4, 1}));
    list->DeleteRange(1, 2);
    EXPECT_EQ(Values(), (std::vector<double>{5, 4, 1}));
    list->InsertAt(1, 9);
    EXPECT_EQ(Values(), (std::vector<double>{5, 9, 4, 1}));
    EXPECT_THROW(list->InsertAt(6, 0), ERangeError);
    EXPECT_EQ(list->IndexOfValue(4), 2);
    EXPECT_EQ(list->IndexOfValue(7), -1);
    EXPECT_EQ(list->IndexOfValueBetween(0, 1, 4), -1);
    EXPECT_EQ(list->IndexOfValueBetween(2, 3, 4), 2);
    EXPECT_EQ(list->IndexOfValueBetween(3, 2, 4), -1);
    list->FillWithIndexes();
    EXPECT_EQ(Values(), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(list->CompareValues(0, 1), -1);
    list->SetOrder(loDescending);
    EXPECT_EQ(list->CompareValues(0, 1), 1);
    EXPECT_EQ(list->CompareValues(2, 2), 0);
}

TEST_F(ValueListFixture, AssignCopiesSettingsNotNameOrValues)
{
    TChartValueList* other = new TChartValueList(&series, "Other");
    other->SetOrder(loDescending);
    other->SetDateTime(true);
    other->SetValueSource("Field1");
    other->InsertAt(0, 42);
    Fill({1, 2});
    list->Assign(other);
    EXPECT_EQ(list->Order(), loDescending);
    EXPECT_TRUE(list->DateTime());
    EXPECT_EQ(list->ValueSource(), "Field1");
    EXPECT_EQ(list->Name(), "Test");
    EXPECT_EQ(Values(), (std::vector<double>{1, 2}));
    EXPECT_TRUE(list->IsDateTimeStored());
}

} // namespace
