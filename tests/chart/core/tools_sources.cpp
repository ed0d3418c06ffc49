// Series sources: the base's answers, opening and closing against a linked series, the
// link moving between series, loading from a stream, and either side being freed.
#include "tools_fixture.h"

namespace {

using toolstest::ToolsTest;

// Fills its series with one point per load.
class CountingSource : public TTeeSeriesSource {
public:
    using TTeeSeriesSource::TTeeSeriesSource;
    using TComponent::Include;
    int Loads = 0;
    void LoadData() override
    {
        ++Loads;
        Series()->AddPointXY(Loads, 10.0 * Loads);
    }
};

class OtherSource : public TTeeSeriesSource {
public:
    DECLARE_CLASS_NAME(OtherSource)
    using TTeeSeriesSource::TTeeSeriesSource;
};

using SeriesSources = ToolsTest;

TEST_F(SeriesSources, BaseAnswersAndClassTest)
{
    TTeeSeriesSource base(nullptr);
    EXPECT_FALSE(base.Active());
    EXPECT_EQ(base.Series(), nullptr);
    EXPECT_TRUE(base.SourceFlag());
    EXPECT_EQ(base.SourceText(), "");
    EXPECT_EQ(base.SourceValueA(), 0);
    EXPECT_EQ(base.SourceValueB(), 0);
    base.Open();   // no series: only the flag
    EXPECT_TRUE(base.Active());

    TChartSeries* s = AddSeries("S");
    EXPECT_FALSE(base.IsSourceOfSeries(s));
    auto* other = new OtherSource(&form);
    other->SetSeries(s);
    EXPECT_EQ(s->DataSource(), other);
    EXPECT_FALSE(base.IsSourceOfSeries(s));
    EXPECT_TRUE(OtherSource(nullptr).IsSourceOfSeries(s));
}

TEST_F(SeriesSources, OpenLoadsCloseClearsAndRelinkingClosesFirst)
{
    TChartSeries* s1 = AddSeries("S1");
    TChartSeries* s2 = AddSeries("S2");
    s2->AddPointXY(0, 0);
    auto* source = new CountingSource(&form);
    source->SetSeries(s1);
    EXPECT_EQ(source->Series(), s1);
    EXPECT_EQ(s1->DataSource(), source);
    EXPECT_EQ(source->Loads, 0);

    source->Open();
    EXPECT_EQ(source->Loads, 1);
    EXPECT_EQ(s1->Count(), 1);
    source->Open();   // no change: no second load
    EXPECT_EQ(source->Loads, 1);
    source->Close();
    EXPECT_FALSE(source->Active());
    EXPECT_EQ(s1->Count(), 0);

    source->Open();
    source->SetSeries(s2);
    EXPECT_FALSE(source->Active());
    EXPECT_EQ(s1->Count(), 0);   // closed while still linked to it
    EXPECT_EQ(s1->DataSource(), nullptr);
    EXPECT_EQ(s2->DataSource(), source);
    EXPECT_EQ(s2->Count(), 1);   // the new series keeps its points until opened

    source->SetSeries(nullptr);
    EXPECT_EQ(s2->DataSource(), nullptr);
    EXPECT_EQ(source->Series(), nullptr);
}

TEST_F(SeriesSources, LoadingDefersTheLoadUntilLoaded)
{
    TChartSeries* s = AddSeries("S");
    auto* source = new CountingSource(&form);
    source->Include(csLoading);
    source->SetSeries(s);
    source->SetActive(true);
    EXPECT_EQ(source->Loads, 0);
    EXPECT_EQ(s->DataSource(), nullptr);   // linked once loaded
    source->Close();                       // refused while loading
    EXPECT_TRUE(source->Active());
    source->Loaded();
    EXPECT_EQ(s->DataSource(), source);
    EXPECT_GE(source->Loads, 1);
    EXPECT_EQ(s->Count(), source->Loads);
}

TEST_F(SeriesSources, EitherSideMayBeFreedFirst)
{
    TChartSeries* s = AddSeries("S");
    auto* source = new CountingSource(&form);
    source->SetSeries(s);
    source->Open();
    delete source;   // the series forgets it and keeps its points
    EXPECT_EQ(s->DataSource(), nullptr);
    EXPECT_EQ(s->Count(), 1);

    auto* second = new CountingSource(&form);
    second->SetSeries(s);
    second->Open();
    delete s;
    EXPECT_EQ(second->Series(), nullptr);
    second->Close();   // nothing left to clear
    EXPECT_FALSE(second->Active());
}

TEST_F(SeriesSources, ClassListIsMadeOnRequestAndFreedAtShutdown)
{
    std::vector<const TClassInfo*>* list = SeriesSourceClassList();
    EXPECT_EQ(SeriesSourceClassList(), list);
    list->push_back(TTeeSeriesSource::StaticClassInfo());
    testsupport::FinishChartLibrary();
    EXPECT_TRUE(SeriesSourceClassList()->empty());
    testsupport::StartChartLibrary();
}

} // namespace
