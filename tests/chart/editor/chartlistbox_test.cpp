// The series list box, driven by mouse and keys on its lines and through the dialogs it
// asks.
#include "PixelProbe.h"
#include "UserInput.h"
#include "ChartListBox.h"
#include "Galleries.h"
#include "data_editors_fixture.h"

#include "Series.h"

#include "controls/CommonDialogs.h"
#include "controls/DragDrop.h"
#include "controls/InplaceEdit.h"
#include "controls/StdCtrls.h"
#include "graphics/Bitmap.h"

#include <QTest>
#include <QWindow>

using namespace dataeditortest;
using testsupport::Px;

namespace {

// A second series type for the type change.
class TOtherSeries : public TChartSeries {
public:
    DECLARE_CLASS_INFO(TOtherSeries)
    using TChartSeries::TChartSeries;
};
BEGIN_CLASS_INFO(TOtherSeries, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

struct ListBoxTest : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        a = AddSeries({1, 2}, "A");
        b = AddSeries({3, 4}, "B");
        c = AddSeries({5, 6}, "C");
        list = new TChartListBox(form.get());
        list->SetName("ChartListBox1");
        list->SetParent(form.get());
        list->SetBounds(0, 0, 320, 200);
        list->SetChart(chart);
        user::ShowAndActivate(form.get());
    }
    void TearDown() override
    {
        NewSeriesFromGalleryHook = nullptr;
        ChangeTypeFromGalleryHook = nullptr;
        ChartOnForm::TearDown();
    }
    // A left click in a section of a line.
    QPoint Point(int Line, TChartListBox::TSection Section) const
    {
        return QPoint(list->SectionLeft(Section) + 5, Line * TChartListBox::ItemHeight + 10);
    }
    void Click(int Line, TChartListBox::TSection Section, TShiftState Shift = 0)
    {
        Qt::KeyboardModifiers keys = Qt::NoModifier;
        if (Shift & ssShift)
            keys |= Qt::ShiftModifier;
        if (Shift & ssCtrl)
            keys |= Qt::ControlModifier;
        EXPECT_TRUE(user::Click(list->Widget(), Point(Line, Section), Qt::LeftButton, keys));
    }
    void DoubleClick(int Line, TChartListBox::TSection Section)
    {
        EXPECT_TRUE(user::DoubleClick(list->Widget(), Point(Line, Section)));
    }
    // Answers the input box with Text.
    void AnswerInput(const std::string& Text)
    {
        dialogs.Answer = [Text](TDialogRequest& r) {
            if (r.Kind == TDialogKind::dkModalForm && r.Form != nullptr) {
                static_cast<TEdit*>(r.Form->FindComponent("Edit"))->SetText(Text);
                return mrOk;
            }
            return mrOk;
        };
    }
    TChartSeries *a = nullptr, *b = nullptr, *c = nullptr;
    TChartListBox* list = nullptr;
};

TEST_F(ListBoxTest, ChecksSelectAndReorder)
{
    ASSERT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Get(1), "B");
    EXPECT_EQ(list->SelectedSeries(), a);

    TChartSeries* changed = nullptr;
    list->OnChangeActive = [&](TObject*, TChartSeries* s) { changed = s; };
    Click(1, TChartListBox::lsCheck);
    EXPECT_FALSE(b->Active());
    EXPECT_EQ(changed, b);
    Click(1, TChartListBox::lsCheck);
    EXPECT_TRUE(b->Active());

    // Radio style: the clicked series alone stays active.
    list->SetCheckStyle(cbsRadio);
    EXPECT_TRUE(a->Active());
    EXPECT_FALSE(b->Active());
    Click(2, TChartListBox::lsCheck);
    EXPECT_FALSE(a->Active());
    EXPECT_TRUE(c->Active());

    // Ctrl and Shift clicks select several lines.
    Click(0, TChartListBox::lsTitle);
    Click(2, TChartListBox::lsTitle, ssShift);
    EXPECT_EQ(list->SelCount(), 3);
    Click(1, TChartListBox::lsTitle, ssCtrl);
    EXPECT_EQ(list->SelCount(), 2);

    // Move down, and dragging a line onto another exchanges them in the chart.
    TChartSeries *first = nullptr, *second = nullptr;
    list->OnChangeOrder = [&](TObject*, TChartSeries* s1, TChartSeries* s2) { first = s1, second = s2; };
    list->SelectSeries(0);
    list->MoveSeriesDown();
    EXPECT_EQ(chart->Series(0), b);
    EXPECT_EQ(chart->Series(1), a);
    EXPECT_EQ(first, a);
    EXPECT_EQ(list->ItemIndex(), 1);
    const int x = list->SectionLeft(TChartListBox::lsTitle) + 5;
    list->DispatchMouseDown(mbLeft, ssLeft, x, 10);
    list->DispatchMouseMove(ssLeft, x, 40);
    list->DispatchMouseMove(ssLeft, x, 58);
    list->DispatchMouseUp(mbLeft, 0, x, 58);
    EXPECT_EQ(chart->Series(0), c);
    EXPECT_EQ(chart->Series(2), b);
    EXPECT_EQ(list->Items()->Get(2), "B");
    EXPECT_EQ(list->SelectedSeries(), b);
}

TEST_F(ListBoxTest, HomeEndAndPageKeysMoveTheSelectionAndKeepItInView)
{
    // Twelve lines in a box of eight whole lines.
    for (int i = 0; i < 9; ++i)
        AddSeries({double(i)}, "S" + std::to_string(i));
    list->FillSeriesList(a);
    ASSERT_EQ(list->Items()->Count(), 12);
    list->SetFocus();

    ASSERT_TRUE(user::Key(list, Qt::Key_End));
    EXPECT_EQ(list->ItemIndex(), 11);
    EXPECT_EQ(list->TopIndex(), 4);
    ASSERT_TRUE(user::Key(list, Qt::Key_Home));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->TopIndex(), 0);
    // A page is the whole lines shown less one; the ends stop it.
    ASSERT_TRUE(user::Key(list, Qt::Key_PageDown));
    EXPECT_EQ(list->ItemIndex(), 7);
    EXPECT_EQ(list->TopIndex(), 0);
    ASSERT_TRUE(user::Key(list, Qt::Key_PageDown));
    EXPECT_EQ(list->ItemIndex(), 11);
    ASSERT_TRUE(user::Key(list, Qt::Key_PageUp));
    EXPECT_EQ(list->ItemIndex(), 4);
    ASSERT_TRUE(user::Key(list, Qt::Key_PageUp));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->SelCount(), 1);
}

TEST_F(ListBoxTest, AScrollBarShowsWhileTheLinesDoNotAllFit)
{
    TScrollBar* bar = list->ScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->Visible());
    for (int i = 0; i < 9; ++i)
        AddSeries({double(i)}, "S" + std::to_string(i));
    list->FillSeriesList(a);
    // Twelve lines, eight whole ones shown: the top line goes from 0 to 4.
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Left() + bar->Width(), list->Width());
    EXPECT_EQ(bar->Height(), list->Height());
    EXPECT_EQ(bar->Max(), 4);
    EXPECT_EQ(bar->Position(), 0);

    // Moving the bar scrolls the lines; a click over the bar picks no line.
    bar->SetPosition(3);
    EXPECT_EQ(list->TopIndex(), 3);
    EXPECT_EQ(list->ItemAtPos(list->Width() - 2, 10), -1);
    EXPECT_EQ(list->ItemAtPos(list->SectionLeft(TChartListBox::lsTitle) + 5, 10), 3);
    // The selection kept in view and the wheel move the bar.
    list->SelectSeries(11);
    EXPECT_EQ(bar->Position(), 4);
    list->SetTopIndex(1);
    EXPECT_EQ(bar->Position(), 1);

    // Taller, or with fewer lines, everything fits and the bar goes.
    list->SetBounds(0, 0, 320, 300);
    EXPECT_FALSE(bar->Visible());
    list->SetBounds(0, 0, 320, 200);
    EXPECT_TRUE(bar->Visible());
    for (int i = 0; i < 9; ++i)
        delete chart->Series(chart->SeriesCount() - 1);
    list->FillSeriesList(a);
    EXPECT_FALSE(bar->Visible());
}

TEST_F(ListBoxTest, AsADragSourceTooItTakesALineDroppedOnAnotherOfItsLines)
{
    SetDragSource(list, true);   // as the chart editor makes it, to drop series on groups
    const int x = list->SectionLeft(TChartListBox::lsTitle) + 5;
    QWindow* window = list->Widget()->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    const auto At = [&](QPoint P) { return list->Widget()->mapTo(list->Widget()->window(), P); };
    // The press on "A", then the toolkit's drag of the list over "C" and its drop there.
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, At(QPoint(x, 10)));
    EXPECT_FALSE(DragOverTarget(list, form.get(), x, 58));   // another source is refused
    EXPECT_TRUE(DragOverTarget(list, list, x, 58));
    EXPECT_TRUE(DropOnTarget(list, list, x, 58));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, At(QPoint(x, 58)));
    EXPECT_EQ(chart->Series(0), c);
    EXPECT_EQ(chart->Series(2), a);
    EXPECT_EQ(list->Items()->Get(2), "A");
    EXPECT_EQ(list->SelectedSeries(), a);
    // Dropped on its own line, nothing moves.
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, At(QPoint(x, 34)));
    EXPECT_TRUE(DropOnTarget(list, list, x, 34));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, At(QPoint(x, 34)));
    EXPECT_EQ(chart->Series(1), b);
}

TEST_F(ListBoxTest, RenamingValidatesNamesAndClearsATitleEqualToTheName)
{
    b->SetTitle("Fit");
    list->SelectSeries(1);
    ASSERT_EQ(list->Items()->Get(1), "Fit");

    AnswerInput("B");
    EXPECT_TRUE(list->RenameSelectedSeries());
    EXPECT_EQ(b->StoredTitle(), "");
    EXPECT_EQ(list->Items()->Get(1), "B");
    EXPECT_EQ(dialogs.Requests.back().Caption, "Change Series Title");

    // Names shown: an invalid name keeps the old one and says why.
    list->SetShowSeriesNames(true);
    list->SelectSeries(1);
    AnswerInput("1 bad");
    EXPECT_THROW(list->RenameSelectedSeries(), EComponentError);
    EXPECT_EQ(b->Name(), "B");
    EXPECT_EQ(list->Items()->Get(1), "B");
    AnswerInput("Good");
    EXPECT_TRUE(list->RenameSelectedSeries());
    EXPECT_EQ(b->Name(), "Good");
    EXPECT_EQ(list->Items()->Get(1), "Good");

    // In-place: F2 opens the editor over the title, Enter keeps it, Escape does not.
    list->SetShowSeriesNames(false);
    Click(0, TChartListBox::lsTitle);
    ASSERT_TRUE(user::Key(Qt::Key_F2));
    ASSERT_TRUE(list->TitleEditing());
    EXPECT_EQ(list->TitleEditor()->Left(), list->SectionLeft(TChartListBox::lsTitle) - 2);
    ASSERT_TRUE(user::Type("Points"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    EXPECT_EQ(a->Title(), "Points");
    EXPECT_EQ(list->Items()->Get(0), "Points");
    ASSERT_TRUE(user::Key(Qt::Key_F2));
    ASSERT_TRUE(user::Type("Lost"));
    ASSERT_TRUE(user::Key(Qt::Key_Escape));
    EXPECT_FALSE(list->TitleEditing());
    EXPECT_EQ(a->Title(), "Points");
}

TEST_F(ListBoxTest, ANewTitleTypedInTheBoxReplacesTheOldOne)
{
    b->SetTitle("Fit");
    list->SelectSeries(1);
    user::ModalActions modal(dialogs);
    modal.Then([](TForm*) {
        user::Type("Residuals");
        user::Key(Qt::Key_Return);
    });
    EXPECT_TRUE(list->RenameSelectedSeries());
    EXPECT_EQ(b->Title(), "Residuals");
}

TEST_F(ListBoxTest, DeletingAsksAndRemovalByOtherCodeFollows)
{
    list->SetItemIndex(0);
    list->SetSelected(1, true);
    list->SetSelected(2, true);
    dialogs.Answer = [](TDialogRequest&) { return mrNo; };
    list->DeleteSelectedSeries();
    EXPECT_EQ(chart->SeriesCount(), 3);
    ASSERT_FALSE(dialogs.Requests.empty());
    EXPECT_EQ(dialogs.Requests.back().Text, "Delete (Selected Series) ?");

    // A series removed by other code leaves its line and is reported.
    TChartSeries* removed = nullptr;
    list->OnRemovedSeries = [&](TObject*, TChartSeries* s) { removed = s; };
    const TChartSeries* gone = b;
    delete b;
    EXPECT_EQ(removed, gone);
    ASSERT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ(list->Items()->Get(1), "C");

    // A series the list does not show removes nothing.
    TSeriesGroup* group = chart->SeriesList()->AddGroup("OnlyC");
    group->Series()->Add(c);
    list->SetSeriesGroup(group);
    ASSERT_EQ(list->Items()->Count(), 1);
    removed = nullptr;
    delete a;
    EXPECT_EQ(removed, nullptr);
    EXPECT_EQ(list->Items()->Count(), 1);

    dialogs.Answer = [](TDialogRequest&) { return mrYes; };
    list->SelectSeries(0);
    ASSERT_TRUE(user::Key(list, Qt::Key_Delete));
    EXPECT_EQ(dialogs.Requests.back().Text, "Delete C ?");
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(list->Items()->Count(), 0);
}

TEST_F(ListBoxTest, GalleryHooksAddAndChangeTypesAndColourDialog)
{
    // Without a gallery nothing happens.
    list->AddSeriesFromGallery();
    list->ChangeSelectedSeriesType();
    EXPECT_EQ(chart->SeriesCount(), 3);

    NewSeriesFromGalleryHook = [this](TComponent*, TCustomAxisPanel* Chart) {
        return CreateSeriesInChart(form.get(), Chart, TOtherSeries::StaticClassInfo());
    };
    ASSERT_TRUE(user::Key(list, Qt::Key_Insert));
    ASSERT_EQ(chart->SeriesCount(), 4);
    EXPECT_EQ(list->SelectedSeries(), chart->Series(3));
    EXPECT_EQ(list->SelCount(), 1);

    // One gallery question changes every selected series.
    int asked = 0;
    ChangeTypeFromGalleryHook = [&](TComponent*, TChartSeries*& S) {
        ++asked;
        ReplaceSeriesClass(S, TOtherSeries::StaticClassInfo());
        return TOtherSeries::StaticClassInfo();
    };
    list->SetItemIndex(0);
    list->SetSelected(2, true);
    DoubleClick(0, TChartListBox::lsIcon);
    EXPECT_EQ(asked, 1);
    EXPECT_NE(dynamic_cast<TOtherSeries*>(chart->Series(0)), nullptr);
    EXPECT_EQ(dynamic_cast<TOtherSeries*>(chart->Series(1)), nullptr);
    EXPECT_EQ(list->SelectedSeries(), chart->Series(0));

    // Double click on the symbol: the colour dialog colours the whole series.
    dialogs.Answer = [](TDialogRequest& r) {
        if (TColorDialogRequest* cr = AsColorDialogRequest(r)) {
            cr->Color = clNavy;
            return mrOk;
        }
        return mrCancel;
    };
    DoubleClick(1, TChartListBox::lsColor);
    EXPECT_EQ(chart->Series(1)->SeriesColor(), clNavy);
    int titleClicks = -1;
    list->OnDblClickSeries = [&](TObject*, int Index) { titleClicks = Index; };
    DoubleClick(2, TChartListBox::lsTitle);
    EXPECT_EQ(titleClicks, 2);
}

TEST_F(ListBoxTest, PictureOfTheList)
{
    auto* line = new TLineSeries(form.get());
    line->SetName("Line1");
    line->SetTitle("Fitted Cp");
    chart->AddSeries(line);
    b->SetActive(false);
    list->SetItemIndex(3);
    form->Show();
    list->PaintWindow();
    // The selected line in the highlight colour, the others in the window colour; the
    // legend symbol in the series colour.
    const int colorX = list->SectionLeft(TChartListBox::lsColor) + 13;
    const int titleX = list->SectionLeft(TChartListBox::lsTitle) + 150;
    EXPECT_EQ(list->Canvas()->Pixel(titleX, 3 * TChartListBox::ItemHeight + 2), ColorToRGB(clHighlight));
    EXPECT_EQ(list->Canvas()->Pixel(titleX, 2), ColorToRGB(clWindow));
    EXPECT_EQ(list->Canvas()->Pixel(colorX, 12), ColorToRGB(a->SeriesColor()));
    if (const std::string path = testsupport::ArtifactPath("editor-listbox.png"); !path.empty()) {
        EXPECT_TRUE(SaveControlPicture(list, path));
    }
}

// Run once more on a screen of twice the density: a line's type picture is drawn at the
// screen's density, not enlarged from a picture of one pixel per unit.
TEST_F(ListBoxTest, TypePicturesTakeTheScreenDensity)
{
    const double ratio = list->PixelRatio();
    list->PaintWindow();
    constexpr int Size = 20;
    TBitmap expected(Size, Size, pf24bit);
    expected.SetPixelRatio(ratio);
    DrawClassPicture(a, &expected, Size);
    TBitmap shown(Size, Size, pf24bit);
    shown.SetPixelRatio(ratio);
    ASSERT_TRUE(shown.Canvas()->BitBlt(0, 0, Size, Size, *list->Canvas(), list->SectionLeft(TChartListBox::lsIcon),
                                       (TChartListBox::ItemHeight - Size) / 2, SRCCOPY));
    ASSERT_EQ(shown.PixelWidth(), expected.PixelWidth());
    int differing = 0;
    for (int y = 0; y < expected.PixelHeight(); ++y)
        for (int x = 0; x < expected.PixelWidth(); ++x)
            differing += Px(shown, x, y) != Px(expected, x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << "ratio " << ratio;
    // The picture's grey frame is one device unit, ratio image pixels, wide.
    EXPECT_EQ(Px(shown, int(ratio) - 1, shown.PixelHeight() / 2), clGray);
    EXPECT_NE(Px(shown, int(ratio), shown.PixelHeight() / 2), clGray);
}

} // namespace
