// Pie series in a whole chart: slice angles with exploded and grouped slices, the donut
// hole, hit test by angle, marks around the pie, several pies, and the sampler picture.
#include "chart_fixture.h"

#include "graphics/CanvasRecorder.h"

#include <algorithm>

#include <cmath>
#include <numbers>

namespace charttest {
namespace {

constexpr double Pi = std::numbers::pi;

struct PieDraw : ChartSeriesTest {
    TPieSeries* Pie(std::initializer_list<double> Values)
    {
        auto* s = new TPieSeries(&form);
        for (double v : Values)
            s->Add(v);
        chart->AddSeries(s);
        return s;
    }
    // The pixel at a fraction of the radius along an angle (radians from the pie's start).
    static TPoint At(TPieSeries* s, double Angle, double Fraction)
    {
        int x = 0, y = 0;
        s->AngleToPoint(Angle, s->XRadius() * Fraction, s->YRadius() * Fraction, x, y);
        return TPoint(x, y);
    }
};

// A pie of eight values in a small chart, styled by a gallery-like setting.
std::unique_ptr<TChart> SamplerPie(TComponent& Form, const char* Title, bool View3D,
                                   const std::function<void(TPieSeries*)>& Style)
{
    auto chart = MakeChart(200, 170);
    chart->SetView3D(View3D);
    chart->Title()->Text()->Add(Title);
    auto* s = new TPieSeries(&Form);
    const double values[] = {40, 25, 18, 12, 9, 6, 3, 2};
    const char* labels[] = {"Cars", "Phones", "Tables", "Monitors", "Lamps", "Keyboards", "Bikes", "Chairs"};
    for (int i = 0; i < 8; ++i)
        s->Add(values[i], labels[i]);
    s->Marks()->Hide();
    chart->AddSeries(s);
    Style(s);
    return chart;
}

TEST_F(PieDraw, SamplerOfEveryStyleFlatAndIn3D)
{
    const std::vector<std::pair<const char*, std::function<void(TPieSeries*)>>> styles = {
        {"Plain", [](TPieSeries*) {}},
        {"Patterns", [](TPieSeries* s) { s->SetUsePatterns(true); }},
        {"Exploded", [](TPieSeries* s) { s->SetExplodeBiggest(30); }},
        {"Shadow", [](TPieSeries* s) { s->Shadow()->SetHorizSize(10); s->Shadow()->SetVertSize(10); }},
        {"Marks", [](TPieSeries* s) { s->Marks()->Show(); }},
        {"Semi Pie", [](TPieSeries* s) { s->SetAngleSize(180); }},
        {"No Border", [](TPieSeries* s) { s->PiePen()->Hide(); }},
        {"Dark Border", [](TPieSeries* s) { s->SetDarkPen(32); }},
        {"Donut", [](TPieSeries* s) { s->SetDonutPercent(50); }},
        {"Other", [](TPieSeries* s) {
             s->OtherSlice()->SetStyle(poBelowPercent);
             s->OtherSlice()->SetValue(8);
             s->OtherSlice()->SetColor(clGray);
             s->OtherSlice()->Legend()->Show();
         }},
        {"Gradient", [](TPieSeries* s) { s->Gradient()->SetVisible(true); }},
        {"Gradient donut", [](TPieSeries* s) { s->Gradient()->SetVisible(true); s->SetDonutPercent(40); }},
        {"Rotated", [](TPieSeries* s) { s->SetRotationAngle(90); s->SetExplodeBiggest(20); }},
    };
    PictureSheet sheet(7, 4, 200, 170);
    for (int view = 0; view < 2; ++view) {
        for (const auto& [name, style] : styles) {
            auto c = SamplerPie(form, name, view == 1, style);
            auto bmp = c->DrawToBitmap(clWhite, TRect(0, 0, 200, 170));
            auto* s = static_cast<TPieSeries*>(c->Series(0));
            const TColor first = s->ValueColor(0);
            bool found = false;
            for (int y = 0; y < 170 && !found; ++y)
                for (int x = 0; x < 200 && !found; ++x)
                    found = Px(*bmp, x, y) == first;
            EXPECT_TRUE(found || view == 1 || std::string(name) == "Patterns" || std::string(name) == "Gradient")
                << name;
            sheet.Add(*c);
        }
        sheet.Skip();   // the 3D pies start a row of their own
    }
    sheet.Save("pie-sampler.png");
}

TEST_F(PieDraw, AnglesSumToTheWholeWithExplodedAndGroupedSlices)
{
    auto* s = Pie({40, 25, 18, 12, 9, 6, 3, 2});
    s->OtherSlice()->SetStyle(poBelowPercent);
    s->OtherSlice()->SetValue(8);
    s->SetExplodeBiggest(30);
    auto bmp = Draw();
    // 9, 6, 3 and 2 lie below 8 % of 115: one point carries their sum.
    ASSERT_EQ(s->Count(), 9);
    EXPECT_EQ(s->PieValues()->Value(8), 20);
    EXPECT_EQ(s->LabelText(8), "Other");
    EXPECT_EQ(s->LegendItemCount(), 9);
    EXPECT_EQ(s->PieValues()->TotalAbsolute(), 115);   // percentages count the grouped values once
    const auto& a = s->Angles();
    double sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += a[i].EndAngle - a[i].StartAngle;
    EXPECT_NEAR(sum, 2 * Pi, 1e-9);
    EXPECT_NEAR(a[8].EndAngle, 2 * Pi, 1e-9);
    EXPECT_NEAR(a[0].EndAngle, 40.0 / 115 * 2 * Pi, 1e-9);
    for (int i = 4; i < 8; ++i) {
        EXPECT_EQ(a[i].EndAngle, a[i].StartAngle);   // grouped: no angle and no mark
        EXPECT_EQ(s->Marks()->Positions()->Position(i), nullptr);
    }
    EXPECT_NE(s->Marks()->Positions()->Position(8), nullptr);
    // A second drawing groups anew instead of adding another other slice.
    Draw();
    EXPECT_EQ(s->Count(), 9);

    // The biggest slice moved out along its middle angle, leaving a gap at the centre.
    EXPECT_EQ(s->ExplodedSlice().Value(0), 30);
    int dx = 0, dy = 0;
    s->CalcExplodedOffset(0, dx, dy);
    EXPECT_GT(dy, 0);
    const TColor red = s->ValueColor(0);
    const TPoint moved = At(s, a[0].MidAngle, 0.5);
    EXPECT_EQ(Px(*bmp, moved.X + dx, moved.Y - dy), red);
    const TPoint gap = At(s, a[0].MidAngle, 0.15);
    EXPECT_NE(Px(*bmp, gap.X, gap.Y), red);
    EXPECT_EQ(s->Clicked(moved.X + dx, moved.Y - dy), 0);

    s->SetAngleSize(180);
    Draw();
    EXPECT_NEAR(s->Angles()[8].EndAngle, Pi, 1e-9);
}

TEST_F(PieDraw, OtherSliceGroupsValuesBelowItsLimitButNotAtIt)
{
    auto* s = Pie({50, 30, 12, 5, 3});
    s->OtherSlice()->SetStyle(poBelowPercent);
    s->OtherSlice()->SetValue(5);   // 5 % of 100: the value 5 stays
    Draw();
    ASSERT_EQ(s->Count(), 6);
    EXPECT_EQ(s->PieValues()->Value(5), 3);
    s->OtherSlice()->SetValue(5.5);
    Draw();
    ASSERT_EQ(s->Count(), 6);
    EXPECT_EQ(s->PieValues()->Value(5), 8);
    s->OtherSlice()->SetStyle(poBelowValue);
    s->OtherSlice()->SetValue(12);
    Draw();
    ASSERT_EQ(s->Count(), 6);
    EXPECT_EQ(s->PieValues()->Value(5), 8);
}

// The order in which the slices of a pie first paint in their own colour.
struct SliceOrder : TCanvasRecorder {
    TPieSeries* Pie = nullptr;
    std::vector<int> Order;
    void Record(TCanvas& Canvas, const TCanvasOp&) override
    {
        for (int i = 0; i < Pie->Count(); ++i)
            if (Canvas.Brush()->Color() == Pie->ValueColor(i) &&
                std::find(Order.begin(), Order.end(), i) == Order.end())
                Order.push_back(i);
    }
};

TEST_F(PieDraw, SlicesOfA3DPieDrawFromTheFarSideToTheViewer)
{
    auto* s = Pie({10, 20, 25, 45});
    chart->SetView3D(true);
    s->SetExplodeBiggest(10);
    s->Marks()->Hide();
    auto order = [&] {
        SliceOrder recorder;
        recorder.Pie = s;
        TBitmap bmp(W, H);
        chart->SetCanvasBuffered(false);
        SetCanvasRecorder(*bmp.Canvas(), &recorder);
        chart->DrawToCanvas(bmp.Canvas(), TRect(0, 0, W, H));
        SetCanvasRecorder(*bmp.Canvas(), nullptr);
        return recorder.Order;
    };
    // Middle angles 0.1, 0.4, 0.85 and 1.55 pi: the last slice faces the viewer below.
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 0, 3}));
    // Turned by a quarter, the third slice faces the viewer.
    s->SetRotationAngle(90);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 3, 2}));
}

// The dark rim of a 3D pie shows at its front, below the face, not above it.
TEST_F(PieDraw, RimOfA3DPieShowsBelowItsFace)
{
    auto* s = Pie({1});
    s->SetValueColor(0, clRed);
    s->Marks()->Hide();
    chart->SetView3D(true);
    auto bmp = Draw();
    std::vector<int> face, rim;
    const int x = s->CircleXCenter();
    for (int y = 0; y < H; ++y) {
        const TColor c = Px(*bmp, x, y);
        if (c == clRed)
            face.push_back(y);
        else if (GetGValue(c) == 0 && GetBValue(c) == 0 && GetRValue(c) > 100)
            rim.push_back(y);
    }
    ASSERT_FALSE(face.empty());
    ASSERT_FALSE(rim.empty());
    EXPECT_GT(rim.front(), face.back());
}

TEST_F(PieDraw, DonutHoleAndHitTestByAngle)
{
    auto* s = Pie({1, 2, 3});
    s->SetRotationAngle(370);
    EXPECT_EQ(s->RotationAngle(), 10);
    s->SetDonutPercent(50);
    s->Marks()->Hide();
    auto bmp = Draw();
    const auto& a = s->Angles();
    const TPoint centre(s->CircleXCenter(), s->CircleYCenter());
    EXPECT_EQ(Px(*bmp, centre.X, centre.Y), clWhite);
    EXPECT_EQ(s->Clicked(centre.X, centre.Y), -1);
    for (int i = 0; i < 3; ++i) {
        const TPoint ring = At(s, a[i].MidAngle, 0.75);
        EXPECT_EQ(Px(*bmp, ring.X, ring.Y), s->ValueColor(i)) << i;
        EXPECT_EQ(s->Clicked(ring.X, ring.Y), i);
        const TPoint hole = At(s, a[i].MidAngle, 0.3);
        EXPECT_EQ(Px(*bmp, hole.X, hole.Y), clWhite) << i;
        EXPECT_EQ(s->Clicked(hole.X, hole.Y), -1);
    }
    // Outside the ellipse, even within its bounding rectangle, nothing.
    const TRect r = s->CircleRect();
    EXPECT_EQ(s->Clicked(r.Right - 2, r.Top + 2), -1);
}

TEST_F(PieDraw, SingleValueFillsTheCircleAndZeroValuesDrawNothing)
{
    auto* s = Pie({5});
    s->Marks()->Hide();
    auto bmp = Draw();
    const TColor c = s->ValueColor(0);
    for (double angle : {0.1, 1.6, 3.2, 4.8})
        EXPECT_EQ(Px(*bmp, At(s, angle, 0.6).X, At(s, angle, 0.6).Y), c) << angle;

    s->Clear();
    s->Add(0);
    s->Add(0);
    bmp = Draw();
    for (const TPieAngle& a : s->Angles())
        EXPECT_EQ(a.EndAngle, a.StartAngle);
    for (double angle : {0.1, 1.6, 3.2, 4.8}) {
        const TPoint p = At(s, angle, 0.6);
        EXPECT_EQ(Px(*bmp, p.X, p.Y), clWhite) << angle;
    }
}

TEST_F(PieDraw, MarksSitOutsideAlongTheMiddleAngle)
{
    auto* s = Pie({1, 1, 1, 1});   // middles at 45, 135, 225 and 315 degrees
    Draw();
    const int cx = s->CircleXCenter(), cy = s->CircleYCenter();
    const auto* right = s->Marks()->Positions()->Position(0);
    const auto* left = s->Marks()->Positions()->Position(2);
    ASSERT_NE(right, nullptr);
    ASSERT_NE(left, nullptr);
    EXPECT_GT(right->ArrowTo.X, cx + s->XRadius() * 0.7);
    EXPECT_LT(right->ArrowTo.Y, cy);
    EXPECT_GE(right->LeftTop.X, right->ArrowTo.X);                 // right of the arrow end
    EXPECT_LE(right->LeftTop.Y + right->Height, right->ArrowTo.Y + 1);   // above it
    EXPECT_LE(left->LeftTop.X + left->Width, left->ArrowTo.X + 1);  // left of it
    EXPECT_GE(left->LeftTop.Y, left->ArrowTo.Y);                    // below it
    // The marks fit inside the chart beside the circle.
    EXPECT_GE(left->LeftTop.X, chart->ChartRect.Left);
    EXPECT_LE(right->LeftTop.X + right->Width, chart->ChartRect.Right);
}

TEST_F(PieDraw, SeveralPiesShareTheChartAndA3DViewComesBack)
{
    chart->SetView3D(true);
    const bool orthogonal = chart->View3DOptions()->Orthogonal();
    const int elevation = chart->View3DOptions()->Elevation();
    auto* a = Pie({1, 2});
    EXPECT_FALSE(chart->View3DOptions()->Orthogonal());
    EXPECT_EQ(chart->View3DOptions()->Elevation(), 315);
    auto* b = Pie({2, 1});
    auto* c = Pie({3, 1});
    for (auto* s : {a, b, c})
        s->Marks()->Hide();
    chart->SetView3D(false);
    Draw();
    // Two columns and two rows: three circles apart, each inside the chart.
    const TRect& all = chart->ChartRect;
    TRect r[3] = {a->CircleRect(), b->CircleRect(), c->CircleRect()};
    for (const TRect& x : r) {
        EXPECT_GE(x.Left, all.Left);
        EXPECT_LE(x.Right, all.Right);
        EXPECT_GE(x.Top, all.Top);
        EXPECT_LE(x.Bottom, all.Bottom);
    }
    EXPECT_LE(r[0].Right, r[1].Left);
    EXPECT_LE(r[0].Bottom, r[2].Top);

    c->SetParentChart(nullptr);
    b->SetParentChart(nullptr);
    a->SetParentChart(nullptr);
    EXPECT_EQ(chart->View3DOptions()->Orthogonal(), orthogonal);
    EXPECT_EQ(chart->View3DOptions()->Elevation(), elevation);
    delete a;
    delete b;
    delete c;
}

TEST_F(PieDraw, GalleryStylesAndSamples)
{
    auto* s = Pie({});
    std::vector<std::string> styles;
    s->AddSubGalleryStyles(styles);
    const std::vector<std::string> expected = {"Normal",   "Patterns",  "Exploded",  "Shadow",
                                               "Marks",    "Semi Pie",  "No Border", "Dark Border"};
    EXPECT_EQ(styles, expected);
    s->FillSampleValues();
    ASSERT_EQ(s->Count(), 8);
    EXPECT_EQ(s->LabelText(0), "Cars");
    EXPECT_EQ(s->LabelText(7), "Chairs");
    for (int i = 0; i < 8; ++i) {
        EXPECT_GE(s->PieValues()->Value(i), 1);
        EXPECT_LE(s->PieValues()->Value(i), 1000);
    }
    s->ApplySubGalleryStyle(4);
    EXPECT_TRUE(s->Marks()->Visible());
    ASSERT_EQ(s->Count(), 2);
    EXPECT_EQ(s->PieValues()->Value(1), 70);
    s->ApplySubGalleryStyle(2);
    Draw();
    EXPECT_EQ(s->ExplodedSlice().Value(1), 30);
}

} // namespace
} // namespace charttest
