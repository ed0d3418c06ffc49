// Point symbol and callout settings: what the callout constructors set, checked setters
// that ask the chart to repaint, axis margins, copying, and moving a mark by its callout.
#include "TeEngine.h"
#include "TeeConst.h"

#include <gtest/gtest.h>

namespace {

// A chart that counts the repaints it is asked for.
class TCountingPanel : public TCustomAxisPanel {
public:
    TCountingPanel() : TCustomAxisPanel(nullptr) {}
    int Repaints = 0;
    void RequestRepaint() override { ++Repaints; }
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
};

} // namespace

TEST(PointerProperties, CalloutsStartAsTheirOwnersNeed)
{
    TCallout c;
    EXPECT_TRUE(c.Visible() && c.InflateMargins());
    EXPECT_FALSE(c.Draw3D());
    EXPECT_EQ(c.Brush()->Color(), clBlack);
    TMarksCallout m;
    EXPECT_FALSE(m.Visible());
    EXPECT_EQ(m.Arrow()->Color(), clWhite);
    EXPECT_FALSE(m.IsLengthStored());
    m.SetLength(20);
    EXPECT_TRUE(m.IsLengthStored());
    m.SetDefaultLength(20);
    EXPECT_FALSE(m.IsLengthStored());
    // A pointer made for a series draws on the series' chart.
    TCountingPanel chart;
    TChartSeries series(nullptr);
    series.SetParentChart(&chart);
    TSeriesPointer p(&series);
    EXPECT_EQ(p.ParentChart(), &chart);
    series.SetParentChart(nullptr);
}

TEST(PointerProperties, SettersRepaintOnlyOnChangeAndRefuseBadValues)
{
    TCountingPanel chart;
    TMarksCallout p;
    p.SetParentChart(&chart);
    const std::vector<std::function<void()>> setters = {
        [&] { p.SetDark3D(false); },      [&] { p.SetDraw3D(true); },        [&] { p.SetHorizSize(7); },
        [&] { p.SetVertSize(9); },        [&] { p.SetInflateMargins(false); }, [&] { p.SetStyle(psStar); },
        [&] { p.SetTransparency(30); },   [&] { p.SetVisible(true); },       [&] { p.SetArrowHead(ahSolid); },
        [&] { p.SetArrowHeadSize(12); },  [&] { p.SetDistance(3); },         [&] { p.SetLength(5); },
        [&] { p.Gradient()->SetVisible(true); }, [&] { p.Arrow()->SetColor(clRed); },
    };
    for (size_t i = 0; i < setters.size(); ++i) {
        const int before = chart.Repaints;
        setters[i]();
        EXPECT_EQ(chart.Repaints, before + 1) << "setter " << i;
        setters[i]();
        EXPECT_EQ(chart.Repaints, before + 1) << "setter " << i << " again";
    }
    try {
        p.SetVertSize(0);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(std::string(e.Message()), TeeMsg_PointerSize);
    }
    EXPECT_THROW(p.SetHorizSize(-3), ChartException);
    EXPECT_THROW(p.SetStyle(TSeriesPointerStyle(12)), ERangeError);
    EXPECT_THROW(p.SetStyle(TSeriesPointerStyle(-1)), ERangeError);
    EXPECT_THROW(p.SetTransparency(101), ERangeError);
    EXPECT_THROW(p.SetArrowHead(TArrowHeadStyle(3)), ERangeError);
    EXPECT_EQ(p.VertSize(), 9);
    EXPECT_EQ(p.HorizSize(), 7);
    EXPECT_EQ(p.Style(), psStar);
    EXPECT_EQ(p.Transparency(), 30);
    EXPECT_EQ(p.ArrowHead(), ahSolid);
}

TEST(PointerProperties, OddValuesDrawSafelyAndMarginsMakeRoom)
{
    TBitmap bmp(20, 20);
    TTeeCanvas3D s;
    s.SetBuffered(false);
    s.SetupProjection(bmp.Canvas(), nullptr, TRect(0, 0, 20, 20), false);
    TSeriesPointer p;
    p.SetTransparency(10);
    p.PrepareCanvas(&s, clRed);
    p.DrawPointer(&s, false, 10, 10, 4, 4, clRed, TSeriesPointerStyle(40));
    p.DrawPointer(&s, false, 10, 10, -5, -5, clRed, psDiamond);
    p.DrawPointer(&s, false, INT_MAX - 2, INT_MIN + 2, INT_MAX, INT_MAX, clRed, psStar);
    p.DrawPointer(nullptr, false, 10, 10, 4, 4, clRed, psRectangle);

    int a = 2, b = 9;
    p.InflateHorizMargins(a, b);   // at least the half size + 1
    EXPECT_EQ(std::pair(a, b), std::pair(5, 9));
    p.SetVertSize(6);
    p.InflateVertMargins(a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(7, 9));
    a = b = 2;
    p.Hide();
    p.InflateHorizMargins(a, b);
    p.Show();
    p.SetInflateMargins(false);
    p.InflateVertMargins(a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(2, 2));
    p.SetInflateMargins(true);
    p.SetHorizSize(INT_MAX);
    p.InflateHorizMargins(a, b);
    EXPECT_GT(a, 2);
}

TEST(PointerProperties, AssignCopiesEverything)
{
    TMarksCallout src;
    src.SetDark3D(false);
    src.SetDraw3D(true);
    src.Gradient()->SetStartColor(clAqua);
    src.SetHorizSize(11);
    src.SetVertSize(12);
    src.SetInflateMargins(false);
    src.SetStyle(psDiamond);
    src.SetTransparency(40);
    src.Brush()->SetColor(clGreen);
    src.Pen()->SetColor(clMaroon);
    src.SetVisible(true);
    src.SetDistance(5);
    src.Arrow()->SetColor(clNavy);
    src.SetArrowHead(ahLine);
    src.SetArrowHeadSize(14);
    src.SetLength(30);
    TMarksCallout dst;
    dst.Assign(&src);
    EXPECT_FALSE(dst.Dark3D());
    EXPECT_TRUE(dst.Draw3D() && dst.Visible());
    EXPECT_FALSE(dst.InflateMargins());
    EXPECT_EQ(dst.Gradient()->StartColor(), clAqua);
    EXPECT_EQ(std::pair(dst.HorizSize(), dst.VertSize()), std::pair(11, 12));
    EXPECT_EQ(dst.Style(), psDiamond);
    EXPECT_EQ(dst.Transparency(), 40);
    EXPECT_EQ(std::pair(dst.Brush()->Color(), dst.Pen()->Color()), std::pair(clGreen, clMaroon));
    EXPECT_EQ(dst.Distance(), 5);
    EXPECT_EQ(dst.Arrow()->Color(), clNavy);
    EXPECT_EQ(dst.ArrowHead(), ahLine);
    EXPECT_EQ(dst.ArrowHeadSize(), 14);
    EXPECT_EQ(dst.Length(), 30);
    // Across classes only the shared part is copied.
    TSeriesPointer plain;
    plain.Assign(&src);
    EXPECT_EQ(plain.Style(), psDiamond);
    TCallout back;
    back.Assign(&plain);
    EXPECT_EQ(back.HorizSize(), 11);
    EXPECT_EQ(back.ArrowHead(), ahNone);
}

TEST(PointerProperties, CalloutMovesTheMarkAwayFromItsPoint)
{
    TMarksCallout m;
    m.SetLength(8);
    m.SetDistance(2);
    TPoint from(50, 100), to(50, 100), leftTop(30, 80);
    m.ShiftMarkPosition(from, to, leftTop);
    EXPECT_EQ(leftTop, TPoint(30, 70));
    EXPECT_EQ(to, TPoint(50, 90));
    EXPECT_EQ(from, TPoint(50, 98));
}
