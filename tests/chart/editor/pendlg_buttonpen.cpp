// The pen button: its sample of the linked pen, and its click through the pen dialog.
#include "UserInput.h"
#include "pendlg_driver.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

using namespace pendlgtest;

namespace {

using testsupport::Px;

// Rows of column X in the pen's colour.
int ThicknessAt(TBitmap& b, int x, TColor c)
{
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        n += Px(b, x, y) == c ? 1 : 0;
    return n;
}

class ButtonPenTest : public ::testing::Test {
protected:
    PenDialogDriver driver;
    TForm form{nullptr};
    TChartPen pen{[this](TObject*) { ++changes; }};
    int changes = 0;
    TButtonPen* button = nullptr;

    void SetUp() override
    {
        button = new TButtonPen(&form);
        button->SetParent(&form);
        button->SetCaption("&Border...");
        pen.SetColor(clRed);
        changes = 0;
    }
};

} // namespace

TEST_F(ButtonPenTest, WidePenShowsASixPixelSampleAndStaysAsItWas)
{
    pen.SetWidth(8);
    changes = 0;
    AttachPen(button, &pen);
    EXPECT_EQ(button->Instance(), &pen);
    TBitmap bmp;
    button->PaintTo(&bmp);
    ASSERT_EQ(bmp.Width(), 75);
    EXPECT_EQ(ThicknessAt(bmp, 75 - 12, clRed), 6);
    EXPECT_EQ(pen.Width(), 8);
    EXPECT_EQ(changes, 0);

    // A narrower pen is drawn as it is, at half the button's height.
    pen.SetWidth(3);
    button->PaintTo(&bmp);
    EXPECT_EQ(ThicknessAt(bmp, 75 - 12, clRed), 3);
    EXPECT_EQ(Px(bmp, 75 - 12, 12), clRed);
    EXPECT_NE(Px(bmp, 75 - 30, 12), clRed);
}

TEST_F(ButtonPenTest, NoSampleWhenDisabledOrWithoutAPen)
{
    TBitmap bmp;
    button->PaintTo(&bmp);
    EXPECT_EQ(ThicknessAt(bmp, 75 - 12, clRed), 0);
    AttachPen(button, &pen);
    button->SetEnabled(false);
    button->PaintTo(&bmp);
    EXPECT_EQ(ThicknessAt(bmp, 75 - 12, clRed), 0);
}

TEST_F(ButtonPenTest, ClickEditsThePenAndFiresOnClickOnlyAfterOk)
{
    user::ShowAndActivate(&form);
    AttachPen(button, &pen);
    int clicks = 0;
    int widthSeen = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        widthSeen = pen.Width();
    };
    driver.Act = [&](TPenDialog* d) {
        EXPECT_EQ(d->ThePen(), &pen);
        EXPECT_EQ(d->Owner(), &form);   // the button's form owns the dialog
        d->SEWidth->SetText("4");
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(user::Click(button));
    EXPECT_EQ(driver.Shown, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(widthSeen, 4);

    driver.Act = [&](TPenDialog* d) {
        d->SEWidth->SetText("9");
        EXPECT_TRUE(user::Click(d->BCancel));
    };
    EXPECT_TRUE(user::Click(button));
    EXPECT_EQ(driver.Shown, 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(pen.Width(), 4);

    // The hide-colour flag reaches the dialog.
    button->SetHideColor(true);
    driver.Act = [&](TPenDialog* d) { EXPECT_FALSE(d->BColor->Visible()); };
    EXPECT_TRUE(user::Click(button));
    EXPECT_EQ(driver.Shown, 3);
}

TEST_F(ButtonPenTest, WithoutAPenTheClickIsPlain)
{
    user::ShowAndActivate(&form);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(user::Click(button));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(driver.Shown, 0);
}
