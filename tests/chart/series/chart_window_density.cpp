// The chart on screen: drawn through its buffer onto a window image of twice the
// density it keeps its layout, hit tests and exported sizes while lines and text get
// the screen's resolution; a chart of colour clNone lets its parent show through.
#include "chart_fixture.h"

#include "controls/CustomControls.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace charttest {
namespace {

struct ChartWindowDensity : ChartSeriesTest {
    // The application's chart: a line through circle points, with a title.
    TPointSeries* Fill()
    {
        chart->Title()->Text()->Add("Cp");
        chart->Title()->Font()->SetSize(12);
        auto* line = Add<TLineSeries>(clBlue, {});
        auto* points = Add<TPointSeries>(clRed, {});
        points->Pointer()->SetStyle(psCircle);
        for (int i = 0; i < 8; ++i) {
            line->AddPointXY(i, i * i);
            points->AddPointXY(i + 0.5, i * i + 3);
        }
        return points;
    }
    // The chart as the window shows it: through its buffer, onto an image of the ratio.
    std::unique_ptr<TBitmap> Shown(double Ratio)
    {
        auto bmp = std::make_unique<TBitmap>(W, H);
        bmp->SetPixelRatio(Ratio);
        chart->DrawToCanvas(bmp->Canvas(), TRect(0, 0, W, H));
        bmp->Canvas()->Flush();
        return bmp;
    }
    // Image pixels that are not white within the device rectangle.
    static int Ink(TBitmap& b, const TRect& r)
    {
        const double k = b.PixelRatio();
        int n = 0;
        for (int y = int(r.Top * k); y < int(r.Bottom * k); ++y)
            for (int x = int(r.Left * k); x < int(r.Right * k); ++x)
                n += Px(b, x, y) != clWhite ? 1 : 0;
        return n;
    }
};

TEST_F(ChartWindowDensity, LinesAndTextTakeTheScreenResolutionAndTheLayoutStays)
{
    TPointSeries* points = Fill();
    auto one = Shown(1);
    const TRect title = chart->Title()->ShapeBounds;
    const int axisX = chart->LeftAxis()->PosAxis;
    const TRect plot = chart->ChartRect;
    const TPoint p(points->PointScreenX(5), points->PointScreenY(5));
    auto two = Shown(2);
    ASSERT_EQ(two->PixelWidth(), 2 * W);
    // The same layout: title, axis and the point's place.
    EXPECT_EQ(chart->Title()->ShapeBounds, title);
    EXPECT_EQ(chart->LeftAxis()->PosAxis, axisX);
    EXPECT_EQ(chart->ChartRect, plot);
    EXPECT_EQ(TPoint(points->PointScreenX(5), points->PointScreenY(5)), p);

    // Every black line one device pixel wide across the plot's rows (the plot's frame)
    // is two image pixels wide.
    int rows = 0;
    for (int y = chart->ChartRect.Top + 2; y < chart->ChartRect.Bottom - 2; ++y)
        for (int x = plot.Left - 1; x <= plot.Right; ++x) {
            // Clear of anything else by two pixels both ways (a symbol's outline next to
            // the frame is drawn apart from it only at the finer resolution).
            if (Px(*one, x, y) != clBlack || Px(*one, x - 1, y) != clWhite || Px(*one, x + 1, y) != clWhite ||
                Px(*one, x - 2, y) != clWhite || Px(*one, x + 2, y) != clWhite)
                continue;
            ++rows;
            for (int k : {0, 1}) {
                EXPECT_EQ(Px(*two, 2 * x, 2 * y + k), clBlack) << x << "," << y;
                EXPECT_EQ(Px(*two, 2 * x + 1, 2 * y + k), clBlack) << x << "," << y;
                EXPECT_EQ(Px(*two, 2 * x - 1, 2 * y + k), clWhite) << x << "," << y;
                EXPECT_EQ(Px(*two, 2 * x + 2, 2 * y + k), clWhite) << x << "," << y;
            }
        }
    EXPECT_GT(rows, 20);
    // The title's text: more than twice the inked pixels.
    EXPECT_GT(Ink(*two, title), 2 * Ink(*one, title));
    EXPECT_GT(Ink(*one, title), 20);
    // The point's circle is where it was.
    EXPECT_EQ(Px(*two, 2 * p.X + 1, 2 * p.Y + 1), clRed);
    if (const std::string path = testsupport::ArtifactPath("chart_window_ratio2.png"); !path.empty())
        two->SaveToFile(path);
    if (const std::string path = testsupport::ArtifactPath("chart_window_ratio1.png"); !path.empty())
        one->SaveToFile(path);
}

// On a screen scaled by 125 % or 150 % the chart's one-pixel lines (frame, axes, grid,
// ticks) keep one width in image pixels wherever they fall.
TEST_F(ChartWindowDensity, OnePixelLinesKeepOneWidthAtAFractionalRatio)
{
    Fill();
    const TColor grid = chart->LeftAxis()->Grid()->Color();
    for (double ratio : {1.25, 1.5}) {
        SCOPED_TRACE(ratio);
        auto shown = Shown(ratio);
        const int one = std::max(1, int(std::lround(ratio)));
        // Across the plot's upper left quarter, each way: every run of the grid's colour
        // short enough to be a line crossed (not a dash followed) is `one` pixels long.
        const TRect plot = chart->ChartRect;
        const int x0 = int((plot.Left + 3) * ratio), x1 = int((plot.Left + plot.Right) / 2 * ratio);
        const int y0 = int((plot.Top + 3) * ratio), y1 = int((plot.Top + plot.Bottom) / 2 * ratio);
        int crossed = 0;
        for (bool across : {true, false})
            for (int i = across ? y0 : x0; i < (across ? y1 : x1); ++i) {
                int run = -1;   // none counted until the first pixel off the grid's colour
                for (int j = across ? x0 : y0; j <= (across ? x1 : y1); ++j) {
                    const bool inked = j < (across ? x1 : y1) && (across ? Px(*shown, j, i) : Px(*shown, i, j)) == grid;
                    if (inked) {
                        run += run >= 0 ? 1 : 0;
                        continue;
                    }
                    if (run > 0 && run <= one + 1) {
                        ASSERT_EQ(run, one) << (across ? "row " : "column ") << i << " at " << j;
                        ++crossed;
                    }
                    run = 0;
                }
            }
        EXPECT_GT(crossed, 100);
        const std::string name = ratio == 1.25 ? "125" : "150";
        if (const std::string path = testsupport::ArtifactPath("chart_window_ratio" + name + ".png"); !path.empty())
            shown->SaveToFile(path);
    }
}

TEST_F(ChartWindowDensity, AClickAtADevicePointHitsTheSamePointAtBothRatios)
{
    TPointSeries* points = Fill();
    for (double ratio : {1.0, 2.0}) {
        Shown(ratio);
        for (int i : {2, 6}) {
            const TChartClickedPart part = chart->ClickedPart(points->PointScreenX(i), points->PointScreenY(i));
            EXPECT_EQ(part.Part, cpSeries) << ratio;
            EXPECT_EQ(part.ASeries, points) << ratio;
            EXPECT_EQ(part.PointIndex, i) << ratio;
        }
    }
    // A picture exported after a dense drawing has the size asked for, one pixel per unit.
    auto exported = chart->DrawToBitmap(clWhite, TRect(0, 0, 120, 90));
    EXPECT_EQ(exported->PixelWidth(), 120);
    EXPECT_EQ(exported->PixelHeight(), 90);
}

TEST_F(ChartWindowDensity, ASeeThroughChartShowsItsParentOnScreen)
{
    TCustomPanel parent(nullptr);
    parent.SetBounds(0, 0, W, H);
    parent.SetBevelOuter(bvNone);
    parent.SetColor(clYellow);
    chart->SetParent(&parent);
    chart->SetBounds(0, 0, W, H);
    chart->SetBevelOuter(bvNone);
    chart->SetColor(clNone);
    Fill();
    const QImage shown = parent.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double k = shown.devicePixelRatio();
    auto at = [&](int x, int y) {
        const QRgb v = shown.pixel(int(x * k), int(y * k));
        return RGB(qRed(v), qGreen(v), qBlue(v));
    };
    // Outside the plot the chart paints nothing: the parent's colour; the chart itself
    // still draws its title and axes.
    EXPECT_EQ(at(2, H - 2), clYellow);
    EXPECT_EQ(at(W - 2, 2), clYellow);
    EXPECT_NE(at(chart->LeftAxis()->PosAxis, (chart->ChartRect.Top + chart->ChartRect.Bottom) / 2), clYellow);
    // The exported picture of the same chart stays on white.
    auto bmp = chart->DrawToBitmap(clNone, TRect(0, 0, W, H));
    EXPECT_EQ(Px(*bmp, 2, H - 2), clWhite);
    chart->SetParent(nullptr);
}

} // namespace
} // namespace charttest
