// Rules of the editor's pages at their boundaries: equal X values after a re-sort, the
// per-point colours after a series colour, the tree's "Chart" node, the automatic depth
// box and the stack group of the stacked bar options.
#include "ChartListBox.h"
#include "EditChar.h"
#include "SeriesEditors.h"
#include "TeeEdiGene.h"
#include "TeeEdiSeri.h"

#include "ChartStarted.h"
#include "data_editors_fixture.h"
#include "editor_driver.h"

#include "Series.h"

#include "controls/CommonDialogs.h"
#include "controls/Registry.h"

using namespace dataeditortest;

namespace {

// ---- data grid ------------------------------------------------------------------------------

struct GridRules : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        grid = AddGrid();
    }
    void Type(int Col, int Row, const std::string& Text)
    {
        grid->FocusCell(Col, Row);
        ASSERT_TRUE(grid->ShowEditor());
        grid->SetEditorText(Text);
        grid->HideEditor(true);
    }
    static std::vector<double> Values(TChartValueList* List)
    {
        std::vector<double> v;
        for (int i = 0; i < List->Count(); ++i)
            v.push_back(List->Value(i));
        return v;
    }
    TChartGrid* grid = nullptr;
};

TEST_F(GridRules, AnEditedXSettlesBesideEqualValuesWithoutPassingThem)
{
    TChartSeries* s = AddSeries({10, 11, 12, 13, 14}, "S");
    for (int i = 0; i < 5; ++i)
        s->XValues()->SetValue(i, std::vector<double>{0, 1, 2, 2, 3}[size_t(i)]);
    s->XValues()->SetOrder(loAscending);
    grid->SetShowXValues(cgsYes);
    grid->SetSeries(s);
    ASSERT_EQ(grid->Cells(2, 1), "X");

    // Moving up to X 2, the point stops before the points already at 2 ...
    Type(2, 2, "2");
    EXPECT_EQ(Values(s->XValues()), (std::vector<double>{1, 2, 2, 2, 3}));
    EXPECT_EQ(Values(s->YValues()), (std::vector<double>{11, 10, 12, 13, 14}));
    EXPECT_EQ(grid->Row(), 3);
    // ... and moving down to X 2, it stops after them.
    Type(2, 6, "2");
    EXPECT_EQ(Values(s->YValues()), (std::vector<double>{11, 10, 12, 13, 14}));
    Type(2, 2, "2.5");   // Y 11 moves up past every 2
    EXPECT_EQ(Values(s->YValues()), (std::vector<double>{10, 12, 13, 14, 11}));
    EXPECT_EQ(grid->Row(), 6);
}

// ---- series list box ------------------------------------------------------------------------

struct ListBoxRules : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        a = AddSeries({1, 2}, "A");
        b = AddSeries({3, 4}, "B");
        list = new TChartListBox(form.get());
        list->SetName("ChartListBox1");
        list->SetParent(form.get());
        list->SetBounds(0, 0, 320, 200);
        list->SetChart(chart);
    }
    void TearDown() override
    {
        ChartOnForm::TearDown();
    }
    void DoubleClickColour(int Line)
    {
        const int x = list->SectionLeft(TChartListBox::lsColor) + 5;
        const int y = Line * TChartListBox::ItemHeight + 10;
        list->DispatchMouseDown(mbLeft, ssLeft, x, y);
        list->DispatchMouseUp(mbLeft, 0, x, y);
        list->DispatchDoubleClick(mbLeft, ssLeft, x, y);
        list->DispatchMouseUp(mbLeft, 0, x, y);
    }
    TChartSeries *a = nullptr, *b = nullptr;
    TChartListBox* list = nullptr;
};

TEST_F(ListBoxRules, APickedSeriesColourEndsColourEachPointAndACancelKeepsIt)
{
    a->SetColorEachPoint(true);
    b->SetColorEachPoint(true);
    TColor picked = clNone;
    dialogs.Answer = [&](TDialogRequest& r) {
        if (TColorDialogRequest* c = AsColorDialogRequest(r); c != nullptr && picked != clNone) {
            c->Color = picked;
            return mrOk;
        }
        return mrCancel;
    };
    DoubleClickColour(1);
    EXPECT_TRUE(b->ColorEachPoint());
    picked = clTeal;
    DoubleClickColour(1);
    EXPECT_EQ(b->SeriesColor(), clTeal);
    EXPECT_FALSE(b->ColorEachPoint());
    EXPECT_TRUE(a->ColorEachPoint());
}

// ---- editor window in tree mode ---------------------------------------------------------------

struct TreeRules : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        SetRegistryFileName(testsupport::TempDir() + "/editor-rules.ini");
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteBool("TreeMode", true);
        AddSeries({1, 3, 2}, "A");
    }
    void TearDown() override
    {
        SetRegistryFileName("");
        ChartOnForm::TearDown();
    }
};

TEST_F(TreeRules, TheChartNodeOpensItsFirstSubPage)
{
    bool shown = false;
    dialogs.Answer = [&](TDialogRequest& r) {
        auto* editor = dynamic_cast<TChartEditForm*>(r.Form);
        if (editor == nullptr)
            return mrYes;
        shown = true;
        editor->Show();
        TTreeView* tree = editor->Tree;
        TTreeNode* chartNode = tree->TopItem(1);
        EXPECT_EQ(chartNode->Text(), "Chart");
        EXPECT_EQ(chartNode->Item(0)->Data(), editor->TabGeneral);
        // From another sub-page (a title) to "Chart": the first sub-page shows.
        EXPECT_EQ(chartNode->Item(2)->Data(), editor->TabTitle);
        tree->SetSelected(chartNode->Item(2)->Item(0));
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabTitle);
        tree->SetSelected(tree->TopItem(2));   // "Data"
        EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabData);
        tree->SetSelected(chartNode);
        EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabChart);
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabGeneral);
        EXPECT_NE(dynamic_cast<TFormTeeGeneral*>(editor->PageForm(editor->TabGeneral)), nullptr);
        return mrCancel;
    };
    ShowChartEditorAtPage(nullptr, chart, cetSeriesList);
    EXPECT_TRUE(shown);
}

// ---- series page and stacked bar options -----------------------------------------------------

struct SeriesPageRules : testsupport::ChartStartedTest {
    void SetUp() override
    {
        owner = std::make_unique<TForm>(nullptr);
        owner->SetName("ChartForm");
        chart = new TChart(owner.get());
        chart->SetName("Chart1");
    }
    void TearDown() override
    {
        owner.reset();
    }
    template <class T>
    T* Add(const std::string& Name)
    {
        auto* s = new T(owner.get());
        s->SetName(Name);
        chart->AddSeries(s);
        s->AddPointXY(0, 1);
        return s;
    }
    editortest::EditorDriver driver;
    std::unique_ptr<TForm> owner;
    TChart* chart = nullptr;
};

TEST_F(SeriesPageRules, TheAutomaticDepthBoxFollowsDepthMinusOne)
{
    auto* automatic = Add<TChartSeries>("Automatic");
    auto* flat = Add<TChartSeries>("Flat");
    auto* deep = Add<TChartSeries>("Deep");
    flat->SetDepth(0);
    deep->SetDepth(12);
    auto* page = new TFormTeeSeries(owner.get());
    page->FillSeries(chart);
    page->Show();
    page->SelectSeries(automatic);
    page->PageSeries->SelectPage(page->TabGeneral);
    EXPECT_TRUE(page->CBDepth->Checked());
    EXPECT_EQ(page->EDepth->Text(), "0");
    page->SelectSeries(flat);
    EXPECT_FALSE(page->CBDepth->Checked());
    EXPECT_EQ(page->EDepth->Text(), "0");
    page->SelectSeries(deep);
    EXPECT_FALSE(page->CBDepth->Checked());
    EXPECT_EQ(page->EDepth->Text(), "12");
    // The box sets -1; clearing it gives the series the depth in the edit.
    page->CBDepth->SetChecked(true);
    EXPECT_EQ(deep->Depth(), -1);
    page->CBDepth->SetChecked(false);
    EXPECT_EQ(deep->Depth(), 12);
    // A depth typed while the box is checked clears it.
    page->CBDepth->SetChecked(true);
    page->EDepth->SetText("7");
    EXPECT_EQ(deep->Depth(), 7);
    EXPECT_FALSE(page->CBDepth->Checked());
    page->SelectSeries(automatic);
    EXPECT_TRUE(page->CBDepth->Checked());
}

TEST_F(SeriesPageRules, TheStackGroupIsOfferedForBothStackedModesOnly)
{
    auto* bar = Add<TBarSeries>("Bars");
    bar->SetMultiBar(mbStacked100);
    bar->SetStackGroup(3);
    TStackBarSeriesEditor stack(nullptr);
    stack.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(bar)));
    stack.Show();
    // Loaded from a 100 % stack: the group is there to edit.
    EXPECT_EQ(stack.RGMultiBar->ItemIndex(), int(mbStacked100));
    EXPECT_EQ(stack.EGroup->Text(), "3");
    EXPECT_TRUE(stack.EGroup->Enabled());
    for (TMultiBar mode : {mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack}) {
        stack.RGMultiBar->SetItemIndex(int(mode));
        EXPECT_EQ(bar->MultiBar(), mode);
        const bool stacked = mode == mbStacked || mode == mbStacked100;
        EXPECT_EQ(stack.EGroup->Enabled(), stacked) << mode;
        EXPECT_EQ(stack.UDGroup->Enabled(), stacked) << mode;
        EXPECT_EQ(stack.LGroup->Enabled(), stacked) << mode;
    }
}

} // namespace
