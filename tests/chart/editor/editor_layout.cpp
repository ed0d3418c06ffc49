// Every page of the chart editor and every dialog it opens, shown as the user sees them:
// no two visible controls cover each other, every caption fits its control, and the
// window keeps one size while its tabs are visited. Also what the editor's start page
// and options tell the series page.
#include "ChartPreview.h"
#include "EditChar.h"
#include "ExportDialog.h"
#include "FormatEditor.h"
#include "Galleries.h"
#include "PointerEditor.h"
#include "RurOzuvi.h"
#include "Series.h"
#include "ChartStarted.h"
#include "StyleEditors.h"
#include "TeeAxMaxMin.h"
#include "TeeAxisIncr.h"
#include "TeeEdiAxis.h"
#include "TeeEdiGene.h"
#include "TeeEdiSeri.h"
#include "TeeEditCha.h"
#include "TeeEditTools.h"
#include "TeeFuncEdit.h"
#include "TeePenDlg.h"
#include "TeeToolsGallery.h"
#include "layout_check.h"

#include "DialogRecorder.h"
#include "TestSupport.h"
#include "UserInput.h"

#include "controls/FormBuilder.h"
#include "controls/Registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

std::string FileNamePart(std::string Text)
{
    for (char& c : Text)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '-';
    return Text;
}

struct EditorLayoutTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        SetRegistryFileName(testsupport::TempDir() + "/layout.ini");
        form = std::make_unique<TForm>(nullptr);
        form->SetName("LayoutForm");
        chart = new TChart(form.get());
        chart->SetName("Chart1");
        chart->SetBounds(0, 0, 400, 300);
        // One series of every registered type and function, with long titles as users give.
        TChartSeries* source = CreateSeriesInChart(form.get(), chart, TLineSeries::StaticClassInfo());
        source->FillSampleValues(6);
        TTeeSeriesTypes* types = SeriesTypeList();
        for (int i = 0; i < types->Count(); ++i) {
            TTeeSeriesType* type = types->Get(i);
            TChartSeriesClass seriesClass = type->SeriesClass != nullptr ? type->SeriesClass : TLineSeries::StaticClassInfo();
            TChartSeries* series = CreateSeriesInChart(form.get(), chart, seriesClass, type->FunctionClass);
            if (type->FunctionClass != nullptr)
                series->SetDataSource(source);
            else
                series->FillSampleValues(6);
            series->SetTitle(type->DescriptionText());
        }
        // The program's own titles; the data grid heads its columns with them.
        source->SetTitle("Experimental");
        chart->Series(1)->SetTitle("Calculated");
    }
    void TearDown() override
    {
        form.reset();
        SetRegistryFileName("");
    }

    // Checks the form as it shows now and saves its picture as layout-<Where>.png.
    void Check(TControl* Form, const std::string& Where)
    {
        for (std::string& fault : layoutcheck::LayoutFaults(Form, Where))
            faults.push_back(std::move(fault));
        if (const std::string path = testsupport::ArtifactPath("layout-" + FileNamePart(Where) + ".png"); !path.empty())
            SaveControlPicture(Form, path);
    }
    // Modal forms opened on the way are shown, checked under their class name and
    // cancelled.
    int CheckDialog(TDialogRequest& Request)
    {
        if (Request.Kind != TDialogKind::dkModalForm || Request.Form == nullptr)
            return Request.Kind == TDialogKind::dkMessage ? mrOk : mrCancel;
        Request.Form->Show();
        if (auto* preview = dynamic_cast<TChartPreview*>(Request.Form); preview != nullptr && preview->PageNavigator())
            previewNavigatorHeight = preview->PageNavigator()->Height();
        const std::string name = Request.Form->ClassName();
        Check(Request.Form, name + (++dialogsSeen[name] > 1 ? " " + std::to_string(dialogsSeen[name]) : ""));
        return mrCancel;
    }
    std::map<std::string, int> dialogsSeen;
    int previewNavigatorHeight = 0;
    // Selects every tab of Pages in turn (each through its change handler), checking Form.
    void VisitTabs(TControl* Form, TPageControl* Pages, const std::string& Where,
                   const std::function<void(TTabSheet*)>& Inside = nullptr)
    {
        for (int i = 0; i < Pages->PageCount(); ++i) {
            TTabSheet* tab = Pages->Pages(i);
            if (!tab->TabVisible())
                continue;
            ASSERT_TRUE(user::ClickTab(Pages, tab->Caption())) << Where << " " << tab->Caption();
            Check(Form, Where + " " + tab->Caption());
            if (Inside)
                Inside(tab);
        }
    }
    std::string Report() const
    {
        std::string text;
        for (const std::string& f : faults)
            text += f + "\n";
        return text;
    }

    DialogRecorder dialogs;
    std::unique_ptr<TForm> form;
    TChart* chart = nullptr;
    std::vector<std::string> faults;
};

TEST_F(EditorLayoutTest, EveryPageFitsTheWindowWithoutOverlapsOrClippedCaptions)
{
    int pagesSeen = 0;
    int exportPagesSeen = 0;
    dialogs.Answer = [&](TDialogRequest& r) {
        auto* editor = dynamic_cast<TChartEditForm*>(r.Form);
        if (editor == nullptr)
            return CheckDialog(r);
        editor->Show();
        const int width = editor->Width();
        const int height = editor->Height();
        Check(editor, "Chart Series");
        EXPECT_TRUE(user::ClickTab(editor->MainPage, editor->TabChart->Caption()));
        VisitTabs(editor, editor->SubPage, "Chart", [&](TTabSheet* tab) {
            ++pagesSeen;
            // The print preview with the page buttons, from the general page.
            if (auto* general = dynamic_cast<TFormTeeGeneral*>(editor->PageForm(tab))) {
                EXPECT_TRUE(user::Click(general->BPrint));
            }
        });
        for (TTabSheet* tab : {editor->TabData, editor->TabTools, editor->TabExport, editor->TabPrint}) {
            EXPECT_TRUE(user::ClickTab(editor->MainPage, tab->Caption()));
            Check(editor, tab->Caption());
            ++pagesSeen;
            // Each page of the export dialog it holds.
            if (auto* exporter = dynamic_cast<TTeeExportForm*>(editor->PageForm(tab)))
                VisitTabs(editor, exporter->PageControl1, tab->Caption(), [&](TTabSheet*) { ++exportPagesSeen; });
        }
        // The series page for a series of every type, on each of its tabs.
        for (int i = 0; i < editor->LBSeries->Items()->Count(); ++i) {
            TChartSeries* series = editor->LBSeries->SeriesAt(i);
            editor->EditSeries(series);
            auto* page = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
            if (page == nullptr) {
                ADD_FAILURE() << "no series page";
                break;
            }
            const std::string name = std::string("Series ") + series->ClassName() + (series->FunctionType() != nullptr ? std::string(" function ") + series->FunctionType()->ClassName() : std::string());
            VisitTabs(editor, page->PageSeries, name, [&](TTabSheet* tab) {
                ++pagesSeen;
                // The marks' tabs are the same for every series.
                if (tab == page->TabMarks && i == 0)
                    VisitTabs(editor, page->PageControlMarks, name + " Marks");
            });
        }
        EXPECT_EQ(editor->Width(), width) << "the window changed its width";
        EXPECT_EQ(editor->Height(), height) << "the window changed its height";
        return mrCancel;
    };
    ShowChartEditor(nullptr, chart);
    EXPECT_GT(pagesSeen, 30);
    EXPECT_EQ(exportPagesSeen, 3);
    // The preview of the general page shows its page buttons above the pages.
    EXPECT_GE(previewNavigatorHeight, 20);
    EXPECT_TRUE(faults.empty()) << Report();
}

TEST_F(EditorLayoutTest, EveryDialogOfTheEditorIsLaidOutWithoutOverlapsOrClippedCaptions)
{
    dialogs.Answer = [&](TDialogRequest& r) { return CheckDialog(r); };
    TChartSeries* line = chart->Series(0);
    ShowPenEditor(form.get(), chart->Legend()->DividingLines());
    ShowGradientEditor(form.get(), chart->Legend()->Gradient());
    ShowShadowEditor(form.get(), chart->Legend()->Shadow());
    ShowBrushEditor(form.get(), chart->Legend()->Brush());
    if (auto* pointer = dynamic_cast<TLineSeries*>(line))
        ShowPointerEditor(form.get(), pointer->Pointer());
    // Both galleries, for a new series and for functions.
    TChartSeriesClass seriesClass = nullptr;
    TTeeFunctionClass functionClass = nullptr;
    int sub = -1;
    bool view3D = true;
    ShowSeriesGallery(form.get(), nullptr, chart, false, nullptr, seriesClass, functionClass, sub, view3D);
    ShowSeriesGallery(form.get(), nullptr, chart, true, line, seriesClass, functionClass, sub, view3D);
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteInteger("GalleryMode", 1);
    }
    ShowSeriesGallery(form.get(), nullptr, chart, false, nullptr, seriesClass, functionClass, sub, view3D);
    // The axis page's range and increment dialogs, numeric and date-time.
    {
        TFormTeeAxis axisPage(form.get(), chart->BottomAxis());
        axisPage.Show();
        axisPage.BAxisMin->Click();
        axisPage.BIncre->Click();
        line->XValues()->SetDateTime(true);
        axisPage.SelectAxis(chart->BottomAxis());
        axisPage.BAxisMax->Click();
        axisPage.BIncre->Click();
        line->XValues()->SetDateTime(false);
    }
    // The tools gallery from the tools page.
    {
        auto* tools = new TFormTeeTools(form.get());
        tools->SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(chart)));
        tools->Show();
        EXPECT_TRUE(user::Click(tools->BAdd));
    }
    TRurOzuviForm about(nullptr);
    about.Show();
    Check(&about, "TRurOzuviForm");
    for (const char* name : {"TPenDialog", "TTeeGradientEditor", "TTeeShadowEditor", "TBrushDialog", "TSeriesPointerEditor",
                             "TTeeGallery", "TTeeGalleryForm", "TAxisMaxMin", "TAxisIncrement", "TTeeToolsGallery"})
        EXPECT_GT(dialogsSeen[name], 0) << name;
    EXPECT_TRUE(faults.empty()) << Report();
}

TEST_F(EditorLayoutTest, StartPagesAndOptionsChooseTheSeriesPageTabs)
{
    // Start pages 9 and 10 open the series page of the first series on its general and
    // marks tabs.
    for (auto [start, caption] : {std::pair{int(cetSeriesGeneral), "General"}, std::pair{int(cetSeriesMarks), "Marks"}}) {
        std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
        editor->SetStartPage(start);
        editor->Show();
        EXPECT_EQ(editor->MainPage->ActivePage(), editor->TabSeries);
        auto* page = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->TheSeries(), chart->Series(0));
        EXPECT_EQ(page->PageSeries->ActivePage()->Caption(), caption);
    }
    // Without the data-source bit, and with the marks page hidden, the series page
    // offers neither.
    std::unique_ptr<TChartEditForm> editor(CreateChartEditor(chart));
    editor->SetOptions(DefaultChartEditorOptions & ~ceDataSource);
    editor->HiddenPages = {cetSeriesMarks};
    editor->SetStartPage(cetSeries);
    editor->Show();
    auto* page = dynamic_cast<TFormTeeSeries*>(editor->PageForm(editor->TabSeries));
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->TabDataSource->TabVisible());
    EXPECT_FALSE(page->TabMarks->TabVisible());
    EXPECT_TRUE(page->TabGeneral->TabVisible());
    EXPECT_EQ(page->PageSeries->ActivePage(), page->TheTabSheet);
}

} // namespace
