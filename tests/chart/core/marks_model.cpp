// Marks settings, texts, stored positions, per-point items, hit tests and overlap.
#include "marks_fixture.h"

#include "classes/Streams.h"

#include <string>

using markstest::MarksTest;

TEST_F(MarksTest, StartsHiddenWithTooltipColourAndGreyShadow)
{
    EXPECT_FALSE(marks->Visible());
    EXPECT_EQ(marks->Color(), clInfoBk);
    EXPECT_EQ(marks->BackColor(), marks->Color());
    EXPECT_EQ(marks->Style(), smsLabel);
    EXPECT_EQ(marks->DrawEvery(), 1);
    EXPECT_EQ(marks->Angle(), 0);
    EXPECT_FALSE(marks->Clip());
    EXPECT_FALSE(marks->MultiLine());
    EXPECT_EQ(marks->Shadow()->Color(), TColor(0x808080));
    EXPECT_EQ(marks->Shadow()->HorizSize(), 1);
    EXPECT_EQ(marks->Shadow()->VertSize(), 1);
    EXPECT_FALSE(marks->Shadow()->IsColorStored());
    EXPECT_FALSE(marks->Shadow()->IsHorizSizeStored());
    // The gradient runs right to left from silver to white.
    TTeeGradient* g = marks->Gradient();
    EXPECT_EQ(g->Direction(), gdRightLeft);
    EXPECT_EQ(g->StartColor(), clSilver);
    EXPECT_EQ(g->EndColor(), clWhite);
    // Callout and symbol come on first use: a hidden white-arrow callout of length 8, a
    // hidden, not transparent symbol.
    EXPECT_FALSE(marks->HasCallout());
    EXPECT_EQ(marks->ArrowLength(), 8);
    ASSERT_TRUE(marks->HasCallout());
    EXPECT_FALSE(marks->Callout()->Visible());
    EXPECT_EQ(marks->Arrow()->Color(), clWhite);
    EXPECT_EQ(marks->Callout()->ParentChart(), chart.get());
    EXPECT_FALSE(marks->HasSymbol());
    EXPECT_FALSE(marks->Symbol()->Visible());
    EXPECT_FALSE(marks->Symbol()->Transparent());
    EXPECT_EQ(marks->Symbol()->Shadow()->Size(), 1);
    // An item starts in the marks' colour with their shadow.
    TMarksItem* item = marks->Item(2);
    EXPECT_EQ(item->Color(), clInfoBk);
    EXPECT_EQ(item->Shadow()->Color(), TColor(0x808080));
    EXPECT_EQ(item->Shadow()->Size(), 1);
    EXPECT_EQ(item->Gradient()->Direction(), gdRightLeft);
}

TEST_F(MarksTest, SettersRepaintOnceAndOnlyOnChange)
{
    auto repaints = [&](const std::function<void()>& Change) {
        const int before = chart->Repaints;
        Change();
        return chart->Repaints - before;
    };
    EXPECT_EQ(repaints([&] { marks->SetAngle(90); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetAngle(90); }), 0);
    EXPECT_EQ(repaints([&] { marks->SetClip(true); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetDrawEvery(3); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetMultiLine(true); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetStyle(smsValue); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetStyle(smsValue); }), 0);
    EXPECT_EQ(repaints([&] { marks->SetVisible(true); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetBackColor(clRed); }), 1);
    EXPECT_EQ(marks->Color(), clRed);
    EXPECT_EQ(repaints([&] { marks->SetTransparent(true); }), 1);
    EXPECT_EQ(repaints([&] { marks->Frame()->SetColor(clBlue); }), 1);
    EXPECT_EQ(repaints([&] { marks->Font()->SetColor(clBlue); }), 1);
    EXPECT_EQ(repaints([&] { marks->Item(4); }), 0);   // made on first use, no change yet
    EXPECT_EQ(repaints([&] { marks->SetArrowLength(20); }), 1);
    EXPECT_EQ(repaints([&] { marks->Arrow()->SetColor(clRed); }), 1);
    EXPECT_EQ(repaints([&] { marks->SetArrowLength(20); }), 0);
    EXPECT_EQ(repaints([&] { marks->Symbol()->SetVisible(true); }), 1);
    EXPECT_THROW(marks->SetStyle(TSeriesMarksStyle(42)), ERangeError);
    EXPECT_EQ(marks->Style(), smsValue);
}

TEST_F(MarksTest, DrawEveryNeverDropsBelowOne)
{
    // Every hit test and drawing takes the index modulo DrawEvery.
    marks->SetDrawEvery(0);
    EXPECT_EQ(marks->DrawEvery(), 1);
    marks->SetDrawEvery(-4);
    EXPECT_EQ(marks->DrawEvery(), 1);
    for (int i = 0; i < 7; ++i)
        series->Add(i + 1);
    marks->SetDrawEvery(3);
    marks->SetVisible(true);
    std::vector<int> drawn;
    for (int i = 0; i < series->Count(); ++i)
        if (marks->ShouldDrawMark(i))
            drawn.push_back(i);
    EXPECT_EQ(drawn, (std::vector<int>{0, 3, 6}));
}

TEST_F(MarksTest, TextsOfEveryStyle)
{
    series->Add(25, "Apples");
    series->Add(1234.5);
    series->Add(-70.25, "Pears");
    // Absolute total 1329.75.
    auto text = [&](TSeriesMarksStyle Style, int Index) {
        marks->SetStyle(Style);
        return marks->MarkText(Index);
    };
    EXPECT_EQ(text(smsValue, 1), "1,234.5");
    EXPECT_EQ(text(smsLabel, 0), "Apples");
    EXPECT_EQ(text(smsLabel, 1), "1,234.5");   // no label: the value
    EXPECT_EQ(text(smsPercent, 2), "5.28 %");  // 70.25 of 1329.75, by its magnitude
    EXPECT_EQ(text(smsLabelPercent, 0), "Apples 1.88 %");
    EXPECT_EQ(text(smsLabelValue, 2), "Pears -70.25");
    EXPECT_EQ(text(smsPercentTotal, 0), "1.88 % of 1,329.75");
    EXPECT_EQ(text(smsLabelPercentTotal, 1), "1,234.5 92.84 % of 1,329.75");
    EXPECT_EQ(text(smsXValue, 2), "2");
    EXPECT_EQ(text(smsXY, 1), "1 1,234.5");
    // Legend text: its two columns side by side, separated by a blank.
    EXPECT_EQ(text(smsLegend, 0), "25 Apples");
    marks->SetMultiLine(true);
    EXPECT_EQ(text(smsLabelValue, 0), "Apples\r25");
    EXPECT_EQ(text(smsPercentTotal, 0), "1.88 %\rof 1,329.75");
    EXPECT_EQ(text(smsXY, 2), "2\r-70.25");
    EXPECT_EQ(text(smsLegend, 0), "25\x06" "Apples");
}

TEST_F(MarksTest, PercentOfTotalAndZeroTotals)
{
    series->Add(25);
    series->Add(75);
    marks->SetStyle(smsPercentTotal);
    EXPECT_EQ(marks->MarkText(0), "25 % of 100");
    series->Clear();
    series->Add(0);
    series->Add(0);
    marks->SetStyle(smsPercent);
    EXPECT_EQ(marks->MarkText(1), "100 %");
}

TEST_F(MarksTest, ItemTextAndTheSeriesEventDecide)
{
    series->Add(10, "Ten");
    series->Add(20, "Twenty");
    marks->Item(1)->Text()->Add("a");
    marks->Item(1)->Text()->Add("b");
    EXPECT_EQ(marks->MarkText(1), "a\r\nb");   // no trailing line break
    EXPECT_EQ(marks->MarkText(0), "Ten");
    marks->Item(1)->SetText(nullptr);
    EXPECT_FALSE(marks->Item(1)->HasText());
    EXPECT_EQ(marks->MarkText(1), "Twenty");
    series->OnGetMarkText = [](TChartSeries*, int Index, std::string& Text) { Text += "#" + std::to_string(Index); };
    EXPECT_EQ(marks->MarkText(1), "Twenty#1");
    EXPECT_EQ(marks->MarkText(5), "");   // no such point
}

TEST_F(MarksTest, ItemsAndPositionsPerPoint)
{
    EXPECT_EQ(marks->ItemOrSelf(3), marks);
    TMarksItem* item = marks->Item(3);
    EXPECT_EQ(marks->Items()->Count(), 4);
    EXPECT_EQ(marks->Items()->Item(1), nullptr);
    EXPECT_EQ(marks->ItemOrSelf(3), item);
    EXPECT_EQ(marks->Item(3), item);   // not created twice
    EXPECT_EQ(item->ParentChart(), chart.get());
    EXPECT_THROW(marks->Item(-1), ERangeError);

    marks->Positions()->Ensure(2)->Custom = true;
    EXPECT_EQ(marks->Positions()->Count(), 3);
    EXPECT_EQ(marks->Positions()->Position(0), nullptr);
    EXPECT_TRUE(marks->Positions()->ExistCustom());

    // Clearing frees both, unless the items came from a stream.
    marks->Clear();
    EXPECT_EQ(marks->Positions()->Count(), 0);
    EXPECT_EQ(marks->Items()->Count(), 0);
    marks->Item(1)->SetColor(clRed);
    marks->Items()->SetLoaded(true);
    marks->Positions()->Ensure(0);
    marks->Clear();
    EXPECT_EQ(marks->Positions()->Count(), 0);
    ASSERT_NE(marks->Items()->Item(1), nullptr);
    EXPECT_EQ(marks->Items()->Item(1)->Color(), clRed);

    // Deleting a point moves the later entries down.
    marks->Positions()->Ensure(2)->Width = 7;
    marks->DeletePoint(0);
    EXPECT_EQ(marks->Items()->Item(0)->Color(), clRed);
    EXPECT_EQ(marks->Positions()->Position(1)->Width, 7);
    marks->Positions()->DeleteRange(0, 100);
    EXPECT_EQ(marks->Positions()->Count(), 0);
}

TEST_F(MarksTest, ClickedFindsTheStoredBox)
{
    auto place = [&](int Index, int L, int T, int W, int H) {
        TSeriesMarkPosition* p = marks->Positions()->Ensure(Index);
        p->LeftTop = TPoint(L, T);
        p->Width = W;
        p->Height = H;
    };
    place(0, 10, 10, 20, 10);
    place(1, 40, 10, 20, 10);
    place(2, 40, 10, 20, 10);   // the same place as 1
    EXPECT_EQ(marks->Clicked(15, 15), 0);
    EXPECT_EQ(marks->Clicked(30, 15), -1);   // the right edge is outside
    EXPECT_EQ(marks->Clicked(45, 19), 1);    // the first of two
    EXPECT_EQ(marks->Clicked(45, 20), -1);
    marks->SetDrawEvery(2);
    EXPECT_EQ(marks->Clicked(45, 15), 2);
}

TEST_F(MarksTest, MarkRectGrowsByFrameAndShadow)
{
    TSeriesMarkPosition p;
    p.LeftTop = TPoint(10, 20);
    p.Width = 30;
    p.Height = 15;
    marks->Frame()->SetWidth(2);
    marks->Shadow()->SetHorizSize(3);
    marks->Shadow()->SetVertSize(-4);
    EXPECT_EQ(marks->MarkRect(0, p), TRect(10, 16, 45, 37));
    marks->Frame()->Hide();
    marks->Shadow()->SetHorizSize(-1);
    marks->Shadow()->SetVertSize(0);
    EXPECT_EQ(marks->MarkRect(0, p), TRect(9, 20, 40, 35));
}

TEST_F(MarksTest, OverlappingMarksMoveApart)
{
    marks->Frame()->Hide();
    marks->Shadow()->SetSize(0);
    auto stored = [&](int Index, int T) {
        TSeriesMarkPosition* p = marks->Positions()->Ensure(Index);
        p->LeftTop = TPoint(10, T);
        p->Width = 20;
        p->Height = 10;
    };
    stored(0, 50);
    // Above the stored box and overlapping its top by 4: up by 4.
    TSeriesMarkPosition p;
    p.LeftTop = TPoint(15, 44);
    p.ArrowTo = TPoint(25, 54);
    p.Width = 20;
    p.Height = 10;
    marks->ResolveOverlap(0, 1, p);
    EXPECT_EQ(p.LeftTop.Y, 40);
    EXPECT_EQ(p.ArrowTo.Y, 50);
    // Below its top: down to its bottom.
    p.LeftTop.Y = 55;
    marks->ResolveOverlap(0, 1, p);
    EXPECT_EQ(p.LeftTop.Y, 60);
    // Apart: unchanged; and marks before First are not looked at.
    p.LeftTop.Y = 70;
    marks->ResolveOverlap(0, 1, p);
    EXPECT_EQ(p.LeftTop.Y, 70);
    p.LeftTop.Y = 55;
    marks->ResolveOverlap(1, 1, p);
    EXPECT_EQ(p.LeftTop.Y, 55);
}

TEST_F(MarksTest, ShiftFollowsTheCallout)
{
    TSeriesMarkPosition p;
    p.LeftTop = TPoint(0, 100);
    p.ArrowFrom = TPoint(5, 110);
    p.ArrowTo = TPoint(5, 110);
    marks->ShiftMarkPosition(p);   // no callout yet: nothing moves
    EXPECT_EQ(p.LeftTop.Y, 100);
    marks->SetArrowLength(8);
    marks->Callout()->SetDistance(2);
    marks->ShiftMarkPosition(p);
    EXPECT_EQ(p.LeftTop.Y, 90);
    EXPECT_EQ(p.ArrowTo.Y, 100);
    EXPECT_EQ(p.ArrowFrom.Y, 108);
}

TEST_F(MarksTest, AssignCopiesSettingsCalloutSymbolAndItems)
{
    TSeriesMarks other(series);
    other.SetAngle(45);
    other.SetClip(true);
    other.SetDrawEvery(4);
    other.SetStyle(smsXY);
    other.SetMultiLine(true);
    other.SetArrowLength(33);
    other.Symbol()->SetVisible(true);
    other.Item(2)->SetColor(clLime);
    other.Item(2)->Text()->Add("own");
    other.SetColor(clAqua);
    other.SetVisible(true);
    marks->Item(0);
    marks->Assign(&other);
    EXPECT_EQ(marks->Angle(), 45);
    EXPECT_TRUE(marks->Clip());
    EXPECT_EQ(marks->DrawEvery(), 4);
    EXPECT_EQ(marks->Style(), smsXY);
    EXPECT_TRUE(marks->MultiLine());
    EXPECT_EQ(marks->ArrowLength(), 33);
    EXPECT_TRUE(marks->Symbol()->Visible());
    EXPECT_EQ(marks->Items()->Item(0), nullptr);
    ASSERT_NE(marks->Items()->Item(2), nullptr);
    EXPECT_NE(marks->Items()->Item(2), other.Items()->Item(2));
    EXPECT_EQ(marks->Items()->Item(2)->Color(), clLime);
    EXPECT_EQ(marks->Items()->Item(2)->Text()->Text(), "own\r\n");
    EXPECT_EQ(marks->Color(), clAqua);
    EXPECT_TRUE(marks->Visible());
    // A source without callout or symbol takes them away.
    TSeriesMarks plain(series);
    marks->Assign(&plain);
    EXPECT_FALSE(marks->HasCallout());
    EXPECT_FALSE(marks->HasSymbol());
}

TEST_F(MarksTest, ACustomPositionReadsBackWithTheSeriesData)
{
    series->Add(4);
    series->Add(9);
    TSeriesMarkPosition* p = marks->Positions()->Ensure(1);
    p->Custom = true;
    p->ArrowFrom = TPoint(11, 12);
    p->ArrowFix = true;
    p->ArrowTo = TPoint(-31, 47);
    p->LeftTop = TPoint(5, -6);
    p->Width = 70;
    p->Height = 13;
    TMemoryStream data;
    series->WriteData(&data);
    data.SetPosition(0);
    auto* copy = new TChartSeries(&form);
    chart->AddSeries(copy);
    copy->ReadData(&data);
    ASSERT_EQ(copy->Count(), 2);
    const TSeriesMarkPosition* q = copy->Marks()->Positions()->Position(1);
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(q->Custom);
    EXPECT_EQ(q->ArrowFrom, TPoint(11, 12));
    EXPECT_TRUE(q->ArrowFix);
    EXPECT_EQ(q->ArrowTo, TPoint(-31, 47));
    EXPECT_EQ(q->LeftTop, TPoint(5, -6));
    EXPECT_EQ(q->Width, 70);
    EXPECT_EQ(q->Height, 13);
    const TSeriesMarkPosition* first = copy->Marks()->Positions()->Position(0);
    EXPECT_TRUE(first == nullptr || !first->Custom);
}
