// The axis panel's series side: the series list, series events heard by listeners,
// palette colours of new series and data-source checks.
#include "TeEngine.h"
#include "TeeConst.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

namespace {

// A chart that judges colours as the chart control does: a colour is free when no other
// series has it (and, when asked, it is not the panel's colour).
class TestPanel : public TCustomAxisPanel {
public:
    using TCustomAxisPanel::TCustomAxisPanel;
    bool IsColorUnused(TColor Color, bool CheckBackground, TChartSeries* ExceptSeries) override
    {
        for (int t = 0; t < SeriesCount(); ++t)
            if (Series(t) != ExceptSeries && Series(t)->SeriesColor() == Color)
                return false;
        return !(CheckBackground && Color == this->Color());
    }
};

struct Heard {
    int Code;
    TChartSeries* Series;
    bool operator==(const Heard&) const = default;
};

class Recorder : public IPanelEventListener {
public:
    std::vector<Heard> Events;
    std::function<void(TTeeSeriesEvent*)> React;
    void HandleEvent(TTeeEvent* Event) override
    {
        if (auto* e = dynamic_cast<TTeeSeriesEvent*>(Event)) {
            Events.push_back({int(e->Event), e->Series});
            if (React)
                React(e);
        }
    }
};

struct EngineAxisPanel : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<TestPanel>(nullptr);
        chart->AddListenerOnce(&recorder);
    }
    void TearDown() override
    {
        if (chart)
            chart->RemoveListener(&recorder);
        chart.reset();
    }
    Recorder recorder;
    std::unique_ptr<TestPanel> chart;
};

TEST_F(EngineAxisPanel, SeriesEventsReachListenersWithTheirCodes)
{
    TComponent form(nullptr);
    auto* a = new TChartSeries(&form);
    auto* b = new TChartSeries(&form);
    chart->AddSeries(a);
    chart->AddSeries(b);
    a->SetTitle("A");
    b->SetSeriesColor(clLime);
    chart->ExchangeSeries(0, 1);
    a->SetActive(false);
    b->BeginUpdate();
    b->AddPointXY(1, 1);
    b->EndUpdate();
    chart->RemoveSeriesAt(1);
    const std::vector<Heard> expected = {
        {0, a}, {3, b}, {0, b},   // b takes a palette colour while it is attached
        {2, a}, {3, b}, {4, nullptr}, {5, a}, {6, b}, {1, a},
    };
    // The first series' colour event comes before it is listed too.
    std::vector<Heard> got = recorder.Events;
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front(), (Heard{3, a}));
    got.erase(got.begin());
    EXPECT_EQ(got, expected);
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->Series(0), b);
    EXPECT_EQ(a->ParentChart(), nullptr);
    EXPECT_THROW(chart->Series(1), ERangeError);
    chart->RemoveSeriesAt(-1);   // nothing
    EXPECT_EQ(chart->SeriesCount(), 1);
}

TEST_F(EngineAxisPanel, NewSeriesTakeTheFirstUnusedPaletteColour)
{
    TChartSeries a(nullptr), b(nullptr), c(nullptr);
    chart->AddSeries(&a);
    chart->AddSeries(&b);
    EXPECT_EQ(a.SeriesColor(), GetDefaultPaletteColor(0));
    EXPECT_EQ(b.SeriesColor(), GetDefaultPaletteColor(1));
    // A colour already chosen is kept; a freed palette colour is taken again.
    a.SetSeriesColor(clPurple);
    chart->AddSeries(&c);
    EXPECT_EQ(c.SeriesColor(), GetDefaultPaletteColor(0));
    // The chart's own palette wins over the default one; when every colour is taken the
    // last one is answered.
    chart->SetColorPalette({clLime, clAqua});
    EXPECT_EQ(chart->PaletteColor(3), clAqua);
    EXPECT_EQ(chart->PaletteColor(-1), clAqua);
    b.SetSeriesColor(clLime);
    c.SetSeriesColor(clAqua);
    EXPECT_EQ(chart->UnusedSeriesColor(false, nullptr), clAqua);
    EXPECT_EQ(chart->UnusedSeriesColor(false, &b), clLime);
    chart->RemoveSeries(&a);
    chart->RemoveSeries(&b);
    chart->RemoveSeries(&c);
}

TEST_F(EngineAxisPanel, TitleFallsBackToNameThenPosition)
{
    // Series without an owner: the chart frees them.
    chart->AddSeries(new TChartSeries(nullptr));
    chart->AddSeries(new TChartSeries(nullptr));
    TChartSeries* c = chart->AddSeries(new TChartSeries(nullptr));
    EXPECT_EQ(c->Title(), "Series3");
    c->SetName("Line1");
    EXPECT_EQ(c->Title(), "Line1");
    c->SetTitle("Calculated");
    EXPECT_EQ(c->Title(), "Calculated");
    EXPECT_EQ(c->StoredTitle(), "Calculated");
    chart->RemoveEverySeries([c](const TChartSeries* S) { return S != c; });
    EXPECT_EQ(chart->SeriesCount(), 1);
    chart->RemoveEverySeries();
    EXPECT_EQ(chart->SeriesCount(), 0);
}

TEST_F(EngineAxisPanel, ListenerMayFreeTheSeriesDuringTheBroadcast)
{
    auto* s = new TChartSeries(nullptr);
    auto* other = new TChartSeries(nullptr);
    chart->AddSeries(other);
    chart->AddSeries(s);
    recorder.React = [&](TTeeSeriesEvent* e) {
        if (e->Event == seRemove && e->Series == s) {
            recorder.React = nullptr;
            delete s;   // leaves the chart from inside the removal event
        }
    };
    chart->RemoveSeries(s);
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->Series(0), other);
    // Freeing a series on its add event is safe too.
    TChartSeries* doomed = nullptr;
    recorder.React = [&](TTeeSeriesEvent* e) {
        if (e->Event == seAdd && e->Series == doomed) {
            recorder.React = nullptr;
            delete doomed;
        }
    };
    doomed = new TChartSeries(nullptr);
    chart->AddSeries(doomed);
    EXPECT_EQ(chart->SeriesCount(), 1);
    chart.reset();   // frees the remaining series
}

TEST_F(EngineAxisPanel, DataSourcesAreCheckedAndFilled)
{
    TChartSeries a(nullptr), b(nullptr), c(nullptr), loose(nullptr);
    try {
        loose.SetDataSource(&a);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "No ParentChart to validate DataSource");
    }
    chart->AddSeries(&a);
    chart->AddSeries(&b);
    chart->AddSeries(&c);
    a.SetName("SourceA");
    TComponent plain(nullptr);
    plain.SetName("Plain");
    try {
        b.SetDataSource(&plain);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "No valid DataSource: Plain");
    }
    EXPECT_THROW(a.SetDataSource(&a), ChartException);
    a.AddPointXY(1, 10, "x");
    b.SetDataSource(&a);
    EXPECT_EQ(b.DataSource(), &a);
    EXPECT_EQ(b.Count(), 1);   // filled at once
    EXPECT_EQ(b.LabelText(0), "x");
    c.AddDataSource(&b);
    a.AddPointXY(2, 20);
    EXPECT_EQ(c.Count(), 2);   // through b
    try {
        a.SetDataSource(&c);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "Circular Series dependences are not allowed");
    }
    // A loop through a second source is refused as well.
    TChartSeries d(nullptr);
    chart->AddSeries(&d);
    c.AddDataSource(&d, false);
    EXPECT_EQ(c.DataSources()->Count(), 2);
    EXPECT_THROW(d.AddDataSource(&c), ChartException);
    b.SetDataSource(nullptr);
    EXPECT_EQ(a.LinkedSeries()->Count(), 0);
    for (TChartSeries* s : {&a, &b, &c, &d})
        chart->RemoveSeries(s);
}

TEST_F(EngineAxisPanel, SeriesCanMoveBetweenChartsAndOutliveThem)
{
    TChartSeries s(nullptr);
    chart->AddSeries(&s);
    TestPanel other(nullptr);
    other.AddSeries(&s);
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(other.SeriesCount(), 1);
    EXPECT_EQ(s.ParentChart(), &other);
    other.RemoveSeriesAt(0);
    EXPECT_EQ(s.ParentChart(), nullptr);
    EXPECT_EQ(other.SeriesCount(), 0);
    EXPECT_EQ(recorder.Events.back(), (Heard{1, &s}));
}

} // namespace
