// A 2D chart whose axes span fixed ranges over a known plot rectangle, drawing its
// series as the drawing pipeline does: visible range, depth, then the values.
#pragma once

#include "Series.h"
#include "ChartStarted.h"
#include "PixelProbe.h"
#include "TeeConst.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace seriestest {

// Plot rectangle (10, 10)-(210, 160) and axes 0..10 both ways: a value v lies at
// x = 10 + 20 v and y = 160 - 15 v.
class SeriesPanel : public TCustomAxisPanel {
public:
    SeriesPanel() : TCustomAxisPanel(nullptr)
    {
        SetBounds(0, 0, 220, 170);
        SetBevelOuter(bvNone);
        SetColor(clWhite);
        SetView3D(false);
        BottomAxis()->SetMinMax(0, 10);
        LeftAxis()->SetMinMax(0, 10);
        Layout();
    }
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    void Layout()
    {
        ChartRect = TRect(10, 10, 210, 160);
        ChartWidth = 200;
        ChartHeight = 150;
        MaxZOrder = -1;
        for (TChartAxis* a : Axes()->List()) {
            a->RefreshRange();
            a->CalcPositions();
        }
        for (int t = 0; t < SeriesCount(); ++t) {
            Series(t)->FindVisibleIndexRange();
            Series(t)->ComputeZOrder();
            Series(t)->ComputeDepthExtent();
        }
    }
    std::unique_ptr<TBitmap> Picture() { return DrawToBitmap(clWhite, TRect(0, 0, 220, 170)); }

protected:
    void DrawContents(const TRect& R) override
    {
        DrawBackground(R);
        Layout();
        for (int t = 0; t < SeriesCount(); ++t)
            if (Series(t)->Active())
                Series(t)->DrawVisiblePoints();
    }
};

inline int PX(double v) { return 10 + int(20 * v); }
inline int PY(double v) { return 160 - int(15 * v); }

using testsupport::Px;

// Whether any pixel within one pixel of (x, y) has the colour.
inline bool Near(TBitmap& b, int x, int y, TColor c)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Px(b, x + dx, y + dy) == c)
                return true;
    return false;
}

// The series drawn one segment at a time with the canvas's own lines, in Color and
// Style: what joining every point gives. A segment that ends at a null is left out.
inline std::unique_ptr<TBitmap> EverySegment(TChartSeries& s, TColor Color, TPenStyle Style = psSolid)
{
    auto bmp = std::make_unique<TBitmap>(220, 170);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 220, 170));
    c->Pen()->SetColor(Color);
    c->Pen()->SetStyle(Style);
    for (int i = 1; i < s.Count(); ++i) {
        if (s.IsNull(i))
            continue;
        c->MoveTo(s.PointScreenX(i - 1), s.PointScreenY(i - 1));
        c->LineTo(s.PointScreenX(i), s.PointScreenY(i));
    }
    c->Flush();
    return bmp;
}

// Pixels that differ between two pictures of one size, and pixels inked (not white) in
// either.
struct PictureDifference {
    int Differ = 0;
    int Inked = 0;
};
inline PictureDifference Compare(TBitmap& a, TBitmap& b)
{
    PictureDifference d;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor pa = Px(a, x, y), pb = Px(b, x, y);
            d.Differ += pa != pb;
            d.Inked += pa != clWhite || pb != clWhite;
        }
    return d;
}

// N points with ascending X over 0..10 and Y scattered around a wave, the same for
// every seed; every Gap-th point (when Gap > 0) null.
inline void AddNoisyPoints(TChartSeries& s, int N, unsigned Seed, int Gap = 0)
{
    unsigned r = Seed;
    const auto next = [&r] { return (r = r * 1664525u + 1013904223u) >> 8; };
    double x = 0;
    for (int i = 0; i < N; ++i) {
        x += 10.0 * (0.5 + (next() % 1000) / 1000.0) / N;
        const double y = 5 + 3 * std::sin(x) + (next() % 2001) / 1000.0 - 1;
        if (Gap > 0 && i % Gap == Gap / 2)
            s.AddNullPointXY(std::min(x, 10.0), y);
        else
            s.AddPointXY(std::min(x, 10.0), y);
    }
}

struct SeriesTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<SeriesPanel>();
    }
    void TearDown() override
    {
        chart.reset();
    }
    template <typename T> T* Add(TColor Color, std::initializer_list<std::pair<double, double>> Points)
    {
        auto* s = new T(&form);
        s->SetSeriesColor(Color);
        for (auto [x, y] : Points)
            s->AddPointXY(x, y);
        chart->AddSeries(s);
        chart->Layout();
        return s;
    }

    // The chart drawn with the canvas's shortcuts gives the picture of its plain drawing,
    // with more than MinInked pixels inked. The shortcut picture is kept as
    // Name-What.png where the test pictures go, the plain one too when they differ.
    void ExpectShortcutsDrawAsPlain(const std::string& Name, const std::string& What, int MinInked)
    {
        auto quick = chart->Picture();
        chart->Canvas()->SetShortcuts(false);
        auto plain = chart->Picture();
        chart->Canvas()->SetShortcuts(true);
        const PictureDifference d = Compare(*quick, *plain);
        EXPECT_GT(d.Inked, MinInked) << What;
        EXPECT_EQ(d.Differ, 0) << What;
        if (const std::string path = testsupport::ArtifactPath(Name + "-" + What + ".png"); !path.empty()) {
            quick->SaveToFile(path);
            if (d.Differ != 0)
                plain->SaveToFile(testsupport::ArtifactPath(Name + "-" + What + "-plain.png"));
        }
    }

    TComponent form{nullptr};
    std::unique_ptr<SeriesPanel> chart;
};

} // namespace seriestest
