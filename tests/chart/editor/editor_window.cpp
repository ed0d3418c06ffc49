// The chart editor window, its tools page and tools gallery, and the about box, driven
// through their controls with the modal dialogs answered.
#include "ChartPreview.h"
#include "EditChar.h"
#include "ExportDialog.h"
#include "RurOzuvi.h"
#include "TeeEdiAxis.h"
#include "TeeEdiGene.h"
#include "TeeEdiPane.h"
#include "TeeEdiPage.h"
#include "TeeEdiTitl.h"
#include "TeeEdi3D.h"
#include "TeeEdiSeri.h"
#include "SeriesEditors.h"
#include "TeeEdiWall.h"
#include "TeeEdiLege.h"
#include "StyleEditors.h"
#include "TeeFuncEdit.h"
#include "Galleries.h"
#include "TeeEditTools.h"
#include "TeeToolsGallery.h"
#include "data_editors_fixture.h"
#include "editor_driver.h"

#include "TeEngine/SeriesGroups.h"
#include "controls/DragDrop.h"

#include "controls/Registry.h"
#include "controls/Shell.h"

#include "UserInput.h"

#include <QApplication>
#include <QTabBar>
#include <QWidget>

using namespace dataeditortest;
using editortest::SavePicture;

namespace {

std::vector<std::string> Texts(const TStrings* Items)
{
    std::vector<std::string> texts;
    for (int i = 0; i < Items->Count(); ++i)
        texts.push_back(Items->Get(i));
    return texts;
}

class TLineProbeTool : public TTeeCustomToolSeries {
public:
    DECLARE_CLASS_INFO(TLineProbeTool)
    using TTeeCustomToolSeries::TTeeCustomToolSeries;
    std::string Description() const override { return "Line probe"; }
    std::string EditorClassName() const override { return "TToolProbeEditor"; }
};
BEGIN_CLASS_INFO(TLineProbeTool, TTeeCustomToolSeries)
    .ComponentFactory()
END_CLASS_INFO

class TOtherProbeTool : public TTeeCustomTool {
public:
    DECLARE_CLASS_INFO(TOtherProbeTool)
    using TTeeCustomTool::TTeeCustomTool;
    std::string Description() const override { return "Other probe"; }
};
BEGIN_CLASS_INFO(TOtherProbeTool, TTeeCustomTool)
    .ComponentFactory()
END_CLASS_INFO

// A tool editor that reads its tool when it is freed: the tool must still exist then.
std::vector<std::string> ProbeEditorsFreed;
class TToolProbeEditor : public TForm {
public:
    explicit TToolProbeEditor(TComponent* AOwner) : TForm(AOwner)
    {
        TCheckBox* box = nullptr;
        BuildForm(this, 200, 100, {Ctl(box, "CBProbe", "Probe option")});
    }
    ~TToolProbeEditor() override
    {
        auto* tool = dynamic_cast<TTeeCustomTool*>(reinterpret_cast<TObject*>(Tag()));
        ProbeEditorsFreed.push_back(tool != nullptr ? tool->Name() : "?");
    }
};

// Stands in for a page that another unit registers.
class TPageProbe : public TForm {
public:
    using TForm::TForm;
};

struct EditorWindowTest : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        SetRegistryFileName(testsupport::TempDir() + "/editor-settings.ini");
        a = AddSeries({1, 3, 2}, "A");
        b = AddSeries({2, 1, 4}, "B");
        c = AddSeries({3, 2, 1}, "C");
    }
    void TearDown() override
    {
        SetRegistryFileName("");
        ToolTypeList()->Clear();
        ChartOnForm::TearDown();
    }
    // Shows the editor at the page; Act sees it while it is shown modally.
    void ShowEditor(int Page, const std::function<void(TChartEditForm*)>& Act)
    {
        dialogs.Answer = [&](TDialogRequest& r) {
            if (r.Kind == TDialogKind::dkMessage)
                return mrYes;
            auto* editor = dynamic_cast<TChartEditForm*>(r.Form);
            EXPECT_NE(editor, nullptr);
            if (editor != nullptr) {
                editor->Show();
                Act(editor);
            }
            return mrCancel;
        };
        ShowChartEditorAtPage(nullptr, chart, Page);
        dialogs.Answer = nullptr;
    }
    // Opens the editor at the page as the program does and lets Act work it while its own
    // modal loop runs; the user's click on Close ends it unless Act did.
    void UseEditor(int Page, const std::function<void(TChartEditForm*)>& Act)
    {
        user::ModalActions modal(dialogs);
        modal.Then([&](TForm* f) {
            auto* editor = dynamic_cast<TChartEditForm*>(f);
            ASSERT_NE(editor, nullptr);
            Act(editor);
            if (editor->Modal() && editor->ModalResult() == mrNone)
                user::Click(editor->BClose);
        });
        ShowChartEditorAtPage(nullptr, chart, Page);
        EXPECT_EQ(modal.Started(), 1);
    }
    static int StoredInteger(const std::string& Name)
    {
        TRegistry registry;
        if (!registry.OpenKeyReadOnly(TeeEditorRegistryKey) || !registry.ValueExists(Name))
            return -1;
        return registry.ReadInteger(Name);
    }
    TChartSeries* a = nullptr;
    TChartSeries* b = nullptr;
    TChartSeries* c = nullptr;
};

TEST_F(EditorWindowTest, ToolsPageAddsSelectsMovesAndDeletesTools)
{
    ToolTypeList()->Add(TLineProbeTool::StaticClassInfo());
    ToolTypeList()->Add(TOtherProbeTool::StaticClassInfo());
    RegisterFormClass<TToolProbeEditor>("TToolProbeEditor");
    ProbeEditorsFreed.clear();

    auto* page = new TFormTeeTools(form.get());
    page->SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(chart)));
    page->Show();
    EXPECT_EQ(page->LBTools->Items()->Count(), 0);
    EXPECT_FALSE(page->BDelete->Enabled());
    EXPECT_FALSE(page->CBActive->Enabled());

    // The gallery lists each class on its own tab; the series tool is chosen.
    std::vector<std::string> seriesTab, otherTab;
    dialogs.Answer = [&](TDialogRequest& r) {
        if (r.Kind == TDialogKind::dkMessage)
            return mrYes;
        auto* gallery = dynamic_cast<TTeeToolsGallery*>(r.Form);
        if (gallery == nullptr)
            return mrCancel;
        gallery->Show();
        gallery->TabControl1->SetTabIndex(2);
        gallery->FillList();
        otherTab = Texts(gallery->LBTool->Items());
        gallery->TabControl1->SetTabIndex(0);
        gallery->FillList();
        seriesTab = Texts(gallery->LBTool->Items());
        EXPECT_FALSE(gallery->BOk->Enabled());
        gallery->LBTool->SetItemIndex(0);
        gallery->LBToolClick(gallery->LBTool);
        EXPECT_TRUE(gallery->BOk->Enabled());
        return mrOk;
    };
    EXPECT_TRUE(user::Click(page->BAdd));
    EXPECT_TRUE(user::Click(page->BAdd));
    EXPECT_EQ(seriesTab, std::vector<std::string>{"Line probe"});
    EXPECT_EQ(otherTab, std::vector<std::string>{"Other probe"});
    ASSERT_EQ(chart->Tools()->Count(), 2);
    TTeeCustomTool* first = chart->Tools()->Tool(0);
    TTeeCustomTool* second = chart->Tools()->Tool(1);
    EXPECT_EQ(first->Name(), "ChartTool1");
    EXPECT_EQ(second->Name(), "ChartTool2");
    EXPECT_EQ(page->LBTools->ItemIndex(), 1);
    ASSERT_NE(page->ToolEditor(), nullptr);
    EXPECT_EQ(page->ToolEditor()->Tag(), reinterpret_cast<intptr_t>(static_cast<TObject*>(second)));
    EXPECT_TRUE(page->BMoveUp->Enabled());
    EXPECT_FALSE(page->BMoveDown->Enabled());

    EXPECT_TRUE(user::Click(page->BMoveUp));
    EXPECT_EQ(chart->Tools()->Tool(0), second);
    EXPECT_EQ(page->SelectedTool(), second);
    EXPECT_FALSE(page->BMoveUp->Enabled());

    page->CBActive->SetChecked(false);
    EXPECT_FALSE(second->Active());

    // A tool added elsewhere is picked up once; checking again changes nothing.
    auto* third = new TOtherProbeTool(form.get());
    third->SetName("Third");
    third->SetParentChart(chart);
    page->CheckToolCount();
    EXPECT_EQ(page->LBTools->Items()->Count(), 3);
    EXPECT_EQ(page->SelectedTool(), second);

    SavePicture(page, "tools");
    // Each line shows its class' picture and the description; series and other tools
    // have pictures of their own.
    {
        TBitmap row, seriesPicture, otherPicture;
        page->LBTools->PaintItemTo(&row, 0, 0);
        DrawToolPicture(TLineProbeTool::StaticClassInfo(), &seriesPicture);
        DrawToolPicture(TOtherProbeTool::StaticClassInfo(), &otherPicture);
        ASSERT_EQ(seriesPicture.Width(), 16);
        bool same = true, shown = true;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                same = same && seriesPicture.Canvas()->Pixel(x, y) == otherPicture.Canvas()->Pixel(x, y);
                shown = shown && row.Canvas()->Pixel(2 + x, 1 + y) == seriesPicture.Canvas()->Pixel(x, y);
            }
        EXPECT_FALSE(same);
        EXPECT_TRUE(shown);
        int ink = 0;
        for (int y = 0; y < row.Height(); ++y)
            for (int x = 22; x < 80; ++x)
                ink += row.Canvas()->Pixel(x, y) == clBlack;
        EXPECT_GT(ink, 10);
    }

    auto* fourth = new TOtherProbeTool(form.get());
    fourth->SetName("Fourth");
    fourth->SetParentChart(chart);
    page->CheckToolCount();

    // Deleting the second line frees its editor while the tool still exists, then
    // selects the last line; deleting the third or a later line selects the line before.
    page->LBTools->SetItemIndex(1);
    page->LBToolsClick(page->LBTools);
    ProbeEditorsFreed.clear();
    EXPECT_TRUE(user::Click(page->BDelete));
    EXPECT_EQ(ProbeEditorsFreed, std::vector<std::string>{"ChartTool1"});
    ASSERT_EQ(chart->Tools()->Count(), 3);
    EXPECT_EQ(page->LBTools->ItemIndex(), 2);
    EXPECT_EQ(page->SelectedTool(), fourth);
    EXPECT_TRUE(user::Click(page->BDelete));
    ASSERT_EQ(chart->Tools()->Count(), 2);
    EXPECT_EQ(page->LBTools->ItemIndex(), 1);
    EXPECT_EQ(page->SelectedTool(), third);
    dialogs.Answer = nullptr;
    UnregisterFormClass("TToolProbeEditor");
}

TEST_F(EditorWindowTest, AboutBoxPulsesAndOpensOnlyWebAddresses)
{
    std::vector<std::string> opened;
    const TShellOpenHandler previous = SetShellOpenHandler([&](const std::string& address) {
        opened.push_back(address);
        return true;
    });
    // The editor's about button opens the about box, whose Close takes the user back.
    {
        user::ModalActions modal(dialogs);
        bool aboutShown = false;
        modal.Then([&](TForm* f) {
            auto* editor = dynamic_cast<TChartEditForm*>(f);
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(editor->ButtonAbout->Caption(), "Abo&ut RurEvido...");
            ASSERT_TRUE(user::Click(editor->ButtonAbout));
            EXPECT_TRUE(aboutShown);
            EXPECT_TRUE(user::Click(editor->BClose));
        });
        modal.Then([&](TForm* f) {
            auto* box = dynamic_cast<TRurOzuviForm*>(f);
            ASSERT_NE(box, nullptr);
            aboutShown = true;
            EXPECT_TRUE(user::Click(box->BClose));
        });
        ShowChartEditorAtPage(nullptr, chart, cetSeriesList);
        EXPECT_EQ(modal.Started(), 2);
    }
    TRurOzuviForm about(nullptr);
    about.Show();
    SavePicture(&about, "about");

    // 0xE0 in steps of 4 reaches black after 56 ticks; then the pulse turns round.
    for (int i = 0; i < 56; ++i)
        about.Timer1Timer(about.Timer1);
    EXPECT_EQ(about.Color1(), clBlack);
    EXPECT_EQ(about.Color2(), clWhite);
    EXPECT_EQ(about.Step(), -4);
    about.Timer1Timer(about.Timer1);
    EXPECT_EQ(about.Color1(), RGB(4, 4, 4));
    EXPECT_EQ(about.Color2(), RGB(251, 251, 251));

    user::ShowAndActivate(&about);
    ASSERT_TRUE(user::Click(about.Labelwww));
    EXPECT_FALSE(OpenURL(&about, "file:///etc/passwd"));
    EXPECT_FALSE(OpenURL(&about, "calc.exe"));
    EXPECT_TRUE(OpenURL(&about, "HTTP://example.org/"));
    EXPECT_EQ(opened, (std::vector<std::string>{ChartLibraryWebAddress, "HTTP://example.org/"}));
    SetShellOpenHandler(previous);
}

TEST_F(EditorWindowTest, EditorOpensOnStartPageAndRemembersItsSize)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteInteger("Width", 640);
        registry.WriteInteger("Height", 470);
    }
    // A page unit may give its own factory; the probe stands in for the legend page. The
    // general and series pages are taken out, as a program without their units has them.
    RegisterFormClass<TPageProbe>("TFormTeeLegend");
    UnregisterFormClass("TFormTeeGeneral");
    UnregisterFormClass("TFormTeeSeries");
    RegisterChartEditorPage("TFormTeeLegend", nullptr);
    ShowEditor(cetLegend, [&](TChartEditForm* editor) {
        EXPECT_EQ(editor->Caption(), "Editing Chart1");
        EXPECT_EQ(editor->Width(), 640);
        EXPECT_EQ(editor->Height(), 470);
        EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabChart);
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabLegend);
        TForm* legend = editor->PageForm(editor->TabLegend);
        ASSERT_NE(dynamic_cast<TPageProbe*>(legend), nullptr);
        EXPECT_EQ(legend->Tag(), reinterpret_cast<intptr_t>(static_cast<TObject*>(chart)));
        // Pages of classes nobody registered are not offered; the help button shows with
        // the default options, but without a help file it has nothing to open.
        EXPECT_FALSE(editor->TabGeneral->TabVisible());
        EXPECT_FALSE(editor->TabSeries->TabVisible());
        EXPECT_TRUE(editor->TabTools->TabVisible());
        EXPECT_TRUE(editor->ButtonHelp->Visible());
        EXPECT_FALSE(editor->ButtonHelp->Enabled());
        editor->ButtonHelpClick(editor->ButtonHelp);
        // The window and the tabs with topics of their own carry their help contexts.
        const std::pair<TControl*, int> contexts[] = {
            {editor, 726}, {editor->TabData, 1473}, {editor->TabTitle, 527}, {editor->TabPanel, 371},
            {editor->TabPaging, 364}, {editor->TabWalls, 347}, {editor->TabAxis, 0}, {editor->TabSeries, 0}};
        for (const auto& [control, context] : contexts)
            EXPECT_EQ(control->HelpContext(), context) << control->Name();
        editor->SetBounds(editor->Left(), editor->Top(), 700, 480);
    });
    EXPECT_EQ(StoredInteger("Width"), 700);
    EXPECT_EQ(StoredInteger("Height"), 480);
    EXPECT_EQ(dialogs.Requests.size(), 1u);
    // Back at the default size, the default replaces the stored size; a stored left
    // edge beyond the screen puts the window at the screen's right edge, and a stored
    // position from which the window would reach past the screen's bottom moves it up
    // until it shows whole.
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteInteger("Left", Screen()->Width() + 50);
        registry.WriteInteger("Top", 10);
    }
    {
        std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
        EXPECT_EQ(editor->Width(), 700);
        EXPECT_EQ(editor->Left(), Screen()->Width() - 700);
        EXPECT_EQ(editor->Top(), 10);
    }
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteInteger("Left", Screen()->Width() - 100);
        registry.WriteInteger("Top", Screen()->Height() - 100);
    }
    {
        std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
        EXPECT_EQ(editor->Left() + editor->Width(), Screen()->Width());
        EXPECT_EQ(editor->Top() + editor->Height(), Screen()->Height());
        editor->SetBounds(editor->Left(), editor->Top(), 414, 347);
    }
    EXPECT_EQ(StoredInteger("Width"), 414);
    EXPECT_EQ(StoredInteger("Height"), 347);
    // A stored size below what the pages need opens the window as small as they allow;
    // closing without resizing leaves the stored size alone. Without the help bit there
    // is no help button.
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteInteger("Width", 50);
        registry.WriteInteger("Height", 60);
    }
    {
        std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
        int needWidth = 0, needHeight = 0;
        ASSERT_TRUE(ContentsMinimumSize(editor.get(), needWidth, needHeight));
        EXPECT_GT(needWidth, 100);
        EXPECT_EQ(editor->Width(), needWidth);
        EXPECT_EQ(editor->Height(), needHeight);
        editor->SetOptions(DefaultChartEditorOptions & ~ceHelp);
        editor->Show();
        EXPECT_FALSE(editor->ButtonHelp->Visible());
        EXPECT_EQ(editor->Width(), needWidth);
    }
    EXPECT_EQ(StoredInteger("Width"), 50);
    EXPECT_EQ(StoredInteger("Height"), 60);

    // Without the legend page, its start page opens the next page after it; without the
    // last page (3D), the nearest page before it.
    UnregisterFormClass("TFormTeeLegend");
    ShowEditor(cetLegend, [&](TChartEditForm* editor) {
        EXPECT_FALSE(editor->TabLegend->TabVisible());
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabPanel);
        EXPECT_NE(dynamic_cast<TFormTeePanel*>(editor->PageForm(editor->TabPanel)), nullptr);
    });
    UnregisterFormClass("TFormTee3D");
    ShowEditor(cet3D, [&](TChartEditForm* editor) {
        EXPECT_FALSE(editor->Tab3D->TabVisible());
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabWalls);
        EXPECT_NE(dynamic_cast<TFormTeeWall*>(editor->PageForm(editor->TabWalls)), nullptr);
    });

    // The series page follows the series list box and opens on its selected series.
    RegisterFormClass<TPageProbe>("TFormTeeSeries");
    RegisterChartEditorPage("TFormTeeSeries", nullptr);
    ShowEditor(cetSeries, [&](TChartEditForm* editor) {
        EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabSeries);
        TForm* page = editor->PageForm(editor->TabSeries);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Tag(), reinterpret_cast<intptr_t>(static_cast<TObject*>(editor->LBSeries)));
        EXPECT_EQ(editor->LBSeries->SelectedSeries(), a);
    });
    UnregisterFormClass("TFormTeeSeries");

    ShowEditor(cetSeriesList, [&](TChartEditForm* editor) {
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabSeriesList);
        EXPECT_EQ(editor->LBSeries->Items()->Count(), 3);
        EXPECT_FALSE(editor->BMoveUP->Enabled());
        EXPECT_TRUE(editor->BMoveDown->Enabled());
        SavePicture(editor, "window");
        // The data tab's grid shows the selected series.
        editor->MainPage->SelectPage(editor->TabData);
        EXPECT_EQ(editor->ChartGrid1->Series(), a);
        SavePicture(editor, "data");
        // The print tab hosts the print preview of the chart.
        editor->MainPage->SelectPage(editor->TabPrint);
        auto* preview = dynamic_cast<TChartPreview*>(editor->PageForm(editor->TabPrint));
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->TeePreviewPanel1->Panel(), chart);
        SavePicture(editor, "print");
    });
}

TEST_F(EditorWindowTest, TreeModeChoosesPagesAxesTitlesAndRenamesSeries)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteBool("TreeMode", true);
        registry.WriteInteger("Width", 640);
        registry.WriteInteger("TreeWidth", 150);
    }
    auto* tool = new TOtherProbeTool(form.get());
    tool->SetParentChart(chart);
    const auto texts = [](TTreeNode* Node) {
        std::vector<std::string> result;
        for (int i = 0; i < Node->Count(); ++i)
            result.push_back(Node->Item(i)->Text());
        return result;
    };
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        TTreeView* tree = editor->Tree;
        ASSERT_TRUE(tree->Visible());
        ASSERT_TRUE(editor->TreeSplitter->Visible());
        EXPECT_EQ(editor->Width(), 640 + 150 + editor->TreeSplitter->Width());
        ASSERT_EQ(tree->Count(), 6);
        EXPECT_EQ(tree->TopItem(0)->Text(), "Series");
        EXPECT_EQ(texts(tree->TopItem(0)), (std::vector<std::string>{"A", "B", "C"}));
        EXPECT_EQ(tree->Selected(), tree->TopItem(0));
        TTreeNode* chartNode = tree->TopItem(1);
        ASSERT_EQ(texts(chartNode), (std::vector<std::string>{"General", "Axis", "Titles", "Legend", "Panel",
                                                               "Paging", "Walls", "3D"}));
        EXPECT_EQ(texts(chartNode->Item(1)), (std::vector<std::string>{"Left Axis", "Right Axis", "Top Axis",
                                                                         "Bottom Axis", "Depth Right", "Depth Top"}));
        EXPECT_EQ(texts(chartNode->Item(2)), (std::vector<std::string>{"Title", "SubTitle", "Footer", "SubFoot"}));
        EXPECT_EQ(texts(chartNode->Item(0)), std::vector<std::string>{});
        EXPECT_EQ(tree->TopItem(3)->Text(), "Tools");
        EXPECT_EQ(texts(tree->TopItem(3)), std::vector<std::string>{"Other probe"});

        // An axis node shows the axis page on that axis, a title node the titles page
        // on that title.
        ASSERT_TRUE(user::ClickItem(tree->Widget(), "Bottom Axis"));
        EXPECT_EQ(tree->Selected(), chartNode->Item(1)->Item(3));
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabAxis);
        auto* axisPage = dynamic_cast<TFormTeeAxis*>(editor->PageForm(editor->TabAxis));
        ASSERT_NE(axisPage, nullptr);
        EXPECT_EQ(axisPage->Axis(), chart->Axes()->BottomAxis());
        EXPECT_EQ(axisPage->LBAxes->ItemIndex(), 3);
        ASSERT_TRUE(user::ClickItem(tree->Widget(), "Footer"));
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabTitle);
        auto* titlePage = dynamic_cast<TFormTeeTitle*>(editor->PageForm(editor->TabTitle));
        ASSERT_NE(titlePage, nullptr);
        EXPECT_EQ(titlePage->TheTitle(), chart->Foot());
        SavePicture(editor, "window-tree");

        // Only series are renamed in place.
        ASSERT_TRUE(user::ClickItem(tree->Widget(), "Axis"));
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        EXPECT_EQ(QApplication::focusWidget(), tree->Widget());   // no edit opened
        ASSERT_TRUE(user::ClickItem(tree->Widget(), "B"));
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(user::Type("Beta"));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
        EXPECT_EQ(b->Title(), "Beta");
        EXPECT_EQ(editor->LBSeries->Items()->Strings(1), "Beta");

        // Dragging the splitter widens the tree, not the window; the bar follows the
        // mouse, so each drag of 3 pixels ends on it.
        const auto drag = [&](int Steps) {
            for (int i = 0; i < std::abs(Steps); ++i)
                ASSERT_TRUE(user::Drag(editor->TreeSplitter->Widget(), QPoint(Steps > 0 ? 0 : 3, 40),
                                       QPoint(Steps > 0 ? 3 : 0, 40)));
        };
        const int width = editor->Width();
        drag(10);
        EXPECT_EQ(tree->Width(), 180);
        EXPECT_EQ(editor->TreeWidth(), 180);
        EXPECT_EQ(editor->Width(), width);
        drag(-60);
        EXPECT_EQ(tree->Width(), editor->TreeSplitter->MinSize());
        drag(30);
        EXPECT_EQ(editor->TreeWidth(), editor->TreeSplitter->MinSize() + 90);
        // Dragged far to the right, the tree takes only the room the pages can spare: the
        // window keeps its width and the pages their least width.
        int needWidth = 0, needHeight = 0;
        ASSERT_TRUE(ContentsMinimumSize(editor, needWidth, needHeight));
        const int spare = editor->Width() - needWidth;
        ASSERT_GT(spare, 0);
        const int before = tree->Width();
        drag(spare / 3 + 10);
        EXPECT_EQ(tree->Width(), before + spare);
        EXPECT_EQ(editor->Width(), width);
        drag(-(spare / 3 + 60));
        drag(30);
        EXPECT_EQ(tree->Width(), before);
    });
    // The width kept is the window's without the tree (stored before, as the window was
    // not resized); the tree's width is its last.
    EXPECT_EQ(StoredInteger("Width"), 640);
    EXPECT_EQ(StoredInteger("TreeWidth"), 120);
    // A start page is the tree's selected node.
    UseEditor(cetTitles, [&](TChartEditForm* editor) {
        ASSERT_NE(editor->Tree->Selected(), nullptr);
        EXPECT_EQ(editor->Tree->Selected()->Text(), "Titles");
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->TabTitle);
    });
    // With no size stored, opening and closing at once stores none; the help button
    // stands 16 pixels from the left, below the tree.
    SetRegistryFileName(testsupport::TempDir() + "/editor-tree-settings.ini");
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteBool("TreeMode", true);
    }
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        ASSERT_TRUE(editor->Tree->Visible());
        EXPECT_EQ(editor->ButtonHelp->Left(), 16);
        EXPECT_LT(editor->ButtonHelp->Left() + editor->ButtonHelp->Width(), editor->LabelWWW->Left());
        SavePicture(editor, "window-tree-help");
    });
    EXPECT_EQ(StoredInteger("TreeWidth"), 130);
    EXPECT_EQ(StoredInteger("Width"), -1);
    EXPECT_EQ(StoredInteger("Height"), -1);
    // With every page of the chart tab, their tab bar (hidden in tree mode) needs more room
    // than the window had as the tree came: the window opens that large at once, and
    // closing at once still stores no size.
    int openedWidth = 0;
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        ASSERT_TRUE(editor->Tree->Visible());
        openedWidth = editor->Width();
        int needWidth = 0, needHeight = 0;
        ASSERT_TRUE(ContentsMinimumSize(editor, needWidth, needHeight));
        EXPECT_EQ(editor->Width(), needWidth);
        QApplication::processEvents();
        EXPECT_EQ(editor->Width(), openedWidth);
    });
    EXPECT_GT(openedWidth, 0);
    EXPECT_EQ(StoredInteger("Width"), -1);
    EXPECT_EQ(StoredInteger("Height"), -1);
}

TEST_F(EditorWindowTest, TheDataPagesXButtonShowsWhetherXValuesAreShown)
{
    b->XValues()->SetValue(0, 0.5);   // B has X values of its own, A holds indexes
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    user::ShowAndActivate(editor.get());
    TChartGrid* grid = editor->ChartGrid1;
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Data"));
    ASSERT_EQ(grid->Series(), a);
    EXPECT_FALSE(grid->ShowsXColumn());
    EXPECT_FALSE(editor->SBGridX->Checked());

    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
    editor->LBSeries->SelectSeries(1);
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Data"));
    ASSERT_EQ(grid->Series(), b);
    EXPECT_TRUE(grid->ShowsXColumn());
    EXPECT_TRUE(editor->SBGridX->Checked());
    // So one click hides them.
    ASSERT_TRUE(user::Click(editor->SBGridX));
    EXPECT_FALSE(grid->ShowsXColumn());
    EXPECT_EQ(grid->ShowXValues(), cgsNo);
}

TEST_F(EditorWindowTest, TheExportTabListsTheSeriesAddedOrDeletedSinceItWasOpened)
{
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    user::ShowAndActivate(editor.get());
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Export"));
    auto* page = dynamic_cast<TTeeExportForm*>(editor->PageForm(editor->TabExport));
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->CBSeries->Items()->Count(), 4);   // "(all)", A, B, C
    page->CBSeries->SetItemIndex(2);                  // B
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
    TChartSeries* d = AddSeries({4, 5, 6}, "D");
    delete a;
    a = nullptr;
    b->SetTitle("Second");
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Export"));
    EXPECT_EQ(Texts(page->CBSeries->Items()), (std::vector<std::string>{"(all)", "Second", "C", "D"}));
    EXPECT_EQ(page->CBSeries->Items()->GetObject(3), d);
    EXPECT_EQ(page->CBSeries->Items()->GetObject(page->CBSeries->ItemIndex()), b);
}

// Enter in a plain field applies what was typed, then the editor's own default button
// closes the editor; the export and print pages show no Close of their own inside it.
TEST_F(EditorWindowTest, EnterInAPlainFieldAppliesTheValueAndClosesTheEditor)
{
    chart->SetPrintProportional(false);
    chart->SetPrintMargins(TRect(20, 15, 25, 10));
    struct Case {
        int Page;
        // The user's way to the field where another tab shows first, or nothing.
        std::function<bool(TForm*)> Reach;
        std::function<TEdit*(TForm*)> Field;
        std::function<TButton*(TForm*)> OwnClose;
        const char* Typed;
        std::function<int(TForm*)> Applied;
        int Expected;
    };
    const Case cases[] = {
        {cetPaging, nullptr, [](TForm* f) { return dynamic_cast<TFormTeePage&>(*f).SEPointsPerPage; }, nullptr, "10",
         [&](TForm*) { return chart->MaxPointsPerPage(); }, 10},
        {cetPrint, nullptr, [](TForm* f) { return dynamic_cast<TChartPreview&>(*f).SELeftMa; },
         [](TForm* f) { return dynamic_cast<TChartPreview&>(*f).BClose; }, "7",
         [&](TForm*) { return chart->PrintMargins().Left; }, 7},
        // The first picture format shows its options; the size is on the tab beside them.
        {cetExport, [](TForm* f) { return user::ClickTab(dynamic_cast<TTeeExportForm&>(*f).PageOptions, "Size"); },
         [](TForm* f) { return dynamic_cast<TTeeExportForm&>(*f).EWidth; },
         [](TForm* f) { return dynamic_cast<TTeeExportForm&>(*f).BClose; }, "123",
         [](TForm* f) { return dynamic_cast<TTeeExportForm&>(*f).UDWidth->Position(); }, 123},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Page);
        UseEditor(c.Page, [&](TChartEditForm* editor) {
            TTabSheet* tab = editor->TabOfPage(c.Page);
            TForm* page = editor->PageForm(tab);
            ASSERT_NE(page, nullptr);
            if (c.OwnClose) {
                EXPECT_FALSE(c.OwnClose(page)->Visible());
                EXPECT_EQ(user::Find("BClose", tab), nullptr);
            }
            if (c.Reach) {
                ASSERT_TRUE(c.Reach(page));
            }
            ASSERT_TRUE(user::Type(c.Field(page), c.Typed));
            ASSERT_TRUE(user::Key(Qt::Key_Return));
            EXPECT_EQ(c.Applied(page), c.Expected);
            EXPECT_EQ(editor->ModalResult(), mrCancel);
        });
    }
    // Shown alone, the print preview has its Close, which Escape presses.
    TChartPreview alone(nullptr);
    alone.SetTag(reinterpret_cast<intptr_t>(chart));
    user::ModalActions modal(dialogs);
    modal.Then([](TForm* f) {
        auto* preview = dynamic_cast<TChartPreview*>(f);
        ASSERT_NE(preview, nullptr);
        EXPECT_TRUE(preview->BClose->Visible());
        ASSERT_TRUE(user::Key(Qt::Key_Escape));
    });
    EXPECT_EQ(alone.ShowModal(), mrCancel);
}

TEST_F(EditorWindowTest, ThePagingTabShowsThePagesLeftAfterPointsWentMeanwhile)
{
    chart->SetMaxPointsPerPage(1);
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    user::ShowAndActivate(editor.get());
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
    ASSERT_TRUE(user::ClickTab(editor->SubPage, "Paging"));
    auto* page = dynamic_cast<TFormTeePage*>(editor->PageForm(editor->TabPaging));
    ASSERT_NE(page, nullptr);
    TChartPageNavigator* nav = page->ChartPageNavigator1;
    ASSERT_TRUE(user::Click(nav->Buttons(nbLast)));
    EXPECT_EQ(page->LabelPages->Caption(), "Page 3 of 3");

    // Elsewhere the series lose points: two pages are left, and the chart shows the last.
    ASSERT_TRUE(user::ClickTab(editor->SubPage, "Series"));
    for (TChartSeries* s : {a, b, c})
        s->Delete(2);
    ASSERT_TRUE(user::ClickTab(editor->SubPage, "Paging"));
    EXPECT_EQ(page->LabelPages->Caption(), "Page 2 of 2");
    EXPECT_FALSE(nav->Buttons(nbNext)->Enabled());
    EXPECT_FALSE(nav->Buttons(nbLast)->Enabled());
    EXPECT_TRUE(nav->Buttons(nbPrior)->Enabled());
    ASSERT_TRUE(user::Click(nav->Buttons(nbPrior)));
    EXPECT_EQ(chart->Page(), 1);
    EXPECT_EQ(page->LabelPages->Caption(), "Page 1 of 2");
    editor.reset();
}

TEST_F(EditorWindowTest, DataPopupMenuEditsTheColourCellAndRows)
{
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    editor->Show();
    editor->MainPage->SelectPage(editor->TabData);
    TChartGrid* grid = editor->ChartGrid1;
    ASSERT_EQ(grid->Series(), a);
    const auto shown = [&] {
        editor->PopupData->PopupFor(grid, 4, 4);
        editor->PopupData->CloseUp();
        return std::vector<bool>{editor->EditColor1->Visible(), editor->DefaultColor1->Visible(),
                                 editor->Makenullpoint1->Visible(), editor->Insertrow1->Visible()};
    };
    // Without a colour column only the row items show.
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false, true}));

    editor->SBGridCol->SetChecked(true);
    editor->SBGridColClick(editor->SBGridCol);
    TChartSeries* series = nullptr;
    int index = -1;
    for (int col = 0; col < grid->ColCount() && index < 0; ++col) {
        grid->FocusCell(col, grid->FirstDataRow() + 1);
        grid->CurrentColorCell(series, index);
    }
    ASSERT_EQ(index, 1);
    // A point with the default colour offers no "Default Color".
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true, true}));
    editor->Makenullpoint1->Click();
    EXPECT_TRUE(a->IsNull(1));
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, false, true}));
    editor->DefaultColor1->Click();
    EXPECT_FALSE(a->IsNull(1));
    EXPECT_EQ((*a->Colors())[1], clDefault);

    editor->Insertrow1->Click();
    EXPECT_EQ(a->Count(), 4);
    EXPECT_EQ(grid->Row(), grid->FirstDataRow() + 3);
    editor->Deleterow1->Click();
    EXPECT_EQ(a->Count(), 3);
}

TEST_F(EditorWindowTest, RowsAreOfferedOnlyWhereTheDataGridCanAppendThem)
{
    // A series with a third value list, alone in the chart.
    delete a;
    delete b;
    delete c;
    auto* surface = new TChartSeries(form.get());
    surface->SetName("Surface");
    chart->AddSeries(surface);
    TChartValueList* z = new TChartValueList(surface, "Z");
    for (const auto& [x, zz, y] : {std::tuple{0.0, 1.0, 5.0}, {1.0, 2.0, 6.0}}) {
        z->TempValue = zz;
        surface->AddPointXY(x, y);
    }
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    user::ShowAndActivate(editor.get());
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Data"));
    TChartGrid* grid = editor->ChartGrid1;
    const auto offered = [&] {
        editor->PopupData->PopupFor(grid, 4, 4);
        editor->PopupData->CloseUp();
        return std::vector<bool>{editor->Insertrow1->Enabled(), editor->Deleterow1->Enabled(),
                                 editor->ChartGridNavigator1->Buttons(nbInsert)->Enabled()};
    };
    grid->FocusCell(1, grid->FirstDataRow());
    EXPECT_EQ(offered(), (std::vector<bool>{true, true, true}));
    // The XYZ layout has no rows of points to append or delete.
    ASSERT_TRUE(user::Click(editor->SBGrid3D));
    ASSERT_EQ(grid->MatrixSeries(), surface);
    EXPECT_EQ(offered(), (std::vector<bool>{false, false, false}));
    editor->Insertrow1->Click();
    EXPECT_EQ(surface->Count(), 2);
    ASSERT_TRUE(user::Click(editor->SBGrid3D));
    EXPECT_EQ(offered(), (std::vector<bool>{true, true, true}));
    // Nor has a chart without series.
    delete surface;
    EXPECT_EQ(offered(), (std::vector<bool>{false, false, false}));
}

TEST_F(EditorWindowTest, AGroupAddedWithThePlusButtonShowsInTheGroupsList)
{
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    user::ShowAndActivate(editor.get());
    ASSERT_FALSE(editor->PanelGroups->Visible());
    user::ModalActions modal(dialogs);
    modal.Then([](TForm*) {
        ASSERT_TRUE(user::Type("Fits"));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
    });
    ASSERT_TRUE(user::Click(editor->BAddGroup));
    ASSERT_EQ(chart->SeriesList()->Groups()->Count(), 1);
    EXPECT_TRUE(editor->PanelGroups->Visible());
    EXPECT_TRUE(editor->Groups->Widget()->isVisible());
    EXPECT_EQ(Texts(editor->Groups->Items()), (std::vector<std::string>{"(all)", "Fits"}));
}

TEST_F(EditorWindowTest, SeriesGroupsKeepDroppedSeriesAndLetGoOfDeletedGroups)
{
    TSeriesGroup* group = chart->SeriesList()->AddGroup("Pair");
    group->Series()->Add(a);
    group->Series()->Add(b);
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    editor->SetOptions(editor->Options() | ceGroups);
    dialogs.Answer = [](TDialogRequest& r) { return r.Kind == TDialogKind::dkMessage ? mrYes : mrCancel; };
    editor->Show();
    ASSERT_EQ(Texts(editor->Groups->Items()), (std::vector<std::string>{"(all)", "Pair"}));
    EXPECT_EQ(editor->Groups->State(1), cbChecked);

    editor->Groups->SetItemIndex(1);
    editor->GroupsClick(editor->Groups);
    EXPECT_EQ(editor->LBSeries->Items()->Count(), 2);
    EXPECT_TRUE(editor->BDeleteGroup->Enabled());

    // The series list is dragged onto a groups-list item at a point of that item.
    const auto dropOn = [&](int Item) {
        for (int y = 0; y < editor->Groups->Height(); ++y)
            if (ListItemAtPos(editor->Groups, 8, y) == Item)
                return DropOnTarget(editor->Groups, editor->LBSeries, 8, y);
        ADD_FAILURE() << "no point on item " << Item;
        return false;
    };
    // Dropped on the group it is shown from, the series stays in it.
    editor->LBSeries->SelectSeries(0);
    EXPECT_TRUE(dropOn(1));
    EXPECT_EQ(group->Series()->Count(), 2);
    EXPECT_FALSE(DropOnTarget(editor->Groups, editor->Groups, 8, 2));
    // Dropped on "(all)", it leaves the shown group.
    EXPECT_TRUE(dropOn(0));
    EXPECT_EQ(group->Series()->Count(), 1);

    editor->Groups->SetItemIndex(1);
    editor->Groups->SetState(1, cbUnchecked);
    editor->GroupsClickCheck(editor->Groups);
    EXPECT_FALSE(b->Active());

    editor->Groups->SetItemIndex(1);
    editor->GroupsClick(editor->Groups);
    EXPECT_TRUE(user::Click(editor->BDeleteGroup));
    EXPECT_EQ(chart->SeriesList()->Groups()->Count(), 0);
    EXPECT_EQ(editor->LBSeries->SeriesGroup(), nullptr);
    EXPECT_EQ(editor->LBSeries->Items()->Count(), 3);
    EXPECT_EQ(editor->Groups->Items()->Count(), 1);
    dialogs.Answer = nullptr;
}

} // namespace

TEST_F(EditorWindowTest, EnterAndEscapeEndAnInPlaceEditNotTheEditor)
{
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        // The series title: F2 on the list, a new title, Enter keeps it.
        TChartListBox* list = editor->LBSeries;
        ASSERT_TRUE(user::Click(list, QPoint(list->SectionLeft(TChartListBox::lsTitle) + 4,
                                             TChartListBox::ItemHeight + TChartListBox::ItemHeight / 2)));
        ASSERT_EQ(list->SelectedSeries(), b);
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(list->TitleEditing());
        ASSERT_TRUE(user::Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_TRUE(user::Type("Beta"));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
        EXPECT_EQ(b->Title(), "Beta");
        EXPECT_FALSE(list->TitleEditing());
        EXPECT_EQ(editor->ModalResult(), mrNone);
        // Escape drops the edit and leaves the editor open.
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(user::Type("Lost"));
        ASSERT_TRUE(user::Key(Qt::Key_Escape));
        EXPECT_EQ(b->Title(), "Beta");
        EXPECT_FALSE(list->TitleEditing());
        EXPECT_EQ(editor->ModalResult(), mrNone);

        // A cell of the data grid: Enter stores the typed value, Escape drops one.
        ASSERT_TRUE(user::ClickTab(editor->MainPage, "Data"));
        QWidget* grid = editor->ChartGrid1->Widget();
        ASSERT_TRUE(user::ClickItem(grid, 0, 1));
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(user::Key(Qt::Key_Backspace));
        ASSERT_TRUE(user::Type("7.5"));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
        EXPECT_EQ(editor->ModalResult(), mrNone);
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(user::Type("99"));
        ASSERT_TRUE(user::Key(Qt::Key_Escape));
        EXPECT_EQ(editor->ModalResult(), mrNone);
        EXPECT_EQ(editor->ChartGrid1->Cells(2, editor->ChartGrid1->FixedRows()), "7.5");

        // Enter on a control without an edit of its own presses Close.
        ASSERT_TRUE(user::Key(grid, Qt::Key_Return));
        EXPECT_EQ(editor->ModalResult(), mrCancel);
    });
}

TEST_F(EditorWindowTest, EnterOnTheSeriesListClosesTheEditor)
{
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        ASSERT_TRUE(user::Key(editor->LBSeries, Qt::Key_Down));
        EXPECT_EQ(editor->ModalResult(), mrNone);
        ASSERT_TRUE(user::Key(Qt::Key_Return));
        EXPECT_EQ(editor->ModalResult(), mrCancel);
    });
}

TEST_F(EditorWindowTest, EnterInTheTreeRenameKeepsTheNameAndTheEditor)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteBool("TreeMode", true);
    }
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        QWidget* tree = editor->Tree->Widget();
        ASSERT_TRUE(user::ClickItem(tree, "C"));
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(user::Type("Gamma"));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
        EXPECT_EQ(c->Title(), "Gamma");
        EXPECT_EQ(editor->ModalResult(), mrNone);
        ASSERT_TRUE(user::Key(Qt::Key_F2));
        ASSERT_TRUE(user::Type("Lost"));
        ASSERT_TRUE(user::Key(Qt::Key_Escape));
        EXPECT_EQ(c->Title(), "Gamma");
        EXPECT_EQ(editor->ModalResult(), mrNone);
        // Escape outside an edit closes the editor.
        ASSERT_TRUE(user::Key(Qt::Key_Escape));
        EXPECT_EQ(editor->ModalResult(), mrCancel);
    });
}

TEST_F(EditorWindowTest, TabsSwitchedByKeysOrWheelShowTheirPagesAndEditTheirWall)
{
    chart->LeftWall()->SetSize(3);
    UseEditor(cetWalls, [&](TChartEditForm* editor) {
        auto* walls = dynamic_cast<TFormTeeWall*>(editor->PageForm(editor->TabWalls));
        ASSERT_NE(walls, nullptr);
        // "Left", "Right", "Bottom", "Back": a wheel turn towards the user and an arrow
        // key reach "Bottom", whose size the edit then sets.
        auto* bar = qobject_cast<QTabBar*>(walls->TabSubWalls->Widget());
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(user::Wheel(bar, -1, bar->tabRect(0).center()));
        ASSERT_TRUE(user::Key(bar, Qt::Key_Right));
        ASSERT_EQ(walls->TabSubWalls->TabIndex(), 2);
        EXPECT_FALSE(walls->CBAutoHide->Visible());
        ASSERT_TRUE(user::Focus(walls->SEWallSize));
        ASSERT_TRUE(user::Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_TRUE(user::Type("17"));
        EXPECT_EQ(chart->BottomWall()->Size(), 17);
        EXPECT_EQ(chart->LeftWall()->Size(), 3);

        // Ctrl+Tab from a control of the page shows the next page, "3D", filled.
        ASSERT_TRUE(user::Key(walls->SEWallSize, Qt::Key_Tab, Qt::ControlModifier));
        EXPECT_EQ(editor->SubPage->ActivePage(), editor->Tab3D);
        TForm* page3D = editor->PageForm(editor->Tab3D);
        ASSERT_NE(page3D, nullptr);
        EXPECT_TRUE(page3D->Widget()->isVisible());
        // The arrow key on the main tabs shows the series page.
        QTabBar* mainBar = editor->MainPage->Widget()->findChild<QTabBar*>();
        ASSERT_TRUE(user::Key(mainBar, Qt::Key_Right));
        EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabSeries);
        ASSERT_NE(editor->PageForm(editor->TabSeries), nullptr);
        EXPECT_TRUE(editor->PageForm(editor->TabSeries)->Widget()->isVisible());
    });
}

TEST_F(EditorWindowTest, TheFastLinePagesCancelRestoresThePenAndEscapeClosesKeepingIt)
{
    auto* fast = new TFastLineSeries(form.get());
    fast->SetName("Fast");
    chart->AddSeries(fast);
    fast->AddPointXY(0, 1);
    fast->AddPointXY(1, 2);
    UseEditor(cetSeriesList, [&](TChartEditForm* editor) {
        editor->EditSeries(fast);
        auto* page = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
        ASSERT_NE(page, nullptr);
        auto* pen = dynamic_cast<TFastLineSeriesEditor*>(page->EmbeddedForm(0));
        ASSERT_NE(pen, nullptr);
        ASSERT_TRUE(user::Focus(pen->SEWidth));
        ASSERT_TRUE(user::Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_TRUE(user::Type("4"));
        ASSERT_EQ(fast->LinePen()->Width(), 4);
        // The page's Cancel puts the pen back; the editor stays.
        ASSERT_TRUE(user::Click(pen->BCancel));
        EXPECT_EQ(fast->LinePen()->Width(), 1);
        EXPECT_EQ(editor->ModalResult(), mrNone);
        ASSERT_TRUE(user::Click(pen->BOk));
        EXPECT_EQ(editor->ModalResult(), mrNone);
        // Escape closes the editor as on every page: what was written stays.
        ASSERT_TRUE(user::Focus(pen->SEWidth));
        ASSERT_TRUE(user::Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_TRUE(user::Type("6"));
        ASSERT_TRUE(user::Key(Qt::Key_Escape));
        EXPECT_EQ(editor->ModalResult(), mrCancel);
        EXPECT_EQ(fast->LinePen()->Width(), 6);
    });
    EXPECT_EQ(fast->LinePen()->Width(), 6);
}

TEST_F(EditorWindowTest, FunctionSourcesCanBeChosenAndClosingAsksToApplyThem)
{
    std::vector<int> answers{mrCancel, mrNo};
    dialogs.Answer = [&](TDialogRequest& r) {
        if (r.Kind != TDialogKind::dkMessage || answers.empty())
            return int(mrCancel);
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    const auto asked = [&] {
        return std::count_if(dialogs.Requests.begin(), dialogs.Requests.end(),
                          [](const TDialogRequest& r) { return r.Text == "Apply Changes ?"; });
    };
    user::ModalActions modal(dialogs);
    TChartEditForm* editor = nullptr;
    modal.Then([&](TForm* f) {
        editor = dynamic_cast<TChartEditForm*>(f);
        ASSERT_NE(editor, nullptr);
        // "C" on the series page, its data source "Function", the function "Average".
        TChartListBox* list = editor->LBSeries;
        ASSERT_TRUE(user::Click(list, QPoint(list->SectionLeft(TChartListBox::lsTitle) + 4,
                                             2 * TChartListBox::ItemHeight + TChartListBox::ItemHeight / 2)));
        ASSERT_TRUE(user::ClickTab(editor->MainPage, "Series"));
        auto* page = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(user::ClickTab(page->PageSeries, "Data Source"));
        ASSERT_TRUE(user::Key(page->CBDataSourcestyle, Qt::Key_Down));
        ASSERT_TRUE(user::Key(page->CBDataSourcestyle, Qt::Key_Down));
        ASSERT_EQ(page->CBDataSourcestyle->Text(), "Function");
        auto* function = dynamic_cast<TTeeFuncEditor*>(page->SourceEditor());
        ASSERT_NE(function, nullptr);
        ASSERT_TRUE(user::Type(function->CBSources, "Av"));
        ASSERT_EQ(function->CBSources->Text(), "Average");

        // The chooser offers "A" and "B" with ">" and ">>" ready.
        auto* chooser = dynamic_cast<TSelectListForm*>(function->SelectListForm());
        ASSERT_NE(chooser, nullptr);
        ASSERT_EQ(chooser->FromList->Items()->Count(), 2);
        EXPECT_TRUE(chooser->BRightAll->Enabled());
        EXPECT_FALSE(chooser->BLeftOne->Enabled());
        ASSERT_TRUE(user::ClickItem(chooser->FromList, 0));
        ASSERT_TRUE(user::Click(chooser->BRightOne));
        ASSERT_EQ(chooser->ToList->Items()->Count(), 1);
        EXPECT_EQ(chooser->ToList->Items()->GetObject(0), a);
        EXPECT_TRUE(function->BApply->Enabled());
        // Close with the change not applied asks; Cancel keeps the editor open.
        ASSERT_TRUE(user::Click(editor->BClose));
    });
    modal.Then([&](TForm*) {
        EXPECT_EQ(asked(), 1);
        EXPECT_EQ(editor->ModalResult(), mrNone);
        // Escape asks too; No closes without the change.
        ASSERT_TRUE(user::Key(editor->BClose, Qt::Key_Escape));
    });
    ShowChartEditorAtPage(nullptr, chart, cetSeriesList);
    EXPECT_EQ(asked(), 2);
    EXPECT_EQ(modal.Started(), 1);
    EXPECT_EQ(c->DataSource(), nullptr);
}

TEST_F(EditorWindowTest, TheSeriesPageLetsGoOfACustomAxisDeletedOnTheAxisPage)
{
    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    a->SetCustomVertAxis(custom);
    user::ModalActions modal(dialogs);
    modal.Then([&](TForm* f) {
        auto* editor = dynamic_cast<TChartEditForm*>(f);
        ASSERT_NE(editor, nullptr);
        // "A" on the series page's General tab: on the custom axis.
        ASSERT_TRUE(user::ClickTab(editor->MainPage, "Series"));
        auto* page = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(user::ClickTab(page->PageSeries, "General"));
        ASSERT_EQ(page->CBVertAxis->Items()->Count(), 4);
        EXPECT_EQ(page->CBVertAxis->ItemIndex(), 3);
        // The custom axis deleted on the axis page.
        ASSERT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
        ASSERT_TRUE(user::ClickTab(editor->SubPage, "Axis"));
        auto* axes = dynamic_cast<TFormTeeAxis*>(editor->PageForm(editor->TabAxis));
        ASSERT_NE(axes, nullptr);
        ASSERT_TRUE(user::ClickItem(axes->LBAxes, "Custom 0"));
        ASSERT_TRUE(user::Click(axes->BDelete));
        ASSERT_EQ(chart->CustomAxes()->Count(), 0);
        // Back on the series page the vertical axes are the standard ones, "Left" chosen,
        // and choosing among them is safe.
        ASSERT_TRUE(user::ClickTab(editor->MainPage, "Series"));
        EXPECT_EQ(page->CBVertAxis->Items()->Count(), 3);
        EXPECT_EQ(page->CBVertAxis->ItemIndex(), 0);
        ASSERT_TRUE(user::Key(page->CBVertAxis, Qt::Key_Down));
        EXPECT_EQ(a->VertAxis(), aRightAxis);
        ASSERT_TRUE(user::Key(page->CBVertAxis, Qt::Key_Down));
        ASSERT_TRUE(user::Key(page->CBVertAxis, Qt::Key_Down));
        EXPECT_EQ(a->VertAxis(), aBothVertAxis);
        ASSERT_TRUE(user::Click(editor->BClose));
    });
    ShowChartEditorAtPage(nullptr, chart, cetSeriesList);
    EXPECT_EQ(modal.Started(), 1);
}

TEST_F(EditorWindowTest, TheLegendsFormatTabEditsTheLegendFrame)
{
    TChartLegend* legend = chart->Legend();
    legend->SetTransparent(false);
    legend->SetShapeStyle(fosRectangle);
    legend->SetBevel(bvNone);
    dialogs.Answer = [](TDialogRequest& r) {
        if (TColorDialogRequest* c = AsColorDialogRequest(r)) {
            c->Color = 0x123456;
            return int(mrOk);
        }
        return int(mrCancel);
    };
    UseEditor(cetLegend, [&](TChartEditForm* editor) {
        auto* page = dynamic_cast<TFormTeeLegend*>(editor->PageForm(editor->TabLegend));
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(user::ClickTab(page->PageControl1, "Format"));
        TFormTeeShape* shape = page->LegendShapeEditor();
        ASSERT_NE(shape, nullptr);
        ASSERT_TRUE(user::Click(shape->CBRound));
        EXPECT_EQ(legend->ShapeStyle(), fosRoundRectangle);
        ASSERT_TRUE(user::Key(shape->CBBevel, Qt::Key_Down));
        EXPECT_EQ(legend->Bevel(), bvLowered);
        ASSERT_TRUE(user::Focus(shape->EBevWidth));
        ASSERT_TRUE(user::Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_TRUE(user::Type("7"));
        EXPECT_EQ(legend->BevelWidth(), 7);
        ASSERT_TRUE(user::Focus(shape->EShadowTransp));
        ASSERT_TRUE(user::Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_TRUE(user::Type("40"));
        EXPECT_EQ(legend->Transparency(), 40);
        ASSERT_TRUE(user::Click(shape->CBTransparent));
        EXPECT_TRUE(legend->Transparent());
        // A colour chosen for the back makes the frame opaque again.
        ASSERT_TRUE(user::Click(shape->BBackColor));
        EXPECT_EQ(legend->Color(), TColor(0x123456));
        EXPECT_FALSE(legend->Transparent());
    });
}

// A page that shows what other pages or the chart window change meanwhile loads its
// controls again each time its tab shows again.
struct EditorPagesShownAgainTest : EditorWindowTest {
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        line = new TLineSeries(form.get());
        line->SetName("Line");
        chart->AddSeries(line);
        for (int i = 0; i < 4; ++i)
            line->AddPointXY(i, i % 2 + 1);
        line->Pointer()->SetVisible(true);
        chart->SetView3D(true);
        editor.reset(CreateChartEditor(chart));
        user::ShowAndActivate(editor.get());
    }
    void TearDown() override
    {
        editor.reset();
        EditorWindowTest::TearDown();
    }
    // Shows the tab of a "Chart" sub-page and returns its page.
    template <class P>
    P* ChartPage(const std::string& Caption, TTabSheet* Tab)
    {
        EXPECT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
        EXPECT_TRUE(user::ClickTab(editor->SubPage, Caption));
        return dynamic_cast<P*>(editor->PageForm(Tab));
    }

    TLineSeries* line = nullptr;
    std::unique_ptr<TChartEditForm> editor;
};

TEST_F(EditorPagesShownAgainTest, TheLinePointTabFollowsThreeDSwitchedOnTheThreeDPage)
{
    editor->EditSeries(line);
    auto* series = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
    ASSERT_NE(series, nullptr);
    auto* format = dynamic_cast<TCustomSeriesEditor*>(series->EmbeddedForm(0));
    ASSERT_NE(format, nullptr);
    TSeriesPointerEditor* pointer = format->PointerEditor();
    ASSERT_NE(pointer, nullptr);
    ASSERT_TRUE(user::ClickTab(series->PageSeries, "Point"));
    ASSERT_TRUE(pointer->CB3dPoint->Enabled());
    const bool draw3D = line->Pointer()->Draw3D();

    for (const bool view3D : {false, true}) {
        auto* page3D = ChartPage<TFormTee3D>("3D", editor->Tab3D);
        ASSERT_NE(page3D, nullptr);
        ASSERT_TRUE(user::Key(page3D->CBView3d, Qt::Key_Space));
        ASSERT_EQ(chart->View3D(), view3D);
        ASSERT_TRUE(user::ClickTab(editor->MainPage, "Series"));
        EXPECT_EQ(pointer->CB3dPoint->Enabled(), view3D);
        // Loading the boxes wrote nothing back.
        EXPECT_EQ(line->Pointer()->Draw3D(), draw3D);
        EXPECT_EQ(chart->View3D(), view3D);
    }
}

TEST_F(EditorPagesShownAgainTest, TheAxisPageShowsTheRangeOfAZoomMadeMeanwhile)
{
    auto* axis = ChartPage<TFormTeeAxis>("Axis", editor->TabAxis);
    ASSERT_NE(axis, nullptr);
    axis->SelectAxis(chart->LeftAxis());
    ASSERT_TRUE(axis->CBAutomatic->Checked());
    ASSERT_TRUE(user::ClickTab(editor->SubPage, "Series"));
    chart->LeftAxis()->SetMinMax(1.25, 1.75);
    ASSERT_TRUE(user::ClickTab(editor->SubPage, "Axis"));
    EXPECT_FALSE(axis->CBAutomatic->Checked());
    EXPECT_EQ(axis->LAxisMin->Caption(), "1.25");
    EXPECT_EQ(axis->LAxisMax->Caption(), "1.75");
    EXPECT_EQ(chart->LeftAxis()->Minimum(), 1.25);
}

TEST_F(EditorPagesShownAgainTest, TheLegendPageShowsTheVisibilityToggledElsewhere)
{
    auto* legend = ChartPage<TFormTeeLegend>("Legend", editor->TabLegend);
    ASSERT_NE(legend, nullptr);
    ASSERT_TRUE(legend->CBShow->Checked());
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Data"));
    chart->Legend()->SetVisible(false);
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
    EXPECT_FALSE(legend->CBShow->Checked());
    EXPECT_FALSE(chart->Legend()->Visible());
}

TEST_F(EditorPagesShownAgainTest, TheExportPageMeasuresTheDataAddedMeanwhile)
{
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Export"));
    auto* page = dynamic_cast<TTeeExportForm*>(editor->PageForm(editor->TabExport));
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(user::ClickTab(page->PageControl1, "Native"));
    ASSERT_TRUE(page->CBNativeData->Checked());
    ASSERT_TRUE(user::Key(page->CBFileSize, Qt::Key_Space));
    ASSERT_TRUE(page->CBFileSize->Checked());
    const std::string before = page->LabelSize->Caption();
    ASSERT_NE(before, "?");
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Data"));
    for (int i = 4; i < 40; ++i)
        line->AddPointXY(i, i);
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Export"));
    EXPECT_NE(page->LabelSize->Caption(), before);
    EXPECT_EQ(page->LabelSize->Caption(), ::Format("%d bytes", {page->CreateNativeStream()->Size()}));
    // The choices stay.
    EXPECT_EQ(page->PageControl1->ActivePage(), page->TabNative);
}

TEST_F(EditorPagesShownAgainTest, TheFunctionSourceShowsItsSourceRenamedMeanwhile)
{
    auto* other = new TLineSeries(form.get());
    other->SetName("Other");
    chart->AddSeries(other);
    auto* copy = new TLineSeries(form.get());
    copy->SetName("Copy");
    chart->AddSeries(copy);
    copy->SetDataSource(line);
    editor->EditSeries(copy);
    auto* series = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
    ASSERT_NE(series, nullptr);
    ASSERT_TRUE(user::ClickTab(series->PageSeries, "Data Source"));
    auto* function = dynamic_cast<TTeeFuncEditor*>(series->SourceEditor());
    ASSERT_NE(function, nullptr);
    ASSERT_EQ(function->CBSingle->Text(), "Line");
    // "Other" chosen and applied: with changes not applied the tab would not let go.
    ASSERT_TRUE(user::Type(function->CBSingle, "O"));
    ASSERT_TRUE(user::Click(function->BApply));
    ASSERT_EQ(copy->DataSource(), other);

    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Chart"));
    other->SetTitle("Renamed");
    ASSERT_TRUE(user::ClickTab(editor->MainPage, "Series"));
    ASSERT_EQ(series->SourceEditor(), function);
    EXPECT_EQ(function->CBSingle->Text(), "Renamed");
    EXPECT_EQ(function->CBSingle->Items()->GetObject(function->CBSingle->ItemIndex()), other);
    EXPECT_FALSE(function->BApply->Enabled());
    editor.reset();
}
