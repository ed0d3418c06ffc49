// Axis data model: the chart's axes, property checks, fixed and automatic ranges, and
// the conversions between values and pixels.
#include "axis_fixture.h"

#include <cmath>
#include <limits>

using namespace axistest;

namespace {

template <typename F>
std::string MessageOf(F&& Call)
{
    try {
        Call();
    } catch (const AxisException& e) {
        return e.Message();
    }
    return "(no AxisException)";
}

}  // namespace

using AxisModel = AxisTest;

TEST_F(AxisModel, StandardAxesComeFirstAndCustomAxesJoinAndLeaveTheList)
{
    TChartAxes* axes = chart->Axes();
    ASSERT_EQ(axes->Count(), 6);
    EXPECT_EQ(axes->Items(0), chart->BottomAxis());
    EXPECT_EQ(axes->Items(1), chart->TopAxis());
    EXPECT_EQ(axes->Items(2), chart->LeftAxis());
    EXPECT_EQ(axes->Items(3), chart->RightAxis());
    EXPECT_EQ(axes->Items(4), chart->DepthAxis());
    EXPECT_EQ(axes->Items(5), chart->DepthTopAxis());
    EXPECT_TRUE(chart->BottomAxis()->Horizontal());
    EXPECT_TRUE(chart->TopAxis()->Horizontal() && chart->TopAxis()->OtherSide());
    EXPECT_FALSE(chart->LeftAxis()->Horizontal() || chart->LeftAxis()->OtherSide());
    EXPECT_TRUE(chart->RightAxis()->OtherSide());
    EXPECT_EQ(chart->LeftAxis()->Title()->Angle(), 90);
    EXPECT_EQ(chart->RightAxis()->Title()->Angle(), 270);
    EXPECT_FALSE(chart->DepthAxis()->Visible());
    EXPECT_TRUE(chart->DepthAxis()->IsDepthAxis());
    EXPECT_EQ(chart->BottomAxis()->Collection(), nullptr);
    EXPECT_EQ(chart->CustomAxes()->Count(), 0);

    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    EXPECT_EQ(custom->ParentChart(), chart.get());
    EXPECT_EQ(axes->IndexOf(custom), 6);
    EXPECT_TRUE(custom->IsCustom());
    EXPECT_TRUE(custom->IsHorizontalStored());
    EXPECT_FALSE(chart->BottomAxis()->IsHorizontalStored());

    TChartSeries* s = AddSeries({{1, 2}});
    s->SetCustomVertAxis(custom);
    EXPECT_EQ(s->VertAxis(), aCustomVertAxis);
    EXPECT_EQ(s->GetVertAxis(), custom);
    chart->CustomAxes()->Delete(0);
    EXPECT_EQ(axes->Count(), 6);
    EXPECT_EQ(s->VertAxis(), aLeftAxis);
    EXPECT_EQ(s->GetVertAxis(), chart->LeftAxis());
}

TEST_F(AxisModel, DefaultsOfANewAxis)
{
    TChartAxis* a = chart->LeftAxis();
    EXPECT_TRUE(a->Automatic() && a->AutomaticMinimum() && a->AutomaticMaximum());
    EXPECT_EQ(a->AxisValuesFormat(), "#,##0.###");
    EXPECT_EQ(a->LogarithmicBase(), 10);
    EXPECT_EQ(a->LabelsSeparation(), 10);
    EXPECT_EQ(a->Axis()->Width(), 2);
    EXPECT_FALSE(a->MinorGrid()->Visible());
    EXPECT_EQ(a->EndPosition(), 100);
    EXPECT_EQ(a->MinorTickCount(), 3);
    EXPECT_EQ(a->TickLength(), 4);
    EXPECT_TRUE(a->Labels());
    EXPECT_TRUE(a->Items()->Format()->Transparent());
}

TEST_F(AxisModel, PropertyChecksRaiseTheirMessagesAndKeepTheValue)
{
    TChartAxis* a = chart->LeftAxis();
    a->SetFixedRange(0, 5);
    EXPECT_EQ(MessageOf([&] { a->SetMinimum(7); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(a->Minimum(), 0);
    EXPECT_EQ(MessageOf([&] { a->SetMaximum(-1); }), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(a->Maximum(), 5);
    EXPECT_EQ(MessageOf([&] { a->SetIncrement(-0.5); }), "Axis increment must be >= 0");
    EXPECT_EQ(MessageOf([&] { a->SetIncrement(std::nan("")); }), "Axis increment must be >= 0");
    EXPECT_EQ(a->Increment(), 0);
    EXPECT_EQ(MessageOf([&] { a->SetLogarithmicBase(1); }), "Axis Logarithmic Base should be <> 1 and > 0");
    EXPECT_EQ(MessageOf([&] { a->SetLogarithmicBase(0); }), "Axis Logarithmic Base should be <> 1 and > 0");
    EXPECT_EQ(a->LogarithmicBase(), 10);
    a->SetLogarithmicBase(0.5);
    EXPECT_EQ(a->LogarithmicBase(), 0.5);
    EXPECT_EQ(MessageOf([&] { a->SetLabelsSeparation(-1); }), "Labels Separation % must be greater than 0");
    a->SetLabelsSeparation(0);
    EXPECT_EQ(a->LabelsSeparation(), 0);

    // While the chart is read from a stream the ends arrive in any order.
    chart->SetComponentState(chart->ComponentState() | csReading);
    a->SetMinimum(7);
    EXPECT_EQ(a->Minimum(), 7);
}

TEST_F(AxisModel, LogarithmicNeedsNonNegativeNumericData)
{
    AddSeries({{0, -3}, {1, 4}});
    EXPECT_EQ(MessageOf([&] { chart->LeftAxis()->SetLogarithmic(true); }),
              "Logarithmic Axis Min and Max values should be >= 0");
    EXPECT_FALSE(chart->LeftAxis()->Logarithmic());
    EXPECT_EQ(chart->LeftAxis()->CalcKind(), TAxisCalcKind::LinearClamped);

    TChartSeries* dates = AddSeries({{45000, 1}});
    dates->XValues()->SetDateTime(true);
    chart->Series(0)->SetActive(false);
    EXPECT_EQ(MessageOf([&] { chart->BottomAxis()->SetLogarithmic(true); }), "DateTime Axis cannot be Logarithmic");
    chart->BottomAxis()->SetFixedRange(1, 10);
    dates->XValues()->SetDateTime(false);
    chart->BottomAxis()->SetLogarithmic(true);
    EXPECT_EQ(chart->BottomAxis()->CalcKind(), TAxisCalcKind::Logarithmic);
}

TEST_F(AxisModel, FixedRangesAreOrderedWidenedAndPassedToFollowers)
{
    TChartAxis* a = chart->BottomAxis();
    a->SetFixedRange(5, 2);
    EXPECT_EQ(a->Minimum(), 2);
    EXPECT_EQ(a->Maximum(), 5);
    EXPECT_FALSE(a->Automatic() || a->AutomaticMinimum() || a->AutomaticMaximum());
    EXPECT_TRUE(a->IsMinimumStored() && a->IsMaximumStored());
    a->SetFixedRange(3, 3);
    EXPECT_DOUBLE_EQ(a->Maximum(), 3 + 1e-10);

    auto* follower = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    auto* second = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    follower->SetMasterAxis(a);
    second->SetMasterAxis(follower);
    a->SetFixedRange(-4, 8);
    EXPECT_EQ(follower->Minimum(), -4);
    EXPECT_EQ(second->Maximum(), 8);
    // Masters in a ring end at the axis that started.
    follower->SetMasterAxis(second);
    second->SetMasterAxis(follower);
    follower->SetFixedRange(1, 2);
    EXPECT_EQ(second->Minimum(), 1);

    a->SetAutomatic(true);
    EXPECT_TRUE(a->AutomaticMinimum() && a->AutomaticMaximum());
    a->SetAutomaticMinimum(false);
    EXPECT_FALSE(a->Automatic());
    a->SetAutomaticMinimum(true);
    EXPECT_TRUE(a->Automatic());
}

TEST_F(AxisModel, AutomaticRangeSpansTheSeriesOnTheAxis)
{
    AddSeries({{0, -5}, {10, 5}});
    TChartSeries* b = AddSeries({{2, 1}, {20, 30}});
    Layout();
    EXPECT_EQ(chart->BottomAxis()->Map().Minimum, 0);
    EXPECT_EQ(chart->BottomAxis()->Map().Maximum, 20);
    EXPECT_EQ(chart->LeftAxis()->Map().Minimum, -5);
    EXPECT_EQ(chart->LeftAxis()->Map().Maximum, 30);
    EXPECT_EQ(chart->LeftAxis()->Maximum(), 30);   // the automatic ends are written back

    b->SetVertAxis(aRightAxis);
    Layout();
    EXPECT_EQ(chart->LeftAxis()->Map().Maximum, 5);
    EXPECT_EQ(chart->RightAxis()->Map().Minimum, 1);

    // A chart whose only series on the axis is hidden still scales from it; an axis
    // with an active series takes the active ones only.
    chart->Series(0)->SetActive(false);
    Layout();
    EXPECT_EQ(chart->LeftAxis()->Map().Minimum, -5);
    EXPECT_EQ(chart->BottomAxis()->Map().Minimum, 2);
    // A fixed end stays.
    chart->BottomAxis()->SetAutomaticMaximum(false);
    chart->BottomAxis()->SetMaximum(50);
    Layout();
    EXPECT_EQ(chart->BottomAxis()->Map().Maximum, 50);
    EXPECT_EQ(chart->BottomAxis()->Map().Minimum, 2);
}

TEST_F(AxisModel, LinearConversionsFollowDirectionAndOrientation)
{
    TChartAxis* x = chart->BottomAxis();
    TChartAxis* y = chart->LeftAxis();
    x->SetFixedRange(0, 100);
    y->SetFixedRange(0, 100);
    Layout();
    EXPECT_EQ(x->Map().StartPos, 40);
    EXPECT_EQ(x->Map().EndPos, 440);
    EXPECT_EQ(x->CalcPosValue(25), 140);
    EXPECT_EQ(y->CalcPosValue(0), 320);
    EXPECT_EQ(y->CalcPosValue(100), 20);
    x->SetInverted(true);
    y->SetInverted(true);
    EXPECT_EQ(x->CalcPosValue(25), 340);
    EXPECT_EQ(y->CalcPosValue(0), 20);

    for (bool inverted : {false, true}) {
        x->SetInverted(inverted);
        y->SetInverted(inverted);
        for (double v : {0.0, 10.0, 50.0, 90.0, 100.0}) {
            EXPECT_DOUBLE_EQ(x->ValueAtPixel(x->CalcPosValue(v)), v) << v << " inverted " << inverted;
            EXPECT_DOUBLE_EQ(y->ValueAtPixel(y->CalcPosValue(v)), v) << v << " inverted " << inverted;
        }
    }
    // Start and end percent place the axis inside the rectangle.
    x->SetStartPosition(25);
    x->SetEndPosition(75);
    x->CalcPositions();
    EXPECT_EQ(x->Map().StartPos, 140);
    EXPECT_EQ(x->Map().AxisSize, 200);
    EXPECT_EQ(x->Map().CenterPos, 240);
}

TEST_F(AxisModel, LogarithmicConversionsRoundTripAndSendNonPositiveValuesToTheEnd)
{
    TChartAxis* x = chart->BottomAxis();
    TChartAxis* y = chart->LeftAxis();
    x->SetFixedRange(1, 10000);
    y->SetFixedRange(1, 10000);
    x->SetLogarithmic(true);
    y->SetLogarithmic(true);
    Layout();
    EXPECT_EQ(x->CalcPosValue(100), 240);
    EXPECT_EQ(y->CalcPosValue(10), 245);
    EXPECT_EQ(x->CalcPosValue(0), x->Map().StartPos);
    EXPECT_EQ(x->CalcPosValue(-5), x->Map().StartPos);
    EXPECT_EQ(y->CalcPosValue(0), y->Map().EndPos);
    for (bool inverted : {false, true}) {
        x->SetInverted(inverted);
        y->SetInverted(inverted);
        for (double v : {1.0, 10.0, 100.0, 1000.0, 10000.0}) {
            EXPECT_NEAR(x->ValueAtPixel(x->CalcPosValue(v)), v, v * 1e-9) << v << " inverted " << inverted;
            EXPECT_NEAR(y->ValueAtPixel(y->CalcPosValue(v)), v, v * 1e-9) << v << " inverted " << inverted;
        }
    }
    x->SetInverted(true);
    EXPECT_EQ(x->CalcPosValue(0), x->Map().EndPos);
    EXPECT_EQ(x->ValueLengthPixels(10), 100);
    EXPECT_EQ(x->ValueLengthPixels(-1), 0);
}

TEST_F(AxisModel, DegenerateRangesAndSizesAnswerSafely)
{
    TChartAxis* x = chart->BottomAxis();
    x->SetFixedRange(0, 1);
    Layout();
    EXPECT_EQ(x->CalcPosValue(1e300), MaxPixelPos);
    EXPECT_EQ(x->CalcPosValue(-1e300), -MaxPixelPos);
    EXPECT_EQ(x->CalcPosValue(std::numeric_limits<double>::infinity()), MaxPixelPos);
    EXPECT_EQ(x->CalcPosValue(std::nan("")), MaxPixelPos);
    chart->Axes()->SetFastCalc(true);
    EXPECT_EQ(x->CalcKind(), TAxisCalcKind::LinearUnclamped);
    EXPECT_EQ(x->CalcPosValue(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(x->CalcPosValue(0.5), 240);
    chart->Axes()->SetFastCalc(false);

    // No range: every value sits at the centre.
    x->SetRangeInUse(3, 3);
    EXPECT_EQ(x->Map().Scale, 0);
    EXPECT_EQ(x->CalcPosValue(3), 240);
    EXPECT_EQ(x->ValueLengthPixels(2), 0);
    // No pixels: no division by zero.
    chart->ChartWidth = 0;
    x->SetFixedRange(0, 10);
    Layout();
    EXPECT_EQ(x->Map().AxisSize, 0);
    EXPECT_EQ(x->ValueAtPixel(100), 0);
    EXPECT_EQ(x->CalcPosValue(5), 40);
}

TEST_F(AxisModel, FitToRectKeepsTheOldEndValuesOnTheOldPixels)
{
    TChartAxis* x = chart->BottomAxis();
    x->SetFixedRange(0, 100);
    Layout();
    x->FitToRect(TRect(40, 0, 40, 0));
    // The axis keeps its pixels; its range widens so that the old ends lie the margins
    // inside them, once: 0 and 100 at 40 pixels from either end.
    EXPECT_EQ(x->Map().StartPos, 40);
    EXPECT_EQ(x->Map().EndPos, 440);
    EXPECT_DOUBLE_EQ(x->Map().Minimum, -12.5);
    EXPECT_DOUBLE_EQ(x->Map().Maximum, 112.5);
    EXPECT_EQ(x->CalcPosValue(0), 80);
    EXPECT_EQ(x->CalcPosValue(100), 400);
}

TEST_F(AxisModel, FitToRectLeavesOutMarginsThatWouldLeaveTheAxisNoPixels)
{
    TChartAxis* x = chart->BottomAxis();
    x->SetFixedRange(0, 100);
    Layout();
    x->FitToRect(TRect(250, 0, 150, 0));   // 400 pixels of margins on a 400-pixel axis
    EXPECT_EQ(x->Map().StartPos, 40);
    EXPECT_EQ(x->Map().EndPos, 440);
    EXPECT_DOUBLE_EQ(x->Map().Minimum, 0);
    EXPECT_DOUBLE_EQ(x->Map().Maximum, 100);
    x->FitToRect(TRect(250, 0, 149, 0));   // one pixel left: taken
    EXPECT_EQ(x->Map().AxisSize, 400);
    EXPECT_LT(x->Map().Minimum, -24000);
    // A vertical axis alike.
    TChartAxis* y = chart->LeftAxis();
    y->SetFixedRange(-5, 5);
    Layout();
    const int size = y->Map().AxisSize;
    y->FitToRect(TRect(0, size, 0, 0));
    EXPECT_EQ(y->Map().AxisSize, size);
    EXPECT_DOUBLE_EQ(y->Map().Maximum, 5);
}

TEST_F(AxisModel, PositionDepthAndAngleSettings)
{
    TChartAxis* bottom = chart->BottomAxis();
    TChartAxis* left = chart->LeftAxis();
    const TRect r(40, 20, 440, 320);
    EXPECT_EQ(bottom->SideCoordinate(r), 320);
    EXPECT_EQ(chart->RightAxis()->SideCoordinate(r), 440);
    bottom->SetPositionPercent(10);
    left->SetPositionPercent(10);
    EXPECT_EQ(bottom->ApplyPosition(320, r), 290);   // up
    EXPECT_EQ(left->ApplyPosition(40, r), 80);       // right
    left->SetPositionUnits(muPixels);
    EXPECT_EQ(left->ApplyPosition(40, r), 50);

    left->SetZPosition(0);
    EXPECT_DOUBLE_EQ(left->ZPosition(), 0.01);
    EXPECT_FALSE(left->IsZPositionStored());
    EXPECT_EQ(chart->TopAxis()->ZPosition(), 100);
    EXPECT_FALSE(chart->TopAxis()->IsZPositionStored());
    chart->TopAxis()->SetZPosition(50);
    EXPECT_TRUE(chart->TopAxis()->IsZPositionStored());
    EXPECT_FALSE(chart->DepthAxis()->IsZPositionStored());

    left->SetLabelsAngle(450);
    EXPECT_EQ(left->LabelsAngle(), 90);
    left->SetLabelsAngle(-90);
    EXPECT_EQ(left->LabelsAngle(), 270);
    left->Title()->SetAngle(400);
    EXPECT_EQ(left->Title()->Angle(), 40);

    // The depth-top axis carries its direction to the depth axis.
    chart->DepthTopAxis()->SetInverted(true);
    EXPECT_TRUE(chart->DepthAxis()->Inverted());
}

TEST_F(AxisModel, ScrollMovesTheRangeWithinTheDataWhenAsked)
{
    AddSeries({{0, 0}, {10, 10}});
    TChartAxis* x = chart->BottomAxis();
    x->SetFixedRange(0, 5);
    x->Scroll(2, true);   // data reach 10, beyond the maximum
    EXPECT_EQ(x->Minimum(), 2);
    EXPECT_EQ(x->Maximum(), 7);
    x->Scroll(-3, true);   // data start at 0, below the minimum 2
    EXPECT_EQ(x->Minimum(), -1);
    x->Scroll(-3, true);   // nothing below -1 any more
    EXPECT_EQ(x->Minimum(), -1);
    EXPECT_EQ(x->Maximum(), 4);
    x->Scroll(-3, false);
    EXPECT_EQ(x->Minimum(), -4);
}

TEST_F(AxisModel, AssignCopiesTheSettings)
{
    TChartAxis* a = chart->LeftAxis();
    a->SetFixedRange(1, 1000);
    a->SetLogarithmic(true);
    a->SetAxisValuesFormat("0.0");
    a->SetLabelsAngle(90);
    a->SetInverted(true);
    a->Items()->AddText(5, "five");
    a->Title()->SetCaption("Cp");
    auto* b = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    b->Assign(a);
    EXPECT_EQ(b->Minimum(), 1);
    EXPECT_EQ(b->Maximum(), 1000);
    EXPECT_TRUE(b->Logarithmic());
    EXPECT_EQ(b->CalcKind(), TAxisCalcKind::Logarithmic);
    EXPECT_EQ(b->AxisValuesFormat(), "0.0");
    EXPECT_EQ(b->LabelsAngle(), 90);
    EXPECT_TRUE(b->Inverted());
    ASSERT_EQ(b->Items()->Count(), 1);
    EXPECT_EQ(b->Items()->Item(0)->Text(), "five");
    EXPECT_EQ(b->Title()->Caption(), "Cp");
    EXPECT_EQ(b->Title()->Angle(), 90);
}
