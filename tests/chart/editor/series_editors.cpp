// The option pages of the series types, each found by its series' editor class name and
// embedded on a "Format" tab as the series page does, then driven through its controls.
#include "ChartStarted.h"
#include "UserInput.h"
#include "editor_driver.h"
#include "TeeEdiLege.h"

#include "Chart.h"
#include "SeriesEditors.h"
#include "TeEngine.h"

#include "system/SysUtils.h"

#include <memory>

#include <QApplication>

using namespace editortest;

namespace {

class SeriesEditorsTest : public testsupport::ChartStartedTest {
protected:
    void SetUp() override
    {
        chart.SetView3D(false);
        BuildForm(&host, 440, 300, {
            Pages(pages, "PageSeries", {
                Page(format, "TheTabSheet", "Format", {}),
                Page(general, "TabGeneral", "General", {}),
                Page(marks, "TabMarks", "Marks", {}),
            }),
        });
        host.Show();
    }
    void TearDown() override
    {
        hostForm.reset();
        chartControl.reset();
    }

    template <class S>
    S* Add(int Samples = 5)
    {
        auto* series = new S(&chart);
        series->SetParentChart(&chart);
        if (Samples > 0)
            series->FillSampleValues(Samples);
        return series;
    }
    // The series' option page, created by its class name and embedded on "Format".
    template <class E>
    E* Open(TChartSeries* Series)
    {
        TForm* form = CreateFormOfClass(Series->EditorClassName(), &host);
        EXPECT_NE(dynamic_cast<E*>(form), nullptr) << Series->EditorClassName();
        EmbedFormInPanel(form, format, reinterpret_cast<intptr_t>(static_cast<TObject*>(Series)));
        user::ShowAndActivate(&host);
        return static_cast<E*>(form);
    }
    std::vector<std::string> Tabs() const
    {
        std::vector<std::string> tabs;
        for (int i = 0; i < pages->PageCount(); ++i)
            tabs.push_back(pages->Pages(i)->Caption());
        return tabs;
    }
    void Picture(const std::string& Type, TTabSheet* Page = nullptr)
    {
        pages->SetActivePage(Page != nullptr ? Page : format);
        SavePicture(&host, "series-" + Type);
    }

    EditorDriver driver;
    std::unique_ptr<TChart> chartControl = std::make_unique<TChart>(nullptr);
    std::unique_ptr<TForm> hostForm = std::make_unique<TForm>(nullptr);
    TChart& chart = *chartControl;
    TForm& host = *hostForm;
    TPageControl* pages = nullptr;
    TTabSheet* format = nullptr;
    TTabSheet* general = nullptr;
    TTabSheet* marks = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(SeriesEditorsTest, EverySeriesTypeFindsItsPageByClassName)
{
    std::vector<std::unique_ptr<TChartSeries>> all;
    all.emplace_back(new TLineSeries(nullptr));
    all.emplace_back(new THorizLineSeries(nullptr));
    all.emplace_back(new TAreaSeries(nullptr));
    all.emplace_back(new THorizAreaSeries(nullptr));
    all.emplace_back(new TBarSeries(nullptr));
    all.emplace_back(new THorizBarSeries(nullptr));
    all.emplace_back(new TPieSeries(nullptr));
    all.emplace_back(new TFastLineSeries(nullptr));
    all.emplace_back(new TChartShape(nullptr));
    all.emplace_back(new TGanttSeries(nullptr));
    all.emplace_back(new TArrowSeries(nullptr));
    all.emplace_back(new TBubbleSeries(nullptr));
    all.emplace_back(new TPointSeries(nullptr));
    for (const auto& series : all) {
        std::unique_ptr<TForm> form(CreateFormOfClass(series->EditorClassName(), nullptr));
        ASSERT_NE(form, nullptr) << series->EditorClassName();
        EXPECT_EQ(form->ClassName(), series->EditorClassName());
        // Without a series in the Tag nothing is loaded and nothing breaks.
        form->Show();
    }
}

TEST_F(SeriesEditorsTest, LinePageWritesItsOptionsAndAddsThePointTabOnce)
{
    auto* line = Add<TLineSeries>();
    auto* e = Open<TCustomSeriesEditor>(line);
    EXPECT_EQ(Tabs(), (Strings{"Format", "General", "Marks", "Point"}));
    ASSERT_NE(e->PointerEditor(), nullptr);
    e->Hide();
    e->Show();
    EXPECT_EQ(pages->PageCount(), 4);
    Picture("line");
    Picture("line-point", pages->Pages(3));

    EXPECT_FALSE(e->CBInvStairs->Enabled());
    e->CBStairs->SetChecked(true);
    EXPECT_TRUE(line->Stairs());
    EXPECT_TRUE(e->CBInvStairs->Enabled());
    e->CBInvStairs->SetChecked(true);
    EXPECT_TRUE(line->InvertedStairs());
    e->CBColorEach->SetChecked(true);
    EXPECT_TRUE(line->ColorEachPoint());
    EXPECT_FALSE(e->BLineColor->Enabled());
    e->CBDark3D->SetChecked(!line->Dark3D());
    EXPECT_EQ(line->Dark3D(), e->CBDark3D->Checked());
    e->CBStack->Pick(int(cssStack100));
    EXPECT_EQ(line->Stacked(), cssStack100);
    // Half-typed numbers raise nothing and write nothing.
    e->EHeight->SetText("7");
    e->EHeight->SetText("-");
    e->EHeight->SetText("");
    EXPECT_EQ(line->LineHeight(), 7);
    EXPECT_TRUE(driver.Messages.empty());
    e->EHeight->SetText("-3");
    EXPECT_EQ(line->LineHeight(), -3);
    e->CBClick->SetChecked(false);
    EXPECT_FALSE(line->ClickableLine());
    e->CheckBox1->SetChecked(false);
    EXPECT_FALSE(line->ColorEachLine());
    // The border pen in a 2D chart gives the series its colour.
    ASSERT_TRUE(user::ClickTab(pages, "Format"));
    driver.PickColor = clRed;
    driver.Act = [](TForm* f) {
        auto* pen = static_cast<TPenDialog*>(f);
        pen->SEWidth->SetText("3");
        EXPECT_TRUE(user::Click(pen->BColor));
        EXPECT_TRUE(user::Click(pen->BOk));
    };
    EXPECT_TRUE(user::Click(e->BLineBorder));
    EXPECT_EQ(line->LinePen()->Width(), 3);
    EXPECT_EQ(line->SeriesColor(), clRed);
    // The pen opens in the colour the 2D line is drawn in: after Color... blue, OK without
    // a change keeps the line blue; Cancel leaves the pen its own colour.
    ASSERT_TRUE(user::Click(e->CBColorEach));
    ASSERT_FALSE(line->ColorEachPoint());
    driver.PickColor = clBlue;
    EXPECT_TRUE(user::Click(e->BLineColor));
    ASSERT_EQ(line->SeriesColor(), clBlue);
    ASSERT_EQ(line->LinePen()->Color(), clRed);
    const auto closePen = [&](bool Ok) {
        driver.Act = [Ok](TForm* f) {
            auto* pen = static_cast<TPenDialog*>(f);
            EXPECT_EQ(pen->ThePen()->Color(), clBlue);
            EXPECT_TRUE(user::Click(Ok ? pen->BOk : pen->BCancel));
        };
        EXPECT_TRUE(user::Click(e->BLineBorder));
    };
    closePen(false);
    EXPECT_EQ(line->LinePen()->Color(), clRed);
    EXPECT_EQ(line->SeriesColor(), clBlue);
    closePen(true);
    EXPECT_EQ(line->SeriesColor(), clBlue);
    // The shadow editor comes without its smooth box.
    driver.Act = [](TForm* f) {
        auto* s = static_cast<TTeeShadowEditor*>(f);
        EXPECT_FALSE(s->CBSmooth->Visible());
        EXPECT_FALSE(s->EShadowTransp->Visible());
        SavePicture(s, "series-line-shadow");
        s->Edit1->SetText("4");
        EXPECT_TRUE(user::Click(s->BOK));
    };
    EXPECT_TRUE(user::Click(e->Button1));
    EXPECT_EQ(line->Shadow()->HorizSize(), 4);

    // The added tab goes with the page.
    delete e;
    EXPECT_EQ(Tabs(), (Strings{"Format", "General", "Marks"}));

    // A point series on the same page: no stairs, pattern, outline or 3D height.
    auto* point = Add<TPointSeries>();
    auto* custom = new TCustomSeriesEditor(&host);
    EmbedFormInPanel(custom, format, reinterpret_cast<intptr_t>(static_cast<TObject*>(point)));
    for (TControl* c : std::initializer_list<TControl*>{custom->BBrush, custom->BOutline, custom->GBStair,
                                                       custom->CBDark3D, custom->LHeight, custom->EHeight})
        EXPECT_FALSE(c->Visible()) << c->Name();
    EXPECT_TRUE(custom->CBColorEach->Visible());
    delete custom;
    // The point series' own page is the pointer editor.
    auto* pointer = Open<TSeriesPointerEditor>(point);
    Picture("point");
    pointer->SEPointHorizSize->SetText("6");
    EXPECT_EQ(point->Pointer()->HorizSize(), 6);
}

TEST_F(SeriesEditorsTest, AreaPageWritesItsOptionsAndAddsPointAndGradientTabs)
{
    auto* area = Add<TAreaSeries>();
    auto* e = Open<TAreaSeriesEditor>(area);
    EXPECT_EQ(Tabs(), (Strings{"Format", "General", "Gradient", "Marks", "Point"}));
    Picture("area");
    e->RGMultiArea->SetItemIndex(int(maStacked100));
    EXPECT_EQ(area->MultiArea(), maStacked100);
    e->CBStairs->SetChecked(true);
    EXPECT_TRUE(area->Stairs());
    e->CBInvStairs->SetChecked(true);
    EXPECT_TRUE(area->InvertedStairs());
    EXPECT_FALSE(e->EOrigin->Enabled());
    e->CBUseOrigin->SetChecked(true);
    EXPECT_TRUE(area->UseYOrigin());
    EXPECT_TRUE(e->EOrigin->Enabled());
    e->EOrigin->SetText("-");
    e->EOrigin->SetText("-250");
    EXPECT_EQ(area->YOrigin(), -250);
    // A half-typed number leaves alone what the series has, even when set elsewhere.
    area->SetTransparency(55);
    e->ETransp->SetText("");
    e->ETransp->SetText("-");
    EXPECT_EQ(area->GetTransparency(), 55);
    e->ETransp->SetText("40");
    EXPECT_EQ(area->GetTransparency(), 40);
    EXPECT_TRUE(driver.Messages.empty());
    e->CBColorEach->SetChecked(true);
    EXPECT_TRUE(area->ColorEachPoint());
    EXPECT_FALSE(e->BAreaColor->Enabled());
    // The colour button shows the series colour while the area colour is the default.
    area->SetSeriesColor(clGreen);
    EXPECT_EQ(e->BAreaColor->SymbolColor(), clGreen);
    area->SetAreaColor(clBlue);
    EXPECT_EQ(e->BAreaColor->SymbolColor(), clBlue);
    // The gradient tab edits the area gradient.
    ASSERT_NE(e->GradientEditor(), nullptr);
    Picture("area-gradient", pages->Pages(2));
    EXPECT_EQ(e->GradientEditor()->TheGradient(), area->Gradient());
    e->GradientEditor()->CBVisible->SetChecked(true);
    EXPECT_TRUE(area->Gradient()->Visible());
}

TEST_F(SeriesEditorsTest, BarPageStylesSizesAndTheStackTab)
{
    auto* bar = Add<TBarSeries>();
    auto* e = Open<TBarSeriesEditor>(bar);
    Picture("bar");
    e->Hide();
    e->Show();
    EXPECT_EQ(Tabs(), (Strings{"Format", "Stack", "General", "Marks"}));
    ASSERT_NE(e->StackEditor(), nullptr);

    e->CBBarStyle->Pick(int(bsBevel));
    EXPECT_EQ(bar->BarStyle(), bsBevel);
    EXPECT_TRUE(e->EBevel->Enabled());
    EXPECT_FALSE(e->BGradient->Enabled());
    e->EBevel->SetText("5");
    EXPECT_EQ(bar->BevelSize(), 5);
    e->CBBarStyle->Pick(int(bsRectangle));
    EXPECT_FALSE(e->EBevel->Enabled());
    EXPECT_TRUE(e->BGradient->Enabled());
    // The gradient button turns the bars into gradient bars first.
    driver.Act = [](TForm* f) { EXPECT_TRUE(user::Click(static_cast<TTeeGradientEditor*>(f)->BOk)); };
    EXPECT_TRUE(user::Click(e->BGradient));
    EXPECT_EQ(bar->BarStyle(), bsRectGradient);
    EXPECT_EQ(e->CBBarStyle->ItemIndex(), int(bsRectGradient));
    EXPECT_TRUE(e->BGradient->Enabled());
    e->CBDarkBar->SetChecked(!bar->Dark3D());
    EXPECT_EQ(bar->Dark3D(), e->CBDarkBar->Checked());
    e->SEBarwidth->SetText("-");
    e->SEBarwidth->SetText("55");
    EXPECT_EQ(bar->BarWidthPercent(), 55);
    e->SEBarOffset->SetText("-20");
    EXPECT_EQ(bar->OffsetPercent(), -20);
    e->Edit1->SetText("80");
    EXPECT_EQ(bar->DepthPercent(), 80);
    e->CBBarSideMargins->SetChecked(!bar->SideMargins());
    EXPECT_EQ(bar->SideMargins(), e->CBBarSideMargins->Checked());
    e->CBMarksAutoPosition->SetChecked(!bar->AutoMarkPosition());
    EXPECT_EQ(bar->AutoMarkPosition(), e->CBMarksAutoPosition->Checked());
    e->CBColorEach->SetChecked(true);
    EXPECT_TRUE(bar->ColorEachPoint());

    TStackBarSeriesEditor* stack = e->StackEditor();
    Picture("bar-stack", pages->Pages(1));
    stack->RGMultiBar->SetItemIndex(int(mbSide));
    EXPECT_EQ(bar->MultiBar(), mbSide);
    EXPECT_FALSE(stack->EGroup->Enabled());
    stack->RGMultiBar->SetItemIndex(int(mbStacked));
    EXPECT_TRUE(stack->EGroup->Enabled());
    stack->EGroup->SetText("2");
    EXPECT_EQ(bar->StackGroup(), 2);
    stack->CBYOrigin->SetChecked(true);
    EXPECT_TRUE(bar->UseYOrigin());
    EXPECT_TRUE(stack->EYOrigin->Enabled());
    stack->EYOrigin->SetText("12.5");
    stack->EYOrigin->SetText("abc");
    stack->EYOrigin->SetText("-");
    EXPECT_EQ(bar->YOrigin(), 12.5);
    EXPECT_TRUE(driver.Messages.empty());

    // Shown alone, the page adds no tab.
    TBarSeriesEditor alone(nullptr);
    alone.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(bar)));
    alone.Show();
    EXPECT_EQ(alone.StackEditor(), nullptr);
}

TEST_F(SeriesEditorsTest, PiePageOptionsGroupSlicesAndTheCircledTab)
{
    auto* pie = Add<TPieSeries>();
    auto* e = Open<TPieSeriesEditor>(pie);
    EXPECT_EQ(Tabs(), (Strings{"Format", "Circled", "General", "Marks"}));
    Picture("pie");
    EXPECT_FALSE(e->CBDark3d->Enabled());
    e->SEExpBig->SetText("30");
    EXPECT_EQ(pie->ExplodeBiggest(), 30);
    e->CBPatterns->SetChecked(true);
    EXPECT_TRUE(pie->UsePatterns());
    e->Edit1->SetText("180");
    EXPECT_EQ(pie->AngleSize(), 180);
    e->Edit2->SetText("100");
    EXPECT_EQ(pie->DarkPen(), 100);
    e->CBMultiple->Pick(int(mpDisabled));
    EXPECT_EQ(pie->MultiPie(), mpDisabled);
    e->CBMarksAutoPosition->SetChecked(false);
    EXPECT_FALSE(pie->AutoMarkPosition());
    EXPECT_FALSE(e->EOtherValue->Enabled());
    e->CBOther->Pick(int(poBelowValue));
    EXPECT_EQ(pie->OtherSlice()->Style(), poBelowValue);
    EXPECT_TRUE(e->EOtherValue->Enabled());
    e->EOtherValue->SetText("150");
    e->EOtherValue->SetText("");
    e->EOtherValue->SetText("-");
    EXPECT_EQ(pie->OtherSlice()->Value(), 150);
    EXPECT_TRUE(driver.Messages.empty());
    e->PageControl1->SetActivePage(e->TabGroup);
    Picture("pie-group");
    e->EOtherLabel->SetText("Rest");
    EXPECT_EQ(pie->OtherSlice()->Text(), "Rest");
    // "Legend..." edits the other slice's own legend, in a dialog over the window that
    // shows the button.
    TCustomChartLegend* edited = nullptr;
    driver.Act = [&](TForm* f) {
        if (auto* legendPage = dynamic_cast<TFormTeeLegend*>(f)) {
            edited = legendPage->Legend();
            EXPECT_EQ(f->Owner(), GetParentForm(e->Button2));
            EXPECT_EQ(f->Position(), poOwnerFormCenter);
        }
    };
    EXPECT_TRUE(user::Click(e->Button2));
    driver.Act = nullptr;
    EXPECT_EQ(edited, pie->OtherSlice()->Legend());
    e->CBColorEach->SetChecked(false);
    EXPECT_FALSE(pie->ColorEachPoint());
    EXPECT_TRUE(e->BColor->Enabled());

    TCircledSeriesEditor* circled = e->CircledEditor();
    ASSERT_NE(circled, nullptr);
    EXPECT_FALSE(circled->BBack->Visible());
    Picture("pie-circled", pages->Pages(1));
    circled->Edit1->SetText("45");
    EXPECT_EQ(pie->RotationAngle(), 45);
    circled->CBCircled->SetChecked(!pie->Circled());
    EXPECT_EQ(pie->Circled(), circled->CBCircled->Checked());
    circled->CB3D->SetChecked(true);
    EXPECT_TRUE(chart.View3D());
    circled->Edit2->SetText("80");
    EXPECT_EQ(pie->CustomXRadius(), 80);
    EXPECT_FALSE(circled->CBAutoXR->Checked());
    circled->CBAutoXR->SetChecked(true);
    EXPECT_EQ(pie->CustomXRadius(), 0);

    // On its own, "Transparent" resets the background colour and hides the gradient.
    TCircledSeriesEditor own(nullptr);
    pie->SetCircleBackColor(clYellow);
    pie->Gradient()->SetVisible(true);
    own.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(pie)));
    own.Show();
    EXPECT_FALSE(own.CBTransp->Checked());
    own.CBTransp->SetChecked(true);
    EXPECT_EQ(pie->CircleBackColor(), clDefault);
    EXPECT_FALSE(pie->Gradient()->Visible());
    EXPECT_FALSE(own.BBack->Enabled());
    // Unticked again, the colour button takes a colour.
    user::ShowAndActivate(&own);
    EXPECT_TRUE(user::Click(own.CBTransp));
    driver.PickColor = clAqua;
    EXPECT_TRUE(user::Click(own.BBack));
    EXPECT_EQ(pie->CircleBackColor(), clAqua);
}

TEST_F(SeriesEditorsTest, PieDark3DFollowsTheCircledTabsThreeDimensions)
{
    auto* pie = Add<TPieSeries>();
    auto* e = Open<TPieSeriesEditor>(pie);
    ASSERT_FALSE(e->CBDark3d->Enabled());
    TCircledSeriesEditor* circled = e->CircledEditor();
    ASSERT_NE(circled, nullptr);
    user::ShowAndActivate(&host);
    for (const bool view3D : {true, false}) {
        ASSERT_TRUE(user::ClickTab(pages, "Circled"));
        ASSERT_TRUE(user::Key(circled->CB3D, Qt::Key_Space));
        ASSERT_EQ(chart.View3D(), view3D);
        ASSERT_TRUE(user::ClickTab(pages, "Format"));
        EXPECT_EQ(e->CBDark3d->Enabled(), view3D);
    }
}

TEST_F(SeriesEditorsTest, FastLinePageOptionsPenAndRepeatedCancel)
{
    auto* fast = Add<TFastLineSeries>();
    auto* e = Open<TFastLineSeriesEditor>(fast);
    Picture("fastline");
    EXPECT_EQ(e->ThePen(), fast->LinePen());
    e->CBDrawAll->SetChecked(false);
    EXPECT_FALSE(fast->DrawAllPoints());
    e->CBStairs->SetChecked(true);
    EXPECT_TRUE(fast->Stairs());
    e->CBInvStairs->SetChecked(true);
    EXPECT_TRUE(fast->InvertedStairs());
    e->CBNulls->SetChecked(false);
    EXPECT_FALSE(fast->IgnoreNulls());
    driver.PickColor = clFuchsia;
    EXPECT_TRUE(user::Click(e->BColor));
    EXPECT_EQ(fast->SeriesColor(), clFuchsia);

    // Cancel puts the pen back as it was shown, again and again.
    const int width = fast->LinePen()->Width();
    e->SEWidth->SetText("-");
    e->SEWidth->SetText("4");
    EXPECT_EQ(fast->LinePen()->Width(), 4);
    EXPECT_TRUE(user::Click(e->BCancel));
    EXPECT_EQ(fast->LinePen()->Width(), width);
    EXPECT_EQ(e->UDWidth->Position(), width);
    e->SEWidth->SetText("6");
    EXPECT_TRUE(user::Click(e->BCancel));
    EXPECT_EQ(fast->LinePen()->Width(), width);
    EXPECT_TRUE(driver.Messages.empty());
}

TEST_F(SeriesEditorsTest, ShapePageStylePositionAndText)
{
    auto* shape = Add<TChartShape>(2);
    auto* e = Open<TChartShapeEditor>(shape);
    Picture("shape");
    e->CBStyle->Pick(int(chasRectangle));
    EXPECT_EQ(shape->Style(), chasRectangle);
    EXPECT_TRUE(e->CBRound->Enabled());
    e->CBRound->SetChecked(true);
    EXPECT_TRUE(shape->RoundRectangle());
    e->CBStyle->Pick(int(chasStar));
    EXPECT_FALSE(e->CBRound->Enabled());
    e->CBTrans->SetChecked(true);
    EXPECT_TRUE(shape->Transparent());
    const double x0 = shape->X0();
    EXPECT_EQ(e->SEX0->Text(), FloatToStr(x0));
    e->SEX0->SetText("");
    e->SEX0->SetText("-");
    EXPECT_EQ(shape->X0(), x0);
    e->SEX0->SetText("1.5");
    EXPECT_EQ(shape->X0(), 1.5);
    e->SEY1->SetText("-7");
    EXPECT_EQ(shape->Y1(), -7);
    EXPECT_TRUE(driver.Messages.empty());
    e->CBUnits->Pick(int(xysPixels));
    EXPECT_EQ(shape->XYStyle(), xysPixels);
    e->PageControl1->SetActivePage(e->TabPosition);
    Picture("shape-position");
    e->PageControl1->SetActivePage(e->TabText);
    e->MemoText->Lines()->Add("one");
    e->MemoText->Lines()->Add("two");
    ASSERT_EQ(shape->Text()->Count(), 2);
    EXPECT_EQ(shape->Text()->Get(1), "two");
    e->RGAlign->SetItemIndex(2);
    EXPECT_EQ(shape->Alignment(), taRightJustify);
    e->RGVertAlign->SetItemIndex(int(vaBottom));
    EXPECT_EQ(shape->VertAlign(), vaBottom);
    Picture("shape-text");
    e->PageControl1->SetActivePage(e->TabFont);
    Picture("shape-font");
    ASSERT_NE(e->FontEditor(), nullptr);
    EXPECT_EQ(e->FontEditor()->TheFont(), shape->Font());
}

TEST_F(SeriesEditorsTest, ShapeTextIsReachedByItsAcceleratorAndTakesLinesFromTheKeys)
{
    auto* shape = Add<TChartShape>(2);
    auto* e = Open<TChartShapeEditor>(shape);
    ASSERT_TRUE(user::ClickTab(e->PageControl1, "Text"));
    ASSERT_TRUE(user::Key(e->PageControl1, Qt::Key_X, Qt::AltModifier));
    EXPECT_EQ(QApplication::focusWidget(), e->MemoText->Widget());
    ASSERT_TRUE(user::Type("up"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    ASSERT_TRUE(user::Type("down"));
    ASSERT_EQ(shape->Text()->Count(), 2);
    EXPECT_EQ(shape->Text()->Get(0), "up");
    EXPECT_EQ(shape->Text()->Get(1), "down");
}

TEST_F(SeriesEditorsTest, GanttArrowAndBubblePages)
{
    auto* gantt = Add<TGanttSeries>();
    auto* g = Open<TGanttSeriesEditor>(gantt);
    EXPECT_EQ(Tabs(), (Strings{"Format", "General", "Marks", "Gantt"}));
    ASSERT_NE(g->PointerEditor(), nullptr);
    g->PointerEditor()->Hide();
    g->PointerEditor()->Show();
    EXPECT_FALSE(g->PointerEditor()->SEPointVertSize->Visible());
    Picture("gantt");
    g->SEPointVertSize->SetText("12");
    EXPECT_EQ(gantt->Pointer()->VertSize(), 12);
    g->Edit1->SetText("-");
    g->Edit1->SetText("30");
    EXPECT_EQ(gantt->GetTransparency(), 30);
    g->CBColorEach->SetChecked(true);
    EXPECT_TRUE(gantt->ColorEachPoint());
    EXPECT_FALSE(g->BColor->Enabled());
    // Unticked again, the colour button takes the series colour.
    EXPECT_TRUE(user::Click(g->CBColorEach));
    EXPECT_FALSE(gantt->ColorEachPoint());
    driver.PickColor = clNavy;
    EXPECT_TRUE(user::Click(g->BColor));
    EXPECT_EQ(gantt->SeriesColor(), clNavy);
    delete g;

    auto* arrow = Add<TArrowSeries>();
    auto* a = Open<TArrowSeriesEditor>(arrow);
    Picture("arrow");
    a->SEArrowWidth->SetText("14");
    a->SEArrowHeight->SetText("9");
    EXPECT_EQ(arrow->ArrowWidth(), 14);
    EXPECT_EQ(arrow->ArrowHeight(), 9);
    a->SBPercent->SetPosition(70);
    EXPECT_EQ(arrow->ArrowPercent(), 70);
    EXPECT_EQ(a->LPercent->Caption(), "70%");
    arrow->Pointer()->Brush()->SetColor(clRed);
    a->CBColorEach->SetChecked(true);
    EXPECT_TRUE(arrow->ColorEachPoint());
    EXPECT_EQ(arrow->Pointer()->Brush()->Color(), clDefault);
    delete a;

    auto* bubble = Add<TBubbleSeries>();
    auto* b = Open<TBubbleSeriesEditor>(bubble);
    Picture("bubble");
    EXPECT_FALSE(b->CBDrawPoint->Visible());
    EXPECT_EQ(b->ThePointer(), bubble->Pointer());
    b->Edit1->SetText("");
    b->Edit1->SetText("25");
    EXPECT_EQ(bubble->GetTransparency(), 25);
    b->CBStyle->Pick(int(psRectangle));
    EXPECT_EQ(bubble->Pointer()->Style(), psRectangle);
    EXPECT_TRUE(driver.Messages.empty());
}

} // namespace
