// Series groups and series lists, the label list of a series, and the engine's start-up.
#include "tools_fixture.h"

#include "classes/TypInfo.h"

namespace {

using toolstest::ToolsTest;

struct SeriesGroups : ToolsTest {
    void SetUp() override
    {
        ToolsTest::SetUp();
        a = AddSeries("A");
        b = AddSeries("B");
        c = AddSeries("C");
        group = chart->SeriesList()->AddGroup("Fits");
        group->Series()->Add(a);
        group->Series()->Add(b);
        group->Series()->Add(c);
    }
    TChartSeries* a = nullptr;
    TChartSeries* b = nullptr;
    TChartSeries* c = nullptr;
    TSeriesGroup* group = nullptr;
};

TEST_F(SeriesGroups, ActiveStateOfTheGroup)
{
    EXPECT_EQ(group->Name(), "Fits");
    EXPECT_EQ(group->Active(), gaYes);
    a->SetActive(false);
    c->SetActive(false);
    EXPECT_EQ(group->Active(), gaSome);
    group->SetActive(gaSome);
    EXPECT_TRUE(b->Active());
    EXPECT_FALSE(a->Active());
    group->SetActive(gaNo);
    EXPECT_FALSE(a->Active() || b->Active() || c->Active());
    EXPECT_EQ(group->Active(), gaNo);
    group->SetActive(gaYes);
    EXPECT_TRUE(a->Active() && b->Active() && c->Active());

    TSeriesGroup* empty = chart->SeriesList()->AddGroup("Empty");
    EXPECT_EQ(empty->Active(), gaNo);
    EXPECT_TRUE(empty->Series()->AllActive());
}

TEST_F(SeriesGroups, GroupsFindAndLoseSeries)
{
    TSeriesGroups* groups = chart->SeriesList()->Groups();
    TSeriesGroup* second = chart->SeriesList()->AddGroup("Second");
    second->SetSeries(group->Series());
    second->Series()->Remove(a);
    EXPECT_EQ(second->Series()->Count(), 2);
    EXPECT_EQ(groups->Count(), 2);
    EXPECT_EQ(groups->Group(1), second);
    EXPECT_THROW(groups->Group(2), ERangeError);
    EXPECT_EQ(groups->IndexOfSeries(a), 0);
    group->Series()->Remove(a);
    EXPECT_EQ(groups->IndexOfSeries(a), -1);

    // A freed series leaves every group; the others stay.
    delete b;
    EXPECT_EQ(group->Series()->IndexOf(b), -1);
    EXPECT_EQ(second->Series()->IndexOf(b), -1);
    EXPECT_EQ(group->Series()->Count(), 1);
    EXPECT_EQ(second->Series()->Series(0), c);

    // A series no group holds any more is not watched: freeing it changes nothing.
    delete a;
    EXPECT_EQ(group->Series()->Count(), 1);

    // A freed group stops watching; the series outlives it.
    groups->Delete(1);
    groups->Delete(0);
    delete c;
    EXPECT_EQ(groups->Count(), 0);
}

TEST_F(SeriesGroups, ListHelpers)
{
    a->AddPointXY(1, 1);
    b->AddPointXY(2, 2);
    a->SetTitle("Measured");
    TCustomSeriesList* list = group->Series();
    list->SetAllActive(false);
    EXPECT_FALSE(a->Active() || c->Active());
    EXPECT_FALSE(list->AllActive());
    list->ClearAll();
    EXPECT_EQ(a->Count() + b->Count(), 0);

    TStringList titles;
    titles.Add("kept");
    FillSeriesItems(&titles, list, true);
    ASSERT_EQ(titles.Count(), 4);
    EXPECT_EQ(titles.Strings(1), "Measured");
    EXPECT_EQ(titles.Strings(2), "B");
    EXPECT_EQ(titles.GetObject(3), c);
    TStringList names;
    FillSeriesItems(&names, list, false);
    EXPECT_EQ(names.Strings(0), "A");
}

TEST(LabelsList, LabelsFollowTheirPoints)
{
    TLabelsList labels(nullptr);
    labels.SetLabel(5, "x");
    ASSERT_EQ(labels.Count(), 6);
    EXPECT_EQ(labels.Label(0), "");
    EXPECT_EQ(labels.Label(5), "x");
    EXPECT_EQ(labels.Label(9), "");
    labels.SetLabel(8, "");   // beyond the list: nothing to empty
    EXPECT_EQ(labels.Count(), 6);

    labels.InsertLabel(2, "new");
    EXPECT_EQ(labels.Label(6), "x");   // the later labels moved with their points
    labels.DeleteLabel(0);
    EXPECT_EQ(labels.Label(1), "new");
    EXPECT_EQ(labels.Label(5), "x");

    TLabelsList empty(nullptr);
    empty.InsertLabel(0, "");
    EXPECT_EQ(empty.Count(), 0);   // no entries until a label is given
    empty.InsertLabel(3, "z");
    EXPECT_EQ(empty.Count(), 4);
    empty.Assign(labels);
    EXPECT_EQ(empty.Label(1), "new");
    labels.Clear();
    EXPECT_EQ(empty.Label(5), "x");   // a copy, not a share
}

TEST(EngineStartup, SetsThePixelLimit)
{
    MaxPixelPos = 0;
    const testsupport::ChartStarted started;
    EXPECT_EQ(MaxPixelPos, 67108863);
}

TEST(EngineStartup, RegistersStreamedClassesUntilShutdown)
{
    const std::vector<const TClassInfo*> classes = TeEngineStreamedClasses();
    {
        const testsupport::ChartStarted started;
        for (const TClassInfo* info : classes)
            EXPECT_EQ(GetClass(info->ClassName), info);
    }
    for (const TClassInfo* info : classes)
        EXPECT_EQ(GetClass(info->ClassName), nullptr);
    std::vector<std::string> names;
    for (const TClassInfo* info : classes)
        names.push_back(info->ClassName);
    EXPECT_EQ(names, (std::vector<std::string>{"TChartAxisTitle", "TChartAxis", "TChartDepthAxis", "TSeriesMarks",
                                                "TTeeCustomTool", "TTeeCustomToolSeries", "TTeeCustomToolAxis"}));
}

} // namespace
