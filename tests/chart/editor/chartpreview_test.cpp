// The print preview panel (paper, chart rectangle, dragging, printing to PDF) and its
// dialog, driven through the dialog's controls.
#include "UserInput.h"
#include "ChartPreview.h"
#include "data_editors_fixture.h"

#include "Series.h"

#include "controls/Printers.h"
#include "TestSupport.h"

#include <fstream>
#include <iterator>
#include <regex>

using namespace dataeditortest;

namespace {

std::string ReadFile(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The width and height of the first page box of a PDF file, in points.
std::pair<double, double> MediaBox(const std::string& Pdf)
{
    std::smatch m;
    const std::regex box(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])");
    if (!std::regex_search(Pdf, m, box))
        return {0, 0};
    using testsupport::Number;
    return {Number(m[3].str()) - Number(m[1].str()), Number(m[4].str()) - Number(m[2].str())};
}

struct PreviewTest : ChartOnForm {
    void SetUp() override
    {
        ChartOnForm::SetUp();
        auto* line = new TLineSeries(form.get());
        line->SetName("Cp");
        chart->AddSeries(line);
        for (int i = 0; i < 10; ++i)
            line->AddPointXY(i, i * i);
        chart->SetPrintProportional(false);
        chart->SetPrintMargins(TRect(10, 20, 30, 40));
        preview = new TTeePreviewPanel(form.get());
        preview->SetName("Preview");
        preview->SetParent(form.get());
        preview->SetPanel(chart);
        Printer()->SetOrientation(poPortrait);
    }
    void TearDown() override
    {
        Printer()->SetFileName("");
        Printer()->SetOrientation(poPortrait);
        ChartOnForm::TearDown();
    }
    TTeePreviewPanel* preview = nullptr;
};

TEST_F(PreviewTest, PaperAndChartRectangleFollowThePageAndTheMargins)
{
    ASSERT_EQ(preview->Width(), 432);
    const int pw = Printer()->PageWidth(), ph = Printer()->PageHeight();
    ASSERT_GT(ph, pw);
    // A portrait page in a wider client: the paper takes 4/5 of the height, centred.
    const TRect paper = preview->PaperRect();
    EXPECT_EQ(paper.Top, 31);
    EXPECT_EQ(paper.Height(), 312 - 62);
    EXPECT_EQ(paper.Width(), MulDiv(250, pw, ph));
    EXPECT_EQ(paper.Left, (432 - paper.Width()) / 2);

    const TRect r = preview->PanelRect(chart);
    EXPECT_EQ(r.Left, paper.Left + MulDiv(10, paper.Width(), 100));
    EXPECT_EQ(r.Top, paper.Top + MulDiv(20, paper.Height(), 100));
    EXPECT_EQ(r.Right, paper.Right - MulDiv(30, paper.Width(), 100));
    EXPECT_EQ(r.Bottom, paper.Bottom - MulDiv(40, paper.Height(), 100));

    // Landscape: the paper turns and the owner may adjust it.
    preview->SetOrientation(ppoLandscape);
    const TRect wide = preview->PaperRect();
    EXPECT_GT(wide.Width(), wide.Height());
    preview->OnGetPaperRect = [](TObject*, TRect& R) { R.Left += 7; };
    EXPECT_EQ(preview->PaperRect().Left, wide.Left + 7);
}

TEST_F(PreviewTest, DraggingEdgesAndMovingKeepTheMarginsOnThePaper)
{
    chart->SetPrintProportional(true);
    const TRect paper = preview->PaperRect();
    const TRect r = preview->PanelRect(chart);
    const int midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(preview->ZoneAt(r.Left + 3, midY), pdLeft);
    EXPECT_EQ(preview->ZoneAt(r.Left + 6, midY), pdMove);
    EXPECT_EQ(preview->ZoneAt(r.Right - 2, r.Bottom + 1), pdRightBottom);

    bool disabled = false;
    TRect told;
    preview->OnChangeMargins = [&](TObject*, bool Disable, const TRect& M) { disabled = Disable, told = M; };
    const int right = chart->PrintMargins().Right;
    // The left edge dragged far right stops short of the right edge.
    preview->DispatchMouseDown(mbLeft, ssLeft, r.Left + 2, midY);
    preview->DispatchMouseMove(ssLeft, paper.Right - 1, midY);
    preview->DispatchMouseUp(mbLeft, 0, paper.Right - 1, midY);
    EXPECT_TRUE(disabled);
    EXPECT_FALSE(chart->PrintProportional());
    EXPECT_EQ(told, chart->PrintMargins());
    EXPECT_LT(chart->PrintMargins().Left + chart->PrintMargins().Right, 100);
    EXPECT_EQ(chart->PrintMargins().Right, right);

    // A move far up-left stops at the paper's corner: no margin below 0.
    chart->SetPrintMargins(TRect(10, 20, 30, 40));
    const TRect r2 = preview->PanelRect(chart);
    preview->DispatchMouseDown(mbLeft, ssLeft, r2.Left + 20, r2.Top + 20);
    preview->DispatchMouseMove(ssLeft, paper.Left, paper.Top);
    preview->DispatchMouseUp(mbLeft, 0, paper.Left, paper.Top);
    EXPECT_EQ(chart->PrintMargins().Left, 0);
    EXPECT_EQ(chart->PrintMargins().Top, 0);
    EXPECT_NEAR(chart->PrintMargins().Right, 40, 1);
    EXPECT_NEAR(chart->PrintMargins().Bottom, 60, 1);

    // Without resizing, edges are no zones but moving still works.
    preview->SetAllowResize(false);
    const TRect r3 = preview->PanelRect(chart);
    EXPECT_EQ(preview->ZoneAt(r3.Right + 2, (r3.Top + r3.Bottom) / 2), pdNone);
    EXPECT_EQ(preview->ZoneAt(r3.Left + 2, (r3.Top + r3.Bottom) / 2), pdMove);
}

TEST_F(PreviewTest, PanelSetterKeepsTheGivenPanelAndForgetsFreedOnes)
{
    auto* second = new TChart(form.get());
    preview->SetPanel(second);
    EXPECT_EQ(preview->Panel(), second);
    EXPECT_EQ(preview->Panels()->Count(), 1);
    preview->AddPanel(chart);
    preview->SetPanel(preview);   // never itself
    EXPECT_EQ(preview->Panel(), second);
    delete second;
    EXPECT_EQ(preview->Panel(), chart);
    delete chart;
    chart = nullptr;
    EXPECT_EQ(preview->Panel(), nullptr);
    preview->PaintWindow();   // nothing dangling to draw
}

TEST_F(PreviewTest, EveryPaintShowsThePanelAsItIsNow)
{
    chart->SetColor(clYellow);
    preview->PaintWindow();
    const TRect r = preview->PanelRect(chart);
    const int x = r.Left + 4, y = r.Top + 4;
    ASSERT_EQ(preview->ReferenceCanvas()->Pixel(x, y), clYellow);
    // The chart changes behind the preview's back, as on another tab of the editor.
    chart->SetColor(clAqua);
    preview->PaintWindow();
    EXPECT_EQ(preview->ReferenceCanvas()->Pixel(x, y), clAqua);
}

TEST_F(PreviewTest, PrintingFollowsOrientationAndMargins)
{
    const std::string dir = testsupport::TempDir();
    auto print = [&](const std::string& Name) {
        const std::string path = dir + "/" + Name;
        Printer()->SetFileName(path);
        preview->Print();
        Printer()->SetFileName("");
        return ReadFile(path);
    };
    const std::string portrait = print("portrait.pdf");
    ASSERT_EQ(portrait.rfind("%PDF", 0), 0u);
    const auto [pw, ph] = MediaBox(portrait);
    EXPECT_GT(ph, pw);

    preview->SetOrientation(ppoLandscape);
    const auto [lw, lh] = MediaBox(print("landscape.pdf"));
    EXPECT_GT(lw, lh);
    EXPECT_NEAR(lw, ph, 1);

    preview->SetOrientation(ppoPortrait);
    const std::string same = print("same.pdf");
    chart->SetPrintMargins(TRect(40, 40, 5, 5));
    const std::string moved = print("moved.pdf");
    EXPECT_NE(same.substr(same.find("stream")), moved.substr(moved.find("stream")));
}

TEST_F(PreviewTest, DialogFieldsRefuseCrossingMarginsAndReset)
{
    chart->SetPrintMargins(TRect(60, 10, 20, 10));
    TChartPreview dialog(nullptr);
    dialog.SetTag(reinterpret_cast<intptr_t>(chart));
    user::ShowAndActivate(&dialog);
    ASSERT_EQ(dialog.TeePreviewPanel1->Panel(), chart);
    EXPECT_EQ(dialog.SELeftMa->Text(), "60");
    EXPECT_FALSE(dialog.CBProp->Checked());
    EXPECT_EQ(dialog.BPrint->Enabled(), !Printer()->Printers().empty());
    EXPECT_EQ(dialog.BSetupPrinter->Enabled(), !Printer()->Printers().empty());

    // A margin is typed digit by digit and checked when the user leaves the field.
    ASSERT_TRUE(user::Type(dialog.SERightMa, "45"));   // 60 + 45 is not below 100
    EXPECT_EQ(dialog.SERightMa->Text(), "45");
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(chart->PrintMargins().Right, 20);
    EXPECT_EQ(dialog.SERightMa->Text(), "20");
    EXPECT_FALSE(dialog.BReset->Enabled());
    ASSERT_TRUE(user::Type(dialog.SERightMa, "35"));
    EXPECT_EQ(chart->PrintMargins().Right, 20);   // not the 3 on the way
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(chart->PrintMargins().Right, 35);
    EXPECT_TRUE(dialog.BReset->Enabled());
    // Backspace empties a field; an empty or negative one left puts the margin back.
    ASSERT_TRUE(user::Key(dialog.SETopMa, Qt::Key_Backspace));
    EXPECT_EQ(dialog.SETopMa->Text(), "");
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(dialog.SETopMa->Text(), "10");
    ASSERT_TRUE(user::Type(dialog.SETopMa, "-5"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(chart->PrintMargins().Top, 10);
    EXPECT_EQ(dialog.SETopMa->Text(), "10");

    EXPECT_TRUE(user::Click(dialog.BReset));
    EXPECT_EQ(chart->PrintMargins(), TRect(60, 10, 20, 10));
    EXPECT_EQ(dialog.SERightMa->Text(), "20");
    EXPECT_FALSE(dialog.BReset->Enabled());

    // The detail bar steps by 2: Left from the chart's 100 gives 98, Home then Right 2.
    ASSERT_EQ(dialog.Resolution->Position(), 100);
    ASSERT_TRUE(user::Key(dialog.Resolution, Qt::Key_Left));
    EXPECT_EQ(chart->PrintResolution(), -2);
    ASSERT_TRUE(user::Key(Qt::Key_Home));
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    EXPECT_EQ(dialog.Resolution->Position(), 2);
    EXPECT_EQ(chart->PrintResolution(), -98);
    dialog.ShowMargins->SetChecked(false);
    EXPECT_FALSE(dialog.TeePreviewPanel1->Margins()->Visible());
    dialog.CheckBox1->SetChecked(true);
    EXPECT_TRUE(dialog.TeePreviewPanel1->AsBitmap());
    dialog.ShowMargins->SetChecked(true);
    dialog.CheckBox1->SetChecked(false);

    // Proportional margins come back from the chart's own proportions.
    dialog.CBProp->SetChecked(true);
    EXPECT_TRUE(chart->PrintProportional());
    EXPECT_EQ(dialog.SELeftMa->Text(), IntToStr(chart->PrintMargins().Left));

    if (const std::string path = testsupport::ArtifactPath("editor-preview.png"); !path.empty()) {
        EXPECT_TRUE(SaveControlPicture(&dialog, path));
    }
}

} // namespace
