// The legend, panel, titles, walls, general, paging and 3D pages of the chart editor,
// driven through their controls: each control writes its chart property at once.
#include "ChartStarted.h"
#include "UserInput.h"
#include "editor_driver.h"

#include "Chart.h"
#include "ChartPreview.h"
#include "Galleries.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeEdi3D.h"
#include "TeeEdiGene.h"
#include "TeeEdiLege.h"
#include "TeeEdiPage.h"
#include "TeeEdiPane.h"
#include "TeeEdiTitl.h"
#include "TeeEdiWall.h"

#include "controls/Printers.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <fstream>
#include <iterator>
#include <memory>

using namespace editortest;

namespace {

class ChartPagesTest : public testsupport::ChartStartedTest {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 460, 330);
        chart = new TChart(form.get());
        chart->SetParent(form.get());
    }
    void TearDown() override
    {
        form.reset();
    }
    // A page embedded in a host form the size of the editor's page area, as the editor
    // shows it, with its picture saved.
    template <class P>
    P* Embed(P* Page, const std::string& Picture)
    {
        auto* host = new TForm(form.get());
        host->SetBounds(0, 0, 460, 330);
        Page->SetParent(host);
        host->Show();
        Page->Show();
        SavePicture(Page, Picture);
        return Page;
    }
    TChartSeries* AddPoints(int Count, TChartSeries* Series = nullptr)
    {
        if (Series == nullptr)
            Series = new TLineSeries(form.get());
        chart->AddSeries(Series);
        for (int i = 0; i < Count; ++i)
            Series->Add(i * i + 1.0);
        return Series;
    }

    EditorDriver driver;
    std::unique_ptr<TForm> form;
    TChart* chart = nullptr;
};

TEST_F(ChartPagesTest, LegendPageWritesTheLegendAndKeepsTheOtherMargin)
{
    TChartLegend* legend = chart->Legend();
    legend->SetAlignment(laLeft);
    legend->SetHorizMargin(7);
    legend->SetVertMargin(3);
    auto* page = Embed(CreateLegendEditor(form.get(), legend), "legend");
    EXPECT_EQ(page->PageControl1->ActivePage(), page->TabStyle);
    EXPECT_EQ(page->UDMargin->Position(), 7);

    page->CBShow->SetChecked(false);
    EXPECT_FALSE(legend->Visible());
    page->CBLegendStyle->Pick(2);
    EXPECT_EQ(legend->LegendStyle(), lsValues);
    page->CBLegStyle->Pick(9);
    EXPECT_EQ(legend->TextStyle(), ltsXAndPercent);
    page->EVertSpacing->SetText("-4");
    EXPECT_EQ(legend->VertSpacing(), -4);
    page->CBCheckBoxes->Pick(2);
    EXPECT_TRUE(legend->CheckBoxes());
    EXPECT_EQ(legend->CheckBoxesStyle(), cbsRadio);

    // Moving the legend to the top makes the box edit the vertical margin; neither margin
    // takes the other's value.
    page->RGPosition->SetItemIndex(int(laTop));
    EXPECT_EQ(legend->Alignment(), laTop);
    EXPECT_EQ(legend->HorizMargin(), 7);
    EXPECT_EQ(legend->VertMargin(), 3);
    EXPECT_EQ(page->UDMargin->Position(), 3);
    page->SEMargin->SetText("12");
    EXPECT_EQ(legend->VertMargin(), 12);
    EXPECT_EQ(legend->HorizMargin(), 7);

    // A custom position turns "Resize Chart" off and frees the left and top boxes.
    EXPECT_FALSE(page->ECustLeft->Enabled());
    page->CBCustPos->SetChecked(true);
    EXPECT_TRUE(legend->CustomPosition());
    EXPECT_FALSE(legend->ResizeChart());
    EXPECT_FALSE(page->CBResizeChart->Checked());
    EXPECT_TRUE(page->ECustLeft->Enabled());
    EXPECT_FALSE(page->RGPosition->Enabled());
    page->ECustLeft->SetText("35");
    EXPECT_EQ(legend->Left(), 35);
    page->PageControl1->SetActivePage(page->TabPosition);
    SavePicture(page, "legend-position");

    page->CBSquared->SetChecked(true);
    EXPECT_TRUE(legend->Symbol()->Squared());
    EXPECT_FALSE(page->SEColWi->Enabled());
    page->CBSymPen->SetChecked(false);
    EXPECT_TRUE(page->BSymPen->Enabled());
    page->CBColWUnits->Pick(1);
    EXPECT_EQ(legend->Symbol()->WidthUnits(), lcsPixels);
    page->PageControl1->SetActivePage(page->TabSymbol);
    SavePicture(page, "legend-symbols");

    page->MemoText->Lines()->SetText("Fit\r\nData");
    EXPECT_EQ(legend->Title()->Text()->Count(), 2);
    EXPECT_EQ(legend->Title()->Text()->Get(1), "Data");
    page->CBTextAlign->Pick(2);
    EXPECT_EQ(legend->Title()->TextAlignment(), taRightJustify);
    page->PageControl1->SetActivePage(page->TabTitle);
    SavePicture(page, "legend-title");
}

TEST_F(ChartPagesTest, PanelPageDefaultColourImageModeAndBorders)
{
    chart->SetColor(clBtnFace);
    auto* page = Embed(CreatePanelEditor(form.get(), chart), "panel");
    EXPECT_TRUE(page->CBColorDef->Checked());
    EXPECT_FALSE(page->CBColorDef->Enabled());
    driver.PickColor = clYellow;
    EXPECT_TRUE(user::Click(page->BPanelColor));
    EXPECT_EQ(chart->Color(), clYellow);
    EXPECT_FALSE(page->CBColorDef->Checked());
    EXPECT_TRUE(page->CBColorDef->Enabled());
    page->CBColorDef->SetChecked(true);
    EXPECT_EQ(chart->Color(), clBtnFace);
    EXPECT_FALSE(page->CBColorDef->Enabled());

    EXPECT_FALSE(page->ELeft->Enabled());
    EXPECT_FALSE(page->CBImageInside->Enabled());
    EXPECT_EQ(page->BBrowseImage->Caption(), "B&rowse...");
    page->RGBitmap->SetItemIndex(3);
    EXPECT_EQ(chart->BackImageMode(), pbmCustom);
    EXPECT_TRUE(page->ELeft->Enabled());
    page->ELeft->SetText("20");
    EXPECT_EQ(chart->BackImage()->Left(), 20);

    // Browse loads the chosen picture and turns into Clear, which empties it.
    const std::string file = testsupport::TempDir() + "/back.bmp";
    TBitmap image;
    image.SetSize(8, 8);
    image.SaveToFile(file);
    driver.Dialogs.Answer = [&](TDialogRequest& r) {
        r.FileName = file;
        return r.Kind == TDialogKind::dkOpenFile ? mrOk : mrCancel;
    };
    EXPECT_TRUE(user::Click(page->BBrowseImage));
    EXPECT_EQ(chart->BackImage()->Width(), 8);
    EXPECT_EQ(page->BBrowseImage->Caption(), "Clea&r");
    EXPECT_TRUE(page->CBImageInside->Enabled());
    page->CBImageInside->SetChecked(true);
    EXPECT_TRUE(chart->BackImageInside());
    EXPECT_TRUE(user::Click(page->BBrowseImage));
    EXPECT_TRUE(chart->BackImage()->Empty());
    EXPECT_FALSE(page->CBTransp->Enabled());

    page->SEPanelBor->SetText("6");
    EXPECT_EQ(chart->BorderWidth(), 6);
    page->SEPanelWi->SetText("3");
    EXPECT_EQ(chart->BevelWidth(), 3);
    page->ERound->SetText("15");
    EXPECT_EQ(chart->BorderRound(), 15);
    page->CBInner->Pick(2);
    EXPECT_EQ(chart->BevelInner(), bvRaised);
    page->CBOuter->Pick(1);
    EXPECT_EQ(chart->BevelOuter(), bvLowered);
    page->PageControl1->SetActivePage(page->TabGradient);
    SavePicture(page, "panel-gradient");
}

TEST_F(ChartPagesTest, TitlesPageSwitchesTitlesAndWritesTheChosenOne)
{
    chart->Title()->Text()->SetText("Cp");
    auto* page = Embed(CreateTitleEditor(form.get(), chart, chart->Title()), "titles");
    EXPECT_EQ(page->CBTitles->ItemIndex(), 0);
    EXPECT_EQ(page->MText->Lines()->Text(), "Cp\r\n");
    page->CBTitles->Pick(3);
    EXPECT_EQ(page->TheTitle(), chart->Foot());
    page->MText->Lines()->SetText("Heat capacity");
    EXPECT_EQ(chart->Foot()->Text()->Text(), "Heat capacity\r\n");
    EXPECT_EQ(chart->Title()->Text()->Text(), "Cp\r\n");
    page->CBVisible->SetChecked(false);
    EXPECT_FALSE(chart->Foot()->Visible());
    page->CBAdjust->SetChecked(false);
    EXPECT_FALSE(chart->Foot()->AdjustFrame());
    page->CBAlign->Pick(0);
    EXPECT_EQ(chart->Foot()->Alignment(), taLeftJustify);
    EXPECT_FALSE(page->ECustTop->Enabled());
    page->CBCustPos->SetChecked(true);
    page->ECustTop->SetText("40");
    EXPECT_TRUE(chart->Foot()->CustomPosition());
    EXPECT_EQ(chart->Foot()->Top(), 40);
}

TEST_F(ChartPagesTest, WallsPageTabsSizesAndAllWalls)
{
    auto* page = Embed(CreateWallEditor(form.get(), chart->LeftWall()), "walls");
    EXPECT_EQ(page->TabSubWalls->TabIndex(), 0);
    EXPECT_TRUE(page->CBAutoHide->Visible());
    page->SEWallSize->SetText("8");
    EXPECT_EQ(chart->LeftWall()->Size(), 8);
    EXPECT_TRUE(page->CBDark3D->Enabled());
    page->SEWallSize->SetText("0");
    EXPECT_FALSE(page->CBDark3D->Enabled());
    page->Edit1->SetText("40");
    EXPECT_EQ(chart->LeftWall()->Transparency(), 40);

    page->TabSubWalls->SelectTab(2);
    EXPECT_EQ(page->TheWall(), chart->BottomWall());
    EXPECT_FALSE(page->CBAutoHide->Visible());
    page->CBVisible->SetChecked(false);
    EXPECT_FALSE(chart->BottomWall()->Visible());
    EXPECT_TRUE(chart->LeftWall()->Visible());
    driver.PickColor = clAqua;
    EXPECT_TRUE(user::Click(page->BWallColor));
    EXPECT_EQ(chart->BottomWall()->Color(), clAqua);

    page->EAllSize->SetText("5");
    for (TCustomChartWall* wall : std::initializer_list<TCustomChartWall*>{chart->LeftWall(), chart->RightWall(),
                                                                           chart->BottomWall(), chart->BackWall()})
        EXPECT_EQ(wall->Size(), 5);
    EXPECT_EQ(page->UDWallSize->Position(), 5);
    page->CBView3dWalls->SetChecked(false);
    EXPECT_FALSE(chart->View3DWalls());
}

TEST_F(ChartPagesTest, GeneralPageZoomScrollAndMargins)
{
    chart->SetMarginLeft(60);
    auto* page = Embed(CreateGeneralEditor(form.get(), chart), "general");
    page->CBDir->Pick(0);
    EXPECT_EQ(chart->Zoom()->Direction(), tzdHorizontal);
    page->EMinPix->SetText("30");
    EXPECT_EQ(chart->Zoom()->MinimumPixels(), 30);
    page->CBAllowZoom->SetChecked(false);
    EXPECT_FALSE(chart->Zoom()->Allow());
    EXPECT_FALSE(page->CBDir->Enabled());
    page->RGPanning->SetItemIndex(0);
    EXPECT_EQ(chart->AllowPanning(), pmNone);
    EXPECT_FALSE(page->CBScrollMouse->Enabled());
    page->CBScrollMouse->Pick(2);
    EXPECT_EQ(chart->ScrollMouseButton(), mbMiddle);

    // 60 % left and 50 % right leave no room: refused when the user leaves the field, the
    // box shows the right margin again. A margin is typed digit by digit: 35 passes through 3.
    const int right = chart->MarginRight();
    ASSERT_TRUE(user::Type(page->SERightMa, "50"));
    EXPECT_EQ(page->SERightMa->Text(), "50");
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(chart->MarginRight(), right);
    EXPECT_EQ(page->UDRightMa->Position(), right);
    ASSERT_TRUE(user::Type(page->SERightMa, "35"));
    EXPECT_EQ(chart->MarginRight(), right);
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(chart->MarginRight(), 35);

    // Pixel margins that overflow in percent are brought back below 100 % together.
    page->CBMarUnits->Pick(int(muPixels));
    EXPECT_EQ(page->UDTopMa->Min(), -2000);
    ASSERT_TRUE(user::Type(page->SELeftMa, "150"));
    ASSERT_TRUE(user::Type(page->SERightMa, "90"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(chart->MarginLeft(), 150);
    page->CBMarUnits->Pick(int(muPercent));
    EXPECT_LT(chart->MarginLeft() + chart->MarginRight(), 100);
    EXPECT_GT(chart->MarginLeft(), chart->MarginRight());
    EXPECT_EQ(page->UDLeftMa->Position(), chart->MarginLeft());
    EXPECT_EQ(page->UDLeftMa->Max(), 100);

    // The print preview opens on the chart with the page navigator at its top.
    driver.Act = [&](TForm* f) {
        auto* preview = dynamic_cast<TChartPreview*>(f);
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->TeePreviewPanel1->Panel(), chart);
        auto* nav = dynamic_cast<TChartPageNavigator*>(preview->PageNavigator());
        ASSERT_NE(nav, nullptr);
        EXPECT_EQ(nav->Chart(), chart);
    };
    EXPECT_TRUE(user::Click(page->BPrint));
    EXPECT_EQ(driver.Shown, 1);
}

TEST_F(ChartPagesTest, PagingPageAndItsNavigator)
{
    AddPoints(10);
    auto* page = Embed(CreatePagingEditor(form.get(), chart), "paging");
    EXPECT_FALSE(page->CBPageNum->Visible());
    page->SEPointsPerPage->SetText("3");
    EXPECT_EQ(chart->MaxPointsPerPage(), 3);
    EXPECT_EQ(page->LabelPages->Caption(), "Page 1 of 4");
    TChartPageNavigator* nav = page->ChartPageNavigator1;
    EXPECT_FALSE(nav->Buttons(nbPrior)->Enabled());
    EXPECT_TRUE(nav->Buttons(nbNext)->Enabled());
    nav->ButtonClicked(nbNext);
    EXPECT_EQ(chart->Page(), 2);
    nav->ButtonClicked(nbLast);
    EXPECT_EQ(chart->Page(), 4);
    EXPECT_EQ(page->LabelPages->Caption(), "Page 4 of 4");
    EXPECT_FALSE(nav->Buttons(nbNext)->Enabled());
    EXPECT_TRUE(nav->Buttons(nbFirst)->Enabled());

    // The print dialog offers the chart's pages; the chosen two print, one per sheet.
    int offered = 0;
    driver.Dialogs.Answer = [&](TDialogRequest& r) {
        TPrintDialogRequest* p = AsPrintDialogRequest(r);
        if (p == nullptr)
            return mrCancel;
        offered = p->MaxPage;
        p->FromPage = 2;
        p->ToPage = 3;
        return mrOk;
    };
    const std::string pdf = testsupport::TempDir() + "/pages.pdf";
    Printer()->SetFileName(pdf);
    nav->Print();
    Printer()->SetFileName("");
    EXPECT_EQ(offered, 4);
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int sheets = 0;
    for (size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        sheets += bytes.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(sheets, 2);
    EXPECT_EQ(chart->Page(), 4);

    page->CBScaleLast->SetChecked(false);
    EXPECT_FALSE(chart->ScaleLastPage());
    page->CBPageLegend->SetChecked(false);
    EXPECT_FALSE(chart->Legend()->CurrentPage());
    page->SEPointsPerPage->SetText("");
    EXPECT_EQ(chart->MaxPointsPerPage(), 0);
    EXPECT_EQ(page->LabelPages->Caption(), "Page 1 of 1");
}

// The page navigator is one Tab stop: the keys reach its buttons through it, and the
// button they reach shows a focus rectangle while it has the focus.
TEST_F(ChartPagesTest, PageNavigatorIsOneTabStopThatShowsItsFocusedButton)
{
    AddPoints(10);
    chart->SetMaxPointsPerPage(3);
    auto* page = Embed(CreatePagingEditor(form.get(), chart), "paging-focus");
    user::ShowAndActivate(static_cast<TForm*>(page->Parent()));
    TChartPageNavigator* nav = page->ChartPageNavigator1;
    TRizIvoButton* next = nav->Buttons(nbNext);
    const QImage plain = user::W(next)->grab().toImage();

    ASSERT_TRUE(user::Focus(page->CBPageLegend));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), user::W(nav));
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    ASSERT_TRUE(user::Key(Qt::Key_Space));
    EXPECT_EQ(chart->Page(), 2);
    const QImage priorPlain = user::W(nav->Buttons(nbPrior))->grab().toImage();
    for (TRizIvoigateBtn b : {nbFirst, nbPrior, nbNext, nbLast})
        EXPECT_EQ(nav->Buttons(b)->FocusFrame(), b == nbNext) << b;
    EXPECT_NE(user::W(next)->grab().toImage(), plain);

    // The next Tab leaves the bar, not for one of its buttons; the rectangle goes.
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_NE(QApplication::focusWidget(), user::W(nav));
    for (TRizIvoigateBtn b : {nbFirst, nbPrior, nbNext, nbLast}) {
        EXPECT_NE(QApplication::focusWidget(), user::W(nav->Buttons(b)));
        EXPECT_FALSE(nav->Buttons(b)->FocusFrame());
    }
    EXPECT_EQ(user::W(next)->grab().toImage(), plain);

    // A click on a button gives the bar the focus with that button focused, also in a
    // window the keyboard has not moved the focus in (where styles hide focus frames).
    user::W(nav)->window()->setAttribute(Qt::WA_KeyboardFocusChange, false);
    ASSERT_TRUE(user::Click(nav->Buttons(nbLast)));
    EXPECT_EQ(chart->Page(), 4);
    EXPECT_EQ(QApplication::focusWidget(), user::W(nav));
    EXPECT_EQ(nav->FocusedButton(), nbLast);
    EXPECT_TRUE(nav->Buttons(nbLast)->FocusFrame());
    // The arrows after the click show where they went too.
    ASSERT_TRUE(user::Key(Qt::Key_Left));
    ASSERT_TRUE(user::Key(Qt::Key_Left));
    EXPECT_EQ(nav->FocusedButton(), nbPrior);
    EXPECT_NE(user::W(nav->Buttons(nbPrior))->grab().toImage(), priorPlain);
}

TEST_F(ChartPagesTest, ThreeDPageOpensWithoutChangesAndAppliesViews)
{
    AddPoints(5);
    TView3DOptions* view = chart->View3DOptions();
    chart->SetView3D(false);
    view->SetOrthogonal(false);
    view->SetElevation(200);
    view->SetRotation(10);
    view->SetZoom(600);
    view->SetHorizOffset(2000);
    TView3DOptions before;
    before.Assign(view);

    auto* page = Embed(Create3DEditor(form.get(), chart), "3d");
    page->PageControl1->SelectPage(page->TabViews);
    SavePicture(page, "3d-views");
    page->PageControl1->SelectPage(page->TabOptions);
    EXPECT_FALSE(chart->View3D());
    for (auto get : {&TView3DOptions::Elevation, &TView3DOptions::Rotation, &TView3DOptions::Zoom,
                     &TView3DOptions::HorizOffset, &TView3DOptions::OrthoAngle})
        EXPECT_EQ((view->*get)(), (before.*get)());
    EXPECT_FALSE(view->Orthogonal());
    EXPECT_EQ(page->SBHOffset->Max(), 3000);
    EXPECT_EQ(page->SBHOffset->Min(), -3000);

    page->CBView3d->SetChecked(true);
    EXPECT_TRUE(chart->View3D());
    EXPECT_TRUE(page->SBRotation->Enabled());
    page->SBRotation->SetPosition(90);
    EXPECT_EQ(view->Rotation(), 90);
    EXPECT_EQ(page->LRotation->Caption(), "90");
    page->SE3d->SetText("40");
    EXPECT_EQ(chart->Chart3DPercent(), 40);
    page->CBOrthogonal->SetChecked(true);
    EXPECT_TRUE(view->Orthogonal());
    EXPECT_FALSE(page->SBElevation->Enabled());

    // Choosing a preset copies its view.
    TChartGalleryPanel* views = page->ChartGalleryPanel1;
    ASSERT_EQ(views->ChartCount(), 6);
    views->SetSelectedChart(views->Charts(5));
    EXPECT_TRUE(chart->View3D());
    EXPECT_FALSE(view->Orthogonal());
    EXPECT_EQ(view->Rotation(), 45);
    EXPECT_EQ(view->Elevation(), 360);
    views->SetSelectedChart(views->Charts(0));
    EXPECT_FALSE(chart->View3D());
}

TEST_F(ChartPagesTest, ThreeDPageRotationOfPiesAndOfNoSeries)
{
    chart->SetView3D(true);
    chart->View3DOptions()->SetOrthogonal(false);
    auto* page = Embed(Create3DEditor(form.get(), chart), "3d-empty");
    EXPECT_TRUE(page->CBOrthogonal->Enabled());
    EXPECT_TRUE(page->SBRotation->Enabled());

    AddPoints(4, new TPieSeries(form.get()));
    auto* pie = Create3DEditor(form.get(), chart);
    pie->SetParent(form.get());
    pie->Show();
    EXPECT_FALSE(pie->CBOrthogonal->Enabled());
    EXPECT_FALSE(pie->SBRotation->Enabled());
    EXPECT_FALSE(pie->EOrthoAngle->Enabled());
}

} // namespace
