// The axis page, its minimum/maximum dialog and the increment dialog, driven through
// their controls; every control writes its axis property.
#include "ChartStarted.h"
#include "UserInput.h"
#include "editor_driver.h"

#include "Chart.h"
#include "FormatEditor.h"
#include "TeEngine.h"
#include "TeeAxMaxMin.h"
#include "TeeAxisIncr.h"
#include "TeeEdiAxis.h"

#include <cmath>
#include <memory>
#include <numbers>

using namespace editortest;

namespace {

class AxisPageTest : public testsupport::ChartStartedTest {
protected:
    void SetUp() override
    {
        chart = std::make_unique<TChart>(nullptr);
    }
    void TearDown() override
    {
        chart.reset();
    }
    // The increment dialog as the axis page opens it, shown and worked by Act.
    double RunIncrement(bool DateTime, bool Exact, double Increment, const std::function<void(TAxisIncrement*)>& Act)
    {
        driver.Act = [&](TForm* f) { Act(static_cast<TAxisIncrement*>(f)); };
        TAxisIncrement dialog(nullptr);
        dialog.IsDateTime = DateTime;
        dialog.Exact = Exact;
        dialog.Increment = Increment;
        dialog.StepIndex = DateTimeStepIndex(Increment);
        return dialog.ShowModal() == mrOk ? dialog.Increment : -1;
    }

    EditorDriver driver;
    std::unique_ptr<TChart> chart;
};

TEST_F(AxisPageTest, IncrementDialogStandardStepsCustomTextsAndErrors)
{
    // Every standard step comes back as its table value; an exact step opens on it.
    for (int step = 0; step < 27; ++step) {
        const double value = RunIncrement(true, true, DateTimeStep[size_t(step)], [&](TAxisIncrement* d) {
            EXPECT_EQ(d->RadioGroup1->ItemIndex(), 0);
            EXPECT_EQ(d->CBSteps->ItemIndex(), step);
            EXPECT_FALSE(d->ECustom->Enabled());
            EXPECT_TRUE(d->CBSteps->Focused());
            EXPECT_EQ(d->CBSteps->DropDownCount(), 18);
            EXPECT_TRUE(user::Click(d->BOk));
        });
        EXPECT_EQ(value, DateTimeStep[size_t(step)]) << DateTimeStepNames[size_t(step)];
    }
    // Choosing a step from the custom side.
    EXPECT_EQ(RunIncrement(true, false, 0.3, [](TAxisIncrement* d) {
                  EXPECT_EQ(d->RadioGroup1->ItemIndex(), 1);
                  d->RadioGroup1->SetItemIndex(0);
                  EXPECT_TRUE(d->CBExact->Checked());
                  EXPECT_TRUE(d->CBSteps->Focused());
                  d->CBSteps->Pick(int(dtOneWeek));
                  EXPECT_TRUE(user::Click(d->BOk));
              }),
              7.0);
    // Unticking the exact box goes back to the custom text and its edit.
    EXPECT_EQ(RunIncrement(true, true, 7, [](TAxisIncrement* d) {
                  EXPECT_TRUE(user::Click(d->CBExact, QPoint(8, 8)));
                  EXPECT_EQ(d->RadioGroup1->ItemIndex(), 1);
                  EXPECT_FALSE(d->CBSteps->Enabled());
                  EXPECT_TRUE(d->ECustom->Enabled());
                  EXPECT_TRUE(d->ECustom->Focused());
                  EXPECT_EQ(d->ECustom->Text(), "7");
                  EXPECT_TRUE(user::Click(d->BOk));
              }),
              7.0);
    for (auto [text, days] : {std::pair{"2 06:00:00", 2.25}, std::pair{"0.5", 0.5}, std::pair{"12:00:00", 0.5}}) {
        EXPECT_DOUBLE_EQ(RunIncrement(true, false, 1, [&, text = text](TAxisIncrement* d) {
                             d->ECustom->SetText(text);
                             EXPECT_TRUE(user::Click(d->BOk));
                         }),
                         days)
            << text;
    }
    // A text that is no number and no time keeps the dialog open with the reason.
    EXPECT_EQ(RunIncrement(true, false, 1, [](TAxisIncrement* d) {
                  d->ECustom->SetText("soon");
                  EXPECT_TRUE(user::Click(d->BOk));
                  EXPECT_EQ(d->ModalResult(), mrNone);
              }),
              -1);
    ASSERT_EQ(driver.Messages.size(), 1u);
    EXPECT_EQ(driver.Messages[0], "Incorrect value. Reason: 'soon' is not a valid floating point value");
    // A numeric axis shows the edit only.
    EXPECT_EQ(RunIncrement(false, false, 2.5, [](TAxisIncrement* d) {
                  EXPECT_FALSE(d->CBSteps->Visible());
                  EXPECT_FALSE(d->RadioGroup1->Visible());
                  EXPECT_FALSE(d->CBExact->Visible());
                  EXPECT_EQ(d->ECustom->Text(), "2.5");
                  EXPECT_TRUE(d->ECustom->Focused());
                  SavePicture(d, "increment-number");
                  d->ECustom->SetText("4");
                  EXPECT_TRUE(user::Click(d->BOk));
              }),
              4.0);
    RunIncrement(true, true, 7, [](TAxisIncrement* d) { SavePicture(d, "increment"); });
}

TEST_F(AxisPageTest, IncrementTextsAndMinMaxDialog)
{
    EXPECT_EQ(TFormTeeAxis::IncrementText(true, true, "", 7), "One Week");
    EXPECT_EQ(TFormTeeAxis::IncrementText(true, true, "", 1.5), "1 " + TimeToStr(0.5));
    EXPECT_EQ(TFormTeeAxis::IncrementText(true, false, "", 1), "1");
    // No step reads as one second.
    EXPECT_EQ(TFormTeeAxis::IncrementText(true, false, "", 0), TimeToStr(DateTimeStep[dtOneSecond]));
    EXPECT_EQ(TFormTeeAxis::IncrementText(true, false, "", -2), TimeToStr(DateTimeStep[dtOneSecond]));
    EXPECT_EQ(TFormTeeAxis::IncrementText(true, false, "", 1.0 / 86400 / 2), TimeToStr(1.0 / 86400 / 2));
    EXPECT_EQ(TFormTeeAxis::IncrementText(false, false, "0.00", 2), "2.00");

    // A negative date-time still shows its date; an invalid date keeps the dialog open.
    driver.Act = [&](TForm* f) {
        auto* d = static_cast<TAxisMaxMin*>(f);
        EXPECT_TRUE(d->EMaximum->Visible());
        EXPECT_EQ(d->EMaximum->Text(), DateToStr(-400));
        SavePicture(d, "axis-maxmin");
        d->EMaximum->SetText("13/45/2001");
        EXPECT_TRUE(user::Click(d->BitBtn1));
        EXPECT_EQ(d->ModalResult(), mrNone);
        d->EMaximum->SetText("2/3/2001");
        d->EMinimum->SetText("6:00:00 AM");
        EXPECT_TRUE(user::Click(d->BitBtn1));
    };
    TAxisMaxMin dialog(nullptr);
    dialog.IsDateTime = true;
    dialog.Value = -400;
    ASSERT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_DOUBLE_EQ(dialog.Value, EncodeDate(2001, 2, 3) + 0.25);
    EXPECT_EQ(driver.Messages.size(), 1u);
}

TEST_F(AxisPageTest, EveryControlWritesItsAxisProperty)
{
    TChartAxis* axis = chart->LeftAxis();
    TFormTeeAxis page(nullptr, axis);
    page.Show();
    SavePicture(&page, "axis");
    auto check = [&](TCheckBox* box, auto get) {
        const bool before = (axis->*get)();
        box->SetChecked(!before);
        EXPECT_NE((axis->*get)(), before) << box->Name();
    };
    check(page.CBVisible, &TChartAxis::Visible);
    check(page.CBInverted, &TChartAxis::Inverted);
    check(page.CBLogarithmic, &TChartAxis::Logarithmic);
    check(page.CBMultiline, &TChartAxis::LabelsMultiLine);
    check(page.CBOnAxis, &TChartAxis::LabelsOnAxis);
    check(page.CBRoundFirst, &TChartAxis::RoundFirstLabel);
    check(page.CBAlternate, &TChartAxis::LabelsAlternate);
    check(page.CBExpo, &TChartAxis::LabelsExponent);
    check(page.CBTickOnLabels, &TChartAxis::TickOnLabelsOnly);
    check(page.CBGridCentered, &TChartAxis::GridCentered);
    check(page.CBLabels, &TChartAxis::Labels);
    page.CBLabelAlign->SetChecked(false);
    EXPECT_EQ(axis->LabelsAlign(), alOpposite);
    page.CBTitleVisible->SetChecked(!axis->Title()->Visible());
    EXPECT_EQ(axis->Title()->Visible(), page.CBTitleVisible->Checked());

    struct EditCase {
        TEdit* Edit;
        const char* Text;
        std::function<double()> Get;
        double Expected;
    };
    const EditCase edits[] = {
        {page.EMinOff, "7", [&] { return axis->MinimumOffset(); }, 7},
        {page.EMaxOff, "-9", [&] { return axis->MaximumOffset(); }, -9},
        {page.SETitleAngle, "180", [&] { return axis->Title()->Angle(); }, 180},
        {page.SETitleSize, "33", [&] { return axis->TitleSize(); }, 33},
        {page.SELabelsSize, "21", [&] { return axis->LabelsSize(); }, 21},
        {page.SELabelsAngle, "90", [&] { return axis->LabelsAngle(); }, 90},
        {page.SESepar, "40", [&] { return axis->LabelsSeparation(); }, 40},
        {page.SEAxisTickLength, "8", [&] { return axis->TickLength(); }, 8},
        {page.SEInnerTicksLength, "3", [&] { return axis->TickInnerLength(); }, 3},
        {page.SEAxisMinorTickLen, "5", [&] { return axis->MinorTickLength(); }, 5},
        {page.SEMinorCount, "4", [&] { return axis->MinorTickCount(); }, 4},
        {page.EPos, "-20", [&] { return axis->PositionPercent(); }, -20},
        {page.Edit1, "30", [&] { return axis->ZPosition(); }, 30},
        {page.Edit2, "40", [&] { return axis->Grid()->ZPosition(); }, 40},
    };
    for (const EditCase& e : edits) {
        e.Edit->SetText(e.Text);
        EXPECT_EQ(e.Get(), e.Expected) << e.Edit->Name();
    }
    page.ETitle->SetText("Cp");
    EXPECT_EQ(axis->Title()->Caption(), "Cp");
    page.CBLabelStyle->Pick(int(talValue));
    EXPECT_EQ(axis->LabelStyle(), talValue);
    page.CBPosUnits->Pick(int(muPixels));
    EXPECT_EQ(axis->PositionUnits(), muPixels);
    page.CBFormat->SetText("0.00");
    page.CBFormat->OnChange(page.CBFormat);
    EXPECT_EQ(axis->AxisValuesFormat(), "0.00");
    // The format editor opened from "..." builds on the typed format.
    user::ShowAndActivate(&page);
    ASSERT_TRUE(user::ClickTab(page.PageAxis, "Labels"));
    ASSERT_TRUE(user::ClickTab(page.PageLabels, "Format"));
    driver.Act = [](TForm* f) {
        auto* e = static_cast<TFormatEditor*>(f);
        e->CBThousands->SetChecked(true);
        EXPECT_TRUE(user::Click(e->Button1));
    };
    EXPECT_TRUE(user::Click(page.Button1));
    EXPECT_EQ(axis->AxisValuesFormat(), "#,##0.00");
    page.CBShow->SetChecked(false);
    EXPECT_FALSE(chart->AxisVisible());
    page.CBAxisBeh->SetChecked(!chart->AxisBehind());
    EXPECT_EQ(chart->AxisBehind(), page.CBAxisBeh->Checked());
    // The font editors edit the title and label fonts.
    page.LabelsFontEditor()->Edit2->SetText("2");
    EXPECT_EQ(axis->LabelsFont()->InterCharSize(), 2);
    page.TitleFontEditor()->Edit2->SetText("3");
    EXPECT_EQ(axis->Title()->Font()->InterCharSize(), 3);
    for (TTabSheet* tab : {page.TabTitle, page.TabLabels, page.TabTicks, page.TabMinor, page.TabPosition}) {
        page.PageAxis->SelectPage(tab);
        SavePicture(&page, "axis-" + LowerCase(tab->Caption()));
    }
}

TEST_F(AxisPageTest, RulesOfScalesPositionAndCustomAxes)
{
    TChartAxis* axis = chart->BottomAxis();
    TFormTeeAxis page(nullptr, axis);
    page.Show();
    EXPECT_EQ(page.LBAxes->ItemIndex(), 3);
    // Automatic off turns both automatic ends off.
    page.CBAutomatic->SetChecked(false);
    EXPECT_FALSE(axis->AutomaticMaximum());
    EXPECT_FALSE(axis->AutomaticMinimum());
    // Bases 0 and 1 change nothing; e is recognised after the round trip through text.
    page.ELogBase->SetText("0");
    page.ELogBase->SetText("1");
    EXPECT_EQ(axis->LogarithmicBase(), 10);
    page.LogE->SetChecked(true);
    EXPECT_NEAR(axis->LogarithmicBase(), std::numbers::e, 1e-12);
    EXPECT_FALSE(page.LogE->Enabled());
    // Start and end are checked against each other when the user is done typing: with
    // Start at 50, End passes through 8 on its way to 80; a start past the end goes back.
    const size_t messages = driver.Messages.size();
    user::ShowAndActivate(&page);
    ASSERT_TRUE(user::ClickTab(page.PageAxis, "Position"));
    ASSERT_TRUE(user::Type(page.EStart, "50"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    EXPECT_EQ(axis->StartPosition(), 50);
    ASSERT_TRUE(user::Type(page.EEnd, "8"));
    EXPECT_EQ(axis->EndPosition(), 100);
    EXPECT_EQ(page.EEnd->Text(), "8");
    ASSERT_TRUE(user::Type("0"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    EXPECT_EQ(axis->EndPosition(), 80);
    EXPECT_EQ(page.EEnd->Text(), "80");
    ASSERT_TRUE(user::Type(page.EStart, "81"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(axis->StartPosition(), 50);
    EXPECT_EQ(page.EStart->Text(), "50");
    ASSERT_TRUE(user::Key(page.EStart, Qt::Key_Up));
    EXPECT_EQ(axis->StartPosition(), 51);
    EXPECT_EQ(driver.Messages.size(), messages);
    ASSERT_TRUE(user::ClickTab(page.PageAxis, "Scales"));
    // Minimum through its dialog: the automatic end goes off.
    page.CBAutomatic->SetChecked(true);
    driver.Act = [](TForm* f) {
        auto* d = static_cast<TAxisMaxMin*>(f);
        EXPECT_EQ(d->Caption(), "Minimum Bottom Axis");
        d->EMaximum->SetText("-3.5");
        EXPECT_TRUE(user::Click(d->BitBtn1));
    };
    EXPECT_TRUE(user::Click(page.BAxisMin));
    EXPECT_EQ(axis->Minimum(), -3.5);
    EXPECT_FALSE(page.CBAutoMin->Checked());
    // Increment through its dialog, shown in the label.
    driver.Act = [](TForm* f) {
        auto* d = static_cast<TAxisIncrement*>(f);
        EXPECT_EQ(d->Caption(), "Desired Bottom Axis Increment");
        d->ECustom->SetText("2");
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(user::Click(page.BIncre));
    EXPECT_EQ(axis->Increment(), 2);
    EXPECT_EQ(page.LAxisIncre->Caption(), "2");
    // Depth axes are never logarithmic; standard axes have no other side and cannot go.
    page.LBAxes->SetItemIndex(4);
    page.LBAxes->Click();
    EXPECT_EQ(page.Axis(), chart->DepthAxis());
    EXPECT_FALSE(page.CBLogarithmic->Enabled());
    EXPECT_FALSE(page.CBOtherSide->Enabled());
    EXPECT_FALSE(page.BDelete->Enabled());
    page.BDeleteClick(page.BDelete);
    EXPECT_EQ(page.Axis(), chart->DepthAxis());
    // A custom axis is added, edited and deleted.
    EXPECT_TRUE(user::Click(page.BAdd));
    ASSERT_EQ(chart->CustomAxes()->Count(), 1);
    EXPECT_EQ(page.LBAxes->Items()->Get(6), "Custom 0");
    EXPECT_EQ(page.LBAxes->ItemIndex(), 6);
    EXPECT_TRUE(page.CBHorizAxis->Enabled());
    int after = 0;
    page.OnAfterHorizontal = [&] { ++after; };
    page.CBHorizAxis->SetChecked(true);
    EXPECT_TRUE(chart->CustomAxes()->Items(0)->Horizontal());
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(user::Click(page.BDelete));
    EXPECT_EQ(chart->CustomAxes()->Count(), 0);
    EXPECT_EQ(page.LBAxes->Items()->Count(), 6);
    EXPECT_EQ(page.Axis(), chart->DepthTopAxis());
    EXPECT_EQ(page.LBAxes->ItemIndex(), 5);
}

} // namespace
