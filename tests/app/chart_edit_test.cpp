// The chart window's EDIT button opens the chart editor on Chart1, which edits the
// chart in place.
#include "AppWindows.h"

#include "ChartStarted.h"

#include "EditChar.h"
#include "ExportDialog.h"
#include "TeeEdiAxis.h"
#include "TestSupport.h"

#include "controls/FormBuilder.h"
#include "controls/Registry.h"

namespace {

struct ChartEditButtonTest : AppWindowsTest {
    testsupport::ChartStarted started;
    void SetUp() override
    {
        SetRegistryFileName(testsupport::TempDir() + "/edit-button.ini");
        AppWindowsTest::SetUp();
    }
    void TearDown() override
    {
        AppWindowsTest::TearDown();
        SetRegistryFileName("");
    }
};

TEST_F(ChartEditButtonTest, EditOpensTheEditorOnChart1AndItsChangesStay)
{
    TChartEditForm* seen = nullptr;
    dialogs.Answer = [&](TDialogRequest& r) {
        seen = dynamic_cast<TChartEditForm*>(r.Form);
        if (seen == nullptr)
            return mrCancel;
        seen->Show();
        if (const std::string path = testsupport::ArtifactPath("editor-from-edit.png"); !path.empty()) {
            EXPECT_TRUE(SaveControlPicture(seen, path));
        }
        EXPECT_EQ(seen->Chart(), chart->Chart1);
        EXPECT_EQ(seen->SubPage->ActivePage(), seen->TabSeriesList);
        EXPECT_EQ(seen->LBSeries->Items()->Count(), 3);
        // Hide the axes on the axis page.
        seen->SubPage->SelectPage(seen->TabAxis);
        auto* axisPage = dynamic_cast<TFormTeeAxis*>(seen->PageForm(seen->TabAxis));
        EXPECT_NE(axisPage, nullptr);
        if (axisPage != nullptr)
            axisPage->CBShow->SetChecked(false);
        // The export page exports this chart.
        seen->MainPage->SelectPage(seen->TabExport);
        auto* exportPage = dynamic_cast<TTeeExportForm*>(seen->PageForm(seen->TabExport));
        EXPECT_NE(exportPage, nullptr);
        if (exportPage != nullptr) {
            EXPECT_EQ(exportPage->Panel, chart->Chart1);
        }
        seen->BClose->Click();
        return seen->ModalResult();
    };
    ASSERT_TRUE(chart->Chart1->AxisVisible());
    chart->SpeedButton1->Click();
    EXPECT_NE(seen, nullptr);
    EXPECT_FALSE(chart->Chart1->AxisVisible());
}

} // namespace
