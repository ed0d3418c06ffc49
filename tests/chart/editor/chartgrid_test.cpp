// The chart data grid and its navigator, driven through the grid's cells and editor and
// the navigator's buttons.
#include "data_editors_fixture.h"

#include "PixelProbe.h"
#include "Series.h"
#include "UserInput.h"

#include "controls/CommonDialogs.h"
#include "controls/Menus.h"
#include "controls/PopupMenus.h"
#include "controls/StdCtrls.h"
#include "graphics/Bitmap.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenu>

#include <tuple>

using namespace dataeditortest;

namespace {

struct GridTest : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        grid = AddGrid();
        nav = new TChartGridNavigator(form.get());
        nav->SetName("GridNavigator");
        nav->SetParent(form.get());
        for (TRizIvoigateBtn b : {nbInsert, nbDelete, nbEdit, nbPost, nbCancel})
            nav->Buttons(b)->SetVisible(true);
        nav->Layout();
        nav->SetGrid(grid);
    }
    // Types Text into the cell as a user does: select, open the editor, type, Enter.
    void Type(int Col, int Row, const std::string& Text)
    {
        grid->FocusCell(Col, Row);
        ASSERT_TRUE(grid->ShowEditor());
        grid->SetEditorText(Text);
        grid->HideEditor(true);
    }
    // A series in the grid, a pop-up menu of one item bound to it, the form shown.
    TPopupMenu* ShowWithMenu()
    {
        AddSeries({1, 2, 3}, "S");
        grid->SetChart(chart);
        auto* menu = new TPopupMenu(form.get());
        auto* item = new TMenuItem(form.get());
        item->SetCaption("&Insert");
        menu->Items()->Add(item);
        menu->BindTo(grid);
        user::ShowAndActivate(form.get());
        return menu;
    }
    TChartGrid* grid = nullptr;
    TChartGridNavigator* nav = nullptr;
};

TEST_F(GridTest, ChartLayoutShowsEverySeriesSideBySide)
{
    TChartSeries* a = AddSeries({1, 2, 3}, "A");
    TChartSeries* b = AddSeries({10, 20, 30, 40, 50}, "B");
    b->XValues()->SetValue(0, 0.5);   // B has X values of its own
    grid->SetChart(chart);

    // Index, label, A.Y, B.X, B.Y; two fixed rows and five data rows.
    ASSERT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->Cells(0, 0), "");
    EXPECT_EQ(grid->Cells(2, 0), "A");
    EXPECT_EQ(grid->Cells(3, 0), "B");
    EXPECT_EQ(grid->Cells(1, 1), "Text");
    EXPECT_EQ(grid->Cells(2, 1), "Y");
    EXPECT_EQ(grid->Cells(3, 1), "X");
    EXPECT_EQ(grid->Cells(0, 6), "4");
    EXPECT_EQ(grid->Cells(2, 4), "3");
    EXPECT_EQ(grid->Cells(2, 5), "");   // A has no point 3
    EXPECT_EQ(grid->Cells(3, 2), "0.5");
    EXPECT_EQ(grid->Cells(4, 6), "50");

    // A series removed from the chart leaves the grid at once.
    chart->RemoveSeries(b);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 5);
    delete b;
    delete a;
    EXPECT_EQ(grid->ColCount(), 1);
}

TEST_F(GridTest, TypingWritesValuesKeepsPrecisionAndRefusesBadText)
{
    TChartSeries* s = AddSeries({1.23456789, 2, 3, 4, 5}, "S");
    AddSeries({0, 0, 0, 0, 0, 0, 0, 0}, "Long");
    grid->SetChart(chart);
    EXPECT_EQ(grid->Cells(2, 2), "1.235");

    // The editor opens with every digit; keeping it unchanged leaves the value.
    grid->FocusCell(2, 2);
    ASSERT_TRUE(grid->ShowEditor());
    EXPECT_EQ(grid->EditorText(), "1.23456789");
    grid->HideEditor(true);
    EXPECT_EQ(s->YValues()->Value(0), 1.23456789);

    // Index 7 of a 5-point series: points 5 and 6 are appended null, 7 gets the value.
    Type(2, 9, " 70 ");
    ASSERT_EQ(s->Count(), 8);
    EXPECT_TRUE(s->IsNull(5));
    EXPECT_TRUE(s->IsNull(6));
    EXPECT_FALSE(s->IsNull(7));
    EXPECT_EQ(s->YValues()->Value(7), 70);

    // A text that is no number is refused with the conversion message; nothing changes.
    Type(2, 3, "abc");
    EXPECT_EQ(s->YValues()->Value(1), 2);
    ASSERT_FALSE(dialogs.Requests.empty());
    EXPECT_EQ(dialogs.Requests.back().Text, "'abc' is not a valid floating point value.");


    // Escape discards; an empty text makes the point null.
    grid->FocusCell(2, 3);
    grid->ShowEditor();
    grid->SetEditorText("99");
    grid->HideEditor(false);
    EXPECT_EQ(s->YValues()->Value(1), 2);
    Type(2, 3, "");
    EXPECT_TRUE(s->IsNull(1));
    // A value typed into a null point makes it a point again.
    Type(2, 3, "6");
    EXPECT_FALSE(s->IsNull(1));
    EXPECT_EQ(s->YValues()->Value(1), 6);

    // The grid listens again after its own writes: a change by other code rebuilds it.
    s->AddPointXY(8, 1);
    s->RefreshSeries();
    EXPECT_EQ(grid->RowCount(), 11);
}

TEST_F(GridTest, AfterTheMessageOnARefusedValueTheKeysGoToTheGridAgain)
{
    TChartSeries* s = AddSeries({1, 2, 3}, "S");
    grid->SetChart(chart);
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::ClickItem(grid, 1, 1));   // the first point's Y
    user::ModalActions modal(dialogs);
    modal.ThenInDialog([](QWidget*) { ASSERT_TRUE(user::Key(Qt::Key_Return)); });
    ASSERT_TRUE(user::Type("abc"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    EXPECT_EQ(modal.Started(), 1);
    user::ShowAndActivate(form.get());   // the desktop activates the window again
    EXPECT_EQ(s->YValues()->Value(0), 1);
    // Typing opens the cell's editor again; Escape gives the edit up there.
    ASSERT_TRUE(user::Type("9"));
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->EditorText(), "9");
    ASSERT_TRUE(user::Key(Qt::Key_Escape));
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(s->YValues()->Value(0), 1);
}

TEST_F(GridTest, CtrlHomeAndCtrlEndSelectTheCellTheyGoTo)
{
    AddSeries({1, 2, 3, 4}, "S");
    grid->SetChart(chart);
    user::ShowAndActivate(form.get());
    auto* view = static_cast<QAbstractItemView*>(grid->Widget());
    ASSERT_TRUE(user::ClickItem(view, 1, 1));
    const auto selectedIsCurrent = [&] {
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        return selected.size() == 1 && selected.front() == view->currentIndex();
    };
    ASSERT_TRUE(user::Key(view, Qt::Key_End, Qt::ControlModifier));
    EXPECT_EQ(grid->Row(), grid->RowCount() - 1);
    EXPECT_EQ(grid->Col(), grid->ColCount() - 1);
    EXPECT_TRUE(selectedIsCurrent());
    ASSERT_TRUE(user::Key(view, Qt::Key_Home, Qt::ControlModifier));
    EXPECT_EQ(grid->Row(), grid->FirstDataRow());
    EXPECT_TRUE(selectedIsCurrent());
}

TEST_F(GridTest, TabWalksTheCellsAndLeavesTheGridAtEitherEnd)
{
    TChartSeries* s = AddSeries({1, 2}, "S");
    grid->SetSeries(s);   // index, label, Y: two data columns, two data rows
    auto* after = new TEdit(form.get());
    after->SetParent(form.get());
    user::ShowAndActivate(form.get());
    auto* view = static_cast<QAbstractItemView*>(grid->Widget());
    const auto inGrid = [view] {
        QWidget* f = QApplication::focusWidget();
        return f == view || view->isAncestorOf(f);
    };
    ASSERT_TRUE(user::ClickItem(view, 0, 1));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));   // to the label of the second row
    EXPECT_EQ(grid->Row(), grid->FirstDataRow() + 1);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_TRUE(inGrid());
    // A value typed into the last cell and Tab: stored, and the focus goes on.
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    ASSERT_TRUE(user::Type("7"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(s->YValues()->Value(1), 7);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(inGrid());
    // Tab from the last cell, and Shift+Tab from the first, leave too.
    ASSERT_TRUE(user::ClickItem(view, 1, 1));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_FALSE(inGrid());
    ASSERT_TRUE(user::ClickItem(view, 0, 0));
    ASSERT_TRUE(user::Key(Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_FALSE(inGrid());
}

TEST_F(GridTest, ARightClickOpensThePopupMenuWhereTheMouseIs)
{
    TPopupMenu* menu = ShowWithMenu();
    auto* view = static_cast<QAbstractItemView*>(grid->Widget());
    // A cell below the header row and right of the index column.
    const QPoint inView = view->viewport()->mapTo(view, view->visualRect(view->model()->index(1, 1)).center());
    ASSERT_TRUE(user::Click(view, inView, Qt::RightButton));
    QMenu* shown = menu->Items()->Action()->menu();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(menu->Showing());
    EXPECT_EQ(shown->pos(), view->mapToGlobal(inView));
    menu->CloseUp();
}

TEST_F(GridTest, ShiftF10OpensThePopupMenuAtTheCurrentCell)
{
    TPopupMenu* menu = ShowWithMenu();
    auto* view = static_cast<QAbstractItemView*>(grid->Widget());
    ASSERT_TRUE(user::ClickItem(view, 2, 1));
    ASSERT_TRUE(user::Key(view, Qt::Key_F10, Qt::ShiftModifier));
    EXPECT_TRUE(menu->Showing());
    QMenu* shown = menu->Items()->Action()->menu();
    ASSERT_NE(shown, nullptr);
    const QPoint cell = view->viewport()->mapTo(view, view->visualRect(view->model()->index(2, 1)).center());
    EXPECT_EQ(shown->pos(), view->mapToGlobal(cell));
    menu->CloseUp();
}

// A series that cannot take null points.
class NoNullSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    int AddNull(const std::string&) override { throw EConvertError("no null points here"); }
};

TEST_F(GridTest, AnEditThatRaisesLeavesTheGridListening)
{
    auto* s = new NoNullSeries(form.get());
    s->SetName("S");
    chart->AddSeries(s);
    s->AddPointXY(0, 1);
    AddSeries({1, 2, 3}, "Long");
    grid->SetChart(chart);
    Type(2, 4, "5");   // index 2 of a 1-point series needs null points, which raise
    EXPECT_EQ(dialogs.Requests.back().Text, "no null points here.");
    EXPECT_EQ(s->Count(), 1);
    ASSERT_EQ(grid->ColCount(), 4);
    AddSeries({1, 2, 3, 4, 5}, "Longer");
    EXPECT_EQ(grid->ColCount(), 5);
}

TEST_F(GridTest, EditingAnOrderedXResortsAndFollowsThePoint)
{
    TChartSeries* s = AddSeries({10, 20, 30, 40}, "S");
    s->XValues()->SetOrder(loAscending);
    s->SetLabel(0, "first");
    grid->SetShowXValues(cgsYes);
    grid->SetSeries(s);
    ASSERT_EQ(grid->Cells(2, 1), "X");

    Type(2, 2, "2.5");   // point 0 (Y 10) moves between X 2 and X 3
    EXPECT_EQ(s->XValues()->Value(2), 2.5);
    EXPECT_EQ(s->YValues()->Value(2), 10);
    EXPECT_EQ(s->LabelText(2), "first");
    EXPECT_EQ(s->XValues()->Value(0), 1);
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(GridTest, InsertingIntoAnOrderedSeriesGoesToTheNewPointsRow)
{
    TChartSeries* s = AddSeries({10, 20, 30, 40}, "S");
    s->XValues()->SetOrder(loAscending);
    for (int i = 0; i < 4; ++i)
        s->XValues()->SetValue(i, 5 + i);   // X 5..8: the new point's X 4 sorts first
    grid->SetSeries(s);
    grid->FocusCell(2, 3);
    nav->Buttons(nbInsert)->Click();
    ASSERT_EQ(s->Count(), 5);
    ASSERT_TRUE(s->IsNull(0));
    EXPECT_EQ(s->XValues()->Value(0), 4);
    EXPECT_EQ(grid->Row(), grid->FirstDataRow());
}

TEST_F(GridTest, ColumnsShownOrHiddenLeaveTheCurrentCellOnItsColumn)
{
    TChartSeries* s = AddSeries({1, 2, 3}, "S");
    s->XValues()->SetValue(0, 0.5);   // an X column of its own: index, label, X, Y
    grid->SetSeries(s);
    grid->FocusCell(3, 3);
    ASSERT_EQ(grid->Cells(grid->Col(), 1), "Y");
    grid->SetShowLabels(false);
    EXPECT_EQ(grid->Cells(grid->Col(), 1), "Y");
    grid->SetShowColors(true);
    grid->SetShowLabels(true);
    EXPECT_EQ(grid->Cells(grid->Col(), 1), "Y");
    EXPECT_EQ(grid->Row(), 3);
}

TEST_F(GridTest, LabelsColoursAndDateTimes)
{
    TChartSeries* s = AddSeries({1, 2}, "S");
    s->YValues()->SetDateTime(true);
    grid->SetShowColors(true);
    grid->SetSeries(s);
    ASSERT_EQ(grid->Cells(1, 1), "Colors");
    ASSERT_EQ(grid->Cells(2, 1), "Text");

    Type(2, 2, "Jan");
    EXPECT_EQ(s->LabelText(0), "Jan");
    Type(3, 3, "3/15/2024 6:00:00 PM");
    EXPECT_DOUBLE_EQ(s->YValues()->Value(1), EncodeDate(2024, 3, 15) + 0.75);
    EXPECT_EQ(grid->Cells(3, 3), DateTimeToStr(EncodeDate(2024, 3, 15) + 0.75));

    // The colour cell: not editable as text; its point's colour through the dialog.
    grid->FocusCell(1, 2);
    EXPECT_FALSE(grid->ShowEditor());
    dialogs.Answer = [](TDialogRequest& r) {
        if (TColorDialogRequest* c = AsColorDialogRequest(r)) {
            c->Color = clRed;
            return mrOk;
        }
        return mrOk;
    };
    uint16_t key = VK_RETURN;
    grid->OnKeyDown(grid, key, 0);
    EXPECT_EQ(s->ValueColor(0), clRed);
    // The current colour cell shows the colour inside the selection's frame.
    form->Show();
    auto* view = static_cast<QAbstractItemView*>(grid->Widget());
    TBitmap picture;
    grid->PaintTo(&picture);
    const QPoint centre = view->viewport()->mapTo(view, view->visualRect(view->model()->index(0, 0)).center());
    EXPECT_EQ(testsupport::Px(picture, centre.x(), centre.y()), clRed);
    grid->SetPointColor(clDefault);
    EXPECT_EQ(s->ValueColor(0), s->SeriesColor());
}

TEST_F(GridTest, MatrixLayoutShowsYByXAndThirdValue)
{
    auto* s = new TChartSeries(form.get());
    s->SetName("Surface");
    chart->AddSeries(s);
    TChartValueList* z = new TChartValueList(s, "Z");
    for (const auto& [x, zz, y] : {std::tuple{0.0, 1.0, 5.0}, {1.0, 1.0, 6.0}, {0.0, 2.0, 7.0}}) {
        z->TempValue = zz;
        s->AddPointXY(x, y);
    }
    grid->SetChart(chart);
    grid->SetMatrixLayout(true);
    ASSERT_EQ(grid->MatrixSeries(), s);
    ASSERT_EQ(grid->ColCount(), 3);
    ASSERT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(1, 0), "1");
    EXPECT_EQ(grid->Cells(2, 0), "2");
    EXPECT_EQ(grid->Cells(0, 2), "1");
    EXPECT_EQ(grid->Cells(2, 1), "7");
    EXPECT_EQ(grid->Cells(2, 2), "");

    auto yAt = [&](double x, double zz) {
        for (int i = 0; i < s->Count(); ++i)
            if (s->XValues()->Value(i) == x && z->Value(i) == zz)
                return s->YValues()->Value(i);
        return -1.0;
    };
    Type(1, 2, "60");   // the point at X 1, Z 1
    EXPECT_EQ(yAt(1, 1), 60);
    Type(2, 2, "8");    // no point at X 1, Z 2 yet: one is added there
    ASSERT_EQ(s->Count(), 4);
    EXPECT_EQ(yAt(1, 2), 8);
    EXPECT_EQ(grid->Cells(2, 2), "8");

    grid->SetMatrixLayout(false);
    EXPECT_EQ(grid->ColCount(), 5);   // index, label, X, Y, Z
}

TEST_F(GridTest, NavigatorMovesInsertsAndDeletes)
{
    TChartSeries* s = AddSeries({1, 2, 3}, "S");
    grid->SetSeries(s);
    grid->FocusCell(2, 2);
    EXPECT_FALSE(nav->Buttons(nbFirst)->Enabled());
    EXPECT_TRUE(nav->Buttons(nbLast)->Enabled());
    EXPECT_FALSE(nav->Buttons(nbPost)->Enabled());

    nav->Buttons(nbNext)->Click();
    EXPECT_EQ(grid->Row(), 3);
    nav->Buttons(nbLast)->Click();
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_FALSE(nav->Buttons(nbNext)->Enabled());
    EXPECT_TRUE(nav->Buttons(nbPrior)->Enabled());
    nav->Buttons(nbFirst)->Click();
    EXPECT_EQ(grid->Row(), 2);

    nav->Buttons(nbEdit)->Click();
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_TRUE(nav->Buttons(nbPost)->Enabled());
    EXPECT_FALSE(nav->Buttons(nbInsert)->Enabled());
    grid->SetEditorText("5");
    nav->Buttons(nbPost)->Click();
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(s->YValues()->Value(0), 5);

    // Insert: a null point at X = count, the grid on the new last row.
    nav->Buttons(nbInsert)->Click();
    ASSERT_EQ(s->Count(), 4);
    EXPECT_EQ(s->XValues()->Value(3), 3);
    EXPECT_TRUE(s->IsNull(3));
    EXPECT_EQ(grid->Row(), 5);

    // Delete renumbers X values that are indexes, and keeps X values of their own.
    grid->SetRow(2);
    nav->Buttons(nbDelete)->Click();
    ASSERT_EQ(s->Count(), 3);
    EXPECT_EQ(s->XValues()->Value(0), 0);
    EXPECT_EQ(s->YValues()->Value(0), 2);
    s->XValues()->SetValue(0, 0.25);
    grid->RecalcDimensions();
    ASSERT_EQ(grid->Cells(2, 1), "X");
    grid->SetRow(3);
    nav->Buttons(nbDelete)->Click();
    EXPECT_EQ(s->XValues()->Value(0), 0.25);
    EXPECT_EQ(s->XValues()->Value(1), 2);

    // The last remaining point: one empty data row stays.
    s->Delete(1);
    grid->SetRow(2);
    nav->Buttons(nbDelete)->Click();
    EXPECT_EQ(s->Count(), 0);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_FALSE(nav->Buttons(nbDelete)->Enabled());

    // Without a grid the buttons only fire the event.
    int clicks = 0;
    nav->OnButtonClicked = [&](TObject*, TRizIvoigateBtn) { ++clicks; };
    delete grid;
    grid = nullptr;
    EXPECT_EQ(nav->Grid(), nullptr);
    nav->ButtonClicked(nbInsert);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(s->Count(), 0);
}

TEST_F(GridTest, NavigatorSharesItsWidthAmongVisibleButtons)
{
    TChartGridNavigator bar(nullptr);
    bar.SetWidth(245);
    EXPECT_EQ(bar.Width(), 244);   // not aligned: n x w
    EXPECT_EQ(bar.ButtonWidth(), 61);
    bar.SetAlign(alTop);
    bar.SetBounds(0, 0, 245, 25);
    int sum = 0, wider = 0;
    for (TRizIvoigateBtn b : {nbFirst, nbPrior, nbNext, nbLast}) {
        sum += bar.Buttons(b)->Width();
        wider += bar.Buttons(b)->Width() == 62;
    }
    EXPECT_EQ(sum, 245);
    EXPECT_EQ(wider, 1);
    EXPECT_GT(bar.Buttons(nbInsert)->Left(), 245);   // hidden: parked to the right

    bar.SetAlign(alNone);
    for (int i = 0; i < RizIvoButtonCount; ++i)
        bar.Buttons(static_cast<TRizIvoigateBtn>(i))->SetVisible(false);
    bar.SetWidth(5);
    bar.Layout();
    EXPECT_EQ(bar.Width(), 20);   // as if one button were visible
    EXPECT_EQ(bar.Buttons(nbFirst)->Hint(), "First");
    bar.Hints()->Add("");
    bar.Hints()->Add("Back");
    EXPECT_EQ(bar.Buttons(nbPrior)->Hint(), "Back");
    EXPECT_EQ(bar.Buttons(nbFirst)->Hint(), "First");
}

TEST_F(GridTest, NavigatorKeysMoveTheFocusAndClick)
{
    TChartSeries* s = AddSeries({1, 2, 3}, "S");
    grid->SetSeries(s);
    grid->FocusCell(2, 2);
    nav->Buttons(nbPrior)->SetVisible(false);
    uint16_t key = VK_RIGHT;
    nav->DispatchKeyDown(key, 0);
    EXPECT_EQ(nav->FocusedButton(), nbNext);   // the hidden Prior is skipped
    key = VK_SPACE;
    nav->DispatchKeyDown(key, 0);
    EXPECT_EQ(grid->Row(), 3);
    key = VK_LEFT;
    nav->DispatchKeyDown(key, 0);
    key = VK_LEFT;
    nav->DispatchKeyDown(key, 0);   // no visible button further left: it stays
    EXPECT_EQ(nav->FocusedButton(), nbFirst);
}

TEST_F(GridTest, PictureOfTheGrid)
{
    auto* line = new TLineSeries(form.get());
    line->SetName("Cp");
    chart->AddSeries(line);
    for (int i = 0; i < 12; ++i)
        line->AddPointXY(i * 0.5, 1.5 * i * i, i % 3 == 0 ? "T" + std::to_string(i) : "");
    TChartSeries* b = AddSeries({5, 4, 3, 2, 1}, "Fit");
    b->SetValueColor(1, clRed);
    grid->SetShowColors(true);
    grid->SetChart(chart);
    form->Show();
    grid->FocusCell(3, 4);
    TBitmap picture;
    grid->PaintTo(&picture);
    EXPECT_EQ(picture.Width(), grid->Width());
    if (const std::string path = testsupport::ArtifactPath("editor-grid.png"); !path.empty()) {
        EXPECT_TRUE(SaveControlPicture(form.get(), path));
    }
}

} // namespace
