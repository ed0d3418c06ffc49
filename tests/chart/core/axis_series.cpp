// Series bound to the chart's axes: which axes a series uses, which of its value lists
// an axis reads, and what follows from the bindings (date-time axes, label styles,
// visibility of axes).
#include "axis_fixture.h"

using namespace axistest;

using AxisSeries = AxisTest;

TEST_F(AxisSeries, BindingsResolveToTheChartsAxes)
{
    auto* loose = new TChartSeries(&form);
    EXPECT_EQ(loose->GetHorizAxis(), nullptr);
    chart->AddSeries(loose);
    EXPECT_EQ(loose->GetHorizAxis(), chart->BottomAxis());
    EXPECT_EQ(loose->GetVertAxis(), chart->LeftAxis());
    EXPECT_TRUE(loose->IsBoundToAxis(chart->BottomAxis()));
    EXPECT_FALSE(loose->IsBoundToAxis(chart->TopAxis()));
    EXPECT_EQ(loose->ValueListForAxis(chart->BottomAxis()), loose->XValues());
    EXPECT_EQ(loose->ValueListForAxis(chart->LeftAxis()), loose->YValues());
    EXPECT_EQ(loose->ValueListForAxis(chart->RightAxis()), nullptr);

    loose->SetHorizAxis(aTopAxis);
    loose->SetVertAxis(aRightAxis);
    EXPECT_EQ(loose->GetHorizAxis(), chart->TopAxis());
    EXPECT_EQ(loose->GetVertAxis(), chart->RightAxis());
    EXPECT_FALSE(loose->IsBoundToAxis(chart->BottomAxis()));

    loose->SetHorizAxis(aBothHorizAxis);
    EXPECT_TRUE(loose->IsBoundToAxis(chart->BottomAxis()));
    EXPECT_TRUE(loose->IsBoundToAxis(chart->TopAxis()));
    EXPECT_FALSE(loose->IsBoundToAxis(chart->LeftAxis()));

    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    custom->SetHorizontal(true);
    loose->SetCustomHorizAxis(custom);
    EXPECT_EQ(loose->HorizAxis(), aCustomHorizAxis);
    EXPECT_EQ(loose->GetHorizAxis(), custom);
    EXPECT_EQ(loose->ValueListForAxis(custom), loose->XValues());
    loose->SetHorizAxis(aBottomAxis);
    EXPECT_EQ(loose->CustomHorizAxis(), nullptr);
    EXPECT_EQ(loose->GetHorizAxis(), chart->BottomAxis());

    // Out of the chart the series points at no axis of it.
    chart->RemoveSeries(loose);
    EXPECT_EQ(loose->GetHorizAxis(), nullptr);
    EXPECT_EQ(loose->GetVertAxis(), nullptr);
}

TEST_F(AxisSeries, AxesReadTheirSeriesKinds)
{
    TChartSeries* s = AddSeries({{45000, 1}, {45010, 2}});
    EXPECT_FALSE(chart->BottomAxis()->IsDateTimeAxis());
    s->XValues()->SetDateTime(true);
    EXPECT_TRUE(chart->BottomAxis()->IsDateTimeAxis());
    EXPECT_FALSE(chart->LeftAxis()->IsDateTimeAxis());

    // A horizontal series puts its labels on the vertical axis.
    s->SetLabel(0, "first");
    EXPECT_EQ(chart->BottomAxis()->GetLabelStyle(), talText);
    EXPECT_EQ(chart->LeftAxis()->GetLabelStyle(), talValue);
    s->SetHorizontal();
    EXPECT_EQ(chart->BottomAxis()->GetLabelStyle(), talValue);
    EXPECT_EQ(chart->LeftAxis()->GetLabelStyle(), talText);
    chart->LeftAxis()->SetLabelStyle(talMark);
    EXPECT_EQ(chart->LeftAxis()->GetLabelStyle(), talMark);

    // The depth axis spans the series' depth orders by text unless they differ in Z.
    EXPECT_EQ(chart->DepthAxis()->GetLabelStyle(), talText);
    Layout();
    EXPECT_EQ(chart->DepthAxis()->Map().Minimum, -0.5);
    EXPECT_EQ(chart->DepthAxis()->Map().Maximum, 0.5);
}

TEST_F(AxisSeries, AnAxisShowsWhenABoundSeriesIsActive)
{
    EXPECT_TRUE(chart->IsAxisVisible(chart->RightAxis()));   // no series yet
    TChartSeries* s = AddSeries({{1, 1}});
    EXPECT_TRUE(chart->IsAxisVisible(chart->LeftAxis()));
    EXPECT_FALSE(chart->IsAxisVisible(chart->RightAxis()));
    EXPECT_FALSE(chart->IsAxisVisible(chart->DepthAxis()));   // hidden by default
    chart->DepthAxis()->SetVisible(true);
    EXPECT_EQ(chart->IsAxisVisible(chart->DepthAxis()), chart->View3D());
    s->SetVertAxis(aBothVertAxis);
    EXPECT_TRUE(chart->IsAxisVisible(chart->RightAxis()));
    chart->SetAxisVisible(false);
    EXPECT_FALSE(chart->IsAxisVisible(chart->LeftAxis()));
    chart->SetAxisVisible(true);

    // A click on the labels' band of a visible axis hits it.
    chart->LeftAxis()->SetFixedRange(0, 1);
    Layout();
    chart->LeftAxis()->PosAxis = 40;
    chart->LeftAxis()->PosLabels = 10;
    EXPECT_TRUE(chart->LeftAxis()->Clicked(20, 100));
    EXPECT_TRUE(chart->LeftAxis()->Clicked(42, 100));
    EXPECT_FALSE(chart->LeftAxis()->Clicked(50, 100));
    EXPECT_FALSE(chart->LeftAxis()->Clicked(20, 330));
}
