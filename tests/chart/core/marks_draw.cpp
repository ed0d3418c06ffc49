// Marks drawn on a chart into bitmaps: box, text, arrow and symbol where the geometry
// puts them, the size of multi-line marks, custom positions, hidden and null points,
// clipping, and a sampler picture.
#include "marks_fixture.h"

#include "TestSupport.h"

#include <climits>
#include <string>

using markstest::MarksTest;
using markstest::Px;

namespace {

struct Extent {
    int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN, Count = 0;
};

// Pixels of smoothed blue text.
bool Bluish(TColor c)
{
    return GetBValue(c) > 128 && GetRValue(c) < 128 && GetGValue(c) < 128;
}

// The inclusive bounds of the pixels of one colour (any colour but white without one).
Extent Painted(TBitmap& b, TColor Only = clNone, bool (*Match)(TColor) = nullptr)
{
    Extent e;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = Px(b, x, y);
            if (Match != nullptr ? Match(c) : Only == clNone ? c != clWhite : c == Only)
                e = {std::min(e.Left, x), std::min(e.Top, y), std::max(e.Right, x), std::max(e.Bottom, y), e.Count + 1};
        }
    return e;
}

struct MarksDraw : MarksTest {
    void SetUp() override
    {
        MarksTest::SetUp();
        marks->SetVisible(true);
        marks->SetColor(clYellow);
        marks->Shadow()->SetSize(0);
        marks->Font()->SetColor(clBlue);
    }
    // Draws the marks of every point, each at the pixel At gives; Shift moves each mark
    // off its point by the callout first, as series types do.
    std::unique_ptr<TBitmap> Draw(std::function<TPoint(int)> At, bool Shift = false)
    {
        chart->Contents = [&] {
            marks->DrawMarks(0, series->Count() - 1, At, [&](int i, const std::string& Text, TSeriesMarkPosition& P) {
                if (Shift)
                    marks->ShiftMarkPosition(P);
                marks->DrawItem(i, series->ValueColor(i), Text, P);
            });
        };
        return chart->DrawToBitmap(clWhite, TRect(0, 0, 200, 160));
    }
    // The size a one-line mark of Text takes with a one-pixel frame.
    TPoint ExpectedSize(const std::string& Text)
    {
        TTeeCanvas3D* s = chart->Canvas();
        s->ApplyFont(marks->Font());
        return TPoint(s->TextWidth(Text) + s->TextWidth("W") + 2, CanvasLineHeight(s) + 2);
    }
};

} // namespace

TEST_F(MarksDraw, BoxTextAndArrowWhereTheGeometrySays)
{
    series->Add(42, "Mark");
    marks->SetArrowLength(20);
    marks->Arrow()->SetColor(clRed);
    const TPoint size = ExpectedSize("Mark");
    auto bmp = Draw([](int) { return TPoint(100, 120); }, true);

    // Centred over the point, lifted by the arrow length.
    const int left = 100 - size.X / 2, top = 120 - size.Y + 1 - 20;
    const int right = left + size.X - 1, bottom = top + size.Y - 1;
    const int midY = (top + bottom) / 2;
    EXPECT_EQ(Px(*bmp, left, midY), clBlack);
    EXPECT_EQ(Px(*bmp, left - 1, midY), clWhite);
    EXPECT_EQ(Px(*bmp, right, midY), clBlack);
    EXPECT_EQ(Px(*bmp, right + 1, midY), clWhite);
    EXPECT_EQ(Px(*bmp, 100, top), clBlack);
    EXPECT_EQ(Px(*bmp, 100, top - 1), clWhite);
    EXPECT_EQ(Px(*bmp, 100, bottom), clBlack);
    EXPECT_EQ(Px(*bmp, left + 1, top + 1), clYellow);

    // The text lies inside the box, centred within a few pixels.
    const Extent text = Painted(*bmp, clBlue);
    ASSERT_GT(text.Count, 0);
    EXPECT_GT(text.Left, left);
    EXPECT_LT(text.Right, right);
    EXPECT_GT(text.Top, top);
    EXPECT_LT(text.Bottom, bottom);
    EXPECT_LE(std::abs((text.Left + text.Right) / 2 - (left + right) / 2), 3);

    // The arrow runs from the point up to the box.
    const Extent arrow = Painted(*bmp, clRed);
    EXPECT_EQ(arrow.Left, 100);
    EXPECT_EQ(arrow.Right, 100);
    EXPECT_EQ(arrow.Bottom, 120);
    EXPECT_EQ(arrow.Top, bottom + 1);

    // The drawn place is stored for hit tests.
    const TSeriesMarkPosition* p = marks->Positions()->Position(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->LeftTop, TPoint(left, top));
    EXPECT_EQ(marks->Clicked(100, midY), 0);
    EXPECT_EQ(marks->Clicked(100, 130), -1);
}

TEST_F(MarksDraw, SizeFollowsLinesFrameAndSymbol)
{
    FixedMetrics();   // 6 pixels a character, 13 a line
    series->Add(1);
    TSeriesMarkPosition p;
    marks->PrepareMarkPosition(0, "ab\rcdef", TPoint(100, 100), p);
    EXPECT_EQ(p.Width, 4 * 6 + 6 + 2);
    EXPECT_EQ(p.Height, 2 * 13 + 2);
    EXPECT_EQ(p.LeftTop, TPoint(100 - 16, 100 - 28 + 1));
    EXPECT_EQ(p.ArrowFrom, TPoint(100, 100));
    EXPECT_EQ(p.ArrowTo, TPoint(100, 100));
    marks->PrepareMarkPosition(0, "abc", TPoint(100, 100), p);
    EXPECT_EQ(p.Width, 18 + 6 + 2);
    EXPECT_EQ(p.Height, 13 + 2);
    marks->Frame()->SetWidth(3);
    marks->PrepareMarkPosition(0, "abc", TPoint(100, 100), p);
    EXPECT_EQ(p.Width, 18 + 6 + 6);
    EXPECT_EQ(p.Height, 13 + 6);
    marks->Frame()->Hide();
    marks->Symbol()->Show();
    marks->PrepareMarkPosition(0, "abc", TPoint(100, 100), p);
    EXPECT_EQ(p.Width, 18 + 6 + (13 - 4) + 1);
    EXPECT_EQ(p.Height, 13 + 1);
    EXPECT_EQ(marks->Symbol()->ShapeBounds, TRect(p.LeftTop.X + 2, p.LeftTop.Y + 2, p.LeftTop.X + 15, p.LeftTop.Y + 15));
    // A point's item decides the frame of its own mark.
    marks->Item(0)->Frame()->SetWidth(2);
    marks->PrepareMarkPosition(0, "abc", TPoint(100, 100), p);
    EXPECT_EQ(p.Height, 13 + 4);
    // The widest line of the mark text.
    series->SetLabel(0, "xy\rlonger");
    EXPECT_EQ(marks->MarkTextPixelWidth(0), 36);
}

TEST_F(MarksDraw, MultiLineMarkIsTallerByALine)
{
    series->Add(5, "Label");
    auto one = Draw([](int) { return TPoint(100, 100); });
    const Extent single = Painted(*one, clBlack);
    marks->SetStyle(smsLabelValue);
    marks->SetMultiLine(true);
    auto two = Draw([](int) { return TPoint(100, 100); });
    const Extent dbl = Painted(*two, clBlack);
    const int line = CanvasLineHeight(chart->Canvas());
    EXPECT_EQ(dbl.Bottom, single.Bottom);   // both end at the point
    EXPECT_EQ((dbl.Bottom - dbl.Top) - (single.Bottom - single.Top), line);
    // Both lines are written: blue text in the upper and the lower half.
    const Extent text = Painted(*two, clBlue);
    EXPECT_LT(text.Top, dbl.Top + line);
    EXPECT_GT(text.Bottom, dbl.Top + line + 2);
}

TEST_F(MarksDraw, HiddenNullAndSkippedPointsDrawNothing)
{
    series->Add(1, "A");
    series->AddNull("N");
    series->Add(3, "C");
    auto at = [](int i) { return TPoint(40 + 60 * i, 100); };
    marks->SetVisible(false);
    EXPECT_EQ(Painted(*Draw(at)).Count, 0);
    EXPECT_EQ(marks->Positions()->Count(), 0);

    marks->SetVisible(true);
    marks->Item(2)->SetVisible(false);   // a point whose own format is hidden
    auto bmp = Draw(at);
    const Extent e = Painted(*bmp);
    EXPECT_GT(e.Count, 0);
    EXPECT_LT(e.Right, 80);   // only the first point's mark
    EXPECT_EQ(marks->Positions()->Position(1), nullptr);

    series->OnGetMarkText = [](TChartSeries*, int, std::string& Text) { Text.clear(); };
    EXPECT_EQ(Painted(*Draw(at)).Count, 0);   // an empty text draws no box
}

TEST_F(MarksDraw, CustomPositionsAreKeptPerIndex)
{
    series->Add(1, "A");
    series->Add(2, "B");
    auto at = [](int i) { return TPoint(50 + 80 * i, 100); };
    Draw(at);
    TSeriesMarkPosition* custom = marks->Positions()->Position(0);
    ASSERT_NE(custom, nullptr);
    const int w = custom->Width, h = custom->Height;
    custom->Custom = true;
    custom->LeftTop = TPoint(10, 10);
    custom->ArrowTo = TPoint(10 + w / 2, 10 + h);
    const TPoint secondBefore = marks->Positions()->Position(1)->LeftTop;

    auto bmp = Draw([](int i) { return TPoint(60 + 80 * i, 110); });
    // Index 0 stays where the user put it; index 1 follows its point.
    EXPECT_EQ(Px(*bmp, 10, 10 + h / 2), clBlack);
    EXPECT_EQ(Px(*bmp, 9, 10 + h / 2), clWhite);
    EXPECT_EQ(marks->Positions()->Position(0)->LeftTop, TPoint(10, 10));
    EXPECT_EQ(marks->Positions()->Position(1)->LeftTop, TPoint(secondBefore.X + 10, secondBefore.Y + 10));

    // A fixed arrow start keeps the start the series gives.
    chart->Contents = [&] {
        TSeriesMarkPosition p;
        marks->PrepareMarkPosition(0, "A", TPoint(77, 120), p);
        p.ArrowFix = true;
        marks->DrawItem(0, clRed, "A", p);
        EXPECT_EQ(p.ArrowFrom, TPoint(77, 120));
        EXPECT_EQ(p.LeftTop, TPoint(10, 10));
    };
    chart->DrawToBitmap(clWhite, TRect(0, 0, 200, 160));
}

TEST_F(MarksDraw, SymbolInThePointColour)
{
    series->Add(1, "Symbol", clGreen);
    marks->Symbol()->Show();
    auto bmp = Draw([](int) { return TPoint(100, 100); });
    const TSeriesMarkPosition* p = marks->Positions()->Position(0);
    ASSERT_NE(p, nullptr);
    const int fh = CanvasLineHeight(chart->Canvas());
    const TRect box(p->LeftTop.X + 4, p->LeftTop.Y + 3, p->LeftTop.X + fh - 1, p->LeftTop.Y + fh - 2);
    EXPECT_EQ(marks->Symbol()->ShapeBounds, box);
    EXPECT_EQ(Px(*bmp, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2), clGreen);
    // The text moves right of the symbol.
    EXPECT_GT(Painted(*bmp, clBlue).Left, box.Right);
    // A transparent symbol draws nothing.
    marks->Symbol()->SetTransparent(true);
    EXPECT_EQ(Painted(*Draw([](int) { return TPoint(100, 100); }), clGreen).Count, 0);
}

TEST_F(MarksDraw, TransparentMarksKeepOnlyTheirText)
{
    series->Add(1, "Clear");
    marks->SetTransparent(true);
    auto bmp = Draw([](int) { return TPoint(100, 100); });
    EXPECT_EQ(Painted(*bmp, clYellow).Count, 0);
    EXPECT_EQ(Painted(*bmp, clBlack).Count, 0);
    EXPECT_GT(Painted(*bmp, clBlue).Count, 0);
}

TEST_F(MarksDraw, ClipKeepsMarksInsideTheChart)
{
    series->Add(1, "Top");
    auto draw = [&] {
        chart->Contents = [&] {
            chart->ChartRect = TRect(20, 30, 180, 140);
            marks->DrawMarks(0, 0, [](int) { return TPoint(100, 35); });
        };
        return chart->DrawToBitmap(clWhite, TRect(0, 0, 200, 160));
    };
    EXPECT_LT(Painted(*draw()).Top, 30);
    marks->SetClip(true);
    const Extent e = Painted(*draw());
    EXPECT_GT(e.Count, 0);
    EXPECT_GE(e.Top, 30);
}

TEST_F(MarksDraw, TurnedMarkStandsUpright)
{
    series->Add(1, "Turned text");
    marks->SetAngle(90);
    auto bmp = Draw([](int) { return TPoint(100, 120); });
    const Extent box = Painted(*bmp, clBlack);
    const Extent text = Painted(*bmp, clNone, Bluish);
    ASSERT_GT(text.Count, 0);
    // A wide mark turned a quarter is taller than wide, its text too.
    EXPECT_GT(box.Bottom - box.Top, box.Right - box.Left);
    EXPECT_GT(text.Bottom - text.Top, text.Right - text.Left);
    EXPECT_GE(text.Top, box.Top);
    EXPECT_LE(text.Bottom, box.Bottom);
}

TEST_F(MarksDraw, Sampler)
{
    series->Add(25, "Apples");
    series->Add(40, "Pears", clGreen);
    series->Add(-10, "Plums", clPurple);
    series->Add(60);
    marks->Shadow()->SetSize(1);
    marks->SetArrowLength(16);
    marks->Arrow()->SetColor(clRed);
    marks->Symbol()->Show();
    marks->SetStyle(smsLabelPercent);
    marks->SetMultiLine(true);
    marks->Item(2)->SetColor(clAqua);
    marks->Item(2)->SetShapeStyle(fosRoundRectangle);
    marks->Item(3)->Text()->Add("own text");
    marks->Item(3)->Text()->Add("2nd line");
    auto bmp = Draw([](int i) { return TPoint(30 + 44 * i, 150 - 20 * i); }, true);
    const std::string path = testsupport::ArtifactPath("marks-sampler.png");
    if (!path.empty())
        bmp->SaveToFile(path);
    EXPECT_GT(Painted(*bmp, clGreen).Count, 0);
    EXPECT_GT(Painted(*bmp, clAqua).Count, 0);
    // The widest mark stands whole in the picture, its frame clear of the right edge.
    EXPECT_LT(Painted(*bmp, clBlack).Right, 199);
}
